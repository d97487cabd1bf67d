#pragma once

#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/text/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Inside the platform layer only: where a drive keeps its files.
namespace platform::detail {

struct Location;

struct DirectoryEntry {
    QString name;  // spelled as stored
    bool isDirectory = false;
};

// A file's bytes and last-write time, for a copy between drives of two backends.
struct FileCopy {
    QByteArray data;
    QDateTime lastWrite;
};

// How new content reaches a file.
enum class WriteMode {
    Truncate,  // the file is created or emptied and written in place
    Replace,  // written beside the file, then put in its place in one step
    CreateNew,  // only where nothing has the name yet; AccessDenied otherwise
};

// A file read from the start, piece by piece.
class InputStream {
public:
    virtual ~InputStream() = default;
    // Up to `size` bytes into `buffer`; 0 at the end of the file.
    [[nodiscard]] virtual DosResult<qsizetype> read(char *buffer, qsizetype size) = 0;
};

// New content for a file, written piece by piece under a temporary name. commit() puts it in
// place of the file in one step; a stream dropped without commit leaves the file as it was.
class OutputStream {
public:
    virtual ~OutputStream() = default;
    [[nodiscard]] virtual int write(const char *data, qsizetype size) = 0;
    [[nodiscard]] virtual int commit() = 0;
};

// The storage of one kind of drive: a host folder, or a FAT file system in an image file. The services of
// Files.h keep the Windows rules (what may be overwritten or deleted, what a cd-rom refuses) and
// leave finding, storing and the bookkeeping of attributes and 8.3 names to the drive's backend.
// Every call takes Locations the same backend produced.
class DriveBackend {
public:
    virtual ~DriveBackend() = default;

    // The entry the names lead to: every directory on the way exists, the last name may not.
    [[nodiscard]] virtual DosResult<Location> locate(const Drive &drive, const QStringList &names) = 0;
    // The same for a name in a folder located before; by default through the whole path.
    [[nodiscard]] virtual DosResult<Location> locateIn(const Location &folder, const QString &name);

    [[nodiscard]] virtual DosResult<quint8> attributes(const Location &entry) = 0;  // with 16
    [[nodiscard]] virtual int setAttributes(const Location &entry, quint8 attributes) = 0;
    [[nodiscard]] virtual DosResult<QDateTime> lastWriteTime(const Location &entry) = 0;
    // The 8.3 form of the whole path; the aliases handed out stay fixed from then on.
    [[nodiscard]] virtual DosResult<QString> shortPath(const Location &entry) = 0;
    // Its last name alone, with the same aliases fixed; by default cut from shortPath().
    [[nodiscard]] virtual DosResult<QString> shortName(const Location &entry);
    // The host file or folder of the entry; AccessDenied where it has none of its own.
    [[nodiscard]] virtual DosResult<QString> hostPath(const Location &entry) = 0;
    [[nodiscard]] virtual DosResult<QList<DirectoryEntry>> entries(const Location &directory) = 0;
    [[nodiscard]] virtual bool isSameFile(const Location &a, const Location &b) = 0;

    [[nodiscard]] virtual DosResult<QByteArray> read(const Location &file) = 0;
    // The written file ends up with `attributes`.
    [[nodiscard]] virtual int write(const Location &file, const QByteArray &data, WriteMode mode,
                                    quint8 attributes) = 0;
    // Bytes and last-write time of `from`; the copy gets `attributes`.
    [[nodiscard]] virtual int copy(const Location &from, const Location &to, quint8 attributes) = 0;
    // The same for a file from a drive of another backend.
    [[nodiscard]] virtual int writeCopy(const Location &to, const FileCopy &file, quint8 attributes) = 0;
    // Bytes and last-write time of `from`, a file of any backend, put in place of `to` in one
    // step whatever attributes `to` has: written under a new name "<prefix>xxxx.TMP" beside it
    // first, so that a failure leaves `to` as it was and removes the new file. The copy gets
    // `attributes`. By default through createTemporaryIn, copy() or writeCopy(), and move().
    [[nodiscard]] virtual InPlaceCopy copyReplacing(const Location &from, const Location &to,
                                                    quint8 attributes, const QString &prefix);
    // Renames on the drive, replacing an existing `to` in one step.
    [[nodiscard]] virtual int move(const Location &from, const Location &to, quint8 attributes) = 0;
    [[nodiscard]] virtual int remove(const Location &file) = 0;
    [[nodiscard]] virtual int makeDirectory(const Location &directory) = 0;
    [[nodiscard]] virtual int removeTree(const Location &directory) = 0;

    // Copies each of `sources`, files of this drive, into `folder` under the name at the same place
    // in `names`, replacing a file of that name whatever its attributes; each copy keeps its
    // source's attributes and last-write time. The copies are made in a new folder inside
    // `folder`, named `stagingPrefix` with four hex digits and ".DIR", and reach their names
    // together. False where the drive cannot copy that way (the
    // default) or a step failed: each name then holds its earlier file or its complete copy.
    [[nodiscard]] virtual bool copyTogether(const QList<Location> &sources, const QStringList &names,
                                            const Location &folder, const QString &stagingPrefix);
    // False where copyTogether always is (the default).
    [[nodiscard]] virtual bool copiesTogether() const;

    // Streams; by default through read() and a Replace write() of the whole file, which a
    // backend that can do better overrides.
    [[nodiscard]] virtual DosResult<std::unique_ptr<InputStream>> openInput(const Location &file);
    // The committed file ends up with `attributes`.
    [[nodiscard]] virtual DosResult<std::unique_ptr<OutputStream>> openReplacing(const Location &file,
                                                                                 quint8 attributes);
};

// The names a new temporary file "<prefix>xxxx.TMP" is tried under, in turn. The first one
// differs between processes and calls, so that a name in use is seldom tried.
class TemporaryNames {
public:
    explicit TemporaryNames(const QString &prefix);
    std::optional<QString> next();  // none once every name has been tried

private:
    QString m_prefix;
    int m_start = 0;
    int m_step = 0;
};

// Creates an empty, new file under one of TemporaryNames in an existing directory, with the
// archive bit, and returns where it is.
[[nodiscard]] DosResult<Location> createTemporaryIn(const Location &directory, const QString &prefix);

// The current PC's backend for a drive, chosen by its kind.
DriveBackend &backendOf(const Drive &drive);
// A new backend of each kind, for a PC.
std::unique_ptr<DriveBackend> makeHostFolderBackend();
std::unique_ptr<DriveBackend> makeFatImageBackend();

}  // namespace platform::detail
