#include "platform/HostFiles.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform::detail {

namespace {

constexpr size_t CopyBufferSize = 1 << 20;

int lastError(int whenMissing = dos::FileNotFound)
{
    return dosErrorFromErrno(errno, whenMissing);
}

int writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        data += written;
        size -= written;
    }
    return dos::Ok;
}

// The first failure of a write and the close after it.
int closed(HostFd &fd, int error)
{
    const int closeError = fd.close();
    return error != dos::Ok ? error : closeError;
}

// The last steps of a copy: its times, the close, and no partial file after a failure.
int finishCopy(HostFd &out, const QString &to, int error, const timespec (&times)[2])
{
    if (error == dos::Ok && ::futimens(out.get(), times) != 0)
        error = lastError();
    error = closed(out, error);
    if (error != dos::Ok)
        (void)removeHostFile(to);  // the copy's own error is the one to report
    return error;
}

int copyByReading(int in, int out)
{
    const std::unique_ptr<char[]> buffer(new char[CopyBufferSize]);
    for (;;) {
        const ssize_t got = ::read(in, buffer.get(), CopyBufferSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (got == 0)
            return dos::Ok;
        if (const int error = writeAll(out, buffer.get(), got))
            return error;
    }
}

// The kernel copies (and may share blocks) where it can; other file systems get read and write.
int copyBytes(int in, int out)
{
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return dos::Ok;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
            return copyByReading(in, out);
        return lastError();
    }
}

// Truncates only a file that has content. ext4 takes any truncation to zero as a file being
// rewritten in place and writes it out on close, which would stall every copy into a new,
// empty temporary file.
int makeEmpty(int fd)
{
    struct stat target;
    if (::fstat(fd, &target) != 0)
        return lastError();
    if (target.st_size > 0 && ::ftruncate(fd, 0) != 0)
        return lastError();
    return dos::Ok;
}

// Opens a file for writing without ever following a symbolic link: a link in the file's place
// is removed and a new file made instead, as Windows has no such thing to write through.
HostFd openForWriting(const QString &hostPath, int flags)
{
    const QByteArray name = hostName(hostPath);
    flags |= O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    HostFd fd(::open(name.constData(), flags, 0666));
    if (fd.isOpen() || errno != ELOOP || (flags & O_EXCL))
        return fd;
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        errno = ELOOP;
        return fd;
    }
    if (::unlink(name.constData()) != 0)
        return fd;
    return HostFd(::open(name.constData(), flags | O_EXCL, 0666));
}

timespec timeOf(const QDateTime &time)
{
    const qint64 milliseconds = time.toMSecsSinceEpoch();
    return {time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000};
}

struct ListingCloser {
    void operator()(DIR *listing) const { ::closedir(listing); }
};
// An open folder listing, closed when it goes.
using Listing = std::unique_ptr<DIR, ListingCloser>;

bool isDotEntry(const dirent *entry)
{
    return std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0;
}

bool isFolderEntry(int folderFd, const dirent *entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type == DT_DIR;
    struct stat info;
    return ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

int removeTreeAt(int parentFd, const char *name)
{
    HostFd fd(::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isOpen()) {
        if (errno != ENOTDIR && errno != ELOOP)
            return lastError(dos::PathNotFound);
        return ::unlinkat(parentFd, name, 0) == 0 ? dos::Ok : lastError();
    }
    const int folderFd = fd.get();
    const Listing folder(::fdopendir(folderFd));
    if (!folder)
        return lastError(dos::PathNotFound);
    fd.release();  // the listing owns it now
    int firstError = dos::Ok;
    auto note = [&firstError](int error) {
        if (firstError == dos::Ok)
            firstError = error;
    };
    while (const dirent *entry = ::readdir(folder.get())) {
        if (isDotEntry(entry))
            continue;
        if (isFolderEntry(folderFd, entry))
            note(removeTreeAt(folderFd, entry->d_name));
        else if (::unlinkat(folderFd, entry->d_name, 0) != 0)
            note(lastError());
    }
    if (::unlinkat(parentFd, name, AT_REMOVEDIR) != 0)
        note(lastError(dos::PathNotFound));
    return firstError;
}

}  // namespace

HostFd &HostFd::operator=(HostFd &&other) noexcept
{
    if (this != &other) {
        // Replacing an open file keeps nothing of it; its close error has no one to go to.
        (void)close();
        m_fd = other.release();
    }
    return *this;
}

