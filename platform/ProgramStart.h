#pragma once

#include <QString>

namespace platform {

// Starts a program installed on the simulated PC (a host executable on one of its drives) in
// workingDirectory, or in the program's own folder when that is empty, without waiting for it.
// Returns 2 when there is no such program, 3 when the directory is missing, 31 when the host
// cannot start it.
[[nodiscard]] int startProgram(const QString &program, const QString &workingDirectory);

}  // namespace platform
