#include "platform/drives/detail/FatImage.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/PcState.h"
#include "platform/host/detail/HostFiles.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/machine/detail/BootSector.h"
#include "platform/machine/Clock.h"
#include "platform/text/OemText.h"
#include "platform/text/detail/FileNames.h"

#include <QHash>
#include <QSet>
#include <QtEndian>

#include <cerrno>
#include <functional>

#include <sys/stat.h>
#include <unistd.h>

namespace platform::detail {

namespace {

constexpr int EntrySize = 32;
constexpr quint8 LongNamePart = 0x0F;
constexpr quint8 VolumeLabel = 0x08;
constexpr quint8 Deleted = 0xE5;

// The sizes of the floppy formats a drive takes: 160 KB to 1.44 MB, the 1.68 MB and 1.72 MB
// distribution formats (DMF) and 2.88 MB. Anything else is no disk a floppy drive can read.
bool isFloppySize(qint64 bytes)
{
    static constexpr qint64 Kilobytes[] = {160, 180, 320, 360, 720, 1200, 1440, 1680, 1722, 2880};
    for (const qint64 size : Kilobytes) {
        if (bytes == size * 1024)
            return true;
    }
    return false;
}

// Folders deeper than this cannot hold a file a Windows path reaches: "A:\" and a one-letter
// name with its backslash per level already fill the 260 characters of a path. Their
// contents are not read.
constexpr int DeepestFolder = 128;

quint16 word(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 doubleWord(const QByteArray &bytes, qint64 at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

enum class FatType { Fat12, Fat16, Fat32 };

// Where the parts of a FAT file system lie in the image file, from its boot sector.
struct Layout {
    qint64 clusterBytes = 0;
    qint64 fatStart = 0;
    qint64 fatBytes = 0;
    qint64 rootStart = 0;  // FAT12 and FAT16: the fixed root directory
    qint64 rootBytes = 0;
    quint32 rootCluster = 0;  // FAT32: the root directory's chain
    qint64 dataStart = 0;
    quint32 clusters = 0;
    FatType type = FatType::Fat12;
};

// The type follows from the number of clusters alone, as Windows decides it.
std::optional<Layout> layoutOf(const QByteArray &bootSector, qint64 volumeStart, qint64 volumeBytes)
{
    const auto fields = bootSectorFields(bootSector);
    if (!fields)
        return std::nullopt;
    const qint64 sectorBytes = fields->bytesPerSector;
    const qint64 sectorsPerCluster = fields->sectorsPerCluster;
    const qint64 reserved = fields->reservedSectors;
    const qint64 fats = fields->fats;
    const qint64 rootEntries = fields->rootEntries;
    const qint64 sectors = fields->sectors;
    const qint64 sectorsPerFat = fields->fat16Sectors ? fields->fat16Sectors : fields->fat32Sectors;
    if (sectorsPerFat == 0)
        return std::nullopt;
    Layout layout;
    layout.clusterBytes = sectorBytes * sectorsPerCluster;
    layout.fatStart = volumeStart + reserved * sectorBytes;
    layout.fatBytes = sectorsPerFat * sectorBytes;
    layout.rootStart = volumeStart + (reserved + fats * sectorsPerFat) * sectorBytes;
    layout.rootBytes = rootEntries * EntrySize;
    const qint64 rootSectors = (layout.rootBytes + sectorBytes - 1) / sectorBytes;
    layout.dataStart = layout.rootStart + rootSectors * sectorBytes;
    const qint64 dataSectors = sectors - (layout.dataStart - volumeStart) / sectorBytes;
    if (dataSectors <= 0 || sectors * sectorBytes > volumeBytes)
        return std::nullopt;  // cut off
    const qint64 clusters = dataSectors / sectorsPerCluster;
    if (clusters < 1 || clusters > 0x0FFFFFF5 - 2)
        return std::nullopt;
    layout.clusters = quint32(clusters);
    layout.type = clusters < 4085 ? FatType::Fat12 : clusters < 65525 ? FatType::Fat16 : FatType::Fat32;
    qint64 usedFatBytes = 0;
    switch (layout.type) {
    case FatType::Fat12:
        usedFatBytes = (clusters + 2) * 3 / 2 + 1;
        break;
    case FatType::Fat16:
        usedFatBytes = (clusters + 2) * 2;
        break;
    case FatType::Fat32:
        usedFatBytes = (clusters + 2) * 4;
        layout.rootCluster = fields->rootCluster;
        if (rootEntries != 0 || layout.rootCluster < 2 || layout.rootCluster >= layout.clusters + 2)
            return std::nullopt;
        break;
    }
    if (layout.type != FatType::Fat32 && rootEntries == 0)
        return std::nullopt;
    if (usedFatBytes > layout.fatBytes)
        return std::nullopt;
    return layout;
}

// The layout of the FAT volume in an open image, with its boot sector.
struct ImageLayout {
    Layout layout;
    QByteArray bootSector;
};

DosResult<ImageLayout> imageLayout(const HostFd &image, qint64 volumeStart, qint64 volumeBytes)
{
    auto bootSector = readImage(image, volumeStart, 512);
    if (!bootSector.ok())
        return {bootSector.error, {}};
    const auto layout = layoutOf(bootSector.value, volumeStart, volumeBytes);
    if (!layout)
        return {dos::NotDosDisk, {}};
    return {dos::Ok, {*layout, std::move(bootSector.value)}};
}

// The file allocation table, read in blocks as the chains reach them: a FAT32 table of a large
// disk runs to megabytes, of which a directory read needs a few entries.
class FatTable {
public:
    FatTable(const HostFd &image, const Layout &layout)
        : m_image(image),
          m_layout(layout),
          m_blockBytes(layout.type == FatType::Fat12 ? layout.fatBytes : BlockBytes)
    {}

    // The entry of `cluster`, the end-of-chain and bad marks as they stand.
    DosResult<quint32> entry(quint32 cluster)
    {
        switch (m_layout.type) {
        case FatType::Fat12: {
            const auto pair = bytes(qint64(cluster) * 3 / 2, 2);
            if (!pair.ok())
                return {pair.error, 0};
            const quint16 value = word(pair.value, 0);
            return {dos::Ok, cluster & 1 ? quint32(value >> 4) : quint32(value & 0xFFF)};
        }
        case FatType::Fat16: {
            const auto value = bytes(qint64(cluster) * 2, 2);
            return {value.error, value.ok() ? quint32(word(value.value, 0)) : 0U};
        }
        case FatType::Fat32: {
            const auto value = bytes(qint64(cluster) * 4, 4);
            return {value.error, value.ok() ? doubleWord(value.value, 0) & 0x0FFFFFFFU : 0U};
        }
        }
        return {dos::NotDosDisk, 0};
    }

private:
    static constexpr qint64 BlockBytes = 16384;
    static constexpr qsizetype KeptBlocks = 256;  // 4 MB at most

    // `size` bytes of the table from `at`; entries never straddle a block (FAT12's is whole).
    DosResult<QByteArray> bytes(qint64 at, qint64 size)
    {
        const qint64 block = at / m_blockBytes;
        auto cached = m_blocks.constFind(block);
        if (cached == m_blocks.constEnd()) {
            const qint64 start = block * m_blockBytes;
            const auto read =
                readImage(m_image, m_layout.fatStart + start, qMin(m_blockBytes, m_layout.fatBytes - start));
            if (!read.ok())
                return {read.error, {}};
            if (m_blocks.size() >= KeptBlocks)
                m_blocks.clear();
            cached = m_blocks.insert(block, read.value);
        }
        const qint64 within = at - block * m_blockBytes;
        if (within + size > cached->size())
            return {dos::NotDosDisk, {}};
        return {dos::Ok, cached->mid(within, size)};
    }

    const HostFd &m_image;
    const Layout m_layout;
    const qint64 m_blockBytes;
    QHash<qint64, QByteArray> m_blocks;
};

// A long name as its directory entries give it, in the order they stand: the part with the
// 0x40 flag and the highest number first, each next one numbered one less, down to 1, all with
// the same checksum of the 8.3 name. Anything else leaves the 8.3 name alone.
class LongNameParts {
public:
    void add(const QByteArray &raw)
    {
        const quint8 first = quint8(raw[0]);
        const int number = first & 0x1F;
        const int sum = quint8(raw[13]);
        if (first & 0x40) {
            m_name = part(raw);
            m_next = number;
            m_checksum = sum;
            m_valid = number >= 1;
        } else if (m_valid && number == m_next - 1 && sum == m_checksum) {
            m_name.prepend(part(raw));
            m_next = number;
        } else {
            m_valid = false;
        }
    }

    void clear() { m_valid = false; }

    // The long name for the 8.3 entry that follows the parts; empty when they do not make one.
    QString takeFor(const QByteArray &shortEntry)
    {
        const bool complete = m_valid && m_next == 1 && m_checksum == checksum(shortEntry);
        m_valid = false;
        return complete ? m_name : QString();
    }

private:
    static QString part(const QByteArray &raw)
    {
        QString text;
        for (const int at : {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30}) {
            const quint16 code = word(raw, at);
            if (code == 0)
                break;
            text += QChar(code);
        }
        return text;
    }

    static int checksum(const QByteArray &raw)
    {
        quint8 sum = 0;
        for (int i = 0; i < 11; ++i)
            sum = quint8(((sum & 1) << 7) + (sum >> 1) + quint8(raw[i]));
        return sum;
    }

    QString m_name;
    int m_next = 0;
    int m_checksum = -1;
    bool m_valid = false;
};

// Directories hold at most 65,536 entries; a chain that runs on is damaged and read no further.
constexpr qint64 LongestDirectory = 65536 * EntrySize;

// A directory's clusters one after the other, each run of neighbours in one read. A chain ends
// where it would repeat a cluster, so that a looping chain is read once.
DosResult<QByteArray> chain(const HostFd &image, const Layout &layout, FatTable &fat, quint32 cluster)
{
    const auto isOnDisk = [&layout](quint32 number) { return number >= 2 && number < layout.clusters + 2; };
    QByteArray bytes;
    QSet<quint32> seen;
    while (isOnDisk(cluster) && !seen.contains(cluster) && bytes.size() < LongestDirectory) {
        const quint32 first = cluster;
        quint32 count = 0;
        do {
            seen.insert(cluster);
            ++count;
            const auto next = fat.entry(cluster);
            if (!next.ok())
                return {next.error, {}};
            cluster = isOnDisk(next.value) ? next.value : 0;
        } while (cluster == first + count && !seen.contains(cluster)
                 && bytes.size() + qint64(count) * layout.clusterBytes < LongestDirectory);
        const auto read =
            readImage(image, layout.dataStart + qint64(first - 2) * layout.clusterBytes, qint64(count) * layout.clusterBytes);
        if (!read.ok())
            return {read.error, {}};
        bytes += read.value;
    }
    return {dos::Ok, bytes};
}

FatEntry shortEntry(const QByteArray &raw, FatType type)
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
    entry.attributes =
        quint8(raw[11]) & (attr::ReadOnly | attr::Hidden | attr::System | attr::Directory | attr::Archive);
    const quint32 low = word(raw, 26);
    entry.firstCluster = type == FatType::Fat32 ? quint32(word(raw, 20)) << 16 | low : low;
    entry.size = doubleWord(raw, 28);
    const quint16 time = word(raw, 22);
    const quint16 date = word(raw, 24);
    const QDate day(1980 + (date >> 9), (date >> 5) & 0xF, date & 0x1F);
    const QTime clock((time >> 11) & 0x1F, (time >> 5) & 0x3F, (time & 0x1F) * 2);
    entry.lastWrite = QDateTime(day.isValid() ? day : QDate(1980, 1, 1), clock.isValid() ? clock : QTime(0, 0));
    return entry;
}

// The entries of a directory's bytes, and the volume label where the root's has one.
QList<FatEntry> directoryEntries(const QByteArray &directory, FatType type, QString *label)
{
    QList<FatEntry> entries;
    LongNameParts longName;
    for (qint64 at = 0; at + EntrySize <= directory.size(); at += EntrySize) {
        const QByteArray raw = directory.mid(at, EntrySize);
        const quint8 first = quint8(raw[0]);
        const quint8 attributes = quint8(raw[11]);
        if (first == 0)
            break;
        if (first == Deleted) {
            longName.clear();
            continue;
        }
        if (attributes == LongNamePart) {
            longName.add(raw);
            continue;
        }
        const QString name = longName.takeFor(raw);
        if (attributes & VolumeLabel) {
            if (label && label->isEmpty())
                *label = fromOem(raw.left(11)).trimmed();
            continue;
        }
        if (first == '.')
            continue;
        FatEntry entry = shortEntry(raw, type);
        if (!name.isEmpty())
            entry.name = name;
        entries.append(entry);
    }
    return entries;
}

}  // namespace

// How the directories of one volume are read: the image opened anew for each, its layout as the
// volume was found.
struct VolumeSource {
    QString image;
    // The entries of the root, or of the folder whose chain starts at `cluster`, with the label.
    std::function<DosResult<QList<FatEntry>>(const HostFd &image, bool isRoot, quint32 cluster, QString *label)> read;
    quint32 rootCluster = 0;  // FAT32's root, which no folder may hold
};

bool FatEntry::isDirectory() const
{
    return attributes & attr::Directory;
}

DosResult<const QList<FatEntry> *> FatEntry::entries() const
{
    if (!isDirectory() || !m_source)
        return {dos::PathNotFound, nullptr};
    if (!m_entries) {
        bool inItself = m_depth >= DeepestFolder || firstCluster == 0 || firstCluster == m_source->rootCluster;
        for (const FatEntry *above = m_parent; above && !inItself; above = above->m_parent)
            inItself = above->firstCluster == firstCluster;
        if (inItself) {
            m_entries.emplace(DosResult<QList<FatEntry>>{dos::Ok, {}});
        } else {
            const auto image = openImage(m_source->image);
            if (!image.ok())
                return {image.error, nullptr};
            m_entries = m_source->read(image.value, false, firstCluster, nullptr);
        }
        for (FatEntry &entry : m_entries->value) {
            entry.m_source = m_source;
            entry.m_parent = this;
            entry.m_depth = m_depth + 1;
        }
    }
    return {m_entries->error, &m_entries->value};
}

const FatEntry *FatEntry::find(const QString &wantedName) const
{
    const auto list = entries();
    if (!list.ok())
        return nullptr;
    const QString wanted = upperCaseName(wantedName);
    for (const FatEntry &entry : *list.value) {
        if (upperCaseName(entry.name) == wanted || entry.shortName == wanted)
            return &entry;
    }
    return nullptr;
}

int FatVolume::readRoot(std::shared_ptr<const VolumeSource> source)
{
    root.attributes = attr::Directory;
    root.m_source = source;
    const auto image = openImage(source->image);
    if (!image.ok())
        return image.error;
    root.m_entries = source->read(image.value, true, 0, &label);
    for (FatEntry &entry : root.m_entries->value) {
        entry.m_source = source;
        entry.m_parent = &root;
        entry.m_depth = 1;
    }
    return root.m_entries->error;
}

namespace {

QString cacheKey(const Drive &drive)
{
    return drive.hostPath + u'@' + QString::number(drive.volumeOffset);
}

// The bytes the drive's volume has in the open image: a floppy's the whole file, of a floppy
// format's size; a disk image's partition as machine.ini found it, unless the file shrank since.
DosResult<qint64> volumeBytesOf(const Drive &drive, qint64 fileBytes)
{
    if (!drive.onDiskImage)
        return {isFloppySize(fileBytes) ? dos::Ok : dos::NotDosDisk, fileBytes};
    if (fileBytes < drive.volumeOffset + drive.volumeBytes)
        return {dos::NotDosDisk, 0};
    return {dos::Ok, drive.volumeBytes};
}

DosResult<ImageLayout> layoutOfDrive(const Drive &drive, const HostFd &image, qint64 fileBytes)
{
    const auto bytes = volumeBytesOf(drive, fileBytes);
    if (!bytes.ok())
        return {bytes.error, {}};
    return imageLayout(image, drive.volumeOffset, bytes.value);
}

// A drive's image opened for one reading, with its volume's layout.
struct OpenedVolume {
    HostFd image;
    Layout layout;
};

DosResult<OpenedVolume> openVolume(const Drive &drive)
{
    auto opened = openImage(drive.hostPath);
    if (!opened.ok())
        return {opened.error, {}};
    const auto found = layoutOfDrive(drive, opened.value, imageSize(opened.value));
    if (!found.ok())
        return {found.error, {}};
    return {dos::Ok, {std::move(opened.value), found.value.layout}};
}

}  // namespace

DosResult<std::shared_ptr<const FatVolume>> FatVolumeCache::volume(const Drive &drive)
{
    const auto opened = openImage(drive.hostPath);
    struct stat info;
    if (!opened.ok() || ::fstat(opened.value.get(), &info) != 0) {
        forget(drive);
        return {opened.ok() ? dos::NotReady : opened.error, nullptr};
    }
    Cached &cached = m_volumes[cacheKey(drive)];
    if (cached.volume && cached.size == info.st_size && cached.device == info.st_dev
        && cached.inode == info.st_ino && cached.modified.tv_sec == info.st_mtim.tv_sec
        && cached.modified.tv_nsec == info.st_mtim.tv_nsec)
        return {dos::Ok, cached.volume};
    const auto found = layoutOfDrive(drive, opened.value, info.st_size);
    if (!found.ok())
        return {found.error, nullptr};
    const Layout layout = found.value.layout;
    auto source = std::make_shared<VolumeSource>();
    source->image = drive.hostPath;
    source->rootCluster = layout.type == FatType::Fat32 ? layout.rootCluster : 0;
    source->read = [layout](const HostFd &image, bool isRoot, quint32 cluster,
                            QString *label) -> DosResult<QList<FatEntry>> {
        FatTable fat(image, layout);
        auto bytes = isRoot && layout.type != FatType::Fat32
                         ? readImage(image, layout.rootStart, layout.rootBytes)
                         : chain(image, layout, fat, isRoot ? layout.rootCluster : cluster);
        if (!bytes.ok())
            return {bytes.error, {}};
        return {dos::Ok, directoryEntries(bytes.value, layout.type, label)};
    };
    auto volume = std::make_shared<FatVolume>();  // in place: the entries point at their folders
    if (const int error = volume->readRoot(source))
        return {error, nullptr};
    cached = {info.st_mtim, info.st_size, info.st_dev, info.st_ino, volume};
    return {dos::Ok, cached.volume};
}

DosResult<QByteArray> readFatFile(const Drive &drive, const FatEntry &file)
{
    if (file.size == 0)
        return {dos::Ok, {}};
    const auto opened = openVolume(drive);
    if (!opened.ok())
        return {opened.error, {}};
    const Layout &layout = opened.value.layout;
    // A size the volume cannot hold is a damaged entry, not a reason to take that much memory.
    if (qint64(file.size) > qint64(layout.clusters) * layout.clusterBytes)
        return {dos::NotDosDisk, {}};
    FatTable fat(opened.value.image, layout);
    QByteArray data;
    data.reserve(file.size);
    // A chain has as many clusters as the size needs: a longer one (or a loop) is cut there.
    const qint64 clusters = (qint64(file.size) + layout.clusterBytes - 1) / layout.clusterBytes;
    quint32 cluster = file.firstCluster;
    for (qint64 done = 0; done < clusters;) {
        if (cluster < 2 || cluster >= layout.clusters + 2)
            return {dos::NotDosDisk, {}};
        // Neighbouring clusters, as a file mostly has them, in one read.
        const quint32 first = cluster;
        qint64 run = 0;
        do {
            ++run;
            const auto next = fat.entry(cluster);
            if (!next.ok())
                return {next.error, {}};
            cluster = next.value;
        } while (done + run < clusters && cluster == first + run);
        const qint64 wanted = qMin(run * layout.clusterBytes, qint64(file.size) - data.size());
        const auto read = readImage(opened.value.image, layout.dataStart + qint64(first - 2) * layout.clusterBytes, wanted);
        if (!read.ok())
            return {read.error, {}};
        data += read.value;
        done += run;
    }
    return {dos::Ok, data};
}

DosResult<FatSpace> fatSpace(const Drive &drive)
{
    const auto opened = openVolume(drive);
    if (!opened.ok())
        return {opened.error, {}};
    const Layout &layout = opened.value.layout;
    FatTable fat(opened.value.image, layout);
    quint32 free = 0;
    for (quint32 cluster = 2; cluster < layout.clusters + 2; ++cluster) {
        const auto value = fat.entry(cluster);
        if (!value.ok())
            return {value.error, {}};
        if (value.value == 0)
            ++free;
    }
    return {dos::Ok, {qint64(layout.clusters) * layout.clusterBytes, qint64(free) * layout.clusterBytes}};
}

int writeVolumeLabel(const HostFd &image, const QByteArray &label)
{
    struct stat info;
    if (::fstat(image.get(), &info) != 0)
        return dosErrorFromErrno(errno);
    const auto found = imageLayout(image, 0, info.st_size);
    if (!found.ok())
        return found.error;
    const Layout &layout = found.value.layout;
    if (layout.type == FatType::Fat32)
        return dos::InvalidParameter;  // a floppy's root is a fixed region
    const auto root = readImage(image, layout.rootStart, layout.rootBytes);
    if (!root.ok())
        return root.error;
    qint64 free = 0;
    while (free < root.value.size() && root.value[free] != 0 && quint8(root.value[free]) != Deleted)
        free += EntrySize;
    if (free >= root.value.size())
        return dos::DiskFull;
    const QByteArray name = label.leftJustified(11, ' ', true);
    const QDateTime now = platform::now();
    const auto time = quint16(now.time().hour() << 11 | now.time().minute() << 5 | now.time().second() / 2);
    const auto date =
        quint16(qMax(0, now.date().year() - 1980) << 9 | now.date().month() << 5 | now.date().day());
    QByteArray entry(EntrySize, '\0');
    entry.replace(0, 11, name);
    entry[11] = char(VolumeLabel);
    qToLittleEndian(time, entry.data() + 22);
    qToLittleEndian(date, entry.data() + 24);
    if (const int error = writeImage(image, layout.rootStart + free, entry))
        return error;
    constexpr int ExtendedBootSignature = 0x29;
    if (quint8(found.value.bootSector[38]) == ExtendedBootSignature)
        return writeImage(image, 43, name);
    return dos::Ok;
}

void FatVolumeCache::forget(const Drive &drive)
{
    m_volumes.remove(cacheKey(drive));
}

DosResult<std::shared_ptr<const FatVolume>> fatVolume(const Drive &drive)
{
    return currentPcState().fatVolumes.volume(drive);
}

void forgetFatVolume(const Drive &drive)
{
    currentPcState().fatVolumes.forget(drive);
}

}  // namespace platform::detail
