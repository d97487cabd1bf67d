#include "app/core/DirectoryDeletion.h"

#include "app/core/Settings.h"
#include "backup/core/Destination.h"
#include "platform/drives/Files.h"
#include "platform/files/Profile.h"
#include "platform/text/LineBreak.h"

namespace destination {

DeletionOutcome deleteDirectory(const QString &directory, const QString &programDirectory,
                                bool settingsUnreadableAtStart,
                                const std::function<bool(const QString &question)> &confirm)
{
    DeletionOutcome outcome;
    if (const QString refusal = backup::deletionRefusal(directory, programDirectory); !refusal.isEmpty()) {
        outcome.refusal = refusal;
        return outcome;
    }
    if (!confirm(backup::deletionQuestion(directory)))
        return outcome;
    outcome.deleted = true;
    outcome.parent = backup::parentDirectory(directory);
    // The directory is the current one; step out of it before it goes.
    (void)platform::setCurrentDirectory(outcome.parent);
    if (const int removal = platform::removeDirectoryTree(directory)) {
        outcome.removalWarning = QStringLiteral("Das Verzeichnis ") + directory
                                 + QStringLiteral(" konnte nicht vollständig gelöscht werden:")
                                 + platform::LineBreak + platform::fileErrorText(removal)
                                 + QStringLiteral(" !");
    }
    outcome.settingsRefusal = settings::writeRefusal(programDirectory, settingsUnreadableAtStart);
    if (!outcome.settingsRefusal)
        outcome.settingsError = platform::writeProfileString(
            settings::filePath(programDirectory), settings::PathSection, settings::PathKey, programDirectory);
    return outcome;
}

}  // namespace destination
