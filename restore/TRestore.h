#pragma once

#include "controls/FormDialog.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TShellLink;

namespace controls {
class DirectoryListBox;
class DriveComboBox;
class StatusBar;
}  // namespace controls

// The restore dialog: pick a backup directory and restore it in MS-DOS mode.
class TRestore : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TRestore(QWidget *parent = nullptr);

    // What the dialog takes from the main window each time it is shown: the drive its drive box
    // shows, its Destination path, and the Program directory ("X:" for a drive root).
    void setMainWindowState(QChar mainDrive, const QString &destinationPath, const QString &programDirectory);

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    controls::DriveComboBox *DriveComboBox1 = nullptr;
    controls::DirectoryListBox *DirectoryListBox1 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QLabel *Label2 = nullptr;
    controls::StatusBar *StatusBar1 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    TShellLink *ShellLink1 = nullptr;

public slots:
    void FormActivate() override;
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void BitBtn1Click();  // "Sicherungsdateien &wiederherstellen": shortcut, then the script
    void Button2Click();  // "&Abbrechen": closes the dialog
    void BitBtn3Click();  // "&Hilfe": help topic 6
    void StatusBar1MouseMove();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showBackupState(const QString &statusPath);
    void refuseDrive(const QString &text);
    void backToProgramDirectory();

    QChar m_mainDrive;
    QString m_destinationPath;
    QString m_programDirectory;
};
