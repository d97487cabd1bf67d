#include "platform/shell/ShellLink.h"

#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/text/AnsiText.h"

#include <QtEndian>

namespace platform {

namespace {

constexpr quint32 HeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as it stands in the file.
constexpr char LinkClassId[16] = {0x01,       0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  char(0xC0), 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

namespace flag {
constexpr quint32 HasTargetIdList = 0x01;
constexpr quint32 HasLinkInfo = 0x02;
constexpr quint32 HasName = 0x04;
constexpr quint32 HasRelativePath = 0x08;
constexpr quint32 HasWorkingDir = 0x10;
constexpr quint32 HasArguments = 0x20;
constexpr quint32 HasIconLocation = 0x40;
constexpr quint32 IsUnicode = 0x80;
}  // namespace flag

constexpr quint32 VolumeIdAndLocalBasePath = 0x1;
constexpr quint32 LinkInfoHeaderSize = 0x1C;
constexpr quint32 VolumeIdHeaderSize = 0x10;

// Drive types as GetDriveType reports them.
constexpr quint32 DriveUnknown = 0;
constexpr quint32 DriveRemovable = 2;
constexpr quint32 DriveFixed = 3;
constexpr quint32 DriveCdRom = 5;

// FILETIME counts 100 ns steps from 1601-01-01 UTC.
constexpr qint64 FileTimeTicksPerMs = 10'000;
constexpr qint64 FileTimeEpochOffsetMs = 11'644'473'600'000;

quint64 fileTimeOf(const QDateTime &time)
{
    if (!time.isValid())
        return 0;
    return quint64(time.toMSecsSinceEpoch() + FileTimeEpochOffsetMs) * FileTimeTicksPerMs;
}

QDateTime timeOfFileTime(quint64 fileTime)
{
    if (fileTime == 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(fileTime / FileTimeTicksPerMs) - FileTimeEpochOffsetMs,
                                          Qt::UTC);
}

class Writer {
public:
    void u16(quint16 value) { append(qToLittleEndian(value)); }
    void u32(quint32 value) { append(qToLittleEndian(value)); }
    void u64(quint64 value) { append(qToLittleEndian(value)); }
    void bytes(const QByteArray &data) { m_data += data; }
    void putU32At(qsizetype offset, quint32 value) { qToLittleEndian(value, m_data.data() + offset); }
    qsizetype size() const { return m_data.size(); }
    QByteArray take() { return std::move(m_data); }

private:
    template <typename T>
    void append(T value)
    {
        m_data.append(reinterpret_cast<const char *>(&value), sizeof value);
    }
    QByteArray m_data;
};

// Bounds-checked little-endian reading; any read past the end marks the whole read as failed.
class Reader {
public:
    explicit Reader(const QByteArray &data)
        : m_data(data)
    {}

    bool failed() const { return m_failed; }
    void fail() { m_failed = true; }
    qsizetype position() const { return m_position; }
    void seek(qsizetype position) { check(position, 0) ? void(m_position = position) : void(); }
    void skip(qsizetype count) { seek(m_position + count); }

    quint8 u8() { return number<quint8>(); }
    quint16 u16() { return number<quint16>(); }
    quint32 u32() { return number<quint32>(); }
    quint64 u64() { return number<quint64>(); }
    QByteArray bytes(qsizetype count)
    {
        if (!check(m_position, count))
            return {};
        const QByteArray part = m_data.mid(m_position, count);
        m_position += count;
        return part;
    }
    // A zero-terminated 8-bit string starting at `at`, without moving the position.
    QByteArray ansiZAt(qsizetype at)
    {
        if (!check(at, 1))
            return {};
        const qsizetype end = m_data.indexOf('\0', at);
        if (end < 0) {
            m_failed = true;
            return {};
        }
        return m_data.mid(at, end - at);
    }
    QString unicodeZAt(qsizetype at)
    {
        QString text;
        for (qsizetype position = at;; position += 2) {
            if (!check(position, 2))
                return {};
            const auto unit = qFromLittleEndian<quint16>(m_data.constData() + position);
            if (unit == 0)
                return text;
            text += QChar(unit);
        }
    }

private:
    bool check(qsizetype at, qsizetype count)
    {
        if (m_failed || at < 0 || count < 0 || at > m_data.size() - count) {
            m_failed = true;
            return false;
        }
        return true;
    }
    template <typename T>
    T number()
    {
        if (!check(m_position, sizeof(T)))
            return 0;
        const T value = qFromLittleEndian<T>(m_data.constData() + m_position);
        m_position += sizeof(T);
        return value;
    }

    const QByteArray &m_data;
    qsizetype m_position = 0;
    bool m_failed = false;
};

quint32 driveTypeOf(QChar letter)
{
    if (!hasMachine())
        return DriveUnknown;
    const Drive *drive = machine().drive(letter.toUpper());
    if (!drive)
        return DriveUnknown;
    switch (drive->kind) {
    case DriveKind::Fixed:
        return DriveFixed;
    case DriveKind::Floppy:
        return DriveRemovable;
    case DriveKind::CdRom:
        return DriveCdRom;
    }
    return DriveUnknown;
}

// A volume serial number that stays the same for a drive of this PC from run to run.
quint32 volumeSerialOf(QChar letter)
{
    const QString volume = (hasMachine() ? machine().folder() : QString()) + u'|' + letter.toUpper();
    const QByteArray bytes = volume.toUtf8();
    return qChecksum(QByteArrayView(bytes)) << 16 | qChecksum(QByteArrayView(bytes), Qt::ChecksumItuV41);
}

QByteArray linkInfo(const QByteArray &basePath, QChar drive)
{
    const QByteArray label;  // the simulated drives carry no volume label
    Writer volume;
    volume.u32(VolumeIdHeaderSize + quint32(label.size()) + 1);
    volume.u32(driveTypeOf(drive));
    volume.u32(volumeSerialOf(drive));
    volume.u32(VolumeIdHeaderSize);
    volume.bytes(label + '\0');
    const QByteArray volumeId = volume.take();

    const quint32 volumeOffset = LinkInfoHeaderSize;
    const quint32 basePathOffset = volumeOffset + quint32(volumeId.size());
    const quint32 suffixOffset = basePathOffset + quint32(basePath.size()) + 1;
    Writer info;
    info.u32(suffixOffset + 1);
    info.u32(LinkInfoHeaderSize);
    info.u32(VolumeIdAndLocalBasePath);
    info.u32(volumeOffset);
    info.u32(basePathOffset);
    info.u32(0);  // no network location
    info.u32(suffixOffset);
    info.bytes(volumeId);
    info.bytes(basePath + '\0');
    info.bytes(QByteArray(1, '\0'));  // empty common path suffix
    return info.take();
}

bool appendString(Writer &writer, const QString &text)
{
    const auto bytes = toAnsi(text);
    if (!bytes || bytes->size() > 0xFFFF)
        return false;
    writer.u16(quint16(bytes->size()));
    writer.bytes(*bytes);
    return true;
}

QString readString(Reader &reader, bool unicode)
{
    const quint16 count = reader.u16();
    if (!unicode)
        return fromAnsi(reader.bytes(count));
    const QByteArray units = reader.bytes(qsizetype(count) * 2);
    QString text;
    text.reserve(count);
    for (qsizetype index = 0; index + 1 < units.size(); index += 2)
        text += QChar(qFromLittleEndian<quint16>(units.constData() + index));
    return text;
}

// The target's path from a LinkInfo: the local base path and the common suffix, Unicode forms
// preferred where the header is long enough to carry them.
QString pathFromLinkInfo(Reader &reader)
{
    const qsizetype start = reader.position();
    const quint32 size = reader.u32();
    const quint32 headerSize = reader.u32();
    const quint32 flags = reader.u32();
    reader.skip(4);  // VolumeID offset
    const quint32 baseOffset = reader.u32();
    reader.skip(4);  // network location offset
    const quint32 suffixOffset = reader.u32();
    quint32 baseOffsetUnicode = 0;
    quint32 suffixOffsetUnicode = 0;
    if (headerSize >= 0x24) {
        baseOffsetUnicode = reader.u32();
        suffixOffsetUnicode = reader.u32();
    }
    if (size < headerSize || headerSize < LinkInfoHeaderSize)
        reader.fail();
    QString path;
    if (flags & VolumeIdAndLocalBasePath) {
        path = baseOffsetUnicode ? reader.unicodeZAt(start + baseOffsetUnicode)
                                 : fromAnsi(reader.ansiZAt(start + baseOffset));
        const QString suffix = suffixOffsetUnicode ? reader.unicodeZAt(start + suffixOffsetUnicode)
                                                   : fromAnsi(reader.ansiZAt(start + suffixOffset));
        if (!suffix.isEmpty() && !path.endsWith(u'\\'))
            path += u'\\';
        path += suffix;
    }
    reader.seek(start + size);
    return path;
}

// Without a LinkInfo, Windows names the target only in the item ID list: a drive item
// ("C:\") followed by one file-system item per name, each carrying its 8.3 name.
QString pathFromIdList(Reader &reader, qsizetype end)
{
    QString path;
    while (!reader.failed() && reader.position() + 2 <= end) {
        const qsizetype itemStart = reader.position();
        const quint16 itemSize = reader.u16();
        if (itemSize == 0)
            break;
        if (itemSize < 3)
            return {};
        const quint8 type = reader.u8();
        if ((type & 0x70) == 0x20)  // a volume: "C:\"
            path = fromAnsi(reader.ansiZAt(reader.position()));
        else if ((type & 0x70) == 0x30 && itemSize > 14) {  // a file or folder
            if (!path.isEmpty() && !path.endsWith(u'\\'))
                path += u'\\';
            path += fromAnsi(reader.ansiZAt(itemStart + 14));
        }
        reader.seek(itemStart + itemSize);
    }
    return reader.failed() ? QString() : path;
}

}  // namespace

std::optional<QByteArray> encodeShellLink(const ShellLink &link)
{
    const auto basePath = toAnsi(link.targetPath);
    if (!basePath)
        return std::nullopt;
    quint32 flags = flag::HasLinkInfo;
    if (!link.description.isEmpty())
        flags |= flag::HasName;
    if (!link.workingDirectory.isEmpty())
        flags |= flag::HasWorkingDir;
    if (!link.arguments.isEmpty())
        flags |= flag::HasArguments;
    if (!link.iconLocation.isEmpty())
        flags |= flag::HasIconLocation;

    Writer writer;
    writer.u32(HeaderSize);
    writer.bytes(QByteArray(LinkClassId, sizeof LinkClassId));
    writer.u32(flags);
    writer.u32(link.targetAttributes);
    const quint64 writeTime = fileTimeOf(link.targetWriteTime);
    writer.u64(writeTime);  // created
    writer.u64(writeTime);  // accessed
    writer.u64(writeTime);  // written
    writer.u32(link.targetSize);
    writer.u32(quint32(link.iconIndex));
    writer.u32(link.showCommand);
    writer.u16(link.hotKey);
    writer.u16(0);
    writer.u32(0);
    writer.u32(0);

    const QChar drive = link.targetPath.isEmpty() ? QChar() : link.targetPath.at(0);
    writer.bytes(linkInfo(*basePath, drive));
    for (const auto &[present, text] : {std::pair{flags & flag::HasName, &link.description},
                                        std::pair{flags & flag::HasWorkingDir, &link.workingDirectory},
                                        std::pair{flags & flag::HasArguments, &link.arguments},
                                        std::pair{flags & flag::HasIconLocation, &link.iconLocation}}) {
        if (present && !appendString(writer, *text))
            return std::nullopt;
    }
    writer.u32(0);  // no extra data blocks
    return writer.take();
}

std::optional<ShellLink> decodeShellLink(const QByteArray &bytes)
{
    Reader reader(bytes);
    if (reader.u32() != HeaderSize || reader.bytes(16) != QByteArray(LinkClassId, sizeof LinkClassId))
        return std::nullopt;
    ShellLink link;
    const quint32 flags = reader.u32();
    link.targetAttributes = reader.u32();
    reader.skip(16);  // creation and access times
    link.targetWriteTime = timeOfFileTime(reader.u64());
    link.targetSize = reader.u32();
    link.iconIndex = qint32(reader.u32());
    link.showCommand = reader.u32();
    link.hotKey = reader.u16();
    reader.seek(HeaderSize);

    if (flags & flag::HasTargetIdList) {
        const quint16 listSize = reader.u16();
        const qsizetype end = reader.position() + listSize;
        link.targetPath = pathFromIdList(reader, end);
        reader.seek(end);
    }
    if (flags & flag::HasLinkInfo)
        link.targetPath = pathFromLinkInfo(reader);

    const bool unicode = flags & flag::IsUnicode;
    if (flags & flag::HasName)
        link.description = readString(reader, unicode);
    if (flags & flag::HasRelativePath)
        readString(reader, unicode);
    if (flags & flag::HasWorkingDir)
        link.workingDirectory = readString(reader, unicode);
    if (flags & flag::HasArguments)
        link.arguments = readString(reader, unicode);
    if (flags & flag::HasIconLocation)
        link.iconLocation = readString(reader, unicode);
    // Extra data blocks (environment, console, tracker …) carry nothing the program uses, but a
    // well-formed file ends them with a block shorter than four bytes.
    for (;;) {
        const qsizetype blockStart = reader.position();
        const quint32 blockSize = reader.u32();
        if (reader.failed() || blockSize < 4)
            break;
        reader.seek(blockStart + blockSize);
    }
    if (reader.failed())
        return std::nullopt;
    return link;
}

int writeShellLink(const QString &linkPath, ShellLink link)
{
    if (const auto attributes = fileAttributes(link.targetPath); attributes.ok()) {
        link.targetAttributes = attributes.value;
        if (const auto time = lastWriteTime(link.targetPath); time.ok())
            link.targetWriteTime = time.value;
        if (const auto content = readFile(link.targetPath); content.ok())
            link.targetSize = quint32(content.value.size());
    }
    const auto bytes = encodeShellLink(link);
    if (!bytes)
        return dos::InvalidParameter;
    return replaceFile(linkPath, *bytes);
}

DosResult<ShellLink> readShellLink(const QString &linkPath)
{
    const auto bytes = readFile(linkPath);
    if (!bytes.ok())
        return {bytes.error, {}};
    auto link = decodeShellLink(bytes.value);
    if (!link)
        return {dos::InvalidData, {}};
    return {dos::Ok, *link};
}

}  // namespace platform
