#include "platform/machine/detail/BootSector.h"

#include <QtEndian>

namespace platform::detail {

namespace {

quint16 word(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 doubleWord(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

}  // namespace

std::optional<BootSectorFields> bootSectorFields(const QByteArray &sector)
{
    if (sector.size() < 512)
        return std::nullopt;
    BootSectorFields fields;
    fields.bytesPerSector = word(sector, 11);
    fields.sectorsPerCluster = quint8(sector[13]);
    fields.reservedSectors = word(sector, 14);
    fields.fats = quint8(sector[16]);
    fields.rootEntries = word(sector, 17);
    fields.sectors = word(sector, 19) ? word(sector, 19) : doubleWord(sector, 32);
    fields.fat16Sectors = word(sector, 22);
    fields.fat32Sectors = doubleWord(sector, 36);
    fields.rootCluster = doubleWord(sector, 44);
    const qint64 sectorBytes = fields.bytesPerSector;
    const bool validSectorSize = sectorBytes == 512 || sectorBytes == 1024 || sectorBytes == 2048 || sectorBytes == 4096;
    const qint64 perCluster = fields.sectorsPerCluster;
    const bool powerOfTwo = perCluster > 0 && (perCluster & (perCluster - 1)) == 0;
    if (!validSectorSize || !powerOfTwo || fields.reservedSectors == 0 || fields.fats == 0)
        return std::nullopt;
    return fields;
}

}  // namespace platform::detail
