#include "app/ProgramStart.h"

#include "app/ProgramWindows.h"
#include "controls/HostDesktop.h"
#include "controls/Look.h"
#include "platform/drives/Pc.h"
#include "platform/machine/SingleInstance.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int runProgram(int argc, char *argv[], const std::function<void(QWidget &)> &shown)
{
    const QString machineFolder = platform::Machine::findFolder(QDir::currentPath());
    if (machineFolder.isEmpty()) {
        std::fprintf(stderr,
                     "Velko Save: no simulated PC found (no machine.ini in %s or above).\n"
                     "Start the program from a folder of a simulated PC, see README.md.\n",
                     qPrintable(QDir::currentPath()));
        return 2;
    }
    // A second copy on the same PC ends before it shows anything; a simulated PC is one session.
    platform::SingleInstance instance(QStringLiteral("SCR03154"), machineFolder);
    if (!instance.acquire())
        return 0;

    QString error;
    auto machine = platform::Machine::load(machineFolder, &error);
    if (!machine) {
        std::fprintf(stderr, "Velko Save: %s\n", qPrintable(error));
        return 2;
    }
    platform::Pc pc(std::move(machine));
    pc.makeCurrent();

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velko Save"));
    controls::applyClassicLook(application);
    controls::HostDesktop hostDesktop;
    platform::setDesktop(&hostDesktop);

    const ProgramWindows windows = createProgramWindows();
    windows.form1->show();
    if (shown)
        shown(*windows.form1);
    return application.exec();
}
