#pragma once

#include "platform/text/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

#include <sys/stat.h>

// Inside the platform layer only: the host boundary. Every system call on a host path is made
// here (HostFiles.cpp), and its failure comes back as a DOS error code.
namespace platform::detail {

// The DOS code for a host errno value; whenMissing stands for ENOENT (a file: 2, a folder: 3).
[[nodiscard]] int dosErrorFromErrno(int error, int whenMissing = dos::FileNotFound);

QByteArray hostName(QStringView hostPath);
QString hostChild(const QString &hostFolder, const QString &name);

class HostFd;
// A root folder held open (HostRoot), so that the paths below it are found without opening it
// for each.
using OpenRoot = std::shared_ptr<const HostFd>;

// A host file or folder of the simulated PC. `root` is taken as the machine names it (a drive's
// folder, which may itself be a link or a mounted disk; a file of the machine folder; a floppy
// image); `below` is resolved inside root only, so that no symbolic link (relative or absolute)
// and no ".." in it leads out. Links that stay inside are followed, except a link in the place of
// the last name when it is written, renamed or removed: that acts on the link itself. What lies
// outside counts as missing.
struct HostPath {
    HostPath() = default;
    // Implicit: a path the machine names itself is trusted as it is.
    HostPath(const QString &trusted)
        : root(trusted)
    {}
    HostPath(const QString &rootFolder, const QString &path, OpenRoot openRoot = {})
        : root(rootFolder),
          below(path),
          open(std::move(openRoot))
    {}
    QString root;
    QString below;  // names joined by '/'; empty for the root itself
    OpenRoot open;  // root itself, when held open; below is then resolved in it

    HostPath child(const QString &name) const;
    QString text() const;  // root and below in one host path, for other programs and messages
};

// An open host file, closed when it goes, so that no error path has to remember it.
class HostFd {
public:
    HostFd() = default;
    explicit HostFd(int fd)
        : m_fd(fd)
    {}
    HostFd(HostFd &&other) noexcept
        : m_fd(other.release())
    {}
    HostFd &operator=(HostFd &&other) noexcept;
    HostFd(const HostFd &) = delete;
    HostFd &operator=(const HostFd &) = delete;
    ~HostFd();

    bool isOpen() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }
    int release();
    // Closes now; a write the kernel reports only here (a full disk over NFS) is its error.
    [[nodiscard]] int close();

private:
    int m_fd = -1;
};

