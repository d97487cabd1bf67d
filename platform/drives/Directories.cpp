#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

namespace platform {

int createDirectory(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    if (location.value.exists)
        return dos::AccessDenied;
    if (const int error = detail::refuseWrite(location.value))
        return error;
    return location.value.backend().makeDirectory(location.value);
}

int forceDirectories(const QString &path)
{
    const auto absolute = detail::absolutePath(path);
    if (!absolute.ok())
        return absolute.error;
    detail::WindowsPath walked{absolute.value.drive, {}};
    const auto root = detail::locate(walked.text());
    if (!root.ok())
        return root.error;
    for (const QString &name : absolute.value.names) {
        walked.names.append(name);
        const auto location = detail::locate(walked.text());
        if (!location.ok())
            return location.error;
        if (location.value.exists && !location.value.isDirectory)
            return dos::AccessDenied;
        if (!location.value.exists) {
            if (const int error = createDirectory(walked.text()))
                return error;
        }
    }
    return dos::Ok;
}

int removeDirectoryTree(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    if (!location.value.exists || !location.value.isDirectory)
        return dos::PathNotFound;
    if (location.value.isRoot())
        return dos::AccessDenied;
    if (const int error = detail::refuseWrite(location.value))
        return error;
    return location.value.backend().removeTree(location.value);
}

}  // namespace platform
