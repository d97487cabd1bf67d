#pragma once

#include "platform/text/DosError.h"

#include <QString>

#include <functional>
#include <optional>

// Deleting the directory the main window's tree shows, with everything in it.
namespace destination {

struct DeletionOutcome {
    std::optional<QString> refusal;  // a drive root or the program's folder: nothing asked or done
    bool deleted = false;  // the user agreed and the deletion ran, whatever it achieved
    QString parent;  // the directory to show afterwards
    QString removalWarning;  // why the directory is not completely gone; empty when it is
    std::optional<QString> settingsRefusal;  // why the stored destination was not reset
    int settingsError = platform::dos::Ok;  // resetting it failed
};

// Refuses a drive root and the Program directory (held as "X:" for a root); otherwise asks
// `confirm` the question, and on yes steps the current directory out to the parent, removes the
// directory with everything below it and stores the Program directory as the destination in
// Orvel.ini, unless the file must not be written in this run (settings::writeRefusal).
DeletionOutcome deleteDirectory(const QString &directory, const QString &programDirectory,
                                bool settingsUnreadableAtStart,
                                const std::function<bool(const QString &question)> &confirm);

}  // namespace destination
