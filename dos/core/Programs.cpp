#include "dos/core/Commands.h"

#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"

#include <QHash>

namespace dos {

bool isSwitch(const QString &argument)
{
    return argument.startsWith(u'/');
}

std::optional<QChar> onlyDrive(Interpreter &shell, const QStringList &names)
{
    if (names.isEmpty()) {
        shell.printLine(message::ParameterMissing);
        return std::nullopt;
    }
    if (names.size() > 1) {
        shell.printLine(message::TooManyParameters);
        return std::nullopt;
    }
    const QString &drive = names.first();
    if (drive.size() != 2 || drive.at(1) != u':' || shell.directoryOf(drive.at(0)).isEmpty()) {
        shell.printLine(message::InvalidDrive);
        return std::nullopt;
    }
    return drive.at(0).toUpper();
}

// WIN.COM: Windows starts once the prompt has ended, through the same check as at switch-on.
int winProgram(Interpreter &shell, const QStringList &)
{
    shell.requestWindows();
    return 0;
}

Program programFor(const QString &standInName)
{
    static const QHash<QString, Program> programs = {
        {QStringLiteral("ATTRIB.EXE"), attribProgram}, {QStringLiteral("SCANDISK.EXE"), scanDiskProgram},
        {QStringLiteral("FORMAT.COM"), formatProgram}, {QStringLiteral("SYS.COM"), sysProgram},
        {QStringLiteral("WIN.COM"), winProgram},
    };
    return programs.value(standInName, nullptr);
}

}  // namespace dos
