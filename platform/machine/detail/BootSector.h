#pragma once

#include <QByteArray>

#include <optional>

// Inside the platform layer only: the BIOS parameter block of a FAT boot sector, which both the
// partition finder and the FAT reader read.
namespace platform::detail {

struct BootSectorFields {
    qint64 bytesPerSector = 0;
    qint64 sectorsPerCluster = 0;
    qint64 reservedSectors = 0;
    qint64 fats = 0;
    qint64 rootEntries = 0;  // 0 on FAT32
    qint64 sectors = 0;  // the 16-bit count, or the 32-bit one when that is 0
    qint64 fat16Sectors = 0;  // sectors per FAT of FAT12 and FAT16; 0 on FAT32
    qint64 fat32Sectors = 0;  // sectors per FAT of FAT32
    quint32 rootCluster = 0;  // FAT32: the first cluster of the root directory
};

// The fields of a boot sector of at least 512 bytes; nullopt when they cannot describe a FAT
// volume: a sector size other than 512, 1024, 2048 or 4096, a cluster size that is no power of
// two, no reserved sectors or no FAT.
[[nodiscard]] std::optional<BootSectorFields> bootSectorFields(const QByteArray &sector);

}  // namespace platform::detail
