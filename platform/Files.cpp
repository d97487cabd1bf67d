#include "platform/Files.h"

#include "platform/FileNames.h"
#include "platform/Folder.h"
#include "platform/HostFiles.h"
#include "platform/PathResolver.h"

#include <QDateTime>

namespace platform {

using detail::Location;
using detail::locate;

namespace {

qsizetype lastSeparator(const QString &path)
{
    return qMax(path.lastIndexOf(u'\\'), path.lastIndexOf(u':'));
}

DosResult<Location> existing(const QString &path)
{
    auto location = locate(path);
    if (location.ok() && !location.value.exists)
        location.error = dos::FileNotFound;
    return location;
}

DosResult<Location> existingDirectory(const QString &path)
{
    auto location = locate(path);
    if (location.ok() && !(location.value.exists && location.value.isDirectory))
        location.error = dos::PathNotFound;
    return location;
}

// The 8.3 name of an existing entry; a name that is one already needs no look at its folder.
DosResult<QString> shortNameIn(const Drive &drive, const QString &hostFolder, const QString &name)
{
    if (detail::isShortName(name))
        return {dos::Ok, detail::upperCaseName(name)};
    const auto folder = detail::folderAt(hostFolder);
    if (!folder.ok())
        return {folder.error, {}};
    const detail::FolderEntry *entry = folder.value->find(name);
    if (!entry)
        return {dos::PathNotFound, {}};
    const QString shortName = entry->shortName;
    if (!drive.writeProtected) {
        if (const int error = folder.value->keepAlias(name))
            return {error, {}};
    }
    return {dos::Ok, shortName};
}

DosResult<QStringList> entryNames(const QString &directory, bool directories)
{
    const auto location = existingDirectory(directory);
    if (!location.ok())
        return {location.error, {}};
    const auto folder = detail::folderAt(location.value.host);
    if (!folder.ok())
        return {folder.error, {}};
    QStringList names;
    for (const detail::FolderEntry *entry : folder.value->sortedEntries()) {
        if (entry->isDirectory == directories)
            names.append(entry->name);
    }
    return {dos::Ok, names};
}

}  // namespace

QString fileNamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString directoryPart(const QString &path)
{
    const qsizetype separator = lastSeparator(path);
    if (separator < 0)
        return {};
    const bool keepsSeparator = path[separator] == u':' || separator == 0
        || path[separator - 1] == u':';
    return path.left(keepsSeparator ? separator + 1 : separator);
}

QString upperCaseFileName(const QString &name)
{
    return detail::upperCaseName(name);
}

QString withoutRootBackslash(const QString &directory)
{
    const bool isRoot = directory.size() == 3 && directory[0] >= u'C' && directory[0] <= u'Z'
        && directory[1] == u':' && directory[2] == u'\\';
    return isRoot ? directory.left(2) : directory;
}

bool fileExists(const QString &path)
{
    const auto location = locate(path);
    return location.ok() && location.value.exists && !location.value.isDirectory;
}

bool directoryExists(const QString &path)
{
    const auto location = locate(path);
    return location.ok() && location.value.exists && location.value.isDirectory;
}

DosResult<QString> hostPathOf(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    return {dos::Ok, location.value.host};
}

DosResult<QString> canonicalPath(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    return {dos::Ok, location.value.windowsPath};
}

DosResult<quint8> fileAttributes(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, 0};
    return detail::attributesOf(location.value);
}

DosResult<QDateTime> lastWriteTime(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    const auto info = detail::statHost(location.value.host);
    if (!info)
        return {dos::FileNotFound, {}};
    const qint64 milliseconds = qint64(info->st_mtim.tv_sec) * 1000 + info->st_mtim.tv_nsec / 1000000;
    return {dos::Ok, QDateTime::fromMSecsSinceEpoch(milliseconds)};
}

DosResult<QString> shortPathName(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    const Drive &drive = *location.value.drive;
    const QString &windowsPath = location.value.windowsPath;
    QString shortPath = windowsPath.left(3);
    QString host = drive.hostPath;
    const QStringList names = windowsPath.mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        const auto shortName = shortNameIn(drive, host, name);
        if (!shortName.ok())
            return shortName;
        if (!shortPath.endsWith(u'\\'))
            shortPath += u'\\';
        shortPath += shortName.value;
        host = detail::hostChild(host, name);
    }
    return {dos::Ok, shortPath};
}

DosResult<QStringList> subdirectories(const QString &directory)
{
    return entryNames(directory, true);
}

DosResult<QStringList> files(const QString &directory)
{
    return entryNames(directory, false);
}

DosResult<QByteArray> readFile(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    if (location.value.isDirectory)
        return {dos::AccessDenied, {}};
    return detail::readHostFile(location.value.host);
}

}  // namespace platform
