// velko-msinfo: the system information tool of the simulated PC (MSINFO32.EXE), which the
// shell's "open" starts for that program's stand-in.
//
//   velko-msinfo [--machine HOSTDIR]
#include "accessories/SystemInformation.h"
#include "controls/Look.h"
#include "platform/Machine.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QString folder;
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--machine"))
        folder = arguments.at(2);
    else if (arguments.size() == 1)
        folder = platform::Machine::findFolder(QDir::currentPath());
    else {
        std::fprintf(stderr, "usage: velko-msinfo [--machine HOSTDIR]\n");
        return 2;
    }
    if (folder.isEmpty()) {
        std::fprintf(stderr, "velko-msinfo: no simulated PC found (no machine.ini in %s or above)\n",
                     qPrintable(QDir::currentPath()));
        return 2;
    }
    QString error;
    auto machine = platform::Machine::load(folder, &error);
    if (!machine) {
        std::fprintf(stderr, "velko-msinfo: %s\n", qPrintable(error));
        return 2;
    }
    platform::setMachine(std::move(machine));

    controls::applyClassicLook(application);
    accessories::SystemInformation window;
    window.show();
    return application.exec();
}
