// The main window's commands: the Backup list, the menus' enabling rules, keys, dialogs, help.
#include "app/TForm1.h"

#include "app/TAboutBox.h"
#include "backup/TForm6.h"
#include "backup/core/BackupList.h"
#include "backup/core/ListCommands.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/StatusBar.h"
#include "controls/WindowHelp.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "platform/drives/Files.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/ShellLink.h"
#include "restore/TRestore.h"

#include <QAction>
#include <QCoreApplication>

#include <optional>

void TForm1::Beenden1Click()
{
    close();
}

void TForm1::Button4Click()
{
    endApplication();
}

void TForm1::endApplication()
{
    emit applicationEnding();
    QCoreApplication::quit();
}

void TForm1::Button7Click()
{
    needDialogs();
    m_restore->setMainWindowState(DriveComboBox1->drive(), DirectoryListBox1->directory(),
                                  m_programDirectory);
    m_restore->exec();
}

void TForm1::Notfalldisketteanfertigen1Click()
{
    needDialogs();
    if (const std::optional<QChar> chosen = m_form5->choose())
        FloppyLetter = *chosen;
    // "*" after a cancel, and no letter at all when the system closed the choice before any was
    // made: the disk is made only on A: or B:.
    if (FloppyLetter != QLatin1Char('A') && FloppyLetter != QLatin1Char('B'))
        return;
    m_notfall->setMainWindowState(m_programDirectory, FloppyLetter);
    m_notfall->exec();
}

void TForm1::Verzeichnisanlegen1Click()
{
    createDirectory();
}

void TForm1::NeuesVerzeichniserstellen1Click()
{
    createDirectory();
}

void TForm1::createDirectory()
{
    needDialogs();
    const std::optional<QString> created = m_form6->createBelow(DirectoryListBox1->directory());
    if (!created)
        return;
    // The tree opens the new directory, which makes it the destination (DirectoryListBox1Change).
    controls::runGuarded([&] {
        DirectoryListBox1->rereadTree();
        platform::throwOnError(DirectoryListBox1->setDirectory(*created), *created);
    });
}

void TForm1::Button1Click()
{
    m_backupList->setAllChecked(true);
}

void TForm1::Button2Click()
{
    m_backupList->setAllChecked(false);
}

void TForm1::BitBtn5Click()
{
    const int row = CheckListBox2->selectedRow();
    if (row < 0)
        return;
    m_backupList->remove(row);
    updateListCounter();
}

void TForm1::AlleDateienentfernen1Click()
{
    const auto answer =
        controls::showMessage(controls::MessageType::Confirmation, backup::removeAllQuestion(),
                              controls::MessageButton::Yes | controls::MessageButton::No);
    if (answer != controls::MessageButton::Yes)
        return;
    m_backupList->clear();
    updateListCounter();
}

void TForm1::N11Click()
{
    const int row = CheckListBox2->selectedRow();
    if (row < 0)
        return;
    controls::showMessage(controls::MessageType::Information, backup::fileInformation(*m_backupList, row),
                          controls::MessageButton::Ok);
}

void TForm1::CheckListBox2ClickCheck()
{
    // Both lists show one model: the click has already changed the hidden list too.
}

void TForm1::enableListEntries()
{
    const backup::ListEntryStates states =
        backup::listEntryStates(*m_backupList, CheckListBox2->selectedRow());
    Allemarkieren1->setEnabled(states.markAll);
    Markierungenaufheben1->setEnabled(states.unmarkAll);
    Dateientfernen1->setEnabled(states.removeSelected);
    AlleDateienentfernen1->setEnabled(states.removeAll);
    AlleDateienentfernen2->setEnabled(states.removeAll);
    N11->setEnabled(states.fileInformation);
}

void TForm1::BearbeitenClick()
{
    enableListEntries();
}

void TForm1::PopupMenu2Popup()
{
    enableListEntries();
}

void TForm1::Hilfe2Click()
{
    controls::requestHelp(platform::help::ShowContents);
}

void TForm1::BitBtn4Click()
{
    controls::requestHelp(platform::help::ShowTopic, 5);
}

void TForm1::Liesmichtxt1Click()
{
    const QString readMe = m_programDirectory + QStringLiteral("\\liesmich.txt");
    platform::desktop().shellExecute(this, QStringLiteral("open"), readMe, {}, {},
                                     platform::showCommand::Normal);
    if (!platform::fileExists(readMe))
        controls::showMessageAfterBeep(controls::MessageType::Warning,
                                       m_programDirectory
                                           + QStringLiteral("\\Liesmich.txt wurde nicht gefunden !"));
}

void TForm1::VelkoSaveHomepage1Click()
{
    TAboutBox::openHomePage(this);
}

void TForm1::VelkoSaveEMail1Click()
{
    TAboutBox::writeMail(this);
}

void TForm1::Systeminfo1Click()
{
    // The tool lies on the system drive, whichever drive that is; the warning spells its path in
    // mixed case.
    const QString drive = m_windowsDirectory.left(1);
    const QString tool =
        drive + QStringLiteral(":\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\MSINFO\\MSINFO32.EXE");
    if (platform::fileExists(tool)) {
        platform::desktop().shellExecute(this, QStringLiteral("open"), tool, {}, {},
                                         platform::showCommand::Normal);
        return;
    }
    controls::showMessageAfterBeep(
        controls::MessageType::Warning,
        drive
            + QStringLiteral(":\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\Msinfo\\Msinfo32.exe wurde "
                             "nicht gefunden!"));
}

void TForm1::Info1Click()
{
    needDialogs();
    m_aboutBox->exec();
}
