#pragma once

#include "platform/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

#include <sys/stat.h>

// Inside the platform layer only: the host boundary. Every system call on a host path is made
// here (HostFiles.cpp), and its failure comes back as a DOS error code.
namespace platform::detail {

// The DOS code for a host errno value; whenMissing stands for ENOENT (a file: 2, a folder: 3).
[[nodiscard]] int dosErrorFromErrno(int error, int whenMissing = dos::FileNotFound);

QByteArray hostName(const QString &hostPath);
QString hostChild(const QString &hostFolder, const QString &name);

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

// stat() that follows links; empty when the path does not exist or cannot be examined.
[[nodiscard]] std::optional<struct stat> statHost(const QString &hostPath);
bool isHostLink(const QString &hostPath);

// Size and free space in bytes of the host file system that holds the path (statvfs()).
struct HostSpace {
    qint64 total = 0;
    qint64 free = 0;
};
[[nodiscard]] DosResult<HostSpace> hostFileSystemSpace(const QString &hostPath);
bool isSameHostFile(const QString &a, const QString &b);

// A folder's entries as the host spells them, "." and ".." left out. A link counts as a folder
// when it leads to one.
struct HostEntry {
    QByteArray name;
    bool isDirectory = false;
};
[[nodiscard]] DosResult<QList<HostEntry>> listHostFolder(const QString &hostFolder);

[[nodiscard]] DosResult<QByteArray> readHostFile(const QString &hostPath);

// No write follows a symbolic link. Writing and copying replace a link by a new file; appending
// fails on one (3), so that the caller can write the whole file anew.
// Creates or truncates the file and writes data; exclusive fails with 5 when it exists already.
[[nodiscard]] int writeHostFile(const QString &hostPath, const QByteArray &data, bool exclusive = false);
[[nodiscard]] int appendHostFile(const QString &hostPath, const QByteArray &data);
// Writes data to `temporary` (which must not exist) and puts it in place of hostPath in one
// step, so that a failure at any point leaves the old file as it was and no temporary behind.
[[nodiscard]] int replaceHostFile(const QString &hostPath, const QString &temporary, const QByteArray &data);

// Creates or truncates `to` with the bytes and the last-write time of `from`. Like Windows, a
// copy that fails once `to` was opened leaves no partial file behind.
[[nodiscard]] int copyHostFile(const QString &from, const QString &to);
// The same with bytes and a last-write time from elsewhere.
[[nodiscard]] int writeHostCopy(const QString &to, const QByteArray &data, const QDateTime &lastWrite);

// A host file read from the start.
class HostReader {
public:
    [[nodiscard]] int open(const QString &hostPath);
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

    [[nodiscard]] int open(const QString &hostPath, const QString &temporary);
    [[nodiscard]] int write(const char *data, qsizetype size);
    [[nodiscard]] int commit();

private:
    QString m_hostPath;
    QString m_temporary;
    HostFd m_fd;
};

// Renames within one host file system, replacing an existing file in one step.
[[nodiscard]] int renameHostFile(const QString &from, const QString &to);
[[nodiscard]] int removeHostFile(const QString &hostPath);
// Cuts or extends the file to `size` bytes; extended with zero bytes.
[[nodiscard]] int resizeHostFile(const QString &hostPath, qint64 size);
[[nodiscard]] int setHostWriteTime(const QString &hostPath, const QDateTime &time);
[[nodiscard]] int makeHostFolder(const QString &hostPath);
// Removes a folder with everything in it; goes on past failures and returns the first.
[[nodiscard]] int removeHostTree(const QString &hostPath);

// An exclusive lock on a host file for as long as `lock` stays open. Failed says why in *problem.
enum class LockOutcome { Taken, HeldElsewhere, Failed };
[[nodiscard]] LockOutcome lockHostFile(const QString &hostPath, HostFd *lock, QString *problem);

}  // namespace platform::detail
