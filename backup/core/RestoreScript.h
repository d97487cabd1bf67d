#pragma once

#include "platform/drives/Files.h"
#include "platform/text/DosError.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Restore.bat: the MS-DOS batch script a backup run leaves beside its copies. Run in MS-DOS mode
// with the backup folder as current directory, it copies every saved file back to its place and
// sets the attributes of the restored file and of the copy back to what they were.
namespace backup {

// One saved file as the script names it.
struct ScriptFile {
    QString shortSourcePath;  // 8.3 form of the file's place on the system, e.g. C:\PROGRA~1\X.INI
    QString copyDosName;  // 8.3 name of the copy in the backup folder, without directory
    QString displayName;  // the long file name as the Backup list shows it
    quint8 attributes = 0;  // the source's attribute value
};

// Describes a saved file: the short forms of source and copy are asked of the file system, the
// attributes are read from the source. The copy's own alias is taken because the backup folder
// numbers its aliases afresh, so it can differ from the source's (EINELA~2.TXT vs EINELA~1.TXT).
// Ask only after every copy of the run is in place: a new name can renumber the folder's aliases.
platform::DosResult<ScriptFile> scriptFileFor(const QString &source, const QString &copy,
                                              const QString &displayName);
// The same for a source looked up before the copies were made and the copy as its copying left
// it: the look-ups hold where the files lie, which no later copy changes. The source's
// attributes are read where the copying did not hand them on.
platform::DosResult<ScriptFile> scriptFileFor(const platform::ResolvedPath &source,
                                              const platform::ResolvedPath &copy,
                                              std::optional<quint8> attributes, const QString &displayName);

// " +r", " +r +h", ... " +r +h +s +a" for the values 1..7 and 32..39; empty for any other value.
QString attributeSuffix(quint8 attributes);

// The script's lines: a 22-line banner head, 8 lines per file in the given order, a 3-line tail.
// windowsShort is the 8.3 form of the Windows directory; date and time are inserted as given.
QStringList composeRestoreScript(const QString &windowsShort, const QString &date, const QString &time,
                                 const QList<ScriptFile> &files);

// A short name code page 850 cannot hold makes the script unwritable; reported like an invalid name.
constexpr int ScriptNotEncodable = platform::dos::PathNotFound;

// Writes the lines in code page 850, as MS-DOS reads them, each followed by CR LF, creating or
// replacing the file. The
// script is written under a temporary name beside it first, so a failed write keeps an earlier
// script whole. Returns the DOS error code, or ScriptNotEncodable (nothing written) when a line
// cannot be encoded.
int writeRestoreScript(const QString &path, const QStringList &lines);
// The same for the lines composeRestoreScript makes of these values, encoded as they are composed.
int writeRestoreScript(const QString &path, const QString &windowsShort, const QString &date,
                       const QString &time, const QList<ScriptFile> &files);

// A script read back: the values composeRestoreScript made its lines from. A file's attributes are
// those the script sets back (0 when its lines d and e set none).
struct SavedScript {
    QString windowsShort;
    QString date;
    QString time;
    QList<ScriptFile> files;
};

// The values behind lines that composeRestoreScript wrote; null for any other lines. The values
// must compose to exactly the same lines again, so a script edited by hand is not taken for one the
// backup run wrote, and what is read is what a restore would do.
std::optional<SavedScript> parseRestoreScript(const QStringList &lines);

// A folder's Restore.bat whose lines the backup run did not write.
constexpr int ScriptNotRecognised = platform::dos::InvalidData;

// Reads the folder's Restore.bat (code page 850, CR LF) and parses it: the file's read error
// (FileNotFound when the folder holds none), or ScriptNotRecognised.
platform::DosResult<SavedScript> readRestoreScript(const QString &folder);

}  // namespace backup
