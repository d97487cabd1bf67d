#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

#include <optional>

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

InPlaceCopy copyFileInPlace(const ResolvedPath &from, ResolvedPath &&to, const QString &prefix)
{
    const Location &source = *from.m_location;
    const Location &target = *to.m_location;
    if (const int error = detail::refuseWrite(target))
        return {error, true, {}};
    if (!source.exists)
        return {dos::FileNotFound, false, {}};
    if (source.isDirectory || target.isRoot() || (target.exists && target.isDirectory))
        return {dos::AccessDenied, false, {}};
    const auto attributes = source.backend().attributes(source);
    if (!attributes.ok())
        return {attributes.error, false, {}};
    InPlaceCopy copy = target.backend().copyReplacing(source, target, attributes.value, prefix);
    if (copy.error == dos::Ok) {
        // A run's copies each take their target's look-up, which no one else holds.
        if (to.m_location.use_count() > 1)
            to.m_location = std::make_shared<Location>(target);
        Location &finished = *to.m_location;
        finished.exists = true;
        if (!copy.shortName.isEmpty())
            finished.shortName = copy.shortName;
        copy.copy = std::move(to);
        copy.attributes = attributes.value;
    }
    return copy;
}

namespace detail {

namespace {

// An earlier file may carry read-only or hidden (a saved IO.SYS), which a drive may refuse to
// replace; its attributes are cleared and handed back, so that a failed replace can restore them.
DosResult<std::optional<quint8>> unprotect(const Location &file)
{
    if (!file.exists)
        return {};
    const auto attributes = storedAttributes(file);
    if (!attributes.ok())
        return {attributes.error, {}};
    if (const int error = file.backend().setAttributes(file, 0))
        return {error, {}};
    return {dos::Ok, attributes.value};
}

}  // namespace

DosResult<Location> DriveBackend::locateIn(const Location &folder, const QString &name)
{
    return detail::locate(windowsPathIn(folder.windowsPath(), name));
}

InPlaceCopy DriveBackend::copyReplacing(const Location &from, const Location &to, quint8 attributes,
                                        const QString &prefix)
{
    const auto directory = detail::locate(directoryPart(to.windowsPath()));
    if (!directory.ok())
        return {directory.error, true, {}};
    const auto temporary = createTemporaryIn(directory.value, prefix);
    if (!temporary.ok())
        return {temporary.error, true, {}};
    int error = copyLocated(from, temporary.value, false);
    std::optional<quint8> earlier;
    if (error == dos::Ok) {
        const auto unprotected = unprotect(to);
        error = unprotected.error;
        earlier = unprotected.value;
    }
    if (error == dos::Ok)
        error = move(temporary.value, to, attributes);
    if (error != dos::Ok) {
        // Cleaning up after the failure, which is the one to report; a temporary left behind goes
        // with the next run into the directory.
        (void)setAttributes(temporary.value, 0);
        (void)remove(temporary.value);
        if (earlier)
            (void)setAttributes(to, *earlier);
    }
    return {error, false, {}};
}

}  // namespace detail

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