HostFd::~HostFd()
{
    // An owner that cares about the close error calls close() itself.
    (void)close();
}

int HostFd::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

int HostFd::close()
{
    if (m_fd < 0)
        return dos::Ok;
    const int result = ::close(release());
    return result == 0 ? dos::Ok : lastError();
}

int dosErrorFromErrno(int error, int whenMissing)
{
    switch (error) {
    case 0:
        return dos::Ok;
    case ENOENT:
        return whenMissing;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return dos::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR:
    case ENOTEMPTY:
    case EBUSY:
    case ETXTBSY:
        return dos::AccessDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return dos::DiskFull;
    default:
        return dos::GeneralFailure;
    }
}

QByteArray hostName(const QString &hostPath)
{
    return QFile::encodeName(hostPath);
}

QString hostChild(const QString &hostFolder, const QString &name)
{
    if (hostFolder.endsWith(u'/'))
        return hostFolder + name;
    return hostFolder + u'/' + name;
}

std::optional<struct stat> statHost(const QString &hostPath)
{
    struct stat info;
    if (::stat(hostName(hostPath).constData(), &info) != 0)
        return std::nullopt;
    return info;
}

DosResult<HostSpace> hostFileSystemSpace(const QString &hostPath)
{
    struct statvfs info;
    if (::statvfs(hostName(hostPath).constData(), &info) != 0)
        return {dosErrorFromErrno(errno, dos::PathNotFound), {}};
    const auto blockSize = static_cast<qint64>(info.f_frsize);
    // f_bavail, not f_bfree: the space an unprivileged program may still fill.
    return {dos::Ok,
            {static_cast<qint64>(info.f_blocks) * blockSize, static_cast<qint64>(info.f_bavail) * blockSize}};
}

