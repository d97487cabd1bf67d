#include "platform/text/AnsiText.h"

#include "platform/text/detail/SingleByteText.h"

#include <array>

namespace platform {

namespace {

// Bytes 0x80-0x9F of Windows-1252; the five bytes the code page leaves unassigned stand for the
// control characters of the same number, as Windows converts them.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> ansiByte(char16_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return char(code);
    for (int index = 0; index < 32; ++index) {
        if (HighControls[index] == code)
            return char(0x80 + index);
    }
    return std::nullopt;
}

}  // namespace

std::optional<QByteArray> toAnsi(const QString &text)
{
    return detail::singleByteText(text, ansiByte);
}

// Windows-1252 is Latin-1 but for 0x80-0x9F: each byte's character from one table, in one pass,
// as a long Orvel.ini is read key by key at start.
QString fromAnsi(QByteArrayView bytes)
{
    static constexpr std::array<char16_t, 256> Characters = [] {
        std::array<char16_t, 256> characters{};
        for (int code = 0; code < 256; ++code)
            characters[size_t(code)] = code >= 0x80 && code < 0xA0 ? HighControls[code - 0x80] : char16_t(code);
        return characters;
    }();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes)
        *out++ = QChar(Characters[static_cast<unsigned char>(byte)]);
    return text;
}

std::optional<QByteArray> ansiLines(const QStringList &lines)
{
    return detail::crLfLines(lines, ansiByte);
}

}  // namespace platform
