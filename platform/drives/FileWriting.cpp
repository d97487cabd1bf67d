#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

namespace platform {

using detail::Location;
using detail::WriteMode;

namespace {

// New content: a new file gets the archive bit, an existing one keeps its attributes and gains it.
int writeTarget(const QString &path, const QByteArray &data, WriteMode mode)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return location.error;
    const auto target = detail::writableFile(location.value, attr::ReadOnly);
    if (!target.ok())
        return target.error;
    const quint8 attributes = target.value.attributes.value_or(0) | attr::Archive;
    const Location &file = target.value.location;
    return file.backend().write(file, data, mode, attributes);
}

}  // namespace

int writeFile(const QString &path, const QByteArray &data)
{
    return writeTarget(path, data, WriteMode::Truncate);
}

int createEmptyFile(const QString &path)
{
    return writeFile(path, {});
}

int replaceFile(const QString &path, const QByteArray &data)
{
    return writeTarget(path, data, WriteMode::Replace);
}

namespace {

// A copy onto an existing file that is the source itself (by another name) is refused; a new
// temporary needs no such look.
int copyLocated(const Location &source, const Location &to, bool mayBeSource)
{
    if (!source.exists)
        return dos::FileNotFound;
    if (source.isDirectory)
        return dos::AccessDenied;
    const auto attributes = source.backend().attributes(source);
    if (!attributes.ok())
        return attributes.error;

    const auto target = detail::writableFile(to, attr::ReadOnly | attr::Hidden);
    if (!target.ok())
        return target.error;
    const Location &location = target.value.location;
    detail::DriveBackend &backend = location.backend();
    if (&backend != &source.backend()) {
        const auto data = source.backend().read(source);
        if (!data.ok())
            return data.error;
        const auto time = source.backend().lastWriteTime(source);
        if (!time.ok())
            return time.error;
        return backend.writeCopy(location, {data.value, time.value}, attributes.value);
    }
    if (mayBeSource && location.exists && backend.isSameFile(source, location))
        return dos::SharingViolation;
    return backend.copy(source, location, attributes.value);
}

int copyPaths(const QString &from, const QString &to, bool mayBeSource)
{
    const auto source = detail::locate(from);
    if (!source.ok())
        return source.error;
    if (!source.value.exists)
        return dos::FileNotFound;
    const auto target = detail::locate(to);
    if (!target.ok())
        return target.error;
    return copyLocated(source.value, target.value, mayBeSource);
}

}  // namespace

int copyFile(const QString &from, const QString &to)
{
    return copyPaths(from, to, true);
}

int copyFile(const ResolvedPath &from, const ResolvedPath &to)
{
    return copyLocated(*from.m_location, *to.m_location, true);
}

int copyFileToTemporary(const QString &from, const QString &temporary)
{
    return copyPaths(from, temporary, false);
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
    if (const int error = detail::refuseWrite(location.value))
        return error;
    const auto attributes = detail::storedAttributes(location.value);
    if (!attributes.ok())
        return attributes.error;
    if (attributes.value & attr::ReadOnly)
        return dos::AccessDenied;
    return location.value.backend().remove(location.value);
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
    if (const int error = detail::refuseWrite(location.value))
        return error;
    return location.value.backend().setAttributes(location.value, attributes);
}

}  // namespace platform
