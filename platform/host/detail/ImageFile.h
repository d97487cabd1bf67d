#pragma once

#include "platform/host/detail/HostFiles.h"
#include "platform/text/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Inside the platform layer only: the host side of a disk image. The image is opened anew for
// every access and handed to mtools as an open descriptor, so that a link put in its place
// later leads nowhere.
namespace platform::detail {

// The image's path with the links that lead to it now resolved: the way machine.ini set it up.
// A missing image (no disk) keeps its name in its folder as that folder is now.
[[nodiscard]] QString imagePathAtLoad(const QString &hostPath);

// Opens the image without following any link: a link, folder, device or FIFO in its place, or
// no file at all, is no disk in the drive (21).
[[nodiscard]] DosResult<HostFd> openImage(const QString &hostPath, bool forWriting = false);

// `size` bytes of the open image from `at`; 26 when the file ends before them.
[[nodiscard]] DosResult<QByteArray> readImage(const HostFd &image, qint64 at, qint64 size);
// The image's size in bytes; -1 when it cannot be found.
[[nodiscard]] qint64 imageSize(const HostFd &image);

// Another process holds a lock on the image that keeps others from writing it: a `flock`
// exclusive lock, or any byte-range lock (QEMU marks an image it has open with those).
[[nodiscard]] bool isLockedByAnother(const HostFd &image);

// Cuts or extends the open image to `size` bytes; extended with zero bytes.
[[nodiscard]] int resizeImage(const HostFd &image, qint64 size);
// Writes `bytes` into the open image at `at`.
[[nodiscard]] int writeImage(const HostFd &image, qint64 at, const QByteArray &bytes);

// Bytes and a last-write time in memory, as a file a child can read through its descriptor.
[[nodiscard]] DosResult<HostFd> memoryFile(const QByteArray &data, const QDateTime &lastWrite = {});

// The path under which a child that got the descriptor opens the same file.
QString descriptorPath(const HostFd &file);

}  // namespace platform::detail
