#pragma once

#include "platform/DosError.h"

#include <QString>
#include <QStringList>

// The shell's "open" and starting programs of the simulated PC's own side (the MS-DOS side).
namespace platform {

// A host program that plays a part of Windows beside this one (velko-dos, the PC's MS-DOS side):
// the environment variable VELKO_<NAME> (upper case, "-" as "_": VELKO_DOS for velko-dos) when
// set, else the program of that name beside the running one. Empty when there is none.
QString companionProgram(const QString &name);

// The host program that plays the PC's MS-DOS side.
QString dosProgram();

// Starts the MS-DOS side with the arguments, in the machine's folder, without waiting.
[[nodiscard]] int startDos(const QStringList &arguments);

// What "open" does with a batch file: with a .pif of the same name beside it that asks for
// MS-DOS mode, Windows shuts down (this program ends) and the script runs in MS-DOS mode;
// otherwise it runs in a DOS window while the program goes on.
enum class BatchStart { MsDosMode, DosWindow };
BatchStart batchStartOf(const QString &batchFile);

// ShellExecute's "open" on the simulated PC. Returns a DOS error for a file that cannot be
// opened; on MS-DOS mode the application is asked to quit.
[[nodiscard]] int shellOpen(const QString &file);

}  // namespace platform
