#pragma once

#include "compare/core/BackupComparison.h"

#include "controls/FormDialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "Vergleich mit der Sicherung": what a restore from a backup folder would change, file by file,
// with the changed lines of a text file below the list.
class TVergleich : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TVergleich(QWidget *parent = nullptr);

    // Compares the folder's backup ("D:\" for a root) and fills the window. A folder without a
    // Restore.bat gets the restore dialog's warning, a script that cannot be read its report; the
    // window is then not to be shown (false).
    bool compareFolder(const QString &folder);

    // After the window closed: whether "&Wiederherstellen ..." closed it.
    bool restoreChosen() const { return m_restoreChosen; }
    // The summary line, "N Dateien unverändert, M geändert, K fehlen".
    QString summaryText() const;

    QLabel *Label1 = nullptr;  // the backup folder
    QLabel *Label2 = nullptr;  // date and time of its Restore.bat
    QTreeWidget *ListView1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;  // the chosen file's differences
    QLabel *Label3 = nullptr;  // the summary line
    QPushButton *BitBtn1 = nullptr;  // "&Wiederherstellen ..."
    QPushButton *BitBtn2 = nullptr;  // "&Schließen"
    QPushButton *BitBtn3 = nullptr;  // "&Hilfe"

public slots:
    void FormActivate() override;
    void ListView1Change();  // a row is chosen: its differences below the list
    void BitBtn1Click();  // "&Wiederherstellen ...": closes, the main window opens the restore dialog
    void BitBtn2Click();  // "&Schließen"
    void BitBtn3Click();  // "&Hilfe": help topic 10

private:
    void fillList();
    void showDifference(const compare::ComparedFile &file);
    void showText(const QString &text);

    compare::Comparison m_comparison;
    bool m_restoreChosen = false;
};
