#include "platform/text/detail/SingleByteText.h"

namespace platform::detail {

std::optional<QByteArray> singleByteText(const QString &text, ByteOf byteOf)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const auto byte = byteOf(c.unicode());
        if (!byte)
            return std::nullopt;
        *out++ = *byte;
    }
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
        for (const QChar c : line) {
            const auto byte = byteOf(c.unicode());
            if (!byte)
                return std::nullopt;
            *out++ = *byte;
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    return bytes;
}

}  // namespace platform::detail
