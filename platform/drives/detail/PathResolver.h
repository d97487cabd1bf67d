#pragma once

#include "platform/host/detail/HostFiles.h"
#include "platform/machine/Machine.h"
#include "platform/text/DosError.h"

#include <QString>
#include <QStringList>

#include <optional>

// Inside the platform layer only: from a Windows path to the host.
namespace platform::detail {

// An absolute Windows path taken apart: the drive letter and the names below its root.
struct WindowsPath {
    QChar drive;
    QStringList names;
    QString text() const;  // C:\A\B, or C:\ for the root
};

// The absolute form of path from its text alone: "X:" and "X:\" are the root, other relative
// paths start from the current directories, "." and ".." are resolved, trailing dots and blanks
// of names dropped. Fails with 3 for a name Windows does not allow, 15 for a bad drive letter.
[[nodiscard]] DosResult<WindowsPath> absolutePath(const QString &path);

class DriveBackend;

// A Windows path found on its drive: every directory on the way exists, the last name may not.
// The services take it in place of the path, so that a path is looked up once.
struct Location {
    const Drive *drive = nullptr;
    QString name;  // the entry's stored name, or the new name; empty for a root
    bool exists = false;
    bool isDirectory = false;
    // The entry's 8.3 name where it was fixed at the look-up (a kept alias, or one a copy just
    // gave); empty: asked of the drive.
    QString shortName;
    bool isRoot() const { return name.isEmpty(); }
    DriveBackend &backend() const;

    // Spelled as on disk; a new last name as given.
    QString windowsPath() const;
    void setWindowsPath(const QString &path);
    // The path of the entry `name` in the folder of that path, put together only where it is
    // asked for: a run keeps the look-ups of all its files, and mostly never asks.
    void setWindowsPathIn(const QString &folderPath);

private:
    QString m_windowsPath;  // the whole path, or the folder's (m_inFolder)
    bool m_inFolder = false;
    // Where the backend keeps the folder that holds the entry (a root's own) and the entry: paths
    // below the drive's host folder, or for an image the paths inside it. Only the backends reach
    // them, through BackendPlace (DriveBackend.h).
    QString m_placeFolder;
    QString m_placeEntry;
    OpenRoot m_openRoot;  // a host folder drive's folder, held open by its backend
    bool m_listedAsFile = false;  // a regular file, no link, where its folder's listing said so
    friend struct BackendPlace;
};

// Through the drive's backend. Fails with 15 for a drive the machine lacks, 21 for a drive not
// ready, 3 when a directory on the way is missing or a name is not allowed.
[[nodiscard]] DosResult<Location> locate(const QString &path);

// AccessDenied when the entry's drive cannot be written (a cd-rom), WriteProtected for a
// write-protected floppy.
[[nodiscard]] int refuseWrite(const Location &location);

// The attributes of an existing entry as its drive keeps them; one the drive does not list (a
// second host name that differs only in case) counts as archive only.
[[nodiscard]] DosResult<quint8> storedAttributes(const Location &location);

// A file about to be written: where it is, and the attributes it has if it exists.
struct Target {
    Location location;
    std::optional<quint8> attributes;
};

// Refuses what cannot be written: a directory, a file whose attributes are in `refused`, a drive
// that cannot be written.
[[nodiscard]] DosResult<Target> writableFile(const Location &location, quint8 refused);

}  // namespace platform::detail
