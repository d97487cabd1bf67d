#pragma once

#include "backup/core/Runner.h"
#include "platform/text/DosError.h"

#include <QString>

#include <optional>

// The command "&Sicherung starten !": the checks that may refuse the run, the run over the
// Backup list, and what the window shows afterwards.
namespace backup {

class BackupList;

// A run refused before anything changed.
struct RunRefusal {
    bool nothingMarked = false;  // an information that asks for a file; otherwise a warning
    QString message;
    QString statusText;  // the status line after the message; empty: unchanged
};

struct BackupOutcome {
    std::optional<RunRefusal> refusal;
    RunSummary summary;  // of the run, when it was not refused
    int recordsError = platform::dos::Ok;  // the run's attribute records could not be written
};

// Backs up the marked rows of list into destination (as the directory tree reports it). A file
// found missing is greyed in the list before observer hears of it; observer.started() comes once
// the checks have passed. A file error outside the copies (the Windows directory's short form)
// throws platform::IoError.
BackupOutcome backUp(BackupList &list, const QString &destination, const QString &programDirectory,
                     RunObserver &observer);

// The run's messages: a marked file that is missing, and Restore.bat or Restore.pif not written.
QString missingFileText(const QString &path);
QString restoreMayFailText();

}  // namespace backup
