#include "platform/text/detail/SingleByteText.h"

namespace platform::detail {

bool putBytes(QStringView text, ByteOf byteOf, char *&out)
{
    for (const QChar c : text) {
        // Both code pages are ASCII below 0x80, nearly all of a script or a name.
        if (c.unicode() < 0x80) {
            *out++ = char(c.unicode());
            continue;
        }
        const auto byte = byteOf(c.unicode());
        if (!byte)
            return false;
        *out++ = *byte;
    }
    return true;
}

std::optional<QByteArray> singleByteText(const QString &text, ByteOf byteOf)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    if (!putBytes(text, byteOf, out))
        return std::nullopt;
    return bytes;
}

QString textOfBytes(const QByteArray &bytes, CharacterOf characterOf)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes)
        text.append(QChar(characterOf(uchar(byte))));
    return text;
}

std::optional<QByteArray> crLfLines(const QStringList &lines, ByteOf byteOf)
{
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    // Written in place: a script has a line or more for every file it names.
    QByteArray bytes(size, Qt::Uninitialized);
    char *out = bytes.data();
    for (const QString &line : lines) {
        if (!putBytes(line, byteOf, out))
            return std::nullopt;
        *out++ = '\r';
        *out++ = '\n';
    }
    return bytes;
}

}  // namespace platform::detail
