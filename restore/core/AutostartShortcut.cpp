#include "restore/core/AutostartShortcut.h"

#include "platform/drives/Files.h"

namespace restore {

QString autostartShortcutPath(ShortcutSpelling spelling)
{
    return platform::autostartDirectory()
           + (spelling == ShortcutSpelling::Written ? QStringLiteral("\\Orvel.lnk")
                                                    : QStringLiteral("\\orvel.lnk"));
}

}  // namespace restore
