#include "backup/core/BackupFolder.h"

#include "platform/drives/Files.h"
#include "platform/files/FileBatch.h"
#include "platform/files/FileMove.h"

#include <QRegularExpression>

#include <optional>

namespace backup {

namespace {

// createTempFile makes "~VS" followed by four upper-case hex digits and ".TMP".
const QString TemporaryPrefix = QStringLiteral("~VS");

bool isOwnTemporaryName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^~VS[0-9A-F]{4}\\.TMP$"));
    return pattern.match(name).hasMatch();
}

// copyFilesTogether makes its folder of copies "~VS", four upper-case hex digits and ".DIR": a
// folder named like a temporary file is someone else's.
bool isOwnStagingName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^~VS[0-9A-F]{4}\\.DIR$"));
    return pattern.match(name).hasMatch();
}

// A failure that no other file in the folder would escape.
bool isMediumError(int error)
{
    using namespace platform::dos;
    return error == DiskFull || error == WriteProtected || error == NotReady || error == InvalidDrive;
}

WriteOutcome failed(const QString &folder, int error, bool inFolder)
{
    if (isMediumError(error))
        return {error, true};
    if (!platform::directoryExists(folder))
        return {platform::dos::PathNotFound, true};
    return {error, inFolder};
}

// An earlier file may carry read-only or hidden (a saved IO.SYS), which would refuse the
// replace; its attributes are cleared and handed back so that a failed replace can restore them.
platform::DosResult<std::optional<quint8>> unprotectEarlierFile(const QString &target)
{
    if (!platform::fileExists(target))
        return {};
    const auto attributes = platform::fileAttributes(target);
    if (!attributes.ok())
        return {attributes.error, {}};
    if (const int error = platform::setFileAttributes(target, 0))
        return {error, {}};
    return {platform::dos::Ok, attributes.value};
}

// A temporary copy carries the source's attributes, read-only among them.
void discardTemporary(const QString &path)
{
    // Cleaning up after a failure that is reported already; a temporary left behind goes at the
    // next run into the folder.
    (void)platform::setFileAttributes(path, 0);
    (void)platform::deleteFile(path);
}

}  // namespace

WriteOutcome writeInPlace(const QString &target, const std::function<int(const QString &temporary)> &fill)
{
    const QString folder = platform::directoryPart(target);
    // A fresh name of our own that cannot be made shows that the folder takes no files at all.
    const auto temporary = platform::createTempFile(folder, TemporaryPrefix);
    if (!temporary.ok())
        return failed(folder, temporary.error, true);

    if (const int error = fill(temporary.value)) {
        discardTemporary(temporary.value);
        return failed(folder, error, false);
    }
    const auto earlier = unprotectEarlierFile(target);
    if (!earlier.ok()) {
        discardTemporary(temporary.value);
        return failed(folder, earlier.error, false);
    }
    if (const int error = platform::moveFileReplacing(temporary.value, target)) {
        discardTemporary(temporary.value);
        if (earlier.value)
            (void)platform::setFileAttributes(target, *earlier.value);  // best effort; the move's
                // error is reported
        return failed(folder, error, false);
    }
    return {};
}

bool copyAllIntoFolder(const QList<platform::ResolvedPath> &sources, const QStringList &names,
                       const QString &folder)
{
    return platform::copyFilesTogether(sources, names, folder, TemporaryPrefix);
}

bool copiesAllIntoFolder(const QString &folder)
{
    return platform::copiesFilesTogether(folder);
}

namespace {

// `folderOf` gives the target's folder, which is asked for only after a failure.
template <typename FolderOf>
CopyOutcome copyResolved(const platform::DosResult<platform::ResolvedPath> &source,
                         platform::DosResult<platform::ResolvedPath> resolved, const FolderOf &folderOf)
{
    const auto failedHere = [&folderOf](int error, bool inFolder) -> CopyOutcome {
        return {failed(folderOf(), error, inFolder), {}};
    };
    if (!resolved.ok())
        return failedHere(resolved.error, true);
    if (!source.ok())
        return failedHere(source.error, false);
    platform::InPlaceCopy copy =
        platform::copyFileInPlace(source.value, std::move(resolved.value), TemporaryPrefix);
    if (copy.error != platform::dos::Ok)
        return failedHere(copy.error, copy.directoryRefused);
    return {{}, std::move(copy.copy), copy.attributes};
}

}  // namespace

CopyOutcome copyInPlace(const platform::DosResult<platform::ResolvedPath> &source, const QString &target)
{
    return copyResolved(source, platform::resolvePath(target),
                        [&target] { return platform::directoryPart(target); });
}

CopyOutcome copyInPlace(const platform::DosResult<platform::ResolvedPath> &source,
                        const platform::ResolvedPath &folder, const QString &base, const QString &name)
{
    return copyResolved(source, platform::resolvePath(folder, name),
                        [&base, &name] { return platform::directoryPart(base + u'\\' + name); });
}

void removeLeftoverTemporaries(const QString &folder)
{
    const auto names = platform::files(folder);
    if (!names.ok())
        return;  // the run's first write into the folder reports what is wrong with it
    const QString base = platform::withoutRootBackslash(folder);
    for (const QString &name : names.value) {
        if (isOwnTemporaryName(name))
            discardTemporary(base + QLatin1Char('\\') + name);
    }
    const auto folders = platform::subdirectories(folder);
    for (const QString &name : folders.ok() ? folders.value : QStringList()) {
        if (isOwnStagingName(name))
            (void)platform::removeDirectoryTree(base + QLatin1Char('\\') + name);  // tried again next run
    }
}

}  // namespace backup
