#pragma once

#include "platform/host/detail/HostFiles.h"
#include "platform/machine/Machine.h"
#include "platform/text/DosError.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

#include <sys/types.h>
#include <time.h>

// Inside the platform layer only: the FAT file system in an image file, read straight from its
// directories, so that finding a name or its attributes costs no mtools process.
namespace platform::detail {

struct VolumeSource;  // how a volume's directories are read (FatImage.cpp)

struct FatEntry {
    QString name;  // the long name, or else the 8.3 name with the case the entry asks for
    QString shortName;  // the 8.3 name as stored: NAME.EXT, code page 850
    quint8 attributes = 0;  // read-only, hidden, system, directory, archive
    QDateTime lastWrite;
    quint32 firstCluster = 0;  // of a file's data or a directory's entries; 0 for an empty file
    quint32 size = 0;  // of a file, in bytes
    bool isDirectory() const;
    // A directory's entries without "." and "..", read from the image when first asked for, so
    // that a look-up reads only the folders on its way. A folder that holds one of the folders
    // on its way from the root, or lies deeper than a Windows path reaches, is empty.
    [[nodiscard]] DosResult<const QList<FatEntry> *> entries() const;
    // By long or 8.3 name, without regard to case; null when it is not there or cannot be read.
    const FatEntry *find(const QString &wantedName) const;

private:
    friend struct FatVolume;
    std::shared_ptr<const VolumeSource> m_source;
    const FatEntry *m_parent = nullptr;  // the directory that holds it; null for the root
    int m_depth = 0;
    mutable std::optional<DosResult<QList<FatEntry>>> m_entries;
};

struct FatVolume {
    QString label;  // without trailing blanks; empty when it has none
    FatEntry root;
    // Reads the root directory and the label from `source`; the volume must not move afterwards.
    [[nodiscard]] int readRoot(std::shared_ptr<const VolumeSource> source);
};

// The room a volume has and the room free on it.
struct FatSpace {
    qint64 total = 0;
    qint64 free = 0;
};

// The file systems of the image files one PC has read, each read again only after its file changed.
class FatVolumeCache {
public:
    // The file system of an image drive (a floppy, or a disk image's partition) as it is now. The
    // file is read where needed, never whole. 21 when there is no file (see ImageFile.h), 26 when
    // a floppy's size is no floppy format, or the file holds no FAT12, FAT16 or FAT32 file system
    // where the drive's volume lies, or is cut off.
    [[nodiscard]] DosResult<std::shared_ptr<const FatVolume>> volume(const Drive &drive);
    // After a write to the image: its time stamp may not have moved far enough to show the change.
    void forget(const Drive &drive);

private:
    struct Cached {
        timespec modified{};
        off_t size = 0;
        dev_t device = 0;
        ino_t inode = 0;
        std::shared_ptr<const FatVolume> volume;
    };
    QHash<QString, Cached> m_volumes;
};

// The FatVolumeCache services for the current PC.
[[nodiscard]] DosResult<std::shared_ptr<const FatVolume>> fatVolume(const Drive &drive);
void forgetFatVolume(const Drive &drive);

// The bytes of `file`, an entry of the drive's volume as fatVolume() gave it just now, read along
// its cluster chain; 26 when the chain is shorter than the file or leaves the disk.
[[nodiscard]] DosResult<QByteArray> readFatFile(const Drive &drive, const FatEntry &file);

// Size and free room of an image drive's volume, from its FAT, read piece by piece.
[[nodiscard]] DosResult<FatSpace> fatSpace(const Drive &drive);

// Gives the freshly formatted volume in `image` the 11 bytes of `label` (blank-padded, code page
// 850) as they are: in the root's label entry and in the boot sector. mtools would turn some
// characters a label may hold into a long name.
[[nodiscard]] int writeVolumeLabel(const HostFd &image, const QByteArray &label);

}  // namespace platform::detail
