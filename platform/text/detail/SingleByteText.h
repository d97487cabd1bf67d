#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

// Inside the platform layer only: what the Windows and the MS-DOS code page share.
namespace platform::detail {

using ByteOf = std::optional<char> (*)(char16_t code);
using CharacterOf = char16_t (*)(uchar byte);

// Writes one byte per character of `text` at `out` and moves `out` past them; false at a
// character byteOf has none for.
[[nodiscard]] bool putBytes(QStringView text, ByteOf byteOf, char *&out);

// One byte per character; null when byteOf has none for a character.
[[nodiscard]] std::optional<QByteArray> singleByteText(const QString &text, ByteOf byteOf);

// One character per byte.
[[nodiscard]] QString textOfBytes(const QByteArray &bytes, CharacterOf characterOf);

// Each line encoded and followed by CR LF; null when a line cannot be encoded.
[[nodiscard]] std::optional<QByteArray> crLfLines(const QStringList &lines, ByteOf byteOf);

}  // namespace platform::detail
