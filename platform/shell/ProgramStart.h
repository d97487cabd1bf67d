#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// Starts a program installed on the simulated PC (a host executable on one of its drives) in
// workingDirectory, or in the program's own folder when that is empty, without waiting for it.
// Returns 2 when there is no such program, 3 when the directory is missing, 31 when the host
// cannot start it.
[[nodiscard]] int startProgram(const QString &program, const QString &workingDirectory);

// The programs that belong to Windows itself are text stand-ins on the simulated PC that begin
// with their own name: "ATTRIB.EXE - stand-in for ...". That name (upper case) tells which
// program it is; empty when the file is no stand-in.
QString standInName(const QByteArray &content);

}  // namespace platform
