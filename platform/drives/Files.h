#pragma once

#include "platform/text/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

// Windows file services over the simulated PC. Every path is a Windows path
// (C:\WINDOWS\WIN.INI); names are matched without regard to letter case, also by their 8.3 alias.
namespace platform {

namespace detail {
struct Location;
}

namespace attr {
constexpr quint8 ReadOnly = 1;
constexpr quint8 Hidden = 2;
constexpr quint8 System = 4;
constexpr quint8 Directory = 16;
constexpr quint8 Archive = 32;
}  // namespace attr

// Splits "C:\A\B.TXT" into its parts; everything after the last backslash or colon is the name.
QString fileNamePart(const QString &path);
QString directoryPart(const QString &path);  // "C:\A" for "C:\A\B.TXT", "C:\" for "C:\B.TXT"
// The other way: "C:\A" for "C:\" and "A", "C:\A\B" for "C:\A" and "B".
QString windowsPathIn(const QString &folderPath, const QString &name);

// Upper case as FAT compares names, letter by letter: "Maße.ini" stays apart from "Masse.ini",
// where QString::toUpper would make both "MASSE.INI".
QString upperCaseFileName(const QString &name);

// The root rule: "X:\" with X from C to Z becomes "X:"; everything else is returned unchanged.
QString withoutRootBackslash(const QString &directory);

struct InPlaceCopy;

// A Windows path looked up once, for the services that take it in place of the path. It tells
// the state at the look-up: after a change to the file, look the path up again.
class ResolvedPath {
public:
    QString path() const;  // spelled as on disk; a new last name as given
    bool exists() const;
    bool isFile() const;  // an existing file, not a directory

private:
    friend DosResult<ResolvedPath> resolvePath(const QString &path);
    friend DosResult<ResolvedPath> resolvePath(const ResolvedPath &folder, const QString &name);
    friend int copyFile(const ResolvedPath &from, const ResolvedPath &to);
    friend DosResult<quint8> fileAttributes(const ResolvedPath &path);
    friend DosResult<QString> shortPathName(const ResolvedPath &path);
    friend DosResult<QString> shortFileName(const ResolvedPath &path);
    friend InPlaceCopy copyFileInPlace(const ResolvedPath &from, ResolvedPath &&to, const QString &prefix);
    friend bool copyFilesTogether(const QList<ResolvedPath> &sources, const QStringList &names,
                                  const QString &folder, const QString &stagingPrefix);
    // Changed only where no other ResolvedPath shares it (copyFileInPlace).
    std::shared_ptr<detail::Location> m_location;
};
[[nodiscard]] DosResult<ResolvedPath> resolvePath(const QString &path);
// A name in a folder looked up before, found as resolvePath(folder's path + "\" + name) finds it;
// a run of many files into one folder then finds each without going along the path again.
[[nodiscard]] DosResult<ResolvedPath> resolvePath(const ResolvedPath &folder, const QString &name);

// What copyFileInPlace did: its error, whether the target's directory refused the new file,
// which tells that no other file can be written there either, and where the finished copy lies.
struct InPlaceCopy {
    int error = dos::Ok;
    bool directoryRefused = false;
    ResolvedPath copy;  // on success
    quint8 attributes = 0;  // on success: the copy's, which are the source's
    QString shortName{};  // on success, where the copy got a new 8.3 name that stays: that name
};

bool fileExists(const QString &path);  // an existing file, not a directory
bool directoryExists(const QString &path);  // an existing directory, drive roots included

// Host path of an existing file or directory (case-insensitive lookup); error when missing.
// Only the platform layer and its stand-ins (help viewer, text viewer) may use host paths.
[[nodiscard]] DosResult<QString> hostPathOf(const QString &path);

// The on-disk spelling of an existing path (drive letter upper case, long names as stored).
[[nodiscard]] DosResult<QString> canonicalPath(const QString &path);

[[nodiscard]] DosResult<quint8> fileAttributes(const QString &path);
[[nodiscard]] DosResult<quint8> fileAttributes(const ResolvedPath &path);
[[nodiscard]] int setFileAttributes(const QString &path, quint8 attributes);

// Copies with overwrite; the copy keeps the source's attributes and last-write time. Like Windows,
// refuses (AccessDenied) to overwrite a read-only or hidden target.
[[nodiscard]] int copyFile(const QString &from, const QString &to);
[[nodiscard]] int copyFile(const ResolvedPath &from, const ResolvedPath &to);

// Copies with the source's attributes and last-write time, never through a half-written file:
// the copy is made under a new name "<prefix>xxxx.TMP" (as createTempFile names it) in to's
// directory and only then put in place of `to` in one step, also when an earlier `to` is
// read-only, hidden or system. A failure leaves `to` as it was and the new name gone. A drive
// that is not written (a cd-rom, a write-protected floppy) is reported before any error of the
// source, a directory that takes no new file (no free name, no permission) after its checks.
// The look-up of `to` becomes the copy's where no other ResolvedPath shares it.
[[nodiscard]] InPlaceCopy copyFileInPlace(const ResolvedPath &from, ResolvedPath &&to, const QString &prefix);

[[nodiscard]] int deleteFile(const QString &path);  // AccessDenied for a read-only file

[[nodiscard]] DosResult<QDateTime> lastWriteTime(const QString &path);

// The 8.3 form of an existing path, e.g. C:\PROGRA~1\VELKOS~1\ORVEL.INI.
[[nodiscard]] DosResult<QString> shortPathName(const QString &path);
[[nodiscard]] DosResult<QString> shortPathName(const ResolvedPath &path);
// Its last name alone, as shortPathName ends: X.INI or ORVEL~1.INI.
[[nodiscard]] DosResult<QString> shortFileName(const ResolvedPath &path);

[[nodiscard]] int createDirectory(const QString &path);  // parent must exist; an existing one is an error (5)
[[nodiscard]] int forceDirectories(const QString &path);  // with missing parents; an existing one is fine
[[nodiscard]] int removeDirectoryTree(const QString &path);  // everything below, read-only files too

// Subdirectories and files of a directory, in on-disk spelling, sorted case-insensitively.
[[nodiscard]] DosResult<QStringList> subdirectories(const QString &directory);
[[nodiscard]] DosResult<QStringList> files(const QString &directory);

// Whole-file reading and writing. writeFile creates or truncates; the file gets the archive bit.
[[nodiscard]] DosResult<QByteArray> readFile(const QString &path);
[[nodiscard]] int writeFile(const QString &path, const QByteArray &data);
// Writes a new file beside the target, then replaces it, so a failure leaves the old one intact.
// Refuses a read-only target with AccessDenied.
[[nodiscard]] int replaceFile(const QString &path, const QByteArray &data);
[[nodiscard]] int createEmptyFile(const QString &path);  // creates or truncates to length 0

// The Windows directory as the system reports it, no trailing backslash (C:\WINDOWS).
QString windowsDirectory();
// The start menu's autostart folder, fixed below the Windows directory as the German Windows names
// it, not looked up: C:\WINDOWS\startmenü\programme\autostart.
QString autostartDirectory();
// The temporary directory with trailing backslash (C:\WINDOWS\TEMP\), created if missing.
QString tempDirectory();
// Creates an empty, uniquely named file "<prefix>xxxx.TMP" in directory and returns its path.
[[nodiscard]] DosResult<QString> createTempFile(const QString &directory, const QString &prefix);

// The process's current directory, as Windows reports it ("D:\" for a root, else no backslash).
QString currentDirectory();
[[nodiscard]] int setCurrentDirectory(const QString &directory);
// The current directory of one drive (its root until the process has been elsewhere on it).
[[nodiscard]] DosResult<QString> driveCurrentDirectory(QChar letter);
// Makes directory the current one of its drive, as "cd D:\X" does; the current drive stays.
[[nodiscard]] int setDriveCurrentDirectory(const QString &directory);
// As a new process starts: every drive at its root, the current drive too.
void resetDriveDirectories();

}  // namespace platform
