#pragma once

#include <QString>

// The shortcut a restore leaves in the autostart folder, so that the program starts after the
// restore and reports it.
namespace restore {

// The restore writes "Orvel.lnk"; the after-restore check looks for "orvel.lnk". The file system
// matches either, but the name each side shows in its messages stays as it has always spelt it.
enum class ShortcutSpelling { Written, LookedFor };

// In the Windows directory's autostart folder, e.g. C:\WINDOWS\startmenü\programme\autostart\Orvel.lnk.
QString autostartShortcutPath(ShortcutSpelling spelling = ShortcutSpelling::Written);

}  // namespace restore
