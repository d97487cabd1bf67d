#pragma once

#include <QString>

// Process creation as Windows does it for a command line without a separate program name.
namespace platform {

// Where Windows looks for the program a command line's first word names, when that word has no
// directory: the running program's folder, the process's current directory, the Windows system
// directory (<Windows>\SYSTEM) and the Windows directory. ".exe" is added to a name without
// extension. Empty when the program is in none of them.
QString findProgramOfCommandLine(const QString &commandLine);

// Runs the command line in a hidden window with `currentDirectory` as its current directory and
// waits for it to end, at most ten minutes. The PC's command interpreter (the COMMAND.COM
// stand-in) runs its "/c" command line on the MS-DOS side. Returns 0 once the program has run,
// whatever its exit code; 2 when the program is not found and 3 when the directory is missing,
// and nothing is started then; 31 when the program found cannot be started; 121 when it did
// not end in time and was stopped.
[[nodiscard]] int runHiddenAndWait(const QString &commandLine, const QString &currentDirectory);

}  // namespace platform