bool isHostLink(const QString &hostPath)
{
    struct stat info;
    return ::lstat(hostName(hostPath).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isSameHostFile(const QString &a, const QString &b)
{
    const auto first = statHost(a);
    const auto second = statHost(b);
    return first && second && first->st_dev == second->st_dev && first->st_ino == second->st_ino;
}

DosResult<QList<HostEntry>> listHostFolder(const QString &hostFolder)
{
    const Listing listing(::opendir(hostName(hostFolder).constData()));
    if (!listing)
        return {lastError(dos::PathNotFound), {}};
    const int folderFd = ::dirfd(listing.get());
    QList<HostEntry> entries;
    errno = 0;
    while (const dirent *entry = ::readdir(listing.get())) {
        if (isDotEntry(entry))
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
            struct stat info;
            isDirectory = ::fstatat(folderFd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        entries.append({QByteArray(entry->d_name), isDirectory});
        errno = 0;
    }
    if (errno != 0)
        return {lastError(dos::PathNotFound), {}};
    return {dos::Ok, entries};
}

DosResult<QByteArray> readHostFile(const QString &hostPath)
{
    const HostFd fd(::open(hostName(hostPath).constData(), O_RDONLY | O_CLOEXEC));
    if (!fd.isOpen())
        return {lastError(), {}};
    QByteArray data;
    struct stat info;
    if (::fstat(fd.get(), &info) == 0 && info.st_size > 0)
        data.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return {lastError(), {}};
        }
        if (got == 0)
            break;
        data.append(chunk, got);
    }
    return {dos::Ok, data};
}

int writeHostFile(const QString &hostPath, const QByteArray &data, bool exclusive)
{
    HostFd fd = openForWriting(hostPath, exclusive ? O_EXCL : O_TRUNC);
    if (!fd.isOpen())
        return lastError(dos::PathNotFound);
    return closed(fd, writeAll(fd.get(), data.constData(), data.size()));
}

int appendHostFile(const QString &hostPath, const QByteArray &data)
{
    HostFd fd(
        ::open(hostName(hostPath).constData(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.isOpen())
        return lastError(dos::PathNotFound);
    return closed(fd, writeAll(fd.get(), data.constData(), data.size()));
}

int replaceHostFile(const QString &hostPath, const QString &temporary, const QByteArray &data)
{
    HostFd fd = openForWriting(temporary, O_EXCL);
    if (!fd.isOpen())
        return lastError(dos::PathNotFound);
    int error = closed(fd, writeAll(fd.get(), data.constData(), data.size()));
    if (error == dos::Ok)
        error = renameHostFile(temporary, hostPath);
    if (error != dos::Ok)
        (void)removeHostFile(temporary);  // the write's error is the one to report
    return error;
}

int copyHostFile(const QString &from, const QString &to)
{
    const HostFd in(::open(hostName(from).constData(), O_RDONLY | O_CLOEXEC));
    if (!in.isOpen())
        return lastError();
    struct stat source;
    if (::fstat(in.get(), &source) != 0)
        return lastError();
    HostFd out = openForWriting(to, 0);
    if (!out.isOpen())
        return lastError(dos::PathNotFound);
    int error = makeEmpty(out.get());
    if (error == dos::Ok)
        error = copyBytes(in.get(), out.get());
    const timespec times[2] = {source.st_atim, source.st_mtim};
    return finishCopy(out, to, error, times);
}

int writeHostCopy(const QString &to, const QByteArray &data, const QDateTime &lastWrite)
{
    HostFd out = openForWriting(to, O_TRUNC);
    if (!out.isOpen())
        return lastError(dos::PathNotFound);
    const int error = writeAll(out.get(), data.constData(), data.size());
    const timespec times[2] = {{0, UTIME_OMIT}, timeOf(lastWrite)};
    return finishCopy(out, to, error, times);
}

int HostReader::open(const QString &hostPath)
{
    m_fd = HostFd(::open(hostName(hostPath).constData(), O_RDONLY | O_CLOEXEC));
    return m_fd.isOpen() ? dos::Ok : lastError();
}

DosResult<qsizetype> HostReader::read(char *buffer, qsizetype size)
{
    for (;;) {
        const ssize_t got = ::read(m_fd.get(), buffer, size_t(size));
        if (got >= 0)
            return {dos::Ok, qsizetype(got)};
        if (errno != EINTR)
            return {lastError(), 0};
    }
}

HostReplacement::~HostReplacement()
{
    if (!m_fd.isOpen())
        return;
    (void)m_fd.close();
    (void)removeHostFile(m_temporary);  // never committed: the file stays as it was
}

int HostReplacement::open(const QString &hostPath, const QString &temporary)
{
    m_fd = openForWriting(temporary, O_EXCL);
    if (!m_fd.isOpen())
        return lastError(dos::PathNotFound);
    m_hostPath = hostPath;
    m_temporary = temporary;
    return dos::Ok;
}

int HostReplacement::write(const char *data, qsizetype size)
{
    return writeAll(m_fd.get(), data, size);
}

int HostReplacement::commit()
{
    int error = m_fd.close();
    if (error == dos::Ok)
        error = renameHostFile(m_temporary, m_hostPath);
    if (error != dos::Ok)
        (void)removeHostFile(m_temporary);  // the failed step is the one to report
    return error;
}

int renameHostFile(const QString &from, const QString &to)
{
    if (::rename(hostName(from).constData(), hostName(to).constData()) != 0)
        return lastError();
    return dos::Ok;
}

int removeHostFile(const QString &hostPath)
{
    if (::unlink(hostName(hostPath).constData()) != 0)
        return lastError();
    return dos::Ok;
}

int resizeHostFile(const QString &hostPath, qint64 size)
{
    if (::truncate(hostName(hostPath).constData(), off_t(size)) != 0)
        return lastError();
    return dos::Ok;
}

int setHostWriteTime(const QString &hostPath, const QDateTime &time)
{
    const timespec times[2] = {{0, UTIME_OMIT}, timeOf(time)};
    if (::utimensat(AT_FDCWD, hostName(hostPath).constData(), times, 0) != 0)
        return lastError();
    return dos::Ok;
}

int makeHostFolder(const QString &hostPath)
{
    if (::mkdir(hostName(hostPath).constData(), 0777) != 0)
        return lastError(dos::PathNotFound);
    return dos::Ok;
}

int removeHostTree(const QString &hostPath)
{
    return removeTreeAt(AT_FDCWD, hostName(hostPath).constData());
}

LockOutcome lockHostFile(const QString &hostPath, HostFd *lock, QString *problem)
{
    HostFd fd(::open(hostName(hostPath).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.isOpen()) {
        *problem = QStringLiteral("cannot open the lock file %1: %2")
                       .arg(hostPath, QString::fromLocal8Bit(std::strerror(errno)));
        return LockOutcome::Failed;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK)
            return LockOutcome::HeldElsewhere;
        *problem =
            QStringLiteral("cannot lock %1: %2").arg(hostPath, QString::fromLocal8Bit(std::strerror(errno)));
        return LockOutcome::Failed;
    }
    *lock = std::move(fd);
    return LockOutcome::Taken;
}

}  // namespace platform::detail
