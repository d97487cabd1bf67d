#pragma once

#include <QString>

class QObject;
class TShellLink;

namespace restore {

enum class Preparation {
    NoBackup,      // the folder holds no restore script: nothing was written or opened
    ScriptOpened,  // the autostart shortcut is written and the script handed to the shell
};

// Restores backupDirectory in MS-DOS mode: puts a shortcut to the program (in programDirectory,
// "X:" for a drive root) into the autostart folder through link, so the program checks the
// restore at the next start, then has the shell open the folder's Restore.bat on behalf of
// owner. The shortcut's and the shell's results go unexamined, as the program never checks them.
// The warning for a folder without a backup, for the restore and for the comparison with it.
QString noBackupText();

[[nodiscard]] Preparation prepareRestore(const QString &backupDirectory, const QString &programDirectory,
                                         TShellLink &link, const QObject *owner);

}  // namespace restore
