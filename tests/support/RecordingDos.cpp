// Stands in for velko-dos where a test needs to see what the program asks of MS-DOS: appends its
// arguments, one per line and an empty line after them, to $VELKO_DOS_RECORD/commands.txt and,
// for a command line with "< FILE", keeps a copy of that file of the PC as it is at that moment
// in $VELKO_DOS_RECORD/input-<n>.bin (n counts those copies from 1). Runs nothing.
#include "platform/drives/Files.h"
#include "platform/drives/Pc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    const QDir record(qEnvironmentVariable("VELKO_DOS_RECORD"));

    QFile commands(record.filePath(QStringLiteral("commands.txt")));
    if (!commands.open(QIODevice::Append))
        return 3;
    commands.write((arguments.join(u'\n') + QStringLiteral("\n\n")).toUtf8());
    commands.close();
    const qsizetype machineAt = arguments.indexOf(QStringLiteral("--machine"));
    const QString commandLine = arguments.isEmpty() ? QString() : arguments.last();
    const qsizetype redirect = commandLine.indexOf(u'<');
    if (machineAt < 0 || redirect < 0)
        return 0;
    QString problem;
    auto machine = platform::Machine::load(arguments.value(machineAt + 1), &problem);
    if (!machine)
        return 2;
    platform::Pc pc(std::move(machine));
    pc.makeCurrent();
    const auto input = platform::readFile(commandLine.mid(redirect + 1).trimmed());
    QFile copy(record.filePath(
        QStringLiteral("input-%1.bin").arg(record.entryList({QStringLiteral("input-*.bin")}).size() + 1)));
    if (!input.ok() || !copy.open(QIODevice::WriteOnly) || copy.write(input.value) != input.value.size())
        return 3;
    return 0;
}
