#pragma once

#include <QByteArray>
#include <QString>

// Program-information files (.pif): how Windows 9x starts an MS-DOS program or batch file.
namespace platform {

// True when the file's Windows 386 section asks for MS-DOS mode ("Windows shuts down, the
// program runs alone"). A file without that section, or a damaged one, does not.
bool pifAsksForMsDosMode(const QByteArray &pif);

// Whether Windows runs a program or batch file in MS-DOS mode: the .pif beside it with its base
// name (C:\B\RESTORE.PIF for C:\B\Restore.bat) asks for it. False without a readable .pif.
bool runsInMsDosMode(const QString &programPath);

}  // namespace platform
