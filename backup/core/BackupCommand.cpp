#include "backup/core/BackupCommand.h"

#include "backup/core/BackupList.h"
#include "backup/core/BackupRun.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Clock.h"
#include "platform/text/LineBreak.h"

namespace backup {

namespace {

// Greys a missing file's row, then passes every report on.
class ListKeeper : public RunObserver {
public:
    ListKeeper(BackupList &list, RunObserver &observer)
        : m_list(list),
          m_observer(observer)
    {}

    void missing(const MarkedFile &file) override
    {
        m_list.setGrayed(file.row);
        m_observer.missing(file);
    }
    void copyFailed(const MarkedFile &file, const QString &target, int error) override
    {
        m_observer.copyFailed(file, target, error);
    }
    void folderFailed(int error) override { m_observer.folderFailed(error); }
    void scriptFailed() override { m_observer.scriptFailed(); }
    void pifFailed() override { m_observer.pifFailed(); }
    void progress(int done, int total) override { m_observer.progress(done, total); }

private:
    BackupList &m_list;
    RunObserver &m_observer;
};

std::optional<RunRefusal> refusalOf(const QList<MarkedFile> &marked, const QString &destination,
                                    const QString &programDirectory, const QString &windowsDirectory)
{
    if (marked.isEmpty()) {
        return RunRefusal{true,
                          QStringLiteral("Es muß zumindest eine Datei zur Sicherung ausgewählt werden !"),
                          QStringLiteral("Wählen sie zumindest eine Datei aus obiger Liste aus !")};
    }
    QStringList markedPaths;
    markedPaths.reserve(marked.size());
    for (const MarkedFile &file : marked)
        markedPaths.append(file.path);
    if (auto refusal = destinationRefusal(destination, programDirectory, windowsDirectory))
        return RunRefusal{false, *refusal, {}};
    // Copies land flat under their names: two files of one name would overwrite each other.
    if (const auto twins = duplicateNames(markedPaths))
        return RunRefusal{false, duplicateNamesText(twins->first, twins->second), {}};
    if (const auto clash = scriptNameClash(markedPaths))
        return RunRefusal{false, scriptNameClashText(*clash), {}};
    return std::nullopt;
}

}  // namespace

BackupOutcome backUp(BackupList &list, const QString &destination, const QString &programDirectory,
                     RunObserver &observer)
{
    const QString windowsDirectory = platform::windowsDirectory();
    const auto windowsShort = platform::shortPathName(windowsDirectory);
    platform::throwOnError(windowsShort.error, windowsDirectory);

    BackupOutcome outcome;
    const QList<MarkedFile> marked = list.markedFiles();
    outcome.refusal = refusalOf(marked, destination, programDirectory, windowsDirectory);
    if (outcome.refusal)
        return outcome;

    observer.started();
    // The run's folders are listed once; their attribute records are written once, at its end.
    platform::FileRun fileRun;
    ListKeeper keeper(list, observer);
    outcome.summary =
        runBackup({marked, destination, programDirectory, windowsShort.value, platform::now()}, keeper);
    outcome.recordsError = fileRun.finish();
    return outcome;
}

QString missingFileText(const QString &path)
{
    return QStringLiteral("Die folgende Datei konnte auf ihrem System nicht gefunden werden:")
           + platform::LineBreak + QLatin1Char(' ') + path + platform::LineBreak
           + QStringLiteral("Sie können sie somit aus der Sicherungsliste entfernen.");
}

QString restoreMayFailText()
{
    return QStringLiteral("Möglicherweise können die gesicherten Dateien nicht") + platform::LineBreak
           + QStringLiteral("über \"Wiederherstellen\" zurückgeschrieben werden !");
}

}  // namespace backup
