#pragma once

#include <QMainWindow>

#include <functional>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;

namespace controls {
class CheckListBox;
class OpenFileDialog;
class DirectoryListBox;
class DriveComboBox;
class StatusBar;
}  // namespace controls

namespace backup {
class BackupList;
}  // namespace backup

namespace settings {
struct Settings;
}  // namespace settings

class TAboutBox;
class TForm5;
class TForm6;
class TNotfall;
class TRestore;

// The main window: the Backup list, the destination, the options and every command.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);

    void setDialogs(TRestore *restore, TNotfall *notfall, TForm5 *form5, TForm6 *form6, TAboutBox *aboutBox);
    // Makes the dialogs (through setDialogs) should a command need one before they were handed over.
    void setDialogMaker(std::function<void()> make) { m_makeDialogs = std::move(make); }

    // Values fixed by the start-up work.
    QString windowsDirectory() const { return m_windowsDirectory; }
    QString programDirectory() const { return m_programDirectory; }
    QString executableDirectory() const { return m_executableDirectory; }
    QString settingsPath() const;
    bool startupDone() const { return m_startupDone; }  // the start-up work has run, well or not

    // The floppy drive of the emergency disk: 'A' or 'B', '*' after the floppy-drive choice was
    // cancelled, null before any choice. The choice and the drive box set it; the emergency-disk
    // dialog is handed its value.
    QChar FloppyLetter;

public slots:
    void FormActivate();
    void BitBtn1Click();  // "&Sicherung starten !" and F5: the backup run
    void Button7Click();  // F6 and "Sicherungsdateien &wiederherstellen": the restore dialog
    void Sicherungvergleichen1Click();  // F7 and "Sicherung &vergleichen ...": the comparison window
    void Notfalldisketteanfertigen1Click();
    void Beenden1Click();
    void Button4Click();  // "&Beenden" button: ends the program
    void Verzeichnisanlegen1Click();
    void NeuesVerzeichniserstellen1Click();
    void Verzeichnislschen1Click();
    void Button1Click();  // "Alle Dateien &markieren": checks every row
    void Button2Click();  // "Alle Markierungen &aufheben": unchecks every checked row
    void BitBtn2Click();  // "Datei(en) in Liste a&ufnehmen" and Ins: adds files to the list
    void BitBtn5Click();  // "Datei aus Liste &entfernen" and Del: removes the selected row
    void AlleDateienentfernen1Click();
    void N11Click();  // "Date&iinformation": shows the selected row's path
    void CheckListBox2ClickCheck();
    void Automatisch1Click();
    void CheckBox11Click();  // "automatisch beenden" box: follows into the menu entry
    void Kurzhinweise1Click();
    void Button5Click();  // "&Einstellungen speichern": writes Orvel.ini
    void Hilfe2Click();  // "&Hilfethemen": the help contents
    void BitBtn4Click();  // "&Hilfe" button: help topic 5
    void Liesmichtxt1Click();
    void VelkoSaveHomepage1Click();
    void VelkoSaveEMail1Click();
    void Systeminfo1Click();
    void Info1Click();
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void StatusBar1MouseMove();
    void BearbeitenClick();
    void PopupMenu2Popup();

signals:
    // The program is about to end on its own (the "&Beenden" button, "automatisch beenden").
    void applicationEnding();

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls(QWidget *client);
    void createMenus();
    void createShortcuts();
    void setTabOrder();

    void startupWork();
    void afterRestoreCheck();
    void welcomeFirstStart();
    void loadSettings(settings::Settings stored);
    [[noreturn]] void settingsUnreadable(int error);
    void applyShortHelp();
    void setOuterHeight(int height);
    void updateListCounter();
    void backToProgramDirectory();
    void createDirectory();
    void endApplication();
    void backupRun();

    // Enables the list's entries of "Bea&rbeiten" and the list's context menu by the list's rows.
    void enableListEntries();
    // F10 alone makes the menu bar take the next letter, as Alt alone does.
    void menuBarKey();

    bool m_activated = false;
    bool m_startupDone = false;
    // Orvel.ini exists but could not be read: it is never written over in this run.
    bool m_settingsUnreadable = false;
    QString m_windowsDirectory;
    QString m_programDirectory;
    QString m_executableDirectory;

    TRestore *m_restore = nullptr;
    TNotfall *m_notfall = nullptr;
    TForm5 *m_form5 = nullptr;
    TForm6 *m_form6 = nullptr;
    TAboutBox *m_aboutBox = nullptr;
    std::function<void()> m_makeDialogs;
    void needDialogs();

    // The Backup list's rows, shown by CheckListBox1 (paths) and CheckListBox2 (names).
    backup::BackupList *m_backupList = nullptr;

    QList<QPair<QWidget *, QString>> m_hints;  // the controls that short help switches
    QList<QWidget *> m_handCursorControls;

public:
    // The window's controls, named as in the window description.
    controls::CheckListBox *CheckListBox1 = nullptr;
    controls::CheckListBox *CheckListBox2 = nullptr;
    controls::StatusBar *StatusBar1 = nullptr;
    controls::StatusBar *StatusBar2 = nullptr;
    controls::DriveComboBox *DriveComboBox1 = nullptr;
    controls::DirectoryListBox *DirectoryListBox1 = nullptr;
    controls::OpenFileDialog *OpenDialog1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QPushButton *BitBtn5 = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QPushButton *BitBtn7 = nullptr;
    QPushButton *Button5 = nullptr;
    QCheckBox *CheckBox11 = nullptr;

    QMenu *Bearbeiten = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *Sicherungstarten1 = nullptr;
    QAction *Sicherungvergleichen1 = nullptr;
    QAction *Automatisch1 = nullptr;
    QAction *Kurzhinweise1 = nullptr;
    // "Bea&rbeiten" entries, which the context menus share, and the one PopupMenu2 entry of its own
    // (its caption differs).
    QAction *Verzeichnisanlegen1 = nullptr;
    QAction *Verzeichnislschen1 = nullptr;
    QAction *Allemarkieren1 = nullptr;
    QAction *Markierungenaufheben1 = nullptr;
    QAction *Dateienaufnehmen1 = nullptr;
    QAction *Dateientfernen1 = nullptr;
    QAction *AlleDateienentfernen1 = nullptr;
    QAction *N11 = nullptr;
    QAction *AlleDateienentfernen2 = nullptr;
};
