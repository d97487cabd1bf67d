#pragma once

#include "platform/DosError.h"

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
std::optional<QString> destinationRefusal(const QString &destinationPath,
                                          const QString &programDirectory,
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

struct CopyOutcome {
    int error = platform::dos::Ok;
    bool ok() const { return error == platform::dos::Ok; }
};

// Copies source to target, keeping the source's attributes and last-write time. Where an earlier
// copy exists, the new one is made under a temporary name beside it and only then replaces it, so
// a failed copy leaves the earlier one intact and nothing of itself behind. An earlier copy that is
// read-only, hidden or system (a saved IO.SYS) is replaced like any other.
CopyOutcome copyIntoBackup(const QString &source, const QString &target);

// The message for a copy that failed, naming both files and the reason.
QString copyFailureText(const QString &source, const QString &target, int error);

}  // namespace backup
