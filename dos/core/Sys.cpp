#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"

namespace dos {

namespace {

struct SystemFile {
    const char *name;
    bool hidden;  // kept read-only, hidden and system on the target
};

// In the order SYS writes them: IO.SYS first, as the boot sector looks for it there.
const SystemFile SystemFiles[] = {{"IO.SYS", true}, {"MSDOS.SYS", true}, {"COMMAND.COM", false}};

constexpr quint8 SystemAttributes =
    platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System;

// Copies one file of the system onto the target root; the DOS error code.
int transfer(const QString &source, const QString &target, bool hidden)
{
    // An earlier system on the disk is read-only and hidden: the copy would be refused.
    if (platform::fileExists(target)) {
        if (const int error = platform::setFileAttributes(target, platform::attr::Archive))
            return error;
    }
    if (const int error = platform::copyFile(source, target))
        return error;
    return hidden ? platform::setFileAttributes(target, SystemAttributes) : platform::dos::Ok;
}

}  // namespace

// sys X: transfers IO.SYS, MSDOS.SYS and COMMAND.COM from the boot drive to X:\.
int sysProgram(Interpreter &shell, const QStringList &arguments)
{
    QStringList drives;
    for (const QString &argument : arguments) {
        if (isSwitch(argument)) {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return 1;
        }
        drives.append(argument);
    }
    const auto drive = onlyDrive(shell, drives);
    if (!drive)
        return 1;
    const QChar target = *drive;
    if (target == shell.bootDrive()) {
        shell.printLine(message::SysOntoBootDrive.arg(target));
        return 1;
    }
    const QString sourceRoot = QString(shell.bootDrive()) + QStringLiteral(":\\");
    for (const SystemFile &file : SystemFiles) {
        const QString source = sourceRoot + QLatin1String(file.name);
        if (!platform::fileExists(source)) {
            shell.printLine(message::SysNoSource.arg(source));
            return 1;
        }
    }
    const QString targetRoot = QString(target) + QStringLiteral(":\\");
    for (const SystemFile &file : SystemFiles) {
        const QString name = QLatin1String(file.name);
        if (const int error = transfer(sourceRoot + name, targetRoot + name, file.hidden)) {
            shell.printLine(message::forError(error));
            shell.printLine(message::SysAborted);
            return 1;
        }
    }
    shell.printLine(message::SysDone);
    return 0;
}

}  // namespace dos
