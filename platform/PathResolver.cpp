#include "platform/PathResolver.h"

#include "platform/FileNames.h"
#include "platform/Files.h"
#include "platform/Folder.h"
#include "platform/HostFiles.h"

#include <optional>

namespace platform::detail {

namespace {

WindowsPath splitAbsolute(const QString &directory)
{
    return {directory.at(0), directory.mid(3).split(u'\\', Qt::SkipEmptyParts)};
}

// A floppy's files live in its image, which these services do not read: to them the drive is
// not ready.
bool hasHostFolder(const Drive &drive)
{
    return drive.kind != DriveKind::Floppy && !drive.hostPath.isEmpty();
}

bool isReady(const Drive &drive)
{
    const auto info = statHost(drive.hostPath);
    return info && S_ISDIR(info->st_mode);
}

struct Found {
    QString name;
    bool isDirectory = false;
};

// A folder whose records cannot be read still shows its entries by name, so that they do not
// count as missing; any other name, which might be an alias, gets the folder's error, and so
// does everything that needs the records (attributes, aliases, changes).
DosResult<std::optional<Found>> foundWithoutRecords(const QString &hostFolder, const QString &name,
                                                   int folderError)
{
    const auto spelled = hostSpellingOf(hostFolder, name);
    if (!spelled.ok())
        return {spelled.error, std::nullopt};
    if (!spelled.value)
        return {folderError, std::nullopt};
    const auto info = statHost(hostChild(hostFolder, *spelled.value));
    return {dos::Ok, Found{*spelled.value, info && S_ISDIR(info->st_mode)}};
}

// By a spelling that differs from the host's, or by 8.3 alias.
DosResult<std::optional<Found>> findListed(const Drive &drive, const QString &hostFolder,
                                           const QString &name)
{
    const auto folder = folderAt(hostFolder);
    if (!folder.ok())
        return foundWithoutRecords(hostFolder, name, folder.error);
    const FolderEntry *entry = folder.value->find(name);
    if (!entry)
        return {dos::Ok, std::nullopt};
    const Found found{entry->name, entry->isDirectory};
    const bool byAlias = upperCaseName(entry->name) != upperCaseName(name);
    if (byAlias && !drive.writeProtected) {
        if (const int error = folder.value->keepAlias(found.name))
            return {error, std::nullopt};
    }
    return {dos::Ok, found};
}

// The exact spelling is tried first, so that most names cost no listing of the folder.
DosResult<std::optional<Found>> findEntry(const Drive &drive, const QString &hostFolder,
                                          const QString &name)
{
    if (const auto info = statHost(hostChild(hostFolder, name)))
        return {dos::Ok, Found{name, S_ISDIR(info->st_mode)}};
    return findListed(drive, hostFolder, name);
}

// One name further down: to the entry found, or to a new entry of that name.
void descend(Location &location, const QString &name, const std::optional<Found> &found)
{
    location.hostFolder = location.host;
    location.exists = found.has_value();
    location.isDirectory = location.exists && found->isDirectory;
    location.name = location.exists ? found->name : name;
    location.host = hostChild(location.hostFolder, location.name);
    if (!location.windowsPath.endsWith(u'\\'))
        location.windowsPath += u'\\';
    location.windowsPath += location.name;
}

// The names below it are found one by one, through the folder listings where a spelling differs.
DosResult<Location> walk(Location location, const QStringList &names)
{
    for (const QString &name : names) {
        if (!location.exists || !location.isDirectory)
            return {dos::PathNotFound, {}};
        const auto found = findEntry(*location.drive, location.host, name);
        if (!found.ok())
            return {found.error, {}};
        descend(location, name, found.value);
    }
    return {dos::Ok, location};
}

Location rootOf(const Drive &drive)
{
    Location location;
    location.drive = &drive;
    location.windowsPath = QString(drive.letter) + QStringLiteral(":\\");
    location.hostFolder = drive.hostPath;
    location.host = drive.hostPath;
    location.exists = true;
    location.isDirectory = true;
    return location;
}

// An existing entry whose names are all spelled as on the host, found with one stat; a root
// only when its folder is there.
std::optional<Location> spelledAsOnHost(const Drive &drive, const QStringList &names)
{
    Location location = rootOf(drive);
    for (const QString &name : names) {
        location.hostFolder = location.host;
        location.host = hostChild(location.hostFolder, name);
    }
    const auto info = statHost(location.host);
    if (!info || (names.isEmpty() && !S_ISDIR(info->st_mode)))
        return std::nullopt;
    if (!names.isEmpty()) {
        location.name = names.last();
        location.windowsPath += names.join(u'\\');
        location.isDirectory = S_ISDIR(info->st_mode);
    }
    return location;
}

}  // namespace

QString WindowsPath::text() const
{
    return QString(drive) + QStringLiteral(":\\") + names.join(u'\\');
}

DosResult<WindowsPath> absolutePath(const QString &path)
{
    QString text = path;
    text.replace(u'/', u'\\');
    if (text.isEmpty() || text.startsWith(u"\\\\"))
        return {dos::PathNotFound, {}};
    WindowsPath result;
    QString rest = text;
    if (text.size() >= 2 && text[1] == u':') {
        const QChar letter = text[0].toUpper();
        if (letter < u'A' || letter > u'Z')
            return {dos::InvalidDrive, {}};
        rest = text.mid(2);
        if (rest.isEmpty() || rest.startsWith(u'\\')) {
            result.drive = letter;
        } else {
            const auto current = driveCurrentDirectory(letter);
            if (!current.ok())
                return {current.error, {}};
            result = splitAbsolute(current.value);
        }
    } else if (text.startsWith(u'\\')) {
        result.drive = currentDirectory().at(0);
    } else {
        result = splitAbsolute(currentDirectory());
    }
    const QStringList parts = rest.split(u'\\', Qt::SkipEmptyParts);
    for (QString name : parts) {
        if (name == u".")
            continue;
        if (name == u"..") {
            if (!result.names.isEmpty())
                result.names.removeLast();
            continue;
        }
        while (name.endsWith(u'.') || name.endsWith(u' '))
            name.chop(1);
        if (!isValidLongName(name))
            return {dos::PathNotFound, {}};
        result.names.append(name);
    }
    return {dos::Ok, result};
}

DosResult<Location> locate(const QString &path)
{
    const auto absolute = absolutePath(path);
    if (!absolute.ok())
        return {absolute.error, {}};
    const Drive *drive = machine().drive(absolute.value.drive);
    if (!drive)
        return {dos::InvalidDrive, {}};
    if (!hasHostFolder(*drive))
        return {dos::NotReady, {}};

    // Most paths are spelled as on the host, or name a new entry in a folder that is: they cost
    // a stat or two instead of one per name.
    const QStringList &names = absolute.value.names;
    if (const auto whole = spelledAsOnHost(*drive, names))
        return {dos::Ok, *whole};
    if (!names.isEmpty()) {
        if (auto location = spelledAsOnHost(*drive, names.first(names.size() - 1))) {
            if (!location->isDirectory)
                return {dos::PathNotFound, {}};
            // The last name is not there as spelled; only the listing can still know it.
            const auto found = findListed(*drive, location->host, names.last());
            if (!found.ok())
                return {found.error, {}};
            descend(*location, names.last(), found.value);
            return {dos::Ok, *location};
        }
    }
    if (!isReady(*drive))
        return {dos::NotReady, {}};
    return walk(rootOf(*drive), names);
}

int refuseWrite(const Location &location)
{
    return location.drive->kind == DriveKind::CdRom ? dos::AccessDenied : dos::Ok;
}

DosResult<std::shared_ptr<Folder>> changeableFolder(const Location &location)
{
    if (const int error = refuseWrite(location))
        return {error, {}};
    return folderAt(location.hostFolder);
}

DosResult<quint8> attributesOf(const Location &location)
{
    if (location.isRoot())
        return {dos::Ok, attr::Directory};
    const auto folder = folderAt(location.hostFolder);
    if (!folder.ok())
        return {folder.error, 0};
    const FolderEntry *entry = folder.value->find(location.name);
    if (!entry)
        return {dos::FileNotFound, 0};
    return {dos::Ok, quint8(entry->attributes | (entry->isDirectory ? attr::Directory : 0))};
}

}  // namespace platform::detail
