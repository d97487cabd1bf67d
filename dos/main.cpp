// velko-dos: the MS-DOS side of the simulated PC, started by the platform as its own process.
//
//   velko-dos [--machine HOSTDIR] [--headless] [--keys TEXT] [--screen FILE] [--directory X:\PATH] ACTION
//   ACTION: --msdos-mode C:\PATH\X.BAT | --window C:\PATH\X.BAT | /c COMMAND LINE... | --boot-floppy [A]
#include "dos/Session.h"
#include "platform/Machine.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>

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

    const QString folder = options->machineFolder.isEmpty()
                               ? platform::Machine::findFolder(QDir::currentPath())
                               : options->machineFolder;
    if (folder.isEmpty()) {
        std::fprintf(stderr, "velko-dos: no simulated PC found (no machine.ini in %s or above)\n",
                     qPrintable(QDir::currentPath()));
        return 2;
    }
    auto machine = platform::Machine::load(folder, &error);
    if (!machine) {
        std::fprintf(stderr, "velko-dos: %s\n", qPrintable(error));
        return 2;
    }
    platform::setMachine(std::move(machine));

    // Headless runs need no display.
    std::unique_ptr<QCoreApplication> application;
    if (options->headless)
        application = std::make_unique<QCoreApplication>(argc, argv);
    else
        application = std::make_unique<QApplication>(argc, argv);
    return dos::run(*options);
}
