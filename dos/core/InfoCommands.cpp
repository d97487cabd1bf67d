#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Floppy.h"
#include "platform/machine/Machine.h"

namespace dos {

platform::DosResult<QString> volumeLine(QChar letter)
{
    const platform::Drive *drive = platform::machine().drive(letter);
    if (!drive)
        return {platform::dos::InvalidDrive, {}};
    QString label = drive->label;
    if (drive->kind == platform::DriveKind::Floppy) {
        const auto onDisk = platform::volumeLabel(letter);
        if (!onDisk.ok())
            return {onDisk.error, {}};
        label = onDisk.value;
    }
    return {platform::dos::Ok, label.isEmpty() ? message::VolumeWithoutLabel.arg(letter)
                                               : message::VolumeLabel.arg(letter, label)};
}

void versionCommand(Interpreter &shell)
{
    shell.printLine();
    shell.printLine(message::Version);
}

// vol [X:]: the drive's label; a floppy's is on its disk.
void volumeCommand(Interpreter &shell, const QStringList &arguments)
{
    if (arguments.size() > 1) {
        shell.printLine(message::TooManyParameters);
        return;
    }
    QChar letter = shell.currentDirectory().at(0);
    if (!arguments.isEmpty()) {
        const auto drive = onlyDrive(shell, arguments);
        if (!drive)
            return;
        letter = *drive;
    }
    const auto line = volumeLine(letter);
    if (!line.ok()) {
        shell.printLine(message::forError(line.error));
        return;
    }
    shell.printLine();
    shell.printLine(line.value);
}

void helpCommand(Interpreter &shell)
{
    for (const QString &line : message::Help)
        shell.printLine(line);
}

}  // namespace dos
