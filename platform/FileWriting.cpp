#include "platform/Files.h"

#include "platform/DriveBackend.h"
#include "platform/PathResolver.h"

namespace platform {

using detail::Location;
using detail::WriteMode;

namespace {

// Windows reports this when a file is copied onto itself.
constexpr int SharingViolation = 32;

// A file about to be written: where it is, and the attributes it has if it exists.
struct Target {
    Location location;
    std::optional<quint8> attributes;
};

// Refuses what cannot be written: a directory, a file whose attributes are in `refused`, a drive
// that cannot be written.
DosResult<Target> writableFile(const QString &path, quint8 refused)
{
    const auto location = detail::locate(path);
    if (!location.ok())
        return {location.error, {}};
    Target target{location.value, std::nullopt};
    if (const int error = detail::refuseWrite(target.location))
        return {error, {}};
    if (target.location.exists && target.location.isDirectory)
        return {dos::AccessDenied, {}};
    if (target.location.exists) {
        const auto attributes = detail::storedAttributes(target.location);
        if (!attributes.ok())
            return {attributes.error, {}};
        if (attributes.value & refused)
            return {dos::AccessDenied, {}};
        target.attributes = attributes.value;
    }
    return {dos::Ok, target};
}

// New content: a new file gets the archive bit, an existing one keeps its attributes and gains it.
int writeTarget(const QString &path, const QByteArray &data, WriteMode mode)
{
    const auto target = writableFile(path, attr::ReadOnly);
    if (!target.ok())
        return target.error;
    const quint8 attributes = target.value.attributes.value_or(0) | attr::Archive;
    const Location &location = target.value.location;
    return location.backend().write(location, data, mode, attributes);
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

int copyFile(const QString &from, const QString &to)
{
    const auto source = detail::locate(from);
    if (!source.ok())
        return source.error;
    if (!source.value.exists)
        return dos::FileNotFound;
    if (source.value.isDirectory)
        return dos::AccessDenied;
    const auto attributes = source.value.backend().attributes(source.value);
    if (!attributes.ok())
        return attributes.error;

    const auto target = writableFile(to, attr::ReadOnly | attr::Hidden);
    if (!target.ok())
        return target.error;
    const Location &location = target.value.location;
    if (location.exists && location.backend().isSameFile(source.value, location))
        return SharingViolation;
    return location.backend().copy(source.value, location, attributes.value);
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
