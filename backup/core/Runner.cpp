#include "backup/core/Runner.h"

#include "backup/core/BackupFolder.h"
#include "backup/core/BackupRun.h"
#include "backup/core/RestoreScript.h"
#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"

#include <optional>

namespace backup {

namespace {

// A file copied, with its source as looked up for the copy and the copy as made.
struct SavedFile {
    const MarkedFile *file;
    platform::ResolvedPath source;
    platform::ResolvedPath copy;
    std::optional<quint8> attributes;  // the source's, where its own copy read them
};

// Short names in the backup folder are final only once every copy is there, so the script is
// composed after the copying.
int writeScript(const RunRequest &request, const QString &base, const QList<SavedFile> &saved)
{
    QList<ScriptFile> files;
    files.reserve(saved.size());
    for (const SavedFile &file : saved) {
        const auto described = scriptFileFor(file.source, file.copy, file.attributes, file.file->displayName);
        if (!described.ok())
            return described.error;
        files.append(described.value);
    }
    return writeRestoreScript(restoreScriptPath(base), request.windowsShort, platform::shortDate(request.started),
                              platform::longTime(request.started), files);
}

bool copyPif(const RunRequest &request, const QString &base)
{
    const QString supplied = request.programDirectory + QStringLiteral("\\restore.pif");
    return platform::fileExists(supplied) && copyIntoBackup(supplied, restorePifPath(base)).ok();
}

// Every file that exists, copied at once where the destination's drive can do that; true when
// they all stand in place, and the run's reports follow in list order. Where it cannot, the
// sources are left to the copies one by one, which look each up once.
bool copiedTogether(const RunRequest &request, const QString &base, RunObserver &observer,
                    RunSummary &summary, QList<SavedFile> &saved)
{
    if (!copiesAllIntoFolder(base))
        return false;
    QList<std::optional<platform::ResolvedPath>> sources;
    QList<platform::ResolvedPath> present;
    QStringList names;
    sources.reserve(request.files.size());
    for (const MarkedFile &file : request.files) {
        const auto source = platform::resolvePath(file.path);
        if (source.ok() && source.value.isFile()) {
            sources.append(source.value);
            present.append(source.value);
            names.append(platform::fileNamePart(file.path));
        } else {
            sources.append(std::nullopt);
        }
    }
    if (present.isEmpty() || !copyAllIntoFolder(present, names, base))
        return false;
    const int total = int(request.files.size());
    for (int done = 0; done < total; ++done) {
        const MarkedFile &file = request.files[done];
        const auto copy = platform::resolvePath(backupTarget(base, file.path));
        if (sources[done] && copy.ok()) {
            saved.append({&file, *sources[done], copy.value, std::nullopt});
        } else if (!sources[done]) {
            ++summary.missing;
            observer.missing(file);
        } else {
            observer.copyFailed(file, backupTarget(base, file.path), copy.error);
        }
        observer.progress(done + 1, total);
    }
    return true;
}

// The marked files mostly lie in a few folders, one after the other: the folder of the last
// source is kept, and a source in the same folder is found in it without going along its path.
// Only a whole path from a drive's root is taken apart so ("C:" alone is the root, "C:X" is not),
// and a name with a slash, which leads elsewhere, is left to the whole path.
class SourceFolder {
public:
    platform::DosResult<platform::ResolvedPath> resolve(const QString &path, const QString &name)
    {
        const QStringView folderText = QStringView(path).first(path.size() - name.size());
        const bool fromRoot = folderText.size() >= 3 && folderText[1] == u':' && folderText[2] == u'\\'
                              && folderText.endsWith(u'\\');
        if (name.isEmpty() || !fromRoot || name.contains(u'/'))
            return platform::resolvePath(path);
        if (!m_folder || folderText != m_text) {
            m_text = folderText.toString();
            m_folder = platform::resolvePath(m_text);
        }
        // A folder that cannot be looked up leaves the whole path to report what is wrong.
        if (!m_folder->ok())
            return platform::resolvePath(path);
        return platform::resolvePath(m_folder->value, name);
    }

private:
    QString m_text;  // as the paths spell it, with its last separator
    std::optional<platform::DosResult<platform::ResolvedPath>> m_folder;
};

// Each file on its own, with a report for each that fails.
void copyOneByOne(const RunRequest &request, const QString &base, RunObserver &observer, RunSummary &summary,
                  QList<SavedFile> &saved)
{
    const int total = int(request.files.size());
    // Looked up once: each target is then found in it. One that cannot be is left to each copy,
    // which reports what is wrong.
    const auto folder = platform::resolvePath(base);
    SourceFolder sources;
    for (int done = 0; done < total; ++done) {
        const MarkedFile &file = request.files[done];
        const QString name = platform::fileNamePart(file.path);
        const auto source = sources.resolve(file.path, name);
        if (!source.ok() || !source.value.isFile()) {
            ++summary.missing;
            observer.missing(file);
        } else {
            // The target's whole path is needed only where the folder was not looked up, or for a failure.
            const CopyOutcome copy = folder.ok() ? copyIntoBackup(source.value, folder.value, base, name)
                                                 : copyIntoBackup(source.value, backupTarget(base, name));
            if (copy.folderFailed) {
                // No further copy can succeed: one report instead of one per file.
                summary.folderFailed = true;
                observer.folderFailed(copy.error);
                break;
            }
            if (copy.ok())
                saved.append({&file, source.value, copy.copy, copy.attributes});
            else
                observer.copyFailed(file, backupTarget(base, name), copy.error);
        }
        observer.progress(done + 1, total);
    }
}

}  // namespace

RunSummary runBackup(const RunRequest &request, RunObserver &observer)
{
    const QString base = destinationBase(request.destination);
    removeLeftoverTemporaries(request.destination);

    RunSummary summary;
    QList<SavedFile> saved;
    saved.reserve(request.files.size());
    if (!copiedTogether(request, base, observer, summary, saved))
        copyOneByOne(request, base, observer, summary, saved);
    summary.saved = int(saved.size());

    if (!saved.isEmpty() && !summary.folderFailed) {
        if (writeScript(request, base, saved) != platform::dos::Ok)
            observer.scriptFailed();
        if (!copyPif(request, base))
            observer.pifFailed();
    }
    summary.statusText = finishRun(base, summary.saved, summary.missing, int(request.files.size()));
    summary.holdsScript = platform::fileExists(restoreScriptPath(base));
    return summary;
}

}  // namespace backup
