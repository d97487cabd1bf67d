#include "platform/host/detail/HostFiles.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/file.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace platform::detail {

namespace {

constexpr size_t CopyBufferSize = 1 << 20;
// openat2 asks for a retry when a rename elsewhere raced with a ".." it had to check.
constexpr int ResolveAttempts = 16;

int lastError(int whenMissing = dos::FileNotFound)
{
    return dosErrorFromErrno(errno, whenMissing);
}

// A name or path as the system calls take it, as hostName() encodes it. A short ASCII one, as
// most are, is put together on the stack: every copy converts a few names.
class HostBytes {
public:
    explicit HostBytes(QStringView text)
    {
        const bool isAscii = text.size() < InlineSize && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
                                 return c.unicode() < 0x80;
                             });
        if (!isAscii) {
            m_encoded = hostName(text);
            return;
        }
        std::transform(text.cbegin(), text.cend(), m_inline.begin(),
                       [](QChar c) { return char(c.unicode()); });
        m_inline[size_t(text.size())] = '\0';
    }
    const char *constData() const { return m_encoded.isNull() ? m_inline.data() : m_encoded.constData(); }

private:
    static constexpr qsizetype InlineSize = 256;
    std::array<char, InlineSize> m_inline;
    QByteArray m_encoded;  // a name too long or not ASCII
};

// Opens path beneath the folder `at`: no link, ".." or absolute name leads out of it, and no
// /proc link leads anywhere. A way out reads as a missing file.
int openBeneath(int at, const char *path, int flags)
{
    open_how how{};
    how.flags = quint64(flags | O_CLOEXEC);
    if (flags & O_CREAT)
        how.mode = 0666;
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    for (int attempt = 1;; ++attempt) {
        const long fd = ::syscall(SYS_openat2, at, path, &how, sizeof how);
        if (fd >= 0)
            return int(fd);
        if (errno == EINTR || (errno == EAGAIN && attempt < ResolveAttempts))
            continue;
        if (errno == EXDEV)
            errno = ENOENT;
        return -1;
    }
}

