#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

// Code page 850, the OEM code page of a German MS-DOS: how batch files and file names look to
// MS-DOS. Bytes below 128 are ASCII.
namespace platform {

// Null when text holds a character code page 850 cannot hold.
[[nodiscard]] std::optional<QByteArray> toOem(const QString &text);
QString fromOem(const QByteArray &bytes);
bool isOemCharacter(QChar c);

// Appends the pieces as one line, followed by CR LF, to *bytes; false, and *bytes as it was, when
// a character cannot be encoded.
[[nodiscard]] bool appendOemLine(std::initializer_list<QStringView> pieces, QByteArray *bytes);

// Each line followed by CR LF; null when a line cannot be encoded.
[[nodiscard]] std::optional<QByteArray> oemLines(const QStringList &lines);

}  // namespace platform
