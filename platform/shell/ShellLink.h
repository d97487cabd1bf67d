#pragma once

#include "platform/text/DosError.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

// The shell's link object on the simulated PC: shortcut files (.lnk) in the Shell Link binary
// format that Windows 95 and later read and write.
namespace platform {

namespace showCommand {
constexpr quint32 Normal = 1;
constexpr quint32 Maximized = 3;
constexpr quint32 Minimized = 6;
}  // namespace showCommand

struct ShellLink {
    QString targetPath;  // the target's Windows path (LocalBasePath)
    QString description;
    QString workingDirectory;
    QString arguments;
    QString iconLocation;  // empty: no icon location
    qint32 iconIndex = 0;
    quint32 showCommand = showCommand::Normal;
    quint16 hotKey = 0;  // low byte the key, high byte the modifiers
    // Facts about the target that Windows records in the header, filled in when writing.
    quint32 targetAttributes = 0;
    quint32 targetSize = 0;
    QDateTime targetWriteTime;  // invalid: not recorded
};

// The file's bytes: a header, a LinkInfo naming the target on its volume, and the strings in the
// Windows code page. Null when a text cannot be held by Windows-1252.
[[nodiscard]] std::optional<QByteArray> encodeShellLink(const ShellLink &link);

// Reads what Windows writes too: an item ID list, Unicode strings, extra data blocks. Null for
// bytes that are not a whole, well-formed shortcut.
[[nodiscard]] std::optional<ShellLink> decodeShellLink(const QByteArray &bytes);

// Writes linkPath for the target: the target's attributes, size and time come from the file
// when it exists. The folder of linkPath must exist. Error 87 for a text the code page lacks.
[[nodiscard]] int writeShellLink(const QString &linkPath, ShellLink link);

// 13 (invalid data) for a file that is not a shortcut.
[[nodiscard]] DosResult<ShellLink> readShellLink(const QString &linkPath);

}  // namespace platform
