#include "backup/core/Runner.h"

#include "backup/core/BackupRun.h"
#include "backup/core/RestoreScript.h"
#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"

namespace backup {

namespace {

// A file copied, with its source as looked up for the copy and the copy as made.
struct SavedFile {
    const MarkedFile *file;
    platform::ResolvedPath source;
    platform::ResolvedPath copy;
};

// Short names in the backup folder are final only once every copy is there, so the script is
// composed after the copying.
int writeScript(const RunRequest &request, const QString &base, const QList<SavedFile> &saved)
{
    QList<ScriptFile> files;
    files.reserve(saved.size());
    for (const SavedFile &file : saved) {
        const auto described = scriptFileFor(file.source, file.copy, file.file->displayName);
        if (!described.ok())
            return described.error;
        files.append(described.value);
    }
    return writeRestoreScript(restoreScriptPath(base),
                              composeRestoreScript(request.windowsShort, platform::shortDate(request.started),
                                                   platform::longTime(request.started), files));
}

bool copyPif(const RunRequest &request, const QString &base)
{
    const QString supplied = request.programDirectory + QStringLiteral("\\restore.pif");
    return platform::fileExists(supplied) && copyIntoBackup(supplied, restorePifPath(base)).ok();
}

}  // namespace

RunSummary runBackup(const RunRequest &request, RunObserver &observer)
{
    const QString base = destinationBase(request.destination);
    removeLeftoverTemporaries(request.destination);

    RunSummary summary;
    QList<SavedFile> saved;
    const int total = int(request.files.size());
    for (int done = 0; done < total; ++done) {
        const MarkedFile &file = request.files[done];
        const auto source = platform::resolvePath(file.path);
        if (!source.ok() || !source.value.isFile()) {
            ++summary.missing;
            observer.missing(file);
        } else {
            const QString target = backupTarget(base, file.path);
            const CopyOutcome copy = copyIntoBackup(source.value, target);
            if (copy.folderFailed) {
                // No further copy can succeed: one report instead of one per file.
                summary.folderFailed = true;
                observer.folderFailed(copy.error);
                break;
            }
            if (copy.ok())
                saved.append({&file, source.value, copy.copy});
            else
                observer.copyFailed(file, target, copy.error);
        }
        observer.progress(done + 1, total);
    }
    summary.saved = int(saved.size());

    if (!saved.isEmpty() && !summary.folderFailed) {
        if (writeScript(request, base, saved) != platform::dos::Ok)
            observer.scriptFailed();
        if (!copyPif(request, base))
            observer.pifFailed();
    }
    summary.statusText = finishRun(base, summary.saved, summary.missing, total);
    summary.holdsScript = platform::fileExists(restoreScriptPath(base));
    return summary;
}

}  // namespace backup
