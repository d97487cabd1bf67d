#pragma once

#include "platform/shell/MsDosModeRecord.h"
#include "platform/text/DosError.h"

#include <QString>
#include <QStringList>

#include <optional>

// The after-restore check's judgement: what MS-DOS mode recorded about the restore that the
// autostart shortcut was left for.
namespace afterrestore {

// The record of the run the shortcut was written for. Null without a record, and for one older
// than the shortcut: that belongs to an earlier run. An error when the record cannot be read.
platform::DosResult<std::optional<platform::MsDosModeRecord>> recordFor(const QString &shortcut,
                                                                        const QString &recordPath);

// The warning for a restore that did not run to its end; empty when it did or nothing is known,
// which keeps the information message.
QString warningFor(const std::optional<platform::MsDosModeRecord> &record);

// What the start-up shows after the check, in this order.
struct Outcome {
    bool shortcutFound = false;  // false: nothing to show
    QStringList errorReports;    // files that could not be read or deleted
    bool warning = false;        // the message is a warning, else an information
    QString message;
};

// Looks for the autostart shortcut a restore left and deletes it with its record; the record
// stays when the shortcut does, so that both tell the same at the next start.
Outcome check();

}  // namespace afterrestore
