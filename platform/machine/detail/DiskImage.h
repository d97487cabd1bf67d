#pragma once

#include <QString>

#include <optional>

// Inside the platform layer only: where the FAT volume of a hard-disk image lies. Emulators keep
// their disks as raw images with an MBR (QEMU, 86Box, PCem, DOSBox-X), as fixed-size VHD files (raw
// data and a 512-byte footer) or as a bare FAT volume without a partition table.
namespace platform::detail {

struct DiskVolume {
    qint64 offset = 0;  // of the volume's boot sector in the image file
    qint64 bytes = 0;  // the room the partition (or the whole volume) has in the file
    QString label;  // the volume's label; empty when it has none
};

// The FAT volume of `image`: primary partition `partition` (1 to 4) of its MBR, or with 0 the
// first FAT partition, or the whole image when it holds a FAT volume without a partition table.
// Refuses, with a German sentence naming the file and what it is, anything else: a missing or
// locked file, a dynamic or differencing VHD, qcow2, VDI or VMDK (with the qemu-img command
// that converts it), a GPT disk, NTFS, Linux or other partitions, no FAT at all, a cut-off file.
[[nodiscard]] std::optional<DiskVolume> findDiskVolume(const QString &image, int partition, QString *problem);

}  // namespace platform::detail
