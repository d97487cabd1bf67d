#include "platform/host/detail/ImageFile.h"

#include <QFileInfo>

#include <cerrno>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform::detail {

namespace {

constexpr int LinkHops = 40;  // as many as the kernel follows

int openNoLinks(const QByteArray &path, int flags)
{
    open_how how{};
    how.flags = quint64(flags);
    how.resolve = RESOLVE_NO_SYMLINKS;
    const auto fd = int(::syscall(SYS_openat2, AT_FDCWD, path.constData(), &how, sizeof how));
    if (fd >= 0 || errno != ENOSYS)
        return fd;
    return ::open(path.constData(), flags | O_NOFOLLOW);  // an old kernel: the last link at least
}

}  // namespace

QString imagePathAtLoad(const QString &hostPath)
{
    QString path = hostPath;
    for (int hop = 0; hop < LinkHops; ++hop) {
        const QFileInfo info(path);
        if (info.exists())
            return info.canonicalFilePath();
        if (!info.isSymLink()) {
            const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
            return folder.isEmpty() ? path : folder + u'/' + info.fileName();
        }
        path = info.symLinkTarget();  // a link to a disk not inserted yet
    }
    return path;
}

DosResult<HostFd> openImage(const QString &hostPath, bool forWriting)
{
    // Non-blocking, so that a FIFO in the image's place cannot stop the open.
    HostFd fd(openNoLinks(hostName(hostPath), (forWriting ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK));
    if (!fd.isOpen()) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR || error == EISDIR || error == ELOOP || error == ENXIO)
            return {dos::NotReady, {}};
        return {dosErrorFromErrno(error), {}};
    }
    struct stat info;
    if (::fstat(fd.get(), &info) != 0)
        return {dosErrorFromErrno(errno), {}};
    if (!S_ISREG(info.st_mode))
        return {dos::NotReady, {}};
    return {dos::Ok, std::move(fd)};
}

DosResult<QByteArray> readImage(const HostFd &image, qint64 at, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 done = 0; done < size;) {
        const ssize_t got = ::pread(image.get(), bytes.data() + done, size_t(size - done), off_t(at + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {dosErrorFromErrno(errno), {}};
        if (got == 0)
            return {dos::NotDosDisk, {}};  // cut off
        done += got;
    }
    return {dos::Ok, bytes};
}

qint64 imageSize(const HostFd &image)
{
    struct stat info;
    if (::fstat(image.get(), &info) != 0)
        return -1;
    return info.st_size;
}

bool isLockedByAnother(const HostFd &image)
{
    struct flock probe{};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;  // the whole file
    if (::fcntl(image.get(), F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
        return true;
    // A shared flock of our own fails only beside an exclusive one; it goes with the descriptor.
    if (::flock(image.get(), LOCK_SH | LOCK_NB) != 0)
        return errno == EWOULDBLOCK;
    (void)::flock(image.get(), LOCK_UN);
    return false;
}

int resizeImage(const HostFd &image, qint64 size)
{
    if (::ftruncate(image.get(), off_t(size)) != 0)
        return dosErrorFromErrno(errno);
    return dos::Ok;
}

int writeImage(const HostFd &image, qint64 at, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written =
            ::pwrite(image.get(), bytes.constData() + done, size_t(bytes.size() - done), off_t(at + done));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return dosErrorFromErrno(errno);
        }
        done += written;
    }
    return dos::Ok;
}

DosResult<HostFd> memoryFile(const QByteArray &data, const QDateTime &lastWrite)
{
    HostFd fd(::memfd_create("velko-copy", MFD_CLOEXEC));
    if (!fd.isOpen())
        return {dosErrorFromErrno(errno), {}};
    if (const int error = writeAllTo(fd.get(), data.constData(), data.size()))
        return {error, {}};
    if (lastWrite.isValid()) {
        const timespec times[2] = {{0, UTIME_OMIT}, hostTime(lastWrite)};
        if (::futimens(fd.get(), times) != 0)
            return {dosErrorFromErrno(errno), {}};
    }
    return {dos::Ok, std::move(fd)};
}

QString descriptorPath(const HostFd &file)
{
    return QStringLiteral("/dev/fd/%1").arg(file.get());
}

}  // namespace platform::detail
