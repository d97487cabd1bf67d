#include "platform/FatImage.h"

#include "platform/FileNames.h"
#include "platform/Files.h"
#include "platform/HostFiles.h"
#include "platform/OemText.h"

#include <QHash>
#include <QSet>

namespace platform::detail {

namespace {

constexpr int EntrySize = 32;
constexpr quint8 LongNamePart = 0x0F;
constexpr quint8 VolumeLabel = 0x08;
constexpr quint8 Deleted = 0xE5;

quint16 word(const QByteArray &bytes, qint64 at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

quint32 doubleWord(const QByteArray &bytes, qint64 at)
{
    return word(bytes, at) | quint32(word(bytes, at + 2)) << 16;
}

// Where the parts of a FAT file system lie in the image, from its boot sector.
struct Layout {
    qint64 clusterBytes = 0;
    qint64 fatStart = 0;
    qint64 rootStart = 0;
    qint64 rootBytes = 0;
    qint64 dataStart = 0;
    quint32 clusters = 0;
    bool isFat12 = true;
};

std::optional<Layout> layoutOf(const QByteArray &image)
{
    if (image.size() < 512)
        return std::nullopt;
    const qint64 sectorBytes = word(image, 11);
    const qint64 sectorsPerCluster = quint8(image[13]);
    const qint64 reserved = word(image, 14);
    const qint64 fats = quint8(image[16]);
    const qint64 rootEntries = word(image, 17);
    const qint64 sectors = word(image, 19) ? word(image, 19) : doubleWord(image, 32);
    const qint64 sectorsPerFat = word(image, 22);
    const bool powerOfTwo = sectorsPerCluster > 0 && (sectorsPerCluster & (sectorsPerCluster - 1)) == 0;
    if ((sectorBytes != 512 && sectorBytes != 1024 && sectorBytes != 2048 && sectorBytes != 4096)
        || !powerOfTwo || reserved == 0 || fats == 0 || rootEntries == 0 || sectorsPerFat == 0)
        return std::nullopt;
    Layout layout;
    layout.clusterBytes = sectorBytes * sectorsPerCluster;
    layout.fatStart = reserved * sectorBytes;
    layout.rootStart = (reserved + fats * sectorsPerFat) * sectorBytes;
    layout.rootBytes = rootEntries * EntrySize;
    const qint64 rootSectors = (layout.rootBytes + sectorBytes - 1) / sectorBytes;
    layout.dataStart = layout.rootStart + rootSectors * sectorBytes;
    const qint64 dataSectors = sectors - layout.dataStart / sectorBytes;
    if (dataSectors <= 0 || sectors * sectorBytes > image.size())
        return std::nullopt;  // cut off
    layout.clusters = quint32(dataSectors / sectorsPerCluster);
    if (layout.clusters >= 65525)
        return std::nullopt;  // FAT32: no floppy has one
    layout.isFat12 = layout.clusters < 4085;
    const qint64 fatBytes =
        layout.isFat12 ? (qint64(layout.clusters) + 2) * 3 / 2 + 1 : (qint64(layout.clusters) + 2) * 2;
    if (fatBytes > sectorsPerFat * sectorBytes)
        return std::nullopt;
    return layout;
}

class Reader {
public:
    Reader(const QByteArray &image, const Layout &layout)
        : m_image(image),
          m_layout(layout)
    {}

    FatVolume volume()
    {
        FatVolume volume;
        volume.root.attributes = attr::Directory;
        readEntries(m_image.mid(m_layout.rootStart, m_layout.rootBytes), volume.root, &volume.label);
        return volume;
    }

private:
    // The next cluster of a chain; 0 at its end or where the chain leaves the disk.
    quint32 next(quint32 cluster) const
    {
        quint32 value = 0;
        if (m_layout.isFat12) {
            const quint16 pair = word(m_image, m_layout.fatStart + cluster * 3 / 2);
            value = cluster & 1 ? pair >> 4 : pair & 0xFFF;
        } else {
            value = word(m_image, m_layout.fatStart + cluster * 2);
        }
        return isOnDisk(value) ? value : 0;
    }

    bool isOnDisk(quint32 cluster) const { return cluster >= 2 && cluster < m_layout.clusters + 2; }

    // A directory's clusters one after the other; a chain that loops ends where it would repeat.
    QByteArray chain(quint32 cluster) const
    {
        QByteArray bytes;
        QSet<quint32> seen;
        while (isOnDisk(cluster) && !seen.contains(cluster)) {
            seen.insert(cluster);
            bytes += m_image.mid(m_layout.dataStart + qint64(cluster - 2) * m_layout.clusterBytes,
                                 m_layout.clusterBytes);
            cluster = next(cluster);
        }
        return bytes;
    }

    void readEntries(const QByteArray &directory, FatEntry &into, QString *label)
    {
        QString longName;
        int longNameChecksum = -1;
        for (qint64 at = 0; at + EntrySize <= directory.size(); at += EntrySize) {
            const QByteArray raw = directory.mid(at, EntrySize);
            const quint8 first = quint8(raw[0]);
            const quint8 attributes = quint8(raw[11]);
            if (first == 0)
                break;
            if (first == Deleted) {
                longNameChecksum = -1;
                continue;
            }
            if (attributes == LongNamePart) {
                if (first & 0x40)
                    longName.clear();
                longName.prepend(longNamePart(raw));
                longNameChecksum = quint8(raw[13]);
                continue;
            }
            const bool hasLongName = longNameChecksum == checksum(raw);
            longNameChecksum = -1;
            if (attributes & VolumeLabel) {
                if (label && label->isEmpty())
                    *label = fromOem(raw.left(11)).trimmed();
                continue;
            }
            if (first == '.')
                continue;
            FatEntry entry = shortEntry(raw);
            if (hasLongName && !longName.isEmpty())
                entry.name = longName;
            if (entry.isDirectory()) {
                const quint32 start = word(raw, 26);
                if (!m_directories.contains(start)) {
                    m_directories.insert(start);
                    readEntries(chain(start), entry, nullptr);
                }
            }
            into.entries.append(entry);
        }
    }

    static QString longNamePart(const QByteArray &raw)
    {
        QString part;
        for (const int at : {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30}) {
            const quint16 code = word(raw, at);
            if (code == 0)
                break;
            part += QChar(code);
        }
        return part;
    }

    static int checksum(const QByteArray &raw)
    {
        quint8 sum = 0;
        for (int i = 0; i < 11; ++i)
            sum = quint8(((sum & 1) << 7) + (sum >> 1) + quint8(raw[i]));
        return sum;
    }

    static FatEntry shortEntry(const QByteArray &raw)
    {
        QByteArray base = raw.left(8);
        if (quint8(base[0]) == 0x05)
            base[0] = char(Deleted);  // a name whose first letter is 0xE5 in code page 850
        const QString stem = fromOem(base).trimmed();
        const QString extension = fromOem(raw.mid(8, 3)).trimmed();
        FatEntry entry;
        entry.shortName = extension.isEmpty() ? stem : stem + u'.' + extension;
        const quint8 lowerCase = quint8(raw[12]);
        const QString shownStem = lowerCase & 0x08 ? stem.toLower() : stem;
        const QString shownExtension = lowerCase & 0x10 ? extension.toLower() : extension;
        entry.name = extension.isEmpty() ? shownStem : shownStem + u'.' + shownExtension;
        entry.attributes = quint8(raw[11])
                           & (attr::ReadOnly | attr::Hidden | attr::System | attr::Directory | attr::Archive);
        const quint16 time = word(raw, 22);
        const quint16 date = word(raw, 24);
        const QDate day(1980 + (date >> 9), (date >> 5) & 0xF, date & 0x1F);
        const QTime clock((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
        entry.lastWrite =
            QDateTime(day.isValid() ? day : QDate(1980, 1, 1), clock.isValid() ? clock : QTime(0, 0));
        return entry;
    }

    const QByteArray &m_image;
    const Layout m_layout;
    QSet<quint32> m_directories;
};

struct Cached {
    struct timespec modified {};
    off_t size = 0;
    ino_t inode = 0;
    std::shared_ptr<const FatVolume> volume;
};

QHash<QString, Cached> &cache()
{
    static QHash<QString, Cached> volumes;
    return volumes;
}

}  // namespace

bool FatEntry::isDirectory() const
{
    return attributes & attr::Directory;
}

const FatEntry *FatEntry::find(const QString &wantedName) const
{
    const QString wanted = upperCaseName(wantedName);
    for (const FatEntry &entry : entries) {
        if (upperCaseName(entry.name) == wanted || entry.shortName == wanted)
            return &entry;
    }
    return nullptr;
}

DosResult<std::shared_ptr<const FatVolume>> fatVolume(const QString &image)
{
    const auto info = statHost(image);
    if (!info || !S_ISREG(info->st_mode)) {
        forgetFatVolume(image);
        return {dos::NotReady, nullptr};
    }
    Cached &cached = cache()[image];
    if (cached.volume && cached.size == info->st_size && cached.inode == info->st_ino
        && cached.modified.tv_sec == info->st_mtim.tv_sec && cached.modified.tv_nsec == info->st_mtim.tv_nsec)
        return {dos::Ok, cached.volume};
    const auto bytes = readHostFile(image);
    if (!bytes.ok())
        return {bytes.error, nullptr};
    const auto layout = layoutOf(bytes.value);
    if (!layout)
        return {dos::NotDosDisk, nullptr};
    cached = {info->st_mtim, info->st_size, info->st_ino,
              std::make_shared<const FatVolume>(Reader(bytes.value, *layout).volume())};
    return {dos::Ok, cached.volume};
}

void forgetFatVolume(const QString &image)
{
    cache().remove(image);
}

}  // namespace platform::detail
