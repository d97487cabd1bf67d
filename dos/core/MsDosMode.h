#pragma once

#include "dos/core/Interpreter.h"
#include "platform/shell/MsDosModeRecord.h"
#include "platform/text/DosError.h"

#include <QByteArray>
#include <QString>

// MS-DOS mode: Windows has shut down and a batch file runs alone. How its run ended is left in
// the record beside the autostart shortcuts (platform/shell/MsDosModeRecord.h) for the program that
// Windows starts afterwards.
namespace dos {

// How a run ended, from the interpreter's outcome and the batch file's bytes as read before it.
platform::BatchEnd batchEndOf(Interpreter::Outcome outcome, const platform::DosResult<QByteArray> &script);

// Runs the batch file and records its end at recordPath: first that it runs, then how it ended.
// A record that cannot be written never stops the run.
Interpreter::Outcome runRecorded(Interpreter &shell, const QString &batchFile, const QString &recordPath);

}  // namespace dos
