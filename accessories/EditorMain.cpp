// velko-editor: the Windows editor of the simulated PC, which the shell's "open" starts for a
// text file. It shows the file read-only.
//
//   velko-editor HOSTFILE
#include "accessories/TextViewer.h"
#include "controls/Look.h"
#include "controls/MessageDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    controls::applyClassicLook(application);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: velko-editor FILE\n");
        return 2;
    }
    const QString path = arguments.at(1);
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        controls::showMessage(controls::MessageType::Warning,
                              QStringLiteral("Die Datei ") + name
                                  + QStringLiteral(" kann nicht geöffnet werden."),
                              controls::MessageButton::Ok);
        return 1;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        controls::showMessage(controls::MessageType::Warning,
                              QStringLiteral("Die Datei ") + name
                                  + QStringLiteral(" kann nicht gelesen werden."),
                              controls::MessageButton::Ok);
        return 1;
    }
    accessories::TextViewer viewer(name, accessories::editorText(bytes));
    viewer.show();
    return application.exec();
}
