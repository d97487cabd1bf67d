#include "platform/files/FileMove.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

namespace platform {

using detail::Location;

namespace {

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
    detail::DriveBackend &backend = source.value.backend();
    if (target.value.exists && backend.isSameFile(source.value, target.value))
        return dos::Ok;

    const auto attributes = detail::storedAttributes(source.value);
    if (!attributes.ok())
        return attributes.error;
    if (target.value.exists) {
        const auto replaced = detail::storedAttributes(target.value);
        if (!replaced.ok())
            return replaced.error;
        if (replaced.value & (attr::ReadOnly | attr::Hidden))
            return dos::AccessDenied;
    }
    return backend.move(source.value, target.value, attributes.value);
}

}  // namespace platform
