#pragma once

#include <QByteArray>

// Program-information files (.pif): how Windows 9x starts an MS-DOS program or batch file.
namespace platform {

// True when the file's Windows 386 section asks for MS-DOS mode ("Windows shuts down, the
// program runs alone"). A file without that section, or a damaged one, does not.
bool pifAsksForMsDosMode(const QByteArray &pif);

}  // namespace platform
