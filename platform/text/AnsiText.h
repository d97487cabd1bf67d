#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

// The Windows "ANSI" code page (Windows-1252) and CR LF text files.
namespace platform {

// Null when text holds a character Windows-1252 cannot hold.
[[nodiscard]] std::optional<QByteArray> toAnsi(const QString &text);
QString fromAnsi(QByteArrayView bytes);

// Each line followed by CR LF; null when a line cannot be encoded.
[[nodiscard]] std::optional<QByteArray> ansiLines(const QStringList &lines);

}  // namespace platform
