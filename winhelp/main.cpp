// velko-winhelp: the help viewer of the simulated PC, as winhlp32.exe is Windows' own. The
// platform starts it for every help request; see platform/shell/HelpRequest.h for its command line.
#include "controls/Look.h"
#include "platform/shell/HelpRequest.h"
#include "winhelp/HelpFile.h"
#include "winhelp/HelpViewer.h"
#include "winhelp/ViewerServer.h"

#include <QApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velko-winhelp"));
    const auto request = platform::parseHelpRequest(QApplication::arguments().mid(1));
    if (!request) {
        std::fprintf(stderr, "usage: velko-winhelp HELPFILE --topic N | HELPFILE --contents\n");
        return 2;
    }
    if (winhelp::passToRunningViewer(*request))
        return 0;

    // Listening before the file is opened: a request that comes meanwhile waits for the viewer
    // instead of starting a second one on the same collection.
    winhelp::ViewerServer server(request->helpFile);
    controls::applyClassicLook(application);
    QString error;
    const auto file = winhelp::HelpFile::open(
        request->helpFile, QStandardPaths::writableLocation(QStandardPaths::CacheLocation), &error);
    if (!file) {
        QMessageBox::critical(nullptr, QStringLiteral("Windows-Hilfe"), error);
        return 1;
    }
    winhelp::HelpViewer viewer(*file);
    QObject::connect(
        &server, &winhelp::ViewerServer::requestReceived, &viewer,
        [&viewer](const platform::HelpRequest &next) { viewer.execute(next.command, next.topic); });
    viewer.execute(request->command, request->topic);
    return application.exec();
}
