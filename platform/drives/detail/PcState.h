#pragma once

#include "platform/drives/detail/CurrentDirectory.h"
#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/FatImage.h"
#include "platform/drives/detail/Folder.h"
#include "platform/machine/Machine.h"

#include <memory>

// Inside the platform layer only: what one simulated PC holds while the program runs.
namespace platform::detail {

struct PcState {
    explicit PcState(std::unique_ptr<Machine> description);
    // A new machine description (machine.ini read again): nothing known of the old one is kept.
    void restart(std::unique_ptr<Machine> description);

    std::unique_ptr<Machine> machine;  // never null
    FolderCache folders;
    FatVolumeCache fatVolumes;
    CurrentDirectories directories;
    const std::unique_ptr<DriveBackend> hostFolderBackend;
    const std::unique_ptr<DriveBackend> fatImageBackend;
};

// The state of the current PC; a fatal error when there is none.
PcState &currentPcState();

}  // namespace platform::detail
