#pragma once

#include "backup/core/BackupFolder.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

// The parts of the backup run that need no window: checking the destination, naming the targets,
// copying into the backup folder and the texts the run reports.
namespace backup {

// The warning that refuses a destination, or nothing when a backup may go there. Refused are the
// Program directory (held as "X:" for a root, so compared as "X:\"), the Windows directory and
// "C:\"; all compared as whole texts without regard to letter case.
std::optional<QString> destinationRefusal(const QString &destinationPath, const QString &programDirectory,
                                          const QString &windowsDirectory);

// The folder every file of the run is written to: "D:\" becomes "D:", a subdirectory stays as is.
QString destinationBase(const QString &destinationPath);

// Where a file lands: flat in the backup folder under its long name.
QString backupTarget(const QString &destinationBase, const QString &sourcePath);

// The status line after a run that saved `saved` of `marked` files.
QString backupStatusText(int saved, int marked);

// The first two paths whose file names are equal without regard to letter case, in list order of
// the second one; their copies would overwrite each other in the flat backup folder.
std::optional<std::pair<QString, QString>> duplicateNames(const QStringList &markedPaths);
QString duplicateNamesText(const QString &firstPath, const QString &secondPath);

// The first marked path whose copy would be overwritten by the run's own Restore.bat or
// Restore.pif, and the warning that refuses the run for it.
std::optional<QString> scriptNameClash(const QStringList &markedPaths);
QString scriptNameClashText(const QString &path);

// Copies source to target, keeping the source's attributes and last-write time. The copy is made
// under a temporary name beside the target and only then replaces an earlier copy, so a failed or
// killed copy never leaves a half-written file under the real name, and an earlier copy stays
// intact. An earlier copy that is read-only, hidden or system (a saved IO.SYS) is replaced.
CopyOutcome copyIntoBackup(const QString &source, const QString &target);
CopyOutcome copyIntoBackup(const platform::ResolvedPath &source, const QString &target);
// The same for the target `name` in the folder `base`, looked up before as `folder` (the run's
// backup folder); its whole path is put together only for a failure.
CopyOutcome copyIntoBackup(const platform::ResolvedPath &source, const platform::ResolvedPath &folder,
                           const QString &base, const QString &name);

// The message for a copy that failed, naming both files and the reason.
QString copyFailureText(const QString &source, const QString &target, int error);

// The one message of a run stopped because its backup folder failed: names the folder and why.
QString folderFailureText(const QString &destinationPath, int error);

// Ends a run into destinationBase and returns the status line. A run whose marked files were all
// missing removes Restore.bat and Restore.pif there; a run that saved nothing because its copies
// failed keeps those of an earlier run, which still restore the earlier copies, and says so.
QString finishRun(const QString &destinationBase, int saved, int missing, int marked);

}  // namespace backup
