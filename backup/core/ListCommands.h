#pragma once

#include <QString>
#include <QStringList>

// The commands that edit the Backup list, and what the window shows of it.
namespace backup {

class BackupList;

// Appends the chosen files, checked, in the given order, unless one is refused: then nothing is
// added and the warnings are returned, in the order they are shown. Refused are a path Windows
// cannot store (one warning, for the first such path) and a name already in the list, letter case
// ignored (one warning for every pair of a chosen file and a row of that name).
[[nodiscard]] QStringList addFiles(BackupList &list, const QStringList &chosen);

// The list counter below the list: "3 Datei(en) in Liste".
QString counterText(int rows);

// "Ort: " and the row's full path.
QString fileInformation(const BackupList &list, int row);

QString removeAllQuestion();

// Which of the list's menu entries are enabled, by the rows and the selected row (-1 for none).
struct ListEntryStates {
    bool markAll = false;  // a row is not checked (greyed counts as not checked)
    bool unmarkAll = false;  // a row is checked
    bool removeSelected = false;
    bool removeAll = false;
    bool fileInformation = false;
};
ListEntryStates listEntryStates(const BackupList &list, int selectedRow);

}  // namespace backup
