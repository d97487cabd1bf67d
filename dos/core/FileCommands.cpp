#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"
#include "platform/text/OemText.h"

namespace dos {

namespace {

constexpr char EndOfFile = 0x1A;

// Hidden and system files stay out of sight of copy and del, as on MS-DOS.
bool isVisibleFile(const QString &path)
{
    if (!platform::fileExists(path))
        return false;
    const auto attributes = platform::fileAttributes(path);
    return attributes.ok() && (attributes.value & (platform::attr::Hidden | platform::attr::System)) == 0;
}

QString withName(const QString &text, const QString &name)
{
    return text + QStringLiteral(" - ") + name.toUpper();
}

// The names of a command; a wrong switch or a wrong number of names is reported, then empty.
std::optional<QStringList> names(Interpreter &shell, const QStringList &arguments,
                                 const QStringList &switches, int most)
{
    QStringList found;
    for (const QString &argument : arguments) {
        if (!isSwitch(argument)) {
            found.append(argument);
        } else if (!switches.contains(argument, Qt::CaseInsensitive)) {
            shell.printLine(withName(message::InvalidSwitch, argument));
            return std::nullopt;
        }
    }
    if (found.isEmpty()) {
        shell.printLine(message::ParameterMissing);
        return std::nullopt;
    }
    if (found.size() > most) {
        shell.printLine(message::TooManyParameters);
        return std::nullopt;
    }
    return found;
}

void reportCopied(Interpreter &shell, int count)
{
    shell.printLine(QStringLiteral("%1 ").arg(count, 9) + message::FilesCopied);
}

// Copies one file; the message of a failure goes to the screen.
bool copyOne(Interpreter &shell, const QString &sourceName, const QString &targetName, bool verify)
{
    const QString source = shell.absolutePath(sourceName);
    if (!isVisibleFile(source)) {
        shell.printLine(withName(message::FileNotFound, sourceName));
        return false;
    }
    QString target = shell.absolutePath(targetName);
    if (platform::directoryExists(target)) {
        // The copy takes the name MS-DOS knows the source by.
        const auto shortSource = platform::shortPathName(source);
        if (!shortSource.ok()) {
            shell.printLine(message::forError(shortSource.error));
            return false;
        }
        target =
            (target.endsWith(u'\\') ? target : target + u'\\') + platform::fileNamePart(shortSource.value);
    }
    const auto sourceOnDisk = platform::canonicalPath(source);
    const auto targetOnDisk = platform::canonicalPath(target);
    if (targetOnDisk.ok() && sourceOnDisk.value.compare(targetOnDisk.value, Qt::CaseInsensitive) == 0) {
        shell.printLine(message::CopiedOntoItself);
        return false;
    }
    if (const int error = platform::copyFile(source, target)) {
        const QString text = message::forError(error);
        shell.printLine(error == platform::dos::AccessDenied ? withName(text, targetName) : text);
        return false;
    }
    if (verify) {
        const auto written = platform::readFile(target);
        const auto original = platform::readFile(source);
        if (!written.ok() || !original.ok() || written.value != original.value) {
            shell.printLine(withName(message::VerifyFailed, targetName));
            return false;
        }
    }
    return true;
}

}  // namespace

// copy SOURCE [TARGET] [/V]: TARGET may be a file, a folder or a drive; without one the copy
// goes to the current directory.
void copyCommand(Interpreter &shell, const QStringList &arguments)
{
    const QStringList switches = {QStringLiteral("/V"), QStringLiteral("/Y"), QStringLiteral("/-Y"),
                                  QStringLiteral("/A"), QStringLiteral("/B")};
    const auto given = names(shell, arguments, switches, 2);
    if (!given)
        return;
    const bool verify = arguments.contains(QStringLiteral("/V"), Qt::CaseInsensitive);
    const QString target = given->size() == 2 ? given->at(1) : shell.currentDirectory();
    reportCopied(shell, copyOne(shell, given->at(0), target, verify) ? 1 : 0);
}

void deleteCommand(Interpreter &shell, const QStringList &arguments)
{
    const auto given = names(shell, arguments, {QStringLiteral("/P")}, 1);
    if (!given)
        return;
    const QString path = shell.absolutePath(given->at(0));
    if (!isVisibleFile(path)) {
        shell.printLine(withName(message::FileNotFound, given->at(0)));
        return;
    }
    if (const int error = platform::deleteFile(path))
        shell.printLine(withName(message::forError(error), given->at(0)));
}

void typeCommand(Interpreter &shell, const QStringList &arguments)
{
    const auto given = names(shell, arguments, {}, 1);
    if (!given)
        return;
    const QString path = shell.absolutePath(given->at(0));
    if (!platform::fileExists(path)) {
        shell.printLine(withName(message::FileNotFound, given->at(0)));
        return;
    }
    auto content = platform::readFile(path);
    if (!content.ok()) {
        shell.printLine(withName(message::forError(content.error), given->at(0)));
        return;
    }
    const qsizetype end = content.value.indexOf(EndOfFile);
    if (end >= 0)
        content.value.truncate(end);
    shell.print(platform::fromOem(content.value));
}

}  // namespace dos
