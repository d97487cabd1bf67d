#include "platform/FileMove.h"

#include "platform/Files.h"
#include "platform/Folder.h"
#include "platform/HostFiles.h"
#include "platform/PathResolver.h"

#include <cerrno>
#include <cstdio>

namespace platform {

using detail::Location;

namespace {

bool isSameHostFile(const QString &a, const QString &b)
{
    const auto first = detail::statHost(a);
    const auto second = detail::statHost(b);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

DosResult<Location> movableFile(const QString &path)
{
    auto location = detail::locate(path);
    if (!location.ok())
        return location;
    if (!location.value.exists)
        return {dos::FileNotFound, {}};
    if (location.value.isDirectory)
        return {dos::AccessDenied, {}};
    if (const int error = detail::refuseWrite(location.value))
        return {error, {}};
    return location;
}

}  // namespace

int moveFileReplacing(const QString &from, const QString &to)
{
    const auto source = movableFile(from);
    if (!source.ok())
        return source.error;
    const auto target = detail::locate(to);
    if (!target.ok())
        return target.error;
    if (target.value.drive != source.value.drive)
        return dos::AccessDenied;
    if (const int error = detail::refuseWrite(target.value))
        return error;
    if (target.value.exists && target.value.isDirectory)
        return dos::AccessDenied;
    if (target.value.exists && isSameHostFile(source.value.host, target.value.host))
        return dos::Ok;

    // Both folders are fetched before the rename: their bookkeeping follows the host change.
    const auto sourceFolder = detail::folderAt(source.value.hostFolder);
    if (!sourceFolder.ok())
        return sourceFolder.error;
    const bool sameFolder = target.value.hostFolder == source.value.hostFolder;
    const auto targetFolder = sameFolder ? sourceFolder : detail::folderAt(target.value.hostFolder);
    if (!targetFolder.ok())
        return targetFolder.error;
    const detail::FolderEntry *moved = sourceFolder.value->find(source.value.name);
    const quint8 attributes = moved ? moved->attributes : attr::Archive;
    if (target.value.exists) {
        const detail::FolderEntry *replaced = targetFolder.value->find(target.value.name);
        if (replaced && (replaced->attributes & (attr::ReadOnly | attr::Hidden)))
            return dos::AccessDenied;
    }

    if (::rename(detail::hostName(source.value.host).constData(),
                 detail::hostName(target.value.host).constData()) != 0) {
        return detail::dosErrorFromErrno(errno);
    }
    if (const int error = sourceFolder.value->remove(source.value.name))
        return error;
    // A replaced file keeps its 8.3 name; a new long name gets its alias among its new neighbours.
    if (target.value.exists)
        return targetFolder.value->setAttributes(target.value.name, attributes);
    return targetFolder.value->add(target.value.name, false, attributes);
}

}  // namespace platform