// A drive's folder held open for as long as the PC runs. Checked against its name before use, so
// that a folder removed or put in its place by others is seen as such.
class HostRoot {
public:
    // Keeps the folder held while `root` still names it, opens the one it names now otherwise;
    // false (and nothing held) when it names no folder.
    bool refresh(const QString &root);
    const OpenRoot &open() const { return m_open; }

private:
    OpenRoot m_open;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

// A folder of the PC opened inside its root, to be the held root of paths right below it: their
// files are then made, renamed and removed by name, without finding the folder again. Empty
// (errno set) when the folder cannot be opened.
[[nodiscard]] OpenRoot holdHostFolder(const HostPath &folder);

// Writes all of data to an open file, however many calls it takes.
[[nodiscard]] int writeAllTo(int fd, const char *data, qsizetype size);
// A last-write time as the host keeps it.
timespec hostTime(const QDateTime &time);

// stat() that follows links inside the root; empty when the path does not exist, leads out of
// its root or cannot be examined.
[[nodiscard]] std::optional<struct stat> statHost(const HostPath &path);
bool isHostLink(const HostPath &path);  // the last name itself is a link

// Size and free space in bytes of the host file system that holds the path (statvfs()).
struct HostSpace {
    qint64 total = 0;
    qint64 free = 0;
};
[[nodiscard]] DosResult<HostSpace> hostFileSystemSpace(const QString &hostPath);
bool isSameHostFile(const HostPath &a, const HostPath &b);

// A folder's entries as the host spells them, "." and ".." left out. A link counts as a folder
// when it leads to one inside the root; one that leads out of it or nowhere is left out, and so
// is one back to a folder on the way from the root, which would make the tree endless.
struct HostEntry {
    QByteArray name;
    bool isDirectory = false;
    bool isFile = false;  // a regular file itself, no link
};
[[nodiscard]] DosResult<QList<HostEntry>> listHostFolder(const HostPath &folder);

// Only regular files are read: a device or FIFO is refused (5) before it is opened, so that no
// read runs without end or waits for a writer.
[[nodiscard]] DosResult<QByteArray> readHostFile(const HostPath &path);

// No write follows a symbolic link in the place of the file. Writing and copying replace such a
// link by a new file; appending fails on one (3), so that the caller can write the whole file
// anew. Whatever else is not a regular file (a device, a FIFO) is refused (5).
// Creates or truncates the file and writes data; exclusive fails with 5 when it exists already.
[[nodiscard]] int writeHostFile(const HostPath &path, const QByteArray &data, bool exclusive = false);
[[nodiscard]] int appendHostFile(const HostPath &path, const QByteArray &data);
// Writes data to `temporary` (which must not exist) and puts it in place of hostPath in one
// step, so that a failure at any point leaves the old file as it was and no temporary behind.
[[nodiscard]] int replaceHostFile(const HostPath &path, const HostPath &temporary, const QByteArray &data);

// Creates or truncates `to` with the bytes and the last-write time of `from`. Like Windows, a
// copy that fails once `to` was opened leaves no partial file behind.
[[nodiscard]] int copyHostFile(const HostPath &from, const HostPath &to);
// The same with bytes and a last-write time from elsewhere.
[[nodiscard]] int writeHostCopy(const HostPath &to, const QByteArray &data, const QDateTime &lastWrite);

// A copy that replaces `to` only when complete: bytes and last-write time of `from` go to
// `temporary`, created here (it must not exist), which then takes the place of `to` in one step.
// A failure at any point leaves `to` as it was and no temporary behind; temporaryRefused tells
// that the temporary itself could not be made.
struct ReplacingCopy {
    int error = dos::Ok;
    bool temporaryRefused = false;
};
// A file to copy from: by name in its folder. Where a file run holds the folder open, a regular
// file right in it is read by name, without resolving the folder again; anything else there, and
// the file of a folder not held, is found through the whole path (folder.child(name)).
struct HostSource {
    HostPath folder;
    QString name;
    OpenRoot held;  // the folder itself, held open
    // With held: the name was a regular file, no link, when the folder was listed, so it is opened
    // without a look first. The file opened is checked all the same.
    bool listedAsFile = false;
};
[[nodiscard]] ReplacingCopy copyHostFileReplacing(const HostSource &from, const HostPath &to,
                                                  const HostPath &temporary);

// A host file read from the start.
class HostReader {
public:
    [[nodiscard]] int open(const HostPath &path);
    [[nodiscard]] DosResult<qsizetype> read(char *buffer, qsizetype size);  // 0 at the end

private:
    HostFd m_fd;
};

// New content for a host file, written to `temporary` (which must not exist) and put in place of
// the file by commit(). Dropped before that, it removes the temporary file.
class HostReplacement {
public:
    HostReplacement() = default;
    HostReplacement(const HostReplacement &) = delete;
    HostReplacement &operator=(const HostReplacement &) = delete;
    ~HostReplacement();

    [[nodiscard]] int open(const HostPath &path, const HostPath &temporary);
    [[nodiscard]] int write(const char *data, qsizetype size);
    [[nodiscard]] int commit();

private:
    HostPath m_path;
    HostPath m_temporary;
    HostFd m_fd;
};

// Renames within one host file system, replacing an existing file in one step.
[[nodiscard]] int renameHostFile(const HostPath &from, const HostPath &to);
[[nodiscard]] int removeHostFile(const HostPath &path);
[[nodiscard]] int makeHostFolder(const HostPath &path);
// Removes a folder with everything in it, links as links; goes on past failures and returns the
// first.
[[nodiscard]] int removeHostTree(const HostPath &path);

// An exclusive lock on a host file for as long as `lock` stays open. Failed says why in *problem.
enum class LockOutcome { Taken, HeldElsewhere, Failed };
[[nodiscard]] LockOutcome lockHostFile(const QString &hostPath, HostFd *lock, QString *problem);

}  // namespace platform::detail
