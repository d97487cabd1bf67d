#pragma once

#include <QString>

// A directory the user names below the one shown, to back up into.
namespace backup {

// name below base; base may be a drive root with or without its backslash.
QString newDirectoryPath(const QString &base, const QString &name);

enum class NewDirectory {
    Created,  // made with any missing parents, or there already
    BadName,  // the name holds a character no directory name may have: nothing was made
};

// Other failures (a read-only or missing medium) are not the name's fault and are thrown.
[[nodiscard]] NewDirectory createNewDirectory(const QString &path);

}  // namespace backup
