#pragma once

#include "platform/text/DosError.h"

#include <QString>

#include <optional>

// What MS-DOS mode leaves for Windows about the batch file it ran: a small file beside the
// autostart shortcuts, so that a program they start can tell whether the batch file ran to its
// end. Written before the run and again at its end, so a run that never came back shows too.
namespace platform {

enum class BatchEnd {
    Running,  // the run began and did not come back to record its end
    Completed,  // ran to its end
    Aborted,  // stopped before its end: Ctrl+C, or no key for a prompt
    Truncated,  // the file ends within a line: it is cut short
    Empty,  // the file holds no command
    NotFound,  // no such batch file
};

struct MsDosModeRecord {
    QString batchFile;
    BatchEnd end = BatchEnd::Running;
    bool operator==(const MsDosModeRecord &other) const = default;
};

// The record's path in an autostart folder. Its name is no shortcut and no program, and the file
// is hidden, so Windows does not start it with the shortcuts.
QString msDosModeRecordPath(const QString &autostartFolder);

// Replaces the record as a whole and hides it. An error also when it cannot be hidden: a record
// Windows might open with the shortcuts is better removed.
[[nodiscard]] int writeMsDosModeRecord(const QString &path, const MsDosModeRecord &record);

// Null when there is no record or it is not one this program wrote.
[[nodiscard]] DosResult<std::optional<MsDosModeRecord>> readMsDosModeRecord(const QString &path);

}  // namespace platform
