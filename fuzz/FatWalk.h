#pragma once

#include "fuzz/FuzzSupport.h"
#include "platform/drives/detail/FatImage.h"

#include <QTemporaryDir>

// What the FAT fuzzers ask of a volume the reader opened: every folder lists, every entry is
// found again by its long and its 8.3 name, every file reads or gives an error, and the free
// room is counted.
namespace fuzz {

// Where a fuzzer writes its input as an image: one temporary folder for the fuzzer's life.
inline QString scratchImagePath(const QString &name)
{
    static QTemporaryDir folder;
    if (!folder.isValid())
        finding("no temporary folder for the image");
    return folder.filePath(name);
}

inline void walkFatFolder(const platform::Drive &drive, const platform::detail::FatEntry &folder)
{
    const auto entries = folder.entries();
    if (!entries.ok())
        return;
    for (const platform::detail::FatEntry &entry : *entries.value) {
        if (!folder.find(entry.name) || !folder.find(entry.shortName))
            finding("an entry of a folder is not found by its own name");
        if (entry.isDirectory())
            walkFatFolder(drive, entry);
        else
            (void)platform::detail::readFatFile(drive, entry);
    }
}

inline void walkFatVolume(const platform::Drive &drive)
{
    platform::detail::FatVolumeCache volumes;
    const auto volume = volumes.volume(drive);
    if (!volume.ok())
        return;
    walkFatFolder(drive, volume.value->root);
    (void)platform::detail::fatSpace(drive);
}

}  // namespace fuzz
