// The main window's start-up work, its settings and its options.
#include "app/TForm1.h"

#include "app/core/AfterRestore.h"
#include "app/core/Settings.h"
#include "app/core/Startup.h"
#include "backup/core/BackupList.h"
#include "backup/core/ListCommands.h"
#include "backup/core/ScriptFiles.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/MessageDialog.h"
#include "controls/StatusBar.h"
#include "controls/WaitCursor.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "platform/shell/Desktop.h"

#include <QCheckBox>

#include <utility>

namespace {

const QString WelcomeText = QStringLiteral("Willkommen zum ersten Start von Velko Save 1.3 !");
const QString DestinationPrefix = QStringLiteral("Sicherung nach ");
const QString CompareHint = QStringLiteral("Gesicherte Dateien werden mit den aktuellen Dateien verglichen");
constexpr int FirstStartHelpTopic = 1;
constexpr int OuterHeight = 478;

}  // namespace

QString TForm1::settingsPath() const
{
    return settings::filePath(m_programDirectory);
}

void TForm1::FormActivate()
{
    // A failing step ends the work there; the window stays usable with what was set up.
    controls::runGuarded([this] { startupWork(); });
    m_startupDone = true;
}

void TForm1::startupWork()
{
    m_windowsDirectory = platform::windowsDirectory();
    controls::setProgramHelpFile(this);
    setOuterHeight(OuterHeight);
    afterRestoreCheck();
    m_programDirectory = startup::programDirectory();

    using Failure = startup::SettingsAtStart::Failure;
    startup::SettingsAtStart start = startup::openSettings(m_programDirectory, m_windowsDirectory);
    if (start.firstStart)
        welcomeFirstStart();
    switch (start.failure) {
    case Failure::None:
        break;
    case Failure::Unreadable:
        settingsUnreadable(start.error);
    case Failure::NotWritten:
        throw controls::ReportedError(settings::notWrittenText(settingsPath()));
    case Failure::NotEmptied:
        platform::throwOnError(start.error, settingsPath());
        break;
    }
    if (start.settings) {
        loadSettings(std::move(*start.settings));
        if (!start.firstStart)
            StatusBar1->setPanelText(DestinationPrefix + DirectoryListBox1->directory());
    }
    updateListCounter();
}

void TForm1::afterRestoreCheck()
{
    const afterrestore::Outcome outcome = afterrestore::check();
    if (!outcome.shortcutFound)
        return;
    // A shortcut or record that stays is reported; the rest of the start-up work must still run.
    for (const QString &report : outcome.errorReports)
        controls::showErrorReport(report);
    controls::showMessageAfterBeep(outcome.warning ? controls::MessageType::Warning
                                                   : controls::MessageType::Information,
                                   outcome.message, controls::MessageButton::Ok);
}

void TForm1::welcomeFirstStart()
{
    const QString backups = settings::backupsDirectory(m_programDirectory);
    platform::throwOnError(DirectoryListBox1->setDirectory(backups), backups);
    StatusBar1->setPanelText(WelcomeText);
    controls::requestHelp(platform::help::ShowTopic, FirstStartHelpTopic);
}

// Taken whole: a long list's rows move into the list rather than being shared and let go again.
void TForm1::loadSettings(settings::Settings stored)
{
    m_backupList->clear();
    m_backupList->append(std::move(stored.rows));

    if (!stored.destination.isEmpty()
        && DirectoryListBox1->setDirectory(stored.destination) != platform::dos::Ok) {
        // A destination that is gone or not ready is no error: back to the program's own folder.
        (void)DirectoryListBox1->setDirectory(m_programDirectory);
    }

    Kurzhinweise1->setChecked(stored.shortHelp);
    applyShortHelp();
    CheckBox11->setChecked(stored.autoQuit);
}

void TForm1::settingsUnreadable(int error)
{
    // An empty list saved over the file would destroy the user's settings.
    m_settingsUnreadable = true;
    throw controls::ReportedError(settings::unreadableText(settingsPath(), error));
}

void TForm1::updateListCounter()
{
    StatusBar2->setPanelText(backup::counterText(m_backupList->size()));
}

void TForm1::applyShortHelp()
{
    const bool on = Kurzhinweise1->isChecked();
    for (const auto &[control, hint] : m_hints)
        control->setToolTip(on ? hint : QString());
    Sicherungvergleichen1->setToolTip(on ? CompareHint : QString());
    controls::showHandCursor(m_handCursorControls, on);
}

void TForm1::Kurzhinweise1Click()
{
    // The menu has already turned its check mark over.
    applyShortHelp();
}

void TForm1::CheckBox11Click()
{
    Automatisch1->setChecked(CheckBox11->isChecked());
}

void TForm1::Automatisch1Click()
{
    // The menu has already turned its check mark over; the check box follows it.
    CheckBox11->setChecked(Automatisch1->isChecked());
}

void TForm1::Button5Click()
{
    controls::runGuarded([this] {
        QList<settings::ListRow> rows;
        rows.reserve(m_backupList->size());
        for (int i = 0; i < m_backupList->size(); ++i)
            rows.append({m_backupList->path(i), m_backupList->isChecked(i)});
        settings::SaveResult saved;
        {
            controls::WaitCursor wait;
            saved = settings::save(m_programDirectory, m_settingsUnreadable, rows, CheckBox11->isChecked(),
                                   Kurzhinweise1->isChecked(), DirectoryListBox1->directory());
        }
        if (saved.refusal) {
            controls::showMessageAfterBeep(controls::MessageType::Warning, *saved.refusal,
                                           controls::MessageButton::Ok);
            return;
        }
        platform::throwOnError(saved.error, settingsPath());
        StatusBar1->setPanelText(QStringLiteral("Status: Die aktuellen Einstellungen wurden gespeichert !"));
    });
}

void TForm1::DirectoryListBox1Change()
{
    const QString directory = DirectoryListBox1->directory();
    const bool holdsBackup =
        platform::fileExists(backup::restoreScriptPath(directory, backup::ScriptSpelling::LookedFor));
    DirectoryListBox1->setTextColor(holdsBackup ? QColor(0, 0, 255) : QColor(0, 0, 0));
    StatusBar1->setPanelText(DestinationPrefix + directory);
}

void TForm1::StatusBar1MouseMove()
{
    const QString text = StatusBar1->panelText();
    StatusBar1->setToolTip(text);
    for (QWidget *panel : StatusBar1->findChildren<QWidget *>())
        panel->setToolTip(text);
}
