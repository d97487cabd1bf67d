#pragma once

#include <QChar>
#include <QHash>
#include <QString>

// Inside the platform layer only.
namespace platform::detail {

// A PC's current directories. Unknown until the first question, which works them out from where
// the host's working directory is.
struct CurrentDirectories {
    bool known = false;
    QString process;  // "D:\" for a root, else without trailing backslash
    QHash<QChar, QString> perDrive;  // the last directory the process was in on each drive
};

}  // namespace platform::detail
