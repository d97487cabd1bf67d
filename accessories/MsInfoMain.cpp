// velko-msinfo: the system information tool of the simulated PC (MSINFO32.EXE), which the
// shell's "open" starts for that program's stand-in.
//
//   velko-msinfo [--machine HOSTDIR]
#include "accessories/SystemInformation.h"
#include "controls/Look.h"
#include "platform/drives/Pc.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QString folder;
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--machine")) {
        folder = arguments.at(2);
    } else if (arguments.size() != 1) {
        std::fprintf(stderr, "usage: velko-msinfo [--machine HOSTDIR]\n");
        return 2;
    }
    const auto pc = platform::startPcForProgram("velko-msinfo", folder);
    if (!pc)
        return 2;

    controls::applyClassicLook(application);
    accessories::SystemInformation window;
    window.show();
    return application.exec();
}
