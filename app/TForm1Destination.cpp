// The main window's destination: the drive box, the directory tree and deleting a directory.
#include "app/TForm1.h"

#include "app/core/DirectoryDeletion.h"
#include "app/core/Settings.h"
#include "backup/core/Destination.h"
#include "controls/Beep.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/WaitCursor.h"
#include "emergency/TNotfall.h"
#include "platform/drives/Files.h"
#include "platform/files/WriteProbe.h"

#include <optional>

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
        needDialogs();
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
        std::optional<controls::WaitCursor> wait;
        const destination::DeletionOutcome outcome = destination::deleteDirectory(
            DirectoryListBox1->directory(), m_programDirectory, m_settingsUnreadable,
            [&](const QString &question) {
                if (controls::showMessageAfterBeep(controls::MessageType::Warning, question,
                                                   controls::MessageButton::Yes | controls::MessageButton::No)
                    != controls::MessageButton::Yes) {
                    return false;
                }
                wait.emplace();  // while the directory goes
                return true;
            });
        if (outcome.refusal) {
            controls::showMessageAfterBeep(controls::MessageType::Warning, *outcome.refusal);
            return;
        }
        if (!outcome.deleted)
            return;
        (void)DirectoryListBox1->setDirectory(outcome.parent);
        DirectoryListBox1Change();
        wait.reset();
        if (!outcome.removalWarning.isEmpty())
            controls::showMessageAfterBeep(controls::MessageType::Warning, outcome.removalWarning);
        if (outcome.settingsRefusal)
            controls::showMessageAfterBeep(controls::MessageType::Warning, *outcome.settingsRefusal);
        if (outcome.settingsError != platform::dos::Ok)
            throw controls::ReportedError(settings::notWrittenText(settingsPath()));
    });
}
