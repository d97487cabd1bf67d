// The main window's destination: the drive box, the directory tree and deleting a directory.
#include "app/TForm1.h"

#include "app/core/Settings.h"
#include "backup/core/Destination.h"
#include "controls/Beep.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/WaitCursor.h"
#include "emergency/TNotfall.h"
#include "platform/drives/Files.h"
#include "platform/files/Profile.h"
#include "platform/files/WriteProbe.h"
#include "platform/text/LineBreak.h"

void TForm1::backToProgramDirectory()
{
    (void)DirectoryListBox1->setDirectory(m_programDirectory);
    // May run DriveComboBox1Change once more, for the program's own drive.
    DriveComboBox1->setDrive(DirectoryListBox1->drive());
}

void TForm1::DriveComboBox1Change()
{
    const QChar letter = DriveComboBox1->drive();
    if (letter == QLatin1Char('A') || letter == QLatin1Char('B')) {
        FloppyLetter = letter;
        m_notfall->setMainWindowState(m_programDirectory, FloppyLetter);
        m_notfall->exec();
        backToProgramDirectory();
        return;
    }
    if (DirectoryListBox1->setDrive(letter) != platform::dos::Ok) {
        controls::showMessageAfterBeep(controls::MessageType::Warning, backup::driveRefusalText(letter));
        backToProgramDirectory();
        return;
    }
    const int probe = platform::probeWritable(DirectoryListBox1->directory());
    if (probe != platform::dos::Ok) {
        if (probe == platform::dos::AccessDenied) {
            controls::showMessageAfterBeep(controls::MessageType::Warning, backup::driveRefusalText(letter));
        } else {
            controls::beep();
        }
        backToProgramDirectory();
    }
}

void TForm1::Verzeichnislschen1Click()
{
    controls::runGuarded([this] {
        const QString directory = DirectoryListBox1->directory();
        const QString refusal = backup::deletionRefusal(directory, m_programDirectory);
        if (!refusal.isEmpty()) {
            controls::showMessageAfterBeep(controls::MessageType::Warning, refusal);
            return;
        }
        if (controls::showMessageAfterBeep(controls::MessageType::Warning,
                                           backup::deletionQuestion(directory),
                                           controls::MessageButton::Yes | controls::MessageButton::No)
            != controls::MessageButton::Yes) {
            return;
        }
        controls::WaitCursor wait;
        const QString parent = backup::parentDirectory(directory);
        // The directory is the current one; step out of it before it goes.
        (void)DirectoryListBox1->setDirectory(parent);
        const int removal = platform::removeDirectoryTree(directory);
        const QString settingsFile = settingsPath();
        const bool storeRefused = m_settingsUnreadable || m_programDirectory.isEmpty();
        const int stored = storeRefused ? platform::dos::Ok
                                        : platform::writeProfileString(settingsFile, settings::PathSection,
                                                                       settings::PathKey, m_programDirectory);
        DirectoryListBox1->rereadTree();
        DirectoryListBox1Change();
        wait.end();
        if (removal != platform::dos::Ok) {
            controls::showMessageAfterBeep(controls::MessageType::Warning,
                                           QStringLiteral("Das Verzeichnis ") + directory
                                               + QStringLiteral(" konnte nicht vollständig gelöscht werden:")
                                               + platform::LineBreak + platform::fileErrorText(removal)
                                               + QStringLiteral(" !"));
        }
        if (storeRefused)
            settingsWriteRefused();
        if (stored != platform::dos::Ok)
            throw controls::ReportedError(
                QStringLiteral("nach %1 kann nicht geschrieben werden").arg(settingsFile));
    });
}
