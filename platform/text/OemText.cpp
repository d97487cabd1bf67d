#include "platform/text/OemText.h"

#include "platform/text/detail/SingleByteText.h"

#include <QHash>

namespace platform {

namespace {

// Bytes 0x80-0xFF of code page 850.
constexpr char16_t HighCharacters[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557, 0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB, 0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C,
    0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580, 0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE,
    0x00DE, 0x00DA, 0x00DB, 0x00D9, 0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6,
    0x00A7, 0x00F7, 0x00B8, 0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

const QHash<char16_t, char> &oemBytes()
{
    static const QHash<char16_t, char> bytes = [] {
        QHash<char16_t, char> table;
        for (int index = 0; index < 128; ++index)
            table.insert(HighCharacters[index], char(0x80 + index));
        return table;
    }();
    return bytes;
}

std::optional<char> oemByte(char16_t code)
{
    if (code < 0x80)
        return char(code);
    const auto found = oemBytes().constFind(code);
    if (found == oemBytes().constEnd())
        return std::nullopt;
    return *found;
}

}  // namespace

bool isOemCharacter(QChar c)
{
    return oemByte(c.unicode()).has_value();
}

// The line is made room for once: a script of many files appends some twenty pieces for each.
bool appendOemLine(std::initializer_list<QStringView> pieces, QByteArray *bytes)
{
    qsizetype size = 2;
    for (const QStringView piece : pieces)
        size += piece.size();
    const qsizetype start = bytes->size();
    bytes->resize(start + size);
    char *out = bytes->data() + start;
    for (const QStringView piece : pieces) {
        if (!detail::putBytes(piece, oemByte, out)) {
            bytes->resize(start);
            return false;
        }
    }
    *out++ = '\r';
    *out = '\n';
    return true;
}

std::optional<QByteArray> toOem(const QString &text)
{
    return detail::singleByteText(text, oemByte);
}

QString fromOem(const QByteArray &bytes)
{
    return detail::textOfBytes(
        bytes, [](uchar code) { return code < 0x80 ? char16_t(code) : HighCharacters[code - 0x80]; });
}

std::optional<QByteArray> oemLines(const QStringList &lines)
{
    return detail::crLfLines(lines, oemByte);
}

}  // namespace platform
