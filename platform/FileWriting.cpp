#include "platform/Files.h"

#include "platform/FileNames.h"
#include "platform/Folder.h"
#include "platform/HostFiles.h"
#include "platform/PathResolver.h"

#include <QCoreApplication>

#include <cerrno>
#include <memory>

#include <unistd.h>

namespace platform {

using detail::Folder;
using detail::Location;

namespace {

// Windows reports this when a file is copied onto itself.
constexpr int SharingViolation = 32;

// A file about to be written: where it is, its folder, and the attributes it has (if it exists).
struct Target {
    Location location;
    std::shared_ptr<Folder> folder;
    std::optional<quint8> attributes;
};

// Refuses what cannot be written: a directory, a file whose attributes are in `refused`, a drive
// that cannot be written.
DosResult<Target> writableFile(const QString &path, quint8 refused)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return {location.error, {}};
    Target target;
    target.location = location.value;
    if (const int error = detail::refuseWrite(target.location))
        return {error, {}};
    if (target.location.exists && target.location.isDirectory)
        return {dos::AccessDenied, {}};
    const auto folder = detail::folderAt(target.location.hostFolder);
    if (!folder.ok())
        return {folder.error, {}};
    target.folder = folder.value;
    if (target.location.exists) {
        const detail::FolderEntry *entry = target.folder->find(target.location.name);
        target.attributes = entry ? entry->attributes : attr::Archive;
        if (*target.attributes & refused)
            return {dos::AccessDenied, {}};
    }
    return {dos::Ok, target};
}

// After new content: a new file gets the archive bit, an existing one keeps its attributes
// and gains it.
int noteWritten(const Target &target)
{
    if (target.attributes)
        return target.folder->setAttributes(target.location.name, *target.attributes | attr::Archive);
    return target.folder->add(target.location.name, false, attr::Archive);
}

QString temporaryBeside(const Location &location)
{
    static int counter = 0;
    return detail::hostChild(location.hostFolder,
                             QStringLiteral("%1-new-%2-%3")
                                 .arg(detail::ReservedPrefix)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(++counter));
}

bool isSameHostFile(const QString &a, const QString &b)
{
    const auto first = detail::statHost(a);
    const auto second = detail::statHost(b);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

}  // namespace

int writeFile(const QString &path, const QByteArray &data)
{
    const auto target = writableFile(path, attr::ReadOnly);
    if (!target.ok())
        return target.error;
    if (const int error = detail::writeHostFile(target.value.location.host, data))
        return error;
    return noteWritten(target.value);
}

int createEmptyFile(const QString &path)
{
    return writeFile(path, {});
}

int replaceFile(const QString &path, const QByteArray &data)
{
    const auto target = writableFile(path, attr::ReadOnly);
    if (!target.ok())
        return target.error;
    const QString fresh = temporaryBeside(target.value.location);
    int error = detail::writeHostFile(fresh, data, true);
    if (error == dos::Ok
        && ::rename(detail::hostName(fresh).constData(),
                    detail::hostName(target.value.location.host).constData()) != 0) {
        error = detail::dosErrorFromErrno(errno);
    }
    if (error != dos::Ok) {
        ::unlink(detail::hostName(fresh).constData());
        return error;
    }
    return noteWritten(target.value);
}

int copyFile(const QString &from, const QString &to)
{
    const auto source = detail::locate(from);
    if (!source.ok())
        return source.error;
    if (!source.value.exists)
        return dos::FileNotFound;
    if (source.value.isDirectory)
        return dos::AccessDenied;
    const auto attributes = detail::attributesOf(source.value);
    if (!attributes.ok())
        return attributes.error;

    const auto target = writableFile(to, attr::ReadOnly | attr::Hidden);
    if (!target.ok())
        return target.error;
    const Location &location = target.value.location;
    if (location.exists && isSameHostFile(source.value.host, location.host))
        return SharingViolation;
    if (const int error = detail::copyHostFile(source.value.host, location.host)) {
        if (location.exists && !detail::statHost(location.host))
            target.value.folder->remove(location.name);
        return error;
    }
    if (location.exists)
        return target.value.folder->setAttributes(location.name, attributes.value);
    return target.value.folder->add(location.name, false, attributes.value);
}

int deleteFile(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    if (!location.value.exists)
        return dos::FileNotFound;
    if (location.value.isDirectory)
        return dos::AccessDenied;
    const auto folder = detail::changeableFolder(location.value);
    if (!folder.ok())
        return folder.error;
    const detail::FolderEntry *entry = folder.value->find(location.value.name);
    if (entry && (entry->attributes & attr::ReadOnly))
        return dos::AccessDenied;
    if (::unlink(detail::hostName(location.value.host).constData()) != 0)
        return detail::dosErrorFromErrno(errno);
    return folder.value->remove(location.value.name);
}

int setFileAttributes(const QString &path, quint8 attributes)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    if (!location.value.exists)
        return dos::FileNotFound;
    if (location.value.isRoot())
        return dos::AccessDenied;
    const auto folder = detail::changeableFolder(location.value);
    if (!folder.ok())
        return folder.error;
    return folder.value->setAttributes(location.value.name, attributes);
}

}  // namespace platform
