#include "backup/core/ListCommands.h"

#include "backup/core/BackupList.h"
#include "platform/drives/Files.h"
#include "platform/text/AnsiText.h"
#include "platform/text/LineBreak.h"

#include <QHash>

namespace backup {

QStringList addFiles(BackupList &list, const QStringList &chosen)
{
    for (const QString &path : chosen) {
        if (!platform::toAnsi(path)) {
            return {
                QStringLiteral("Der Pfad '") + path
                + QStringLiteral("' enthält Zeichen, die Windows nicht speichern kann !")
                + platform::LineBreak
                + QStringLiteral("Die Datei(en) wurden deshalb nicht in die Sicherungsliste aufgenommen.")};
        }
    }

    // How often each name stands in the list; every pair of a chosen file and a matching row is
    // reported on its own.
    QHash<QString, int> listedNames;
    listedNames.reserve(list.size());
    for (int i = 0; i < list.size(); ++i)
        ++listedNames[platform::upperCaseFileName(list.name(i))];
    QStringList warnings;
    for (const QString &path : chosen) {
        const QString name = platform::fileNamePart(path);
        for (int match = listedNames.value(platform::upperCaseFileName(name)); match > 0; --match) {
            warnings.append(
                QStringLiteral("Eine Datei mit dem Namen '") + name
                + QStringLiteral("' befindet sich bereits in der Sicherungsliste !") + platform::LineBreak
                + QStringLiteral(
                    "Kein Dateiname darf hier 2x vorkommen. Der Vorgang wird deshalb abgebrochen.")
                + platform::LineBreak
                + QStringLiteral("Bitte wählen sie erneut die Datei(en) aus, die sie hinzufügen möchten."));
        }
    }
    if (!warnings.isEmpty())
        return warnings;
    QList<BackupList::NewRow> rows;
    rows.reserve(chosen.size());
    for (const QString &path : chosen)
        rows.append({path, true});
    list.append(rows);
    return {};
}

QString counterText(int rows)
{
    return QString::number(rows) + QStringLiteral(" Datei(en) in Liste");
}

QString fileInformation(const BackupList &list, int row)
{
    return QStringLiteral("Ort: ") + list.path(row);
}

QString removeAllQuestion()
{
    return QStringLiteral("Sind sie sicher, daß sie alle Dateien aus der Sicherungsliste entfernen wollen ?");
}

ListEntryStates listEntryStates(const BackupList &list, int selectedRow)
{
    ListEntryStates states;
    for (int i = 0; i < list.size() && !(states.markAll && states.unmarkAll); ++i) {
        if (list.isChecked(i))
            states.unmarkAll = true;
        else
            states.markAll = true;
    }
    states.removeSelected = selectedRow >= 0;
    states.removeAll = list.size() > 0;
    states.fileInformation = states.removeSelected;
    return states;
}

}  // namespace backup
