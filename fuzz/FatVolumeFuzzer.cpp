// A floppy image from anywhere, as the drive services read it: the input lies over the start of a
// 1.44 MB image (boot sector, FATs, root folder, the first clusters) and the rest is zeros. Any
// bytes give a volume or an error, in bounded time and memory; every folder lists, every entry is
// found again by its names, every file reads or gives an error, and the free room is counted.
#include "fuzz/FatWalk.h"
#include "platform/machine/Machine.h"

#include <QFile>

namespace {

constexpr qint64 ImageSize = 1474560;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzz::scratchImagePath(QStringLiteral("floppy.img"));
    QFile image(path);
    if (!image.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || image.write(fuzz::bytesOf(data, qMin(size, size_t(ImageSize)))) < 0 || !image.resize(ImageSize))
        fuzz::finding("the image cannot be written");
    image.close();

    platform::Drive drive;
    drive.letter = u'A';
    drive.kind = platform::DriveKind::Floppy;
    drive.hostPath = path;
    fuzz::walkFatVolume(drive);
    return 0;
}
