// velko-dos: the MS-DOS side of the simulated PC, started by the platform as its own process.
//
//   velko-dos [--machine HOSTDIR] [--headless] [--keys TEXT] [--screen FILE] [--directory X:\PATH] ACTION
//   ACTION: --msdos-mode C:\PATH\X.BAT | --window C:\PATH\X.BAT | /c COMMAND LINE... | --boot-floppy [A]
//           | --prompt [X:\PATH] | --start
#include "dos/Session.h"
#include "platform/drives/Pc.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 1; index < argc; ++index)
        arguments.append(QString::fromLocal8Bit(argv[index]));
    QString error;
    const auto options = dos::parseOptions(arguments, &error);
    if (!options) {
        std::fprintf(stderr, "velko-dos: %s\n", qPrintable(error));
        return 2;
    }

    const auto pc = platform::startPcForProgram("velko-dos", options->machineFolder);
    if (!pc)
        return 2;

    // Headless runs need no display.
    std::unique_ptr<QCoreApplication> application;
    if (options->headless)
        application = std::make_unique<QCoreApplication>(argc, argv);
    else
        application = std::make_unique<QApplication>(argc, argv);
    return dos::run(*options);
}
