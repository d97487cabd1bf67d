#include "platform/drives/DiskSpace.h"

#include "platform/drives/detail/FatImage.h"
#include "platform/host/detail/HostFiles.h"
#include "platform/machine/Machine.h"

namespace platform {

bool mediumPresent(QChar letter)
{
    const Drive *drive = machine().drive(letter.toUpper());
    if (!drive || drive->hostPath.isEmpty())
        return false;
    const auto info = detail::statHost(drive->hostPath);
    if (!info)
        return false;
    return drive->isImage() ? S_ISREG(info->st_mode) : S_ISDIR(info->st_mode);
}

DosResult<DiskSpace> diskSpace(QChar letter)
{
    const Drive *drive = machine().drive(letter.toUpper());
    if (!drive)
        return {dos::InvalidDrive, {}};
    if (drive->kind == DriveKind::Floppy)
        return {dos::InvalidParameter, {}};
    if (drive->hostPath.isEmpty())
        return {dos::NotReady, {}};
    if (drive->onDiskImage) {
        const auto space = detail::fatSpace(*drive);
        return {space.error, {space.value.total, space.value.free}};
    }
    const auto space = detail::hostFileSystemSpace(drive->hostPath);
    if (!space.ok())
        return {space.error == dos::PathNotFound ? dos::NotReady : space.error, {}};
    const qint64 free = drive->kind == DriveKind::CdRom ? 0 : space.value.free;
    return {dos::Ok, {space.value.total, free}};
}

}  // namespace platform
