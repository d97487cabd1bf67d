// A hard-disk image from anywhere, as a PC with a "disk" drive reads it: its partition found as
// when the PC is loaded, then its volume read as the drive services read it. The first byte
// shapes the file: bits 0-2 the partition machine.ini asks for (0 the first FAT one, 5 to 7 as
// 0), bits 3-4 its size (the input alone, or the input and zeros up to 4, 32 or 64 MiB), bit 5
// puts the input's last 512 bytes at the end of the file, where a VHD keeps its footer. Any
// bytes give a volume or a German reason, in bounded time and memory; the volume found must
// lie in the file, and it is walked as the floppy fuzzer walks its volume.
#include "fuzz/FatWalk.h"
#include "platform/machine/Machine.h"
#include "platform/machine/detail/DiskImage.h"

#include <QFile>

namespace {

constexpr qint64 FooterBytes = 512;

qint64 fileSizeFor(quint8 shape, qint64 inputBytes)
{
    static constexpr qint64 Sizes[] = {0, 4 << 20, 32 << 20, 64 << 20};
    return qMax(inputBytes, Sizes[(shape >> 3) & 3]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const quint8 shape = data[0];
    QByteArray start = fuzz::bytesOf(data + 1, size - 1);
    QByteArray footer;
    if ((shape & 0x20) && start.size() >= FooterBytes) {
        footer = start.right(FooterBytes);
        start.chop(FooterBytes);
    }
    const qint64 fileBytes = fileSizeFor(shape, start.size()) + footer.size();
    const QString path = fuzz::scratchImagePath(QStringLiteral("disk.img"));
    QFile image(path);
    if (!image.open(QIODevice::WriteOnly | QIODevice::Truncate) || image.write(start) != start.size()
        || !image.resize(fileBytes) || !image.seek(fileBytes - footer.size()) || image.write(footer) != footer.size())
        fuzz::finding("the image cannot be written");
    image.close();

    const int partition = (shape & 7) <= 4 ? shape & 7 : 0;
    QString problem;
    const auto volume = platform::detail::findDiskVolume(path, partition, &problem);
    if (!volume) {
        if (problem.isEmpty())
            fuzz::finding("an image is refused without a reason");
        return 0;
    }
    if (volume->offset < 0 || volume->bytes <= 0 || volume->offset + volume->bytes > fileBytes)
        fuzz::finding("the volume found does not lie in the file");

    platform::Drive drive;
    drive.letter = u'C';
    drive.hostPath = path;
    drive.onDiskImage = true;
    drive.volumeOffset = volume->offset;
    drive.volumeBytes = volume->bytes;
    fuzz::walkFatVolume(drive);
    return 0;
}
