#include "platform/HostFiles.h"

#include <QFile>

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
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

int closeChecked(int fd, int error)
{
    if (::close(fd) != 0 && error == dos::Ok)
        return lastError();
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
int openForWriting(const QString &hostPath, int flags)
{
    const QByteArray name = hostName(hostPath);
    flags |= O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC;
    const int fd = ::open(name.constData(), flags, 0666);
    if (fd >= 0 || errno != ELOOP || (flags & O_EXCL))
        return fd;
    struct stat info;
    if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        errno = ELOOP;
        return -1;
    }
    if (::unlink(name.constData()) != 0)
        return -1;
    return ::open(name.constData(), flags | O_EXCL, 0666);
}

bool isFolderEntry(int folderFd, const dirent *entry)
{
    if (entry->d_type != DT_UNKNOWN)
        return entry->d_type == DT_DIR;
    struct stat info;
    return ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0
        && S_ISDIR(info.st_mode);
}

int removeTreeAt(int parentFd, const char *name)
{
    const int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOTDIR && errno != ELOOP)
            return lastError(dos::PathNotFound);
        return ::unlinkat(parentFd, name, 0) == 0 ? dos::Ok : lastError();
    }
    DIR *folder = ::fdopendir(fd);
    if (!folder) {
        const int error = lastError(dos::PathNotFound);
        ::close(fd);
        return error;
    }
    int firstError = dos::Ok;
    auto note = [&firstError](int error) {
        if (firstError == dos::Ok)
            firstError = error;
    };
    while (const dirent *entry = ::readdir(folder)) {
        const QByteArray child(entry->d_name);
        if (child == "." || child == "..")
            continue;
        if (isFolderEntry(fd, entry))
            note(removeTreeAt(fd, entry->d_name));
        else if (::unlinkat(fd, entry->d_name, 0) != 0)
            note(lastError());
    }
    ::closedir(folder);
    if (::unlinkat(parentFd, name, AT_REMOVEDIR) != 0)
        note(lastError(dos::PathNotFound));
    return firstError;
}

}  // namespace

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
        return GeneralFailure;
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

bool isHostLink(const QString &hostPath)
{
    struct stat info;
    return ::lstat(hostName(hostPath).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

DosResult<QByteArray> readHostFile(const QString &hostPath)
{
    const int fd = ::open(hostName(hostPath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {lastError(), {}};
    QByteArray data;
    struct stat info;
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        data.reserve(qsizetype(info.st_size));
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            const int error = lastError();
            ::close(fd);
            return {error, {}};
        }
        if (got == 0)
            break;
        data.append(chunk, got);
    }
    ::close(fd);
    return {dos::Ok, data};
}

int writeHostFile(const QString &hostPath, const QByteArray &data, bool exclusive)
{
    const int fd = openForWriting(hostPath, exclusive ? O_EXCL : O_TRUNC);
    if (fd < 0)
        return lastError(dos::PathNotFound);
    return closeChecked(fd, writeAll(fd, data.constData(), data.size()));
}

int appendHostFile(const QString &hostPath, const QByteArray &data)
{
    const int fd = ::open(hostName(hostPath).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return lastError(dos::PathNotFound);
    return closeChecked(fd, writeAll(fd, data.constData(), data.size()));
}

int copyHostFile(const QString &from, const QString &to)
{
    const int in = ::open(hostName(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return lastError();
    struct stat source;
    if (::fstat(in, &source) != 0) {
        const int error = lastError();
        ::close(in);
        return error;
    }
    const int out = openForWriting(to, 0);
    if (out < 0) {
        const int error = lastError(dos::PathNotFound);
        ::close(in);
        return error;
    }
    int error = makeEmpty(out);
    if (error == dos::Ok)
        error = copyBytes(in, out);
    if (error == dos::Ok) {
        const timespec times[2] = {source.st_atim, source.st_mtim};
        if (::futimens(out, times) != 0)
            error = lastError();
    }
    ::close(in);
    error = closeChecked(out, error);
    if (error != dos::Ok)
        ::unlink(hostName(to).constData());
    return error;
}

int removeHostTree(const QString &hostPath)
{
    return removeTreeAt(AT_FDCWD, hostName(hostPath).constData());
}

}  // namespace platform::detail
