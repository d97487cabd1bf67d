#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "dos/core/Wildcards.h"
#include "platform/drives/Files.h"
#include "platform/files/FileMove.h"

namespace dos {

namespace {

// The one name a command takes; a switch or a wrong number of names is reported, then empty.
std::optional<QString> onlyName(Interpreter &shell, const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        if (isSwitch(argument)) {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return std::nullopt;
        }
    }
    if (arguments.isEmpty()) {
        shell.printLine(message::ParameterMissing);
        return std::nullopt;
    }
    if (arguments.size() > 1) {
        shell.printLine(message::TooManyParameters);
        return std::nullopt;
    }
    return arguments.first();
}

bool isEmptyFolder(const QString &path)
{
    const auto files = platform::files(path);
    const auto folders = platform::subdirectories(path);
    return files.ok() && folders.ok() && files.value.isEmpty() && folders.value.isEmpty();
}

}  // namespace

void makeDirectoryCommand(Interpreter &shell, const QStringList &arguments)
{
    const auto name = onlyName(shell, arguments);
    if (!name)
        return;
    const QString path = shell.absolutePath(*name);
    if (platform::directoryExists(path) || platform::fileExists(path)) {
        shell.printLine(message::DirectoryExists);
        return;
    }
    const int error = platform::createDirectory(path);
    if (error == platform::dos::WriteProtected || error == platform::dos::NotReady)
        shell.printLine(message::forError(error));
    else if (error != platform::dos::Ok)
        shell.printLine(message::CannotMakeDirectory);
}

// RD removes an empty folder only, and never the one a drive is in.
void removeDirectoryCommand(Interpreter &shell, const QStringList &arguments)
{
    const auto name = onlyName(shell, arguments);
    if (!name)
        return;
    const QString path = shell.absolutePath(*name);
    const auto folder = platform::shortPathName(path);
    if (!folder.ok() || !platform::directoryExists(path) || folder.value.size() <= 3) {
        shell.printLine(folder.error == platform::dos::NotReady ? message::NotReady
                                                                : message::CannotRemoveDirectory);
        return;
    }
    if (shell.directoryOf(path.at(0)).compare(folder.value, Qt::CaseInsensitive) == 0) {
        shell.printLine(message::CannotRemoveCurrent);
        return;
    }
    if (!isEmptyFolder(path)) {
        shell.printLine(message::CannotRemoveDirectory);
        return;
    }
    const int error = platform::removeDirectoryTree(path);
    if (error == platform::dos::WriteProtected)
        shell.printLine(message::forError(error));
    else if (error != platform::dos::Ok)
        shell.printLine(message::CannotRemoveDirectory);
}

// ren [X:][PATH]NAME NEWNAME: NEWNAME without a folder, both may hold wildcards.
void renameCommand(Interpreter &shell, const QStringList &arguments)
{
    QStringList names;
    for (const QString &argument : arguments) {
        if (isSwitch(argument)) {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return;
        }
        names.append(argument);
    }
    if (names.size() < 2) {
        shell.printLine(message::ParameterMissing);
        return;
    }
    if (names.size() > 2) {
        shell.printLine(message::TooManyParameters);
        return;
    }
    if (names.at(1).contains(u'\\') || names.at(1).contains(u':')) {
        shell.printLine(message::SyntaxError);
        return;
    }
    const QString source = shell.absolutePath(names.at(0));
    const QString folder = platform::directoryPart(source);
    const auto entries = folderEntries(folder, platform::fileNamePart(source));
    if (!entries.ok()) {
        shell.printLine(entries.error == platform::dos::NotReady ? message::NotReady
                                                                 : message::DuplicateOrMissing);
        return;
    }
    bool renamed = false;
    for (const FolderEntry &entry : entries.value) {
        if (entry.isDirectory() || (entry.attributes & (platform::attr::Hidden | platform::attr::System)))
            continue;
        const QString target = folder + (folder.endsWith(u'\\') ? QString() : QStringLiteral("\\"))
                               + appliedPattern(names.at(1), entry.name);
        if (platform::fileExists(target) || platform::directoryExists(target)) {
            shell.printLine(message::DuplicateOrMissing);
            continue;
        }
        if (const int error = platform::moveFileReplacing(entry.path, target)) {
            shell.printLine(error == platform::dos::WriteProtected ? message::forError(error)
                                                                   : message::DuplicateOrMissing);
            continue;
        }
        renamed = true;
    }
    if (!renamed && entries.value.isEmpty())
        shell.printLine(message::DuplicateOrMissing);
}

}  // namespace dos
