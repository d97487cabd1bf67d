#include "platform/machine/detail/DiskImage.h"

#include "platform/host/detail/ImageFile.h"
#include "platform/machine/detail/BootSector.h"
#include "platform/text/OemText.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace platform::detail {

namespace {

constexpr qint64 SectorBytes = 512;  // of an MBR's LBA addresses
constexpr int PartitionTableAt = 446;
constexpr int PrimaryPartitions = 4;

quint16 word(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 doubleWord(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

bool hasBootSignature(const QByteArray &sector)
{
    return quint8(sector[510]) == 0x55 && quint8(sector[511]) == 0xAA;
}

QString quoted(const QString &image)
{
    return QStringLiteral("\u201E%1\u201C").arg(QDir::toNativeSeparators(image));
}

// The qemu-img line that turns the file into a raw image beside it.
QString conversionHint(const QString &image)
{
    const QFileInfo info(image);
    const QString raw = info.dir().filePath(info.completeBaseName() + QStringLiteral("-raw.img"));
    return QStringLiteral("\nUmwandeln in ein rohes Abbild, das Velko Save lesen kann:\n"
                          "  qemu-img convert -O raw \"%1\" \"%2\"\n"
                          "und in machine.ini dann die neue Datei eintragen.")
        .arg(image, raw);
}

// A container format whose sectors do not lie in the file as they are on the disk; empty if none.
QString containerFormat(const QByteArray &start)
{
    if (start.startsWith("QFI\xFB"))
        return QStringLiteral("ein QCOW2-Abbild (QEMU)");
    if (start.size() >= 0x44 && doubleWord(start, 0x40) == 0xBEDA107F)
        return QStringLiteral("ein VDI-Abbild (VirtualBox)");
    if (start.startsWith("KDMV") || start.startsWith("# Disk DescriptorFile"))
        return QStringLiteral("ein VMDK-Abbild (VMware)");
    return {};
}

// The VHD disk type of a footer or its copy ("conectix" cookie): 2 fixed, 3 dynamic,
// 4 differencing; 0 when the bytes are no VHD footer.
quint32 vhdType(const QByteArray &footer)
{
    if (!footer.startsWith("conectix") || footer.size() < 64)
        return 0;
    return qFromBigEndian<quint32>(footer.constData() + 60);
}

QString vhdName(quint32 type)
{
    return type == 4 ? QStringLiteral("ein differenzierendes VHD-Abbild")
                     : QStringLiteral("ein dynamisch wachsendes VHD-Abbild");
}

// The bytes a FAT boot sector says its volume has; nullopt when the sector is none.
std::optional<qint64> fatVolumeBytes(const QByteArray &sector)
{
    const auto fields = bootSectorFields(sector);
    if (!fields)
        return std::nullopt;
    const quint8 jump = quint8(sector[0]);
    if (jump != 0xEB && jump != 0xE9 && !hasBootSignature(sector))
        return std::nullopt;
    const bool fat1216 = fields->rootEntries > 0 && fields->fat16Sectors > 0;
    const bool fat32 = fields->rootEntries == 0 && fields->fat16Sectors == 0 && fields->fat32Sectors > 0;
    if (fields->sectors == 0 || !(fat1216 || fat32))
        return std::nullopt;
    return fields->sectors * fields->bytesPerSector;
}

QString otherFileSystem(const QByteArray &sector)
{
    if (sector.mid(3, 8) == "NTFS    ")
        return QStringLiteral("ein NTFS-Dateisystem");
    if (sector.mid(3, 8) == "EXFAT   ")
        return QStringLiteral("ein exFAT-Dateisystem");
    return {};
}

bool isFatType(quint8 type)
{
    switch (type) {
    case 0x01:  // FAT12
    case 0x04:  // FAT16 below 32 MB
    case 0x06:  // FAT16
    case 0x0E:  // FAT16, LBA
    case 0x0B:  // FAT32
    case 0x0C:  // FAT32, LBA
        return true;
    default:
        return false;
    }
}

bool isExtended(quint8 type)
{
    return type == 0x05 || type == 0x0F || type == 0x85;
}

QString typeName(quint8 type)
{
    QString name;
    switch (type) {
    case 0x07:
        name = QStringLiteral("NTFS oder exFAT");
        break;
    case 0x82:
        name = QStringLiteral("Linux-Swap");
        break;
    case 0x83:
        name = QStringLiteral("Linux");
        break;
    case 0x8E:
        name = QStringLiteral("Linux LVM");
        break;
    case 0x11:
    case 0x14:
    case 0x16:
    case 0x1B:
    case 0x1C:
    case 0x1E:
        name = QStringLiteral("versteckte FAT-Partition");
        break;
    default:
        name = isExtended(type) ? QStringLiteral("erweiterte Partition") : QStringLiteral("unbekannte Art");
        break;
    }
    return QStringLiteral("%1 (Typ %2)").arg(name, QString::number(type, 16).rightJustified(2, u'0').toUpper());
}

// The volume label as Windows shows it: the label entry among the root's first entries, or
// else the one in the boot sector; empty when there is none.
QString volumeLabel(const HostFd &file, qint64 offset, const QByteArray &bootSector)
{
    const qint64 bytesPerSector = word(bootSector, 11);
    const qint64 reserved = word(bootSector, 14);
    const qint64 fats = quint8(bootSector[16]);
    const qint64 rootEntries = word(bootSector, 17);
    const bool fat32 = rootEntries == 0;
    const qint64 fatSectors = fat32 ? doubleWord(bootSector, 36) : word(bootSector, 22);
    const qint64 afterFats = offset + (reserved + fats * fatSectors) * bytesPerSector;
    constexpr qint64 FirstEntries = 64 * 1024;
    qint64 rootAt = afterFats;
    qint64 rootBytes = qMin(rootEntries * 32, FirstEntries);
    if (fat32) {
        const qint64 clusterBytes = bytesPerSector * quint8(bootSector[13]);
        rootAt += (qint64(doubleWord(bootSector, 44)) - 2) * clusterBytes;
        rootBytes = qMin(clusterBytes, FirstEntries);
    }
    if (const auto root = readImage(file, rootAt, rootBytes); root.ok()) {
        for (qint64 at = 0; at + 32 <= root.value.size(); at += 32) {
            const quint8 first = quint8(root.value[at]);
            const quint8 attributes = quint8(root.value[at + 11]);
            if (first == 0)
                break;
            if (first != 0xE5 && attributes != 0x0F && (attributes & 0x08))
                return fromOem(root.value.mid(at, 11)).trimmed();
        }
    }
    const qint64 extended = fat32 ? 66 : 38;
    if (quint8(bootSector[extended]) != 0x29)
        return {};
    const QString label = fromOem(bootSector.mid(extended + 5, 11)).trimmed();
    return label == u"NO NAME" ? QString() : label;
}

struct PartitionEntry {
    quint8 type = 0;
    qint64 offset = 0;
    qint64 bytes = 0;
};

// The four primary entries of an MBR; nullopt when the sector is no partition table.
std::optional<QList<PartitionEntry>> partitionTable(const QByteArray &sector)
{
    if (!hasBootSignature(sector))
        return std::nullopt;
    QList<PartitionEntry> entries;
    for (int index = 0; index < PrimaryPartitions; ++index) {
        const qint64 at = PartitionTableAt + index * 16;
        const quint8 status = quint8(sector[at]);
        if (status != 0x00 && status != 0x80)
            return std::nullopt;
        entries.append({quint8(sector[at + 4]), qint64(doubleWord(sector, at + 8)) * SectorBytes,
                        qint64(doubleWord(sector, at + 12)) * SectorBytes});
    }
    return entries;
}

class Finder {
public:
    Finder(const QString &image, QString *problem)
        : m_image(image),
          m_problem(problem)
    {}

    std::optional<DiskVolume> find(int partition)
    {
        const auto opened = openImage(m_image);
        if (!opened.ok())
            return refuse(QStringLiteral("Die Abbilddatei %1 fehlt oder ist keine gewöhnliche Datei.").arg(quoted(m_image)));
        const HostFd &file = opened.value;
        if (isLockedByAnother(file))
            return refuse(QStringLiteral("Die Abbilddatei %1 ist von einem anderen Programm gesperrt; "
                                         "wahrscheinlich läuft der Emulator noch. Beenden Sie ihn und "
                                         "starten Sie Velko Save dann erneut.")
                              .arg(quoted(m_image)));
        const qint64 size = imageSize(file);
        if (size < SectorBytes)
            return refuse(QStringLiteral("Die Abbilddatei %1 ist mit %2 Bytes zu kurz für eine Festplatte.")
                              .arg(quoted(m_image))
                              .arg(size < 0 ? 0 : size));
        const auto start = readImage(file, 0, SectorBytes);
        const auto end = readImage(file, size - SectorBytes, SectorBytes);
        if (!start.ok() || !end.ok())
            return refuse(QStringLiteral("Die Abbilddatei %1 lässt sich nicht lesen.").arg(quoted(m_image)));
        if (const QString format = containerFormat(start.value); !format.isEmpty())
            return refuse(isNot(format) + conversionHint(m_image));
        if (const quint32 type = vhdType(start.value); type != 0)
            return refuse(isNot(vhdName(type)) + conversionHint(m_image));
        qint64 dataBytes = size;
        if (const quint32 type = vhdType(end.value); type != 0) {
            if (type != 2)
                return refuse(isNot(vhdName(type)) + conversionHint(m_image));
            dataBytes -= SectorBytes;  // a fixed VHD: the raw disk, then its footer
        }
        m_dataBytes = dataBytes;

        if (const QString other = otherFileSystem(start.value); !other.isEmpty())
            return refuse(QStringLiteral("Die Abbilddatei %1 enthält %2, kein FAT-Dateisystem.").arg(quoted(m_image), other));
        if (const auto volume = fatVolumeBytes(start.value)) {
            if (partition != 0)
                return refuse(QStringLiteral("Die Abbilddatei %1 hat keine Partitionstabelle, also auch keine "
                                             "Partition %2; sie ist als Ganzes ein FAT-Laufwerk. Lassen Sie "
                                             "die Partitionsnummer in machine.ini weg.")
                                  .arg(quoted(m_image))
                                  .arg(partition));
            if (*volume > dataBytes)
                return truncated(QStringLiteral("das FAT-Dateisystem"), *volume);
            return DiskVolume{0, dataBytes, volumeLabel(file, 0, start.value)};
        }
        const auto table = partitionTable(start.value);
        if (!table)
            return refuse(QStringLiteral("Die Abbilddatei %1 enthält weder eine Partitionstabelle noch ein "
                                         "FAT-Dateisystem.")
                              .arg(quoted(m_image)));
        for (const PartitionEntry &entry : *table) {
            if (entry.type == 0xEE)
                return refuse(QStringLiteral("Die Abbilddatei %1 hat eine GPT-Partitionstabelle; Windows 95 "
                                             "und 98 kennen nur MBR-Partitionen.")
                                  .arg(quoted(m_image)));
        }
        return partition == 0 ? firstFat(file, *table) : chosen(file, *table, partition);
    }

private:
    QString isNot(const QString &what) const
    {
        return QStringLiteral("Die Abbilddatei %1 ist %2; Velko Save liest nur rohe Festplattenabbilder "
                              "und VHD-Abbilder fester Größe.")
            .arg(quoted(m_image), what);
    }

    std::optional<DiskVolume> refuse(const QString &problem)
    {
        *m_problem = problem;
        return std::nullopt;
    }

    std::optional<DiskVolume> truncated(const QString &what, qint64 reaches)
    {
        return refuse(QStringLiteral("Die Abbilddatei %1 ist abgeschnitten: %2 reicht bis Byte %3, die "
                                     "Datei hat aber nur %4 Bytes.")
                          .arg(quoted(m_image), what)
                          .arg(reaches)
                          .arg(m_dataBytes));
    }

    std::optional<DiskVolume> firstFat(const HostFd &file, const QList<PartitionEntry> &table)
    {
        QStringList found;
        for (int index = 0; index < table.size(); ++index) {
            if (isFatType(table[index].type) && table[index].bytes > 0)
                return volumeIn(file, table[index], index + 1);
            if (table[index].type != 0)
                found.append(QStringLiteral("Partition %1: %2").arg(index + 1).arg(typeName(table[index].type)));
        }
        if (found.isEmpty())
            return refuse(QStringLiteral("Die Abbilddatei %1 hat eine leere Partitionstabelle und enthält keine "
                                         "FAT-Partition.")
                              .arg(quoted(m_image)));
        return refuse(QStringLiteral("Die Abbilddatei %1 enthält keine primäre FAT-Partition (gefunden: %2). "
                                     "Velko Save liest FAT12, FAT16 und FAT32, keine logischen Laufwerke.")
                          .arg(quoted(m_image), found.join(QStringLiteral(", "))));
    }

    std::optional<DiskVolume> chosen(const HostFd &file, const QList<PartitionEntry> &table, int partition)
    {
        const PartitionEntry &entry = table[partition - 1];
        if (entry.type == 0 || entry.bytes == 0)
            return refuse(QStringLiteral("Die Abbilddatei %1 hat keine Partition %2.").arg(quoted(m_image)).arg(partition));
        if (!isFatType(entry.type))
            return refuse(QStringLiteral("Partition %1 der Abbilddatei %2 ist keine FAT-Partition, sondern %3.")
                              .arg(partition)
                              .arg(quoted(m_image), typeName(entry.type)));
        return volumeIn(file, entry, partition);
    }

    std::optional<DiskVolume> volumeIn(const HostFd &file, const PartitionEntry &entry, int number)
    {
        const QString what = QStringLiteral("Partition %1").arg(number);
        if (entry.offset + entry.bytes > m_dataBytes)
            return truncated(what, entry.offset + entry.bytes);
        const auto sector = readImage(file, entry.offset, SectorBytes);
        const auto volume = sector.ok() ? fatVolumeBytes(sector.value) : std::nullopt;
        if (!volume)
            return refuse(QStringLiteral("Partition %1 der Abbilddatei %2 ist als FAT-Partition eingetragen, "
                                         "enthält aber kein FAT-Dateisystem (nicht formatiert oder beschädigt).")
                              .arg(number)
                              .arg(quoted(m_image)));
        if (*volume > entry.bytes)
            return refuse(QStringLiteral("Das FAT-Dateisystem in Partition %1 der Abbilddatei %2 ist größer als "
                                         "die Partition; die Partitionstabelle ist beschädigt.")
                              .arg(number)
                              .arg(quoted(m_image)));
        return DiskVolume{entry.offset, entry.bytes, volumeLabel(file, entry.offset, sector.value)};
    }

    const QString m_image;
    QString *m_problem;
    qint64 m_dataBytes = 0;
};

}  // namespace

std::optional<DiskVolume> findDiskVolume(const QString &image, int partition, QString *problem)
{
    return Finder(image, problem).find(partition);
}

}  // namespace platform::detail
