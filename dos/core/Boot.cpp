#include "dos/core/Boot.h"

#include "dos/core/Messages.h"
#include "platform/drives/Files.h"

namespace dos {

std::optional<Interpreter::Outcome> bootFromFloppy(Interpreter &shell, QChar drive)
{
    const QString root = QString(drive) + QStringLiteral(":\\");
    // The boot sector loads IO.SYS; without it the disk cannot start the PC.
    const auto system = platform::fileAttributes(root + QStringLiteral("IO.SYS"));
    if (system.error == platform::dos::NotReady) {
        shell.printLine(message::BootNoDisk.arg(drive));
        return std::nullopt;
    }
    if (!system.ok() || (system.value & platform::attr::Directory)) {
        shell.printLine(message::BootNoSystem);
        shell.printLine(message::BootChangeDisk);
        return std::nullopt;
    }
    shell.printLine(message::BootStarting);
    shell.printLine();
    if (!platform::fileExists(root + QStringLiteral("COMMAND.COM"))) {
        shell.printLine(message::BootNoInterpreter);
        return std::nullopt;
    }
    shell.setBootDrive(drive);
    if (const int error = shell.startIn(root)) {
        shell.printLine(message::forError(error));
        return std::nullopt;
    }
    const QString autoexec = root + QStringLiteral("AUTOEXEC.BAT");
    return platform::fileExists(autoexec) ? shell.runBatch(autoexec) : Interpreter::Outcome::Finished;
}

}  // namespace dos
