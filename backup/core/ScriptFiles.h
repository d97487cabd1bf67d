#pragma once

#include <QString>

// The two files a backup run leaves beside its copies, and where they stand in a backup folder.
namespace backup {

// The backup run writes "Restore.bat"; the restore dialog and the directory tree look for
// "restore.bat". The file system matches either, but the name shown in messages and asked of the
// shell stays as each side has always spelt it.
enum class ScriptSpelling { Written, LookedFor };

// The folder's Restore.bat; a drive root gives X:\Restore.bat, never a doubled backslash.
QString restoreScriptPath(const QString &folder, ScriptSpelling spelling = ScriptSpelling::Written);

// The folder's Restore.pif, the program information that runs the script in MS-DOS mode.
QString restorePifPath(const QString &folder);

// Whether a file of this name would be overwritten by one of the two (letter case ignored).
bool isScriptFileName(const QString &name);

}  // namespace backup
