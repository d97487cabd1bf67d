#pragma once

#include "dos/core/Interpreter.h"

#include <QChar>

#include <optional>

namespace dos {

// The PC starts from the disk in floppy drive `drive`: MS-DOS loads from it and runs its
// AUTOEXEC.BAT with every drive at its root and the floppy's root current; its prompt follows
// (PcStart::prompt). Empty when the disk cannot start the PC (no disk, no system on it); the
// screen then says why.
std::optional<Interpreter::Outcome> bootFromFloppy(Interpreter &shell, QChar drive);

}  // namespace dos
