#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"

namespace dos {

namespace {

namespace attr = platform::attr;

struct Change {
    quint8 set = 0;
    quint8 clear = 0;
    quint8 named() const { return set | clear; }
};

std::optional<quint8> flagFor(QChar letter)
{
    switch (letter.toUpper().unicode()) {
    case u'R':
        return attr::ReadOnly;
    case u'H':
        return attr::Hidden;
    case u'S':
        return attr::System;
    case u'A':
        return attr::Archive;
    default:
        return std::nullopt;
    }
}

// "A  SHR     C:\IO.SYS", as ATTRIB lists a file.
QString listing(quint8 attributes, const QString &path)
{
    const auto flag = [attributes](quint8 bit, QChar letter) {
        return (attributes & bit) ? letter : QChar(u' ');
    };
    return QString(flag(attr::Archive, u'A')) + QStringLiteral("  ") + flag(attr::System, u'S')
           + flag(attr::Hidden, u'H') + flag(attr::ReadOnly, u'R') + QStringLiteral("     ") + path.toUpper();
}

bool changeOne(Interpreter &shell, const QString &path, const Change &change)
{
    if (!platform::fileExists(path) && !platform::directoryExists(path)) {
        shell.printLine(message::FileNotFound + QStringLiteral(" - ") + path.toUpper());
        return false;
    }
    const auto attributes = platform::fileAttributes(path);
    if (!attributes.ok()) {
        shell.printLine(message::forError(attributes.error));
        return false;
    }
    if (change.named() == 0) {
        shell.printLine(listing(attributes.value, path));
        return true;
    }
    // A system or hidden file keeps its attributes unless the command names that attribute.
    if ((attributes.value & attr::System) && !(change.named() & attr::System)) {
        shell.printLine(message::NotResettingSystem + QStringLiteral(" - ") + path.toUpper());
        return false;
    }
    if ((attributes.value & attr::Hidden) && !(change.named() & attr::Hidden)) {
        shell.printLine(message::NotResettingHidden + QStringLiteral(" - ") + path.toUpper());
        return false;
    }
    const quint8 kept = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
    const quint8 updated = ((attributes.value & ~change.clear) | change.set) & kept;
    if (const int error = platform::setFileAttributes(path, updated)) {
        shell.printLine(message::forError(error) + QStringLiteral(" - ") + path.toUpper());
        return false;
    }
    return true;
}

}  // namespace

// attrib [+R|-R] [+H|-H] [+S|-S] [+A|-A] [NAME]: the signs may stand before or after the name;
// without a sign it lists the attributes, without a name those of the current directory's files.
int attribProgram(Interpreter &shell, const QStringList &arguments)
{
    Change change;
    QStringList names;
    for (const QString &argument : arguments) {
        const bool sign = argument.size() == 2 && (argument.at(0) == u'+' || argument.at(0) == u'-');
        if (sign) {
            const auto flag = flagFor(argument.at(1));
            if (!flag) {
                shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
                return 1;
            }
            (argument.at(0) == u'+' ? change.set : change.clear) |= *flag;
        } else if (isSwitch(argument)) {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return 1;
        } else {
            names.append(argument);
        }
    }
    if (names.size() > 1) {
        shell.printLine(message::TooManyParameters);
        return 1;
    }
    if (!names.isEmpty()) {
        return changeOne(shell, shell.absolutePath(names.first()), change) ? 0 : 1;
    }
    const QString directory = shell.currentDirectory();
    const auto files = platform::files(directory);
    if (!files.ok()) {
        shell.printLine(message::forError(files.error));
        return 1;
    }
    bool changed = true;
    for (const QString &file : files.value) {
        const auto shortPath = platform::shortPathName(shell.absolutePath(file));
        changed &= changeOne(shell, shortPath.ok() ? shortPath.value : shell.absolutePath(file), change);
    }
    return changed ? 0 : 1;
}

}  // namespace dos
