#pragma once

#include "platform/text/DosError.h"

#include <QChar>

namespace platform {

// Whether the drive holds a medium: a floppy's or disk's image file, a fixed disk's or CD's host folder.
bool mediumPresent(QChar letter);

// Size and free space of a drive's medium in bytes, as GetDiskFreeSpaceEx reports them.
struct DiskSpace {
    qint64 total = 0;
    qint64 free = 0;
};

// For a drive whose medium is a host folder (a fixed disk, a CD): the figures of the host file
// system that holds the folder; a CD has no free space. For a fixed drive on a disk image: its
// volume's clusters and free clusters. 15 for a letter without a drive, 21 for a
// drive without a medium, 87 for a floppy, whose figures are its image's own.
[[nodiscard]] DosResult<DiskSpace> diskSpace(QChar letter);

}  // namespace platform