HostFd openRoot(const QString &root)
{
    return HostFd(::open(hostName(root).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The folder a path is resolved in: the one the path holds open, or one opened for this call.
class Root {
public:
    Root() = default;  // a trusted path needs none
    explicit Root(int held)
        : m_fd(held)
    {}
    explicit Root(HostFd opened)
        : m_opened(std::move(opened)),
          m_fd(m_opened.get())
    {}
    bool isOpen() const { return m_fd >= 0; }
    int get() const { return m_fd; }

private:
    HostFd m_opened;
    int m_fd = -1;
};

std::optional<Root> rootOf(const HostPath &path)
{
    if (path.below.isEmpty())
        return Root();
    if (path.open)
        return Root(path.open->get());
    HostFd root = openRoot(path.root);
    if (!root.isOpen())
        return std::nullopt;
    return Root(std::move(root));
}

// The file or folder itself, links inside its root followed.
HostFd openIn(const Root &root, const HostPath &path, int flags)
{
    if (!root.isOpen())
        return HostFd(::open(hostName(path.root).constData(), flags | O_CLOEXEC, 0666));
    return HostFd(openBeneath(root.get(), HostBytes(path.below).constData(), flags));
}

HostFd openPath(const HostPath &path, int flags)
{
    const auto root = rootOf(path);
    return root ? openIn(*root, path, flags) : HostFd();
}

// The folder that holds a path's last name, opened inside the path's root, and that name: the
// *at() calls act on the name itself, so nothing there is followed out of the folder.
struct Place {
    HostFd folder;  // opened for this call; not for a trusted path, whose name is the whole path
    HostBytes name;
    int heldRoot = -1;  // the held root, for a name right below it
    int at() const { return folder.isOpen() ? folder.get() : heldRoot >= 0 ? heldRoot : AT_FDCWD; }
};

// A name an *at() call may take on its own: "." or ".." would reach the folder above, a slash
// another folder.
bool isNameInFolder(QStringView name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/');
}

// The last name of a path below its root, or nothing (errno set) when it is none an *at() call
// may take.
std::optional<QStringView> lastNameIn(const HostPath &path)
{
    const QStringView name = QStringView(path.below).sliced(path.below.lastIndexOf(u'/') + 1);
    if (!isNameInFolder(name)) {
        errno = ENOENT;
        return std::nullopt;
    }
    return name;
}

std::optional<HostBytes> lastNameOf(const HostPath &path)
{
    const auto name = lastNameIn(path);
    if (!name)
        return std::nullopt;
    return HostBytes(*name);
}

std::optional<Place> placeOf(const HostPath &path)
{
    if (path.below.isEmpty())
        return Place{HostFd(), HostBytes(path.root)};
    const qsizetype slash = path.below.lastIndexOf(u'/');
    const auto name = lastNameOf(path);
    if (!name)
        return std::nullopt;
    if (slash < 0 && path.open)
        return Place{HostFd(), *name, path.open->get()};
    const auto root = rootOf(path);
    if (!root)
        return std::nullopt;
    const HostBytes folder(slash < 0 ? QStringView(u".") : QStringView(path.below).first(slash));
    HostFd fd(openBeneath(root->get(), folder.constData(), O_PATH | O_DIRECTORY));
    if (!fd.isOpen())
        return std::nullopt;
    return Place{std::move(fd), *name};
}

// EACCES for what is neither a regular file nor a folder, EISDIR for a folder; *info is what
// fstat() found.
bool isRegularFile(int fd, struct stat *info)
{
    if (::fstat(fd, info) != 0)
        return false;
    if (!S_ISREG(info->st_mode)) {
        errno = S_ISDIR(info->st_mode) ? EISDIR : EACCES;
        return false;
    }
    return true;
}

bool isRegularFile(int fd)
{
    struct stat info;
    return isRegularFile(fd, &info);
}

// A regular file right in the held folder of a source, opened by name, and its *info: the name
// is looked at without following it (unless the folder's listing showed a regular file there)
// and opened only when it is a regular file. Empty, with nothing opened, for anything else (a
// link, a device, a FIFO, nothing, a name an *at() call may not take), which the whole path then
// finds.
std::optional<HostFd> openRegularInHeld(const HostSource &source, struct stat *info)
{
    if (!isNameInFolder(source.name))
        return std::nullopt;
    const HostBytes name(source.name);
    const int folder = source.held->get();
    struct stat seen;
    if (!source.listedAsFile
        && (::fstatat(folder, name.constData(), &seen, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(seen.st_mode)))
        return std::nullopt;
    HostFd fd(::openat(folder, name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.isOpen() && errno == ELOOP)
        return std::nullopt;  // a link took its place meanwhile
    if (fd.isOpen() && !isRegularFile(fd.get(), info))
        return HostFd();
    return fd;
}

// A regular file opened for reading, and its *info. A device or FIFO is refused before it is
// opened; the file opened is checked again, as something else may have taken its place meanwhile.
HostFd openForReading(const HostPath &path, struct stat *info)
{
    const auto root = rootOf(path);
    if (!root)
        return {};
    const HostFd probe = openIn(*root, path, O_PATH);
    if (!probe.isOpen() || !isRegularFile(probe.get()))
        return {};
    HostFd fd = openIn(*root, path, O_RDONLY | O_NONBLOCK);
    if (fd.isOpen() && !isRegularFile(fd.get(), info))
        return {};
    return fd;
}

// The first failure of a write and the close after it.
int closed(HostFd &fd, int error)
{
    const int closeError = fd.close();
    return error != dos::Ok ? error : closeError;
}

// The last steps of a copy: its times, the close, and no partial file after a failure.
int finishCopy(HostFd &out, const HostPath &to, int error, const timespec (&times)[2])
{
    if (error == dos::Ok && ::futimens(out.get(), times) != 0)
        error = lastError();
    error = closed(out, error);
    if (error != dos::Ok)
        (void)removeHostFile(to);  // the copy's own error is the one to report
    return error;
}

// Whether a copy has reached the source's end: `got` bytes came of `asked` and `copied` in all.
// A step that stops short once the size the file had when opened is copied has met its end, so
// that a small file needs no second step to find it; a file that grew meanwhile goes on to its
// new end. A size of 0 says nothing (pseudo files show it), so such a file is read until nothing
// comes.
bool isAtEnd(qint64 copied, qint64 size, ssize_t got, size_t asked)
{
    return size > 0 && copied >= size && size_t(got) < asked;
}

int copyByReading(int in, int out, qint64 size)
{
    const std::unique_ptr<char[]> buffer(new char[CopyBufferSize]);
    qint64 copied = 0;
    for (;;) {
        const ssize_t got = ::read(in, buffer.get(), CopyBufferSize);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (got == 0)
            return dos::Ok;
        if (const int error = writeAllTo(out, buffer.get(), got))
            return error;
        copied += got;
        if (isAtEnd(copied, size, got, CopyBufferSize))
            return dos::Ok;
    }
}

// The kernel copies (and may share blocks) where it can; other file systems get read and write.
// `size` is the source's size when it was opened.
int copyBytes(int in, int out, qint64 size)
{
    constexpr size_t Step = 1 << 30;
    qint64 copied = 0;
    for (;;) {
        const ssize_t got = ::copy_file_range(in, nullptr, out, nullptr, Step, 0);
        if (got > 0) {
            copied += got;
            if (isAtEnd(copied, size, got, Step))
                return dos::Ok;
            continue;
        }
        if (got == 0)
            return dos::Ok;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)
            return copyByReading(in, out, size - copied);
        return lastError();
    }
}

// Truncates only a file that has content. ext4 takes any truncation to zero as a file being
// rewritten in place and writes it out on close, which would stall every copy into a new,
// empty temporary file.
int makeEmpty(int fd, const struct stat &target)
{
    if (target.st_size > 0 && ::ftruncate(fd, 0) != 0)
        return lastError();
    return dos::Ok;
}

// A name that must not exist yet: created in one step inside the root. O_EXCL never follows a
// link in its place, and what it makes is a regular file.
HostFd createNewFile(const HostPath &path)
{
    if (!path.below.isEmpty() && !lastNameIn(path))
        return {};
    const auto root = rootOf(path);
    if (!root)
        return {};
    return openIn(*root, path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK);
}

// Opens a file for writing without ever following a symbolic link in its place: such a link is
// removed and a new file made instead, as Windows has no such thing to write through. A device or
// FIFO is refused, and the open cannot wait for a reader. *info is the file opened, except for an
// exclusive open, whose file is new.
HostFd openForWriting(const HostPath &path, int flags, struct stat *info)
{
    if (flags & O_EXCL)
        return createNewFile(path);
    const auto place = placeOf(path);
    if (!place)
        return {};
    const char *name = place->name.constData();
    flags |= O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    struct stat existing;
    if (::fstatat(place->at(), name, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(existing.st_mode)) {
            if (::unlinkat(place->at(), name, 0) != 0)
                return {};
        } else if (!S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
            errno = EACCES;
            return {};
        }
    }
    HostFd fd(::openat(place->at(), name, flags, 0666));
    if (fd.isOpen() && !isRegularFile(fd.get(), info))
        return {};
    return fd;
}

HostFd openForWriting(const HostPath &path, int flags)
{
    struct stat info;
    return openForWriting(path, flags, &info);
}

struct ListingCloser {
    void operator()(DIR *listing) const { ::closedir(listing); }
};
// An open folder listing, closed when it goes.
using Listing = std::unique_ptr<DIR, ListingCloser>;

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity &other) const = default;
};

FileIdentity identityOf(const struct stat &info)
{
    return {info.st_dev, info.st_ino};
}

// The root and each folder below it down to `below`; one that cannot be examined is left out.
QList<FileIdentity> foldersOnTheWay(int rootFd, const QString &below)
{
    QList<FileIdentity> folders;
    struct stat info;
    if (::fstat(rootFd, &info) == 0)
        folders.append(identityOf(info));
    QString path;
    for (const QString &name : below.split(u'/', Qt::SkipEmptyParts)) {
        path = path.isEmpty() ? name : path + u'/' + name;
        const HostFd fd(openBeneath(rootFd, HostBytes(path).constData(), O_PATH));
        if (fd.isOpen() && ::fstat(fd.get(), &info) == 0)
            folders.append(identityOf(info));
    }
    return folders;
}

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

int writeAllTo(int fd, const char *data, qsizetype size)
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

timespec hostTime(const QDateTime &time)
{
    const qint64 milliseconds = time.toMSecsSinceEpoch();
    return {time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000};
}

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

// Qt takes the system's encoding on Unix to be UTF-8, as QFile::encodeName() does, and spares
// finding the locale's converter for each name.
QByteArray hostName(QStringView hostPath)
{
    return hostPath.toUtf8();
}

QString hostChild(const QString &hostFolder, const QString &name)
{
    if (hostFolder.endsWith(u'/'))
        return hostFolder + name;
    return hostFolder + u'/' + name;
}

HostPath HostPath::child(const QString &name) const
{
    return {root, below.isEmpty() ? name : below + u'/' + name, open};
}

QString HostPath::text() const
{
    return below.isEmpty() ? root : hostChild(root, below);
}

std::optional<struct stat> statHost(const HostPath &path)
{
    const HostFd fd = openPath(path, O_PATH);
    struct stat info;
    if (!fd.isOpen() || ::fstat(fd.get(), &info) != 0)
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

bool isHostLink(const HostPath &path)
{
    const auto place = placeOf(path);
    struct stat info;
    return place && ::fstatat(place->at(), place->name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
           && S_ISLNK(info.st_mode);
}

bool isSameHostFile(const HostPath &a, const HostPath &b)
{
    const auto first = statHost(a);
    const auto second = statHost(b);
    return first && second && identityOf(*first) == identityOf(*second);
}

DosResult<QList<HostEntry>> listHostFolder(const HostPath &folder)
{
    const auto root = rootOf(folder);
    if (!root)
        return {lastError(dos::PathNotFound), {}};
    HostFd fd = openIn(*root, folder, O_RDONLY | O_DIRECTORY);
    if (!fd.isOpen())
        return {lastError(dos::PathNotFound), {}};
    const int folderFd = fd.get();
    const Listing listing(::fdopendir(folderFd));
    if (!listing)
        return {lastError(dos::PathNotFound), {}};
    fd.release();  // the listing owns it now
    // A link in the folder is resolved from the root, as it may lead up and down again.
    const int rootFd = root->isOpen() ? root->get() : folderFd;
    const QByteArray linkPrefix = root->isOpen() ? hostName(folder.below) + '/' : QByteArray();
    std::optional<QList<FileIdentity>> onTheWay;
    QList<HostEntry> entries;
    errno = 0;
    while (const dirent *entry = ::readdir(listing.get())) {
        if (isDotEntry(entry))
            continue;
        bool isDirectory = entry->d_type == DT_DIR;
        bool isLink = entry->d_type == DT_LNK;
        bool isFile = entry->d_type == DT_REG;
        struct stat info;
        if (entry->d_type == DT_UNKNOWN
            && ::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) {
            isLink = S_ISLNK(info.st_mode);
            isDirectory = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        if (isLink) {
            const HostFd target(
                openBeneath(rootFd, QByteArray(linkPrefix + entry->d_name).constData(), O_PATH));
            if (!target.isOpen() || ::fstat(target.get(), &info) != 0) {
                errno = 0;
                continue;  // leads out of the root or nowhere
            }
            isDirectory = S_ISDIR(info.st_mode);
            if (isDirectory && !onTheWay)
                onTheWay = foldersOnTheWay(rootFd, folder.below);
            if (isDirectory && onTheWay->contains(identityOf(info))) {
                errno = 0;
                continue;  // back to a folder on the way here: the tree would never end
            }
        }
        entries.append({QByteArray(entry->d_name), isDirectory, isFile});
        errno = 0;
    }
    if (errno != 0)
        return {lastError(dos::PathNotFound), {}};
    return {dos::Ok, entries};
}

DosResult<QByteArray> readHostFile(const HostPath &path)
{
    struct stat info;
    const HostFd fd = openForReading(path, &info);
    if (!fd.isOpen())
        return {lastError(), {}};
    QByteArray data;
    if (info.st_size > 0)
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

int writeHostFile(const HostPath &path, const QByteArray &data, bool exclusive)
{
    HostFd fd = openForWriting(path, exclusive ? O_EXCL : O_TRUNC);
    if (!fd.isOpen())
        return lastError(dos::PathNotFound);
    return closed(fd, writeAllTo(fd.get(), data.constData(), data.size()));
}

int appendHostFile(const HostPath &path, const QByteArray &data)
{
    const auto place = placeOf(path);
    if (!place)
        return lastError(dos::PathNotFound);
    HostFd fd(::openat(place->at(), place->name.constData(),
                       O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    if (!fd.isOpen() || !isRegularFile(fd.get()))
        return lastError(dos::PathNotFound);
    return closed(fd, writeAllTo(fd.get(), data.constData(), data.size()));
}

int replaceHostFile(const HostPath &path, const HostPath &temporary, const QByteArray &data)
{
    HostFd fd = openForWriting(temporary, O_EXCL);
    if (!fd.isOpen())
        return lastError(dos::PathNotFound);
    int error = closed(fd, writeAllTo(fd.get(), data.constData(), data.size()));
    if (error == dos::Ok)
        error = renameHostFile(temporary, path);
    if (error != dos::Ok)
        (void)removeHostFile(temporary);  // the write's error is the one to report
    return error;
}

int copyHostFile(const HostPath &from, const HostPath &to)
{
    struct stat source;
    const HostFd in = openForReading(from, &source);
    if (!in.isOpen())
        return lastError();
    struct stat target;
    HostFd out = openForWriting(to, 0, &target);
    if (!out.isOpen())
        return lastError(dos::PathNotFound);
    int error = makeEmpty(out.get(), target);
    if (error == dos::Ok)
        error = copyBytes(in.get(), out.get(), source.st_size);
    const timespec times[2] = {source.st_atim, source.st_mtim};
    return finishCopy(out, to, error, times);
}

ReplacingCopy copyHostFileReplacing(const HostSource &from, const HostPath &to, const HostPath &temporary)
{
    // The temporary comes first: a folder that takes no new file fails here, whatever the source.
    HostFd out = createNewFile(temporary);
    if (!out.isOpen())
        return {lastError(dos::PathNotFound), true};
    struct stat source;
    std::optional<HostFd> byName = from.held ? openRegularInHeld(from, &source) : std::nullopt;
    const HostFd in = byName ? std::move(*byName) : openForReading(from.folder.child(from.name), &source);
    int error = in.isOpen() ? copyBytes(in.get(), out.get(), source.st_size) : lastError();
    if (error == dos::Ok) {
        const timespec times[2] = {source.st_atim, source.st_mtim};
        if (::futimens(out.get(), times) != 0)
            error = lastError();
    }
    error = closed(out, error);
    if (error == dos::Ok)
        error = renameHostFile(temporary, to);
    if (error != dos::Ok)
        (void)removeHostFile(temporary);  // the copy's own error is the one to report
    return {error, false};
}

int writeHostCopy(const HostPath &to, const QByteArray &data, const QDateTime &lastWrite)
{
    HostFd out = openForWriting(to, O_TRUNC);
    if (!out.isOpen())
        return lastError(dos::PathNotFound);
    const int error = writeAllTo(out.get(), data.constData(), data.size());
    const timespec times[2] = {{0, UTIME_OMIT}, hostTime(lastWrite)};
    return finishCopy(out, to, error, times);
}

int HostReader::open(const HostPath &path)
{
    struct stat info;
    m_fd = openForReading(path, &info);
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

int HostReplacement::open(const HostPath &path, const HostPath &temporary)
{
    m_fd = openForWriting(temporary, O_EXCL);
    if (!m_fd.isOpen())
        return lastError(dos::PathNotFound);
    m_path = path;
    m_temporary = temporary;
    return dos::Ok;
}

int HostReplacement::write(const char *data, qsizetype size)
{
    return writeAllTo(m_fd.get(), data, size);
}

int HostReplacement::commit()
{
    int error = m_fd.close();
    if (error == dos::Ok)
        error = renameHostFile(m_temporary, m_path);
    if (error != dos::Ok)
        (void)removeHostFile(m_temporary);  // the failed step is the one to report
    return error;
}

namespace {

// The folders above a path's last name, as written in it.
QStringView folderPart(const QString &below)
{
    return QStringView(below).first(qMax(below.lastIndexOf(u'/'), qsizetype(0)));
}

int renameIn(const Place &source, int targetFolder, const HostBytes &targetName)
{
    if (::renameat(source.at(), source.name.constData(), targetFolder, targetName.constData()) != 0)
        return lastError();
    return dos::Ok;
}

}  // namespace

int renameHostFile(const HostPath &from, const HostPath &to)
{
    const auto source = placeOf(from);
    if (!source)
        return lastError();
    // Within one folder (a temporary put in place) the folder is opened once.
    const bool sameFolder = !from.below.isEmpty() && !to.below.isEmpty() && from.root == to.root
                            && folderPart(from.below) == folderPart(to.below);
    if (sameFolder) {
        const auto name = lastNameOf(to);
        if (!name)
            return lastError(dos::PathNotFound);
        return renameIn(*source, source->at(), *name);
    }
    const auto target = placeOf(to);
    if (!target)
        return lastError(dos::PathNotFound);
    return renameIn(*source, target->at(), target->name);
}

int removeHostFile(const HostPath &path)
{
    const auto place = placeOf(path);
    if (!place || ::unlinkat(place->at(), place->name.constData(), 0) != 0)
        return lastError();
    return dos::Ok;
}

int makeHostFolder(const HostPath &path)
{
    const auto place = placeOf(path);
    if (!place || ::mkdirat(place->at(), place->name.constData(), 0777) != 0)
        return lastError(dos::PathNotFound);
    return dos::Ok;
}

int removeHostTree(const HostPath &path)
{
    const auto place = placeOf(path);
    if (!place)
        return lastError(dos::PathNotFound);
    return removeTreeAt(place->at(), place->name.constData());
}

OpenRoot holdHostFolder(const HostPath &folder)
{
    HostFd fd = openPath(folder, O_PATH | O_DIRECTORY);
    if (!fd.isOpen())
        return {};
    return std::make_shared<const HostFd>(std::move(fd));
}

bool HostRoot::refresh(const QString &root)
{
    struct stat now;
    if (::stat(hostName(root).constData(), &now) != 0 || !S_ISDIR(now.st_mode)) {
        m_open.reset();
        return false;
    }
    if (m_open && now.st_dev == m_device && now.st_ino == m_inode)
        return true;
    HostFd fd = openRoot(root);
    struct stat opened;
    if (!fd.isOpen() || ::fstat(fd.get(), &opened) != 0) {
        m_open.reset();
        return false;
    }
    m_device = opened.st_dev;
    m_inode = opened.st_ino;
    m_open = std::make_shared<const HostFd>(std::move(fd));
    return true;
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
