#pragma once

#include "platform/drives/Files.h"
#include "platform/text/DosError.h"

#include <QString>
#include <QStringList>

#include <functional>

// Files in the backup folder appear under their names only when complete: each is written under
// a temporary name (~VSxxxx.TMP) beside its place, or into a temporary folder (~VSxxxx.DIR)
// there, and then moved to its place. A killed run can leave such temporary files and folders behind; the next run
// into the folder removes them.
namespace backup {

struct WriteOutcome {
    int error = platform::dos::Ok;
    // The folder itself failed (gone, full, write-protected, not ready, refusing new files), so
    // nothing more can be written there; otherwise only this file failed.
    bool folderFailed = false;
    bool ok() const { return error == platform::dos::Ok; }
};

// Makes a temporary file in target's folder, lets `fill` write it, and only then puts it in place
// of target. An earlier file at target that is read-only, hidden or system is replaced like any
// other; on failure it stays as it was and the temporary file is removed. A folder that is gone
// is reported as PathNotFound.
WriteOutcome writeInPlace(const QString &target, const std::function<int(const QString &temporary)> &fill);

// A copy's outcome, and on success where the copy lies.
struct CopyOutcome : WriteOutcome {
    platform::ResolvedPath copy;
    quint8 attributes = 0;  // the copy's, which are the source's
};

// The same for a copy of source, as it was looked up, which keeps its attributes and last-write
// time; a failed look-up of the source fails only this file.
CopyOutcome copyInPlace(const platform::DosResult<platform::ResolvedPath> &source, const QString &target);
// The same for a target named `name` in the folder `base`, looked up before as `folder`, which the
// copies of a run share.
CopyOutcome copyInPlace(const platform::DosResult<platform::ResolvedPath> &source,
                        const platform::ResolvedPath &folder, const QString &base, const QString &name);

// Copies every source, as looked up, into folder under the name of the same place in names, with
// its attributes and last-write time, at once where the folder's drive can (a folder of a disk image that holds the sources):
// they are made in a temporary folder (~VSxxxx.DIR) there and then take their names together.
// False when that cannot be done or failed; each target then holds its earlier file or its
// complete copy, for writeInPlace file by file.
bool copyAllIntoFolder(const QList<platform::ResolvedPath> &sources, const QStringList &names,
                       const QString &folder);
// False where copyAllIntoFolder cannot work into folder whatever the sources (a host folder).
bool copiesAllIntoFolder(const QString &folder);

// Removes the temporary files and folders a killed run left in folder. Only names spelled exactly
// as the program makes them go; every other file stays. A file that cannot be removed is left alone: it
// does no harm and the next run tries again.
void removeLeftoverTemporaries(const QString &folder);

}  // namespace backup
