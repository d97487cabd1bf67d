#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/text/detail/FileNames.h"

namespace platform {

using detail::locate;
using detail::Location;

namespace {

// The last backslash or colon, in one pass: every file of a run is named by the part after it.
qsizetype lastSeparator(const QString &path)
{
    for (qsizetype at = path.size() - 1; at >= 0; --at) {
        if (path[at] == u'\\' || path[at] == u':')
            return at;
    }
    return -1;
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

DosResult<QStringList> entryNames(const QString &directory, bool directories)
{
    const auto location = existingDirectory(directory);
    if (!location.ok())
        return {location.error, {}};
    const auto entries = location.value.backend().entries(location.value);
    if (!entries.ok())
        return {entries.error, {}};
    QStringList names;
    for (const detail::DirectoryEntry &entry : entries.value) {
        if (entry.isDirectory == directories)
            names.append(entry.name);
    }
    return {dos::Ok, names};
}

}  // namespace

DosResult<ResolvedPath> resolvePath(const QString &path)
{
    auto location = locate(path);
    if (!location.ok())
        return {location.error, {}};
    ResolvedPath resolved;
    resolved.m_location = std::make_shared<Location>(std::move(location.value));
    return {dos::Ok, resolved};
}

DosResult<ResolvedPath> resolvePath(const ResolvedPath &folder, const QString &name)
{
    const Location &at = *folder.m_location;
    auto location = at.backend().locateIn(at, name);
    if (!location.ok())
        return {location.error, {}};
    ResolvedPath resolved;
    resolved.m_location = std::make_shared<Location>(std::move(location.value));
    return {dos::Ok, resolved};
}

QString ResolvedPath::path() const
{
    return m_location->windowsPath();
}

bool ResolvedPath::exists() const
{
    return m_location->exists;
}

bool ResolvedPath::isFile() const
{
    return m_location->exists && !m_location->isDirectory;
}

QString fileNamePart(const QString &path)
{
    return path.mid(lastSeparator(path) + 1);
}

QString directoryPart(const QString &path)
{
    const qsizetype separator = lastSeparator(path);
    if (separator < 0)
        return {};
    const bool keepsSeparator = path[separator] == u':' || separator == 0 || path[separator - 1] == u':';
    return path.left(keepsSeparator ? separator + 1 : separator);
}

QString windowsPathIn(const QString &folderPath, const QString &name)
{
    if (folderPath.endsWith(u'\\'))
        return folderPath + name;
    return folderPath + u'\\' + name;
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
    return location.value.backend().hostPath(location.value);
}

DosResult<QString> canonicalPath(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    return {dos::Ok, location.value.windowsPath()};
}

DosResult<quint8> fileAttributes(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, 0};
    return location.value.backend().attributes(location.value);
}

DosResult<quint8> fileAttributes(const ResolvedPath &path)
{
    const Location &location = *path.m_location;
    if (!location.exists)
        return {dos::FileNotFound, 0};
    return location.backend().attributes(location);
}

DosResult<QDateTime> lastWriteTime(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    return location.value.backend().lastWriteTime(location.value);
}

DosResult<QString> shortPathName(const QString &path)
{
    const auto location = existing(path);
    if (!location.ok())
        return {location.error, {}};
    return location.value.backend().shortPath(location.value);
}

DosResult<QString> shortPathName(const ResolvedPath &path)
{
    const Location &location = *path.m_location;
    if (!location.exists)
        return {dos::FileNotFound, {}};
    return location.backend().shortPath(location);
}

DosResult<QString> shortFileName(const ResolvedPath &path)
{
    const Location &location = *path.m_location;
    if (!location.exists)
        return {dos::FileNotFound, {}};
    return location.backend().shortName(location);
}

DosResult<QString> detail::DriveBackend::shortName(const Location &entry)
{
    const auto path = shortPath(entry);
    if (!path.ok())
        return path;
    return {dos::Ok, fileNamePart(path.value)};
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
    return location.value.backend().read(location.value);
}

}  // namespace platform
