#include "app/core/AfterRestore.h"

#include "platform/drives/Files.h"
#include "platform/text/LineBreak.h"
#include "restore/core/AutostartShortcut.h"

namespace afterrestore {

using platform::BatchEnd;

platform::DosResult<std::optional<platform::MsDosModeRecord>> recordFor(const QString &shortcut,
                                                                        const QString &recordPath)
{
    auto record = platform::readMsDosModeRecord(recordPath);
    if (!record.ok() || !record.value)
        return record;
    const auto recorded = platform::lastWriteTime(recordPath);
    if (!recorded.ok())
        return {recorded.error, std::nullopt};
    const auto written = platform::lastWriteTime(shortcut);
    if (written.ok() && recorded.value < written.value)
        return {platform::dos::Ok, std::nullopt};
    return record;
}

QString warningFor(const std::optional<platform::MsDosModeRecord> &record)
{
    if (!record || record->end == BatchEnd::Completed)
        return {};
    const bool nothingRan = record->end == BatchEnd::NotFound || record->end == BatchEnd::Empty;
    QString what;
    switch (record->end) {
    case BatchEnd::NotFound:
        what = QStringLiteral(" wurde nicht gefunden.");
        break;
    case BatchEnd::Empty:
        what = QStringLiteral(" ist leer.");
        break;
    case BatchEnd::Truncated:
        what = QStringLiteral(" ist unvollständig: Es endet mitten in einer Zeile.");
        break;
    case BatchEnd::Aborted:
        what = QStringLiteral(" wurde vor seinem Ende abgebrochen.");
        break;
    case BatchEnd::Running:
        what = QStringLiteral(" wurde vor seinem Ende unterbrochen.");
        break;
    case BatchEnd::Completed:
        break;
    }
    return (nothingRan ? QStringLiteral("'Velko Restore' wurde nicht ausgeführt !")
                       : QStringLiteral("'Velko Restore' wurde nicht vollständig ausgeführt !"))
           + platform::LineBreak + QStringLiteral("Das Skript ") + record->batchFile + what
           + platform::LineBreak
           + (nothingRan
                  ? QStringLiteral("Es wurden keine Dateien wiederhergestellt.")
                  : QStringLiteral("Die Sicherungsdateien wurden höchstens zum Teil wiederhergestellt; "
                                   "Systemdateien wie Io.sys können dabei ihre Attribute verloren haben."))
           + platform::LineBreak
           + QStringLiteral("Bitte prüfen sie die Sicherung und wiederholen sie die Wiederherstellung, oder "
                            "verwenden sie die Notfalldiskette.");
}

Outcome check()
{
    Outcome outcome;
    const QString shortcut = restore::autostartShortcutPath(restore::ShortcutSpelling::LookedFor);
    if (!platform::fileExists(shortcut))
        return outcome;
    outcome.shortcutFound = true;
    // Without a record the restore is taken as run.
    const QString recordPath = platform::msDosModeRecordPath(platform::autostartDirectory());
    const auto record = recordFor(shortcut, recordPath);
    if (!record.ok())
        outcome.errorReports.append(platform::fileErrorReport(record.error, recordPath));
    if (const int error = platform::deleteFile(shortcut)) {
        outcome.errorReports.append(platform::fileErrorReport(error, shortcut));
    } else if (platform::fileExists(recordPath)) {
        if (const int removal = platform::deleteFile(recordPath))
            outcome.errorReports.append(platform::fileErrorReport(removal, recordPath));
    }
    outcome.message = warningFor(record.value);
    outcome.warning = !outcome.message.isEmpty();
    if (!outcome.warning)
        outcome.message = QStringLiteral("'Velko Restore' wurde ausgeführt !");
    return outcome;
}

}  // namespace afterrestore
