#include "platform/Files.h"

#include "platform/Folder.h"
#include "platform/HostFiles.h"
#include "platform/PathResolver.h"

#include <cerrno>

#include <sys/stat.h>

namespace platform {

int createDirectory(const QString &path)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    if (location.value.exists)
        return dos::AccessDenied;
    const auto folder = detail::changeableFolder(location.value);
    if (!folder.ok())
        return folder.error;
    if (::mkdir(detail::hostName(location.value.host).constData(), 0777) != 0)
        return detail::dosErrorFromErrno(errno, dos::PathNotFound);
    return folder.value->add(location.value.name, true, 0);
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
    const auto folder = detail::changeableFolder(location.value);
    if (!folder.ok())
        return folder.error;
    const int error = detail::removeHostTree(location.value.host);
    detail::forgetFolders(location.value.host);
    if (error != dos::Ok)
        return error;
    return folder.value->remove(location.value.name);
}

}  // namespace platform
