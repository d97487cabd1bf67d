#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "dos/core/Wildcards.h"
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

// The files a name with wildcards stands for, hidden and system files left out; a name
// without wildcards stands for itself.
QList<FolderEntry> visibleMatches(Interpreter &shell, const QString &name)
{
    const QString path = shell.absolutePath(name);
    const auto entries = folderEntries(platform::directoryPart(path), platform::fileNamePart(path));
    QList<FolderEntry> files;
    for (const FolderEntry &entry : entries.value) {
        if (!entry.isDirectory() && !(entry.attributes & (platform::attr::Hidden | platform::attr::System)))
            files.append(entry);
    }
    return files;
}

// Several files into one: the target holds them one after the other.
int concatenate(Interpreter &shell, const QList<FolderEntry> &sources, const QString &targetName)
{
    const QString target = shell.absolutePath(targetName);
    QByteArray joinedBytes;
    for (const FolderEntry &source : sources) {
        const auto content = platform::readFile(source.path);
        if (!content.ok()) {
            shell.printLine(withName(message::forError(content.error), source.shortName));
            return 0;
        }
        shell.printLine(source.shortName);
        joinedBytes += content.value;
    }
    if (const int error = platform::writeFile(target, joinedBytes)) {
        shell.printLine(withName(message::forError(error), targetName));
        return 0;
    }
    return 1;
}

}  // namespace

// copy SOURCE [TARGET] [/V]: TARGET may be a file, a folder or a drive; without one the copy
// goes to the current directory. SOURCE with wildcards copies every file it matches, each
// named on the screen: into a folder, under names a TARGET with wildcards gives, or all into one
// file.
void copyCommand(Interpreter &shell, const QStringList &arguments)
{
    const QStringList switches = {QStringLiteral("/V"), QStringLiteral("/Y"), QStringLiteral("/-Y"),
                                  QStringLiteral("/A"), QStringLiteral("/B")};
    const auto given = names(shell, arguments, switches, 2);
    if (!given)
        return;
    const bool verify = arguments.contains(QStringLiteral("/V"), Qt::CaseInsensitive);
    const QString target = given->size() == 2 ? given->at(1) : shell.currentDirectory();
    if (!hasWildcards(given->at(0))) {
        reportCopied(shell, copyOne(shell, given->at(0), target, verify) ? 1 : 0);
        return;
    }
    QList<FolderEntry> sources = visibleMatches(shell, given->at(0));
    if (sources.isEmpty()) {
        shell.printLine(withName(message::FileNotFound, given->at(0)));
        reportCopied(shell, 0);
        return;
    }
    const QString targetPath = shell.absolutePath(target);
    if (!platform::directoryExists(targetPath) && !hasWildcards(target)) {
        reportCopied(shell, concatenate(shell, sources, target));
        return;
    }
    int copied = 0;
    for (const FolderEntry &source : sources) {
        shell.printLine(source.shortName);
        const QString name = hasWildcards(target)
                                 ? platform::directoryPart(targetPath) + u'\\'
                                       + appliedPattern(platform::fileNamePart(targetPath), source.shortName)
                                 : target;
        if (copyOne(shell, source.path, name, verify))
            ++copied;
    }
    reportCopied(shell, copied);
}

// del NAME: NAME may hold wildcards or be a folder, whose files then go; all files of a folder
// only after "J" to the question.
void deleteCommand(Interpreter &shell, const QStringList &arguments)
{
    const auto given = names(shell, arguments, {QStringLiteral("/P")}, 1);
    if (!given)
        return;
    QString name = given->at(0);
    const QString path = shell.absolutePath(name);
    if (platform::directoryExists(path))
        name = (path.endsWith(u'\\') ? path : path + u'\\') + QStringLiteral("*.*");
    if (!hasWildcards(name)) {
        if (!isVisibleFile(path)) {
            shell.printLine(withName(message::FileNotFound, name));
            return;
        }
        if (const int error = platform::deleteFile(path))
            shell.printLine(withName(message::forError(error), name));
        return;
    }
    const QString pattern = platform::fileNamePart(name);
    if (pattern == u"*.*" || pattern == u"*") {
        shell.printLine(message::DeleteAll);
        shell.print(message::AreYouSure);
        for (;;) {
            const auto answer = shell.readLine();
            if (!answer)
                return;
            const QString word = answer->trimmed().toUpper();
            if (word == u"N")
                return;
            if (word == u"J")
                break;
            shell.print(message::AreYouSure);
        }
    }
    const QList<FolderEntry> files = visibleMatches(shell, name);
    if (files.isEmpty()) {
        shell.printLine(withName(message::FileNotFound, given->at(0)));
        return;
    }
    for (const FolderEntry &file : files) {
        if (const int error = platform::deleteFile(file.path))
            shell.printLine(withName(message::forError(error), file.shortName));
    }
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
