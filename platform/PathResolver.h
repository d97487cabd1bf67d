#pragma once

#include "platform/DosError.h"
#include "platform/Machine.h"

#include <QString>
#include <QStringList>

#include <memory>

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
DosResult<WindowsPath> absolutePath(const QString &path);

// A Windows path found on the host: every directory on the way exists, the last name may not.
struct Location {
    const Drive *drive = nullptr;
    QString windowsPath;  // spelled as on disk; a new last name as given
    QString hostFolder;   // the host folder that holds the entry; a root's own folder
    QString name;         // the entry's host name, or the new name; empty for a root
    QString host;         // the entry's host path
    bool exists = false;
    bool isDirectory = false;
    bool isRoot() const { return name.isEmpty(); }
};

// Fails with 15 for a drive the machine lacks, 21 for a drive not ready, 3 when a directory on
// the way is missing or a name is not allowed.
DosResult<Location> locate(const QString &path);

// AccessDenied when the entry's drive cannot be written.
int refuseWrite(const Location &location);

class Folder;
// The folder that holds location, where its drive allows changes (refuseWrite first).
DosResult<std::shared_ptr<Folder>> changeableFolder(const Location &location);

// Attributes of an existing entry, the directory bit included.
DosResult<quint8> attributesOf(const Location &location);

}  // namespace platform::detail
