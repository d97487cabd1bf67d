// The main window's backup work: adding files to the Backup list and the backup run.
#include "app/TForm1.h"

#include "backup/core/BackupCommand.h"
#include "backup/core/BackupRun.h"
#include "backup/core/ListCommands.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/OpenFileDialog.h"
#include "controls/StatusBar.h"
#include "controls/WaitCursor.h"

#include <QCheckBox>
#include <QPushButton>

#include <functional>
#include <optional>
#include <utility>

void TForm1::BitBtn2Click()
{
    const QStringList chosen = OpenDialog1->execute();
    if (chosen.isEmpty())
        return;
    CheckListBox2->setUpdatesEnabled(false);
    const QStringList warnings = backup::addFiles(*m_backupList, chosen);
    updateListCounter();
    CheckListBox2->setUpdatesEnabled(true);
    for (const QString &warning : warnings)
        controls::showMessageAfterBeep(controls::MessageType::Warning, warning);
}

void TForm1::BitBtn1Click()
{
    controls::runGuarded([this] { backupRun(); });
}

namespace {

// The window while a run works: the controls that could start or change a run are disabled, the
// hourglass shows and the caption says so. Whatever ends the run, the window comes back.
class BusyWindow {
public:
    BusyWindow(QWidget *window, const QList<QWidget *> &controls)
        : m_window(window),
          m_controls(controls)
    {
        for (QWidget *control : m_controls)
            control->setEnabled(false);
        m_hourglass.emplace();
        m_window->setWindowTitle(QStringLiteral("Die Sicherung läuft ..."));
    }
    ~BusyWindow()
    {
        m_hourglass.reset();
        for (QWidget *control : m_controls)
            control->setEnabled(true);
        m_window->setWindowTitle(QStringLiteral("Velko Save"));
    }
    BusyWindow(const BusyWindow &) = delete;
    BusyWindow &operator=(const BusyWindow &) = delete;

private:
    QWidget *m_window;
    QList<QWidget *> m_controls;
    std::optional<controls::WaitCursor> m_hourglass;
};

// Tells the user what the run meets, and makes the window busy once the run begins.
class RunReport : public backup::RunObserver {
public:
    RunReport(const QString &destination, std::function<void()> begin)
        : m_destination(destination),
          m_begin(std::move(begin))
    {}

    void started() override { m_begin(); }
    void missing(const backup::MarkedFile &file) override
    {
        controls::showMessageAfterBeep(controls::MessageType::Information, backup::missingFileText(file.path),
                                       controls::MessageButton::Ok);
    }
    void copyFailed(const backup::MarkedFile &file, const QString &target, int error) override
    {
        controls::showMessageAfterBeep(controls::MessageType::Warning,
                                       backup::copyFailureText(file.path, target, error));
    }
    void folderFailed(int error) override
    {
        controls::showMessageAfterBeep(controls::MessageType::Error,
                                       backup::folderFailureText(m_destination, error));
    }
    void scriptFailed() override
    {
        controls::showMessageAfterBeep(controls::MessageType::Warning, backup::restoreMayFailText());
    }
    void pifFailed() override
    {
        controls::showMessageAfterBeep(controls::MessageType::Error, backup::restoreMayFailText());
    }
    void progress(int, int) override
    {
        // The hourglass says the run works; the window counts nothing.
    }

private:
    QString m_destination;
    std::function<void()> m_begin;
};

}  // namespace

void TForm1::backupRun()
{
    const QString destination = DirectoryListBox1->directory();
    std::optional<BusyWindow> busy;
    RunReport report(destination, [&] {
        busy.emplace(this, QList<QWidget *>{BitBtn1, BitBtn3, BitBtn4, Button5, CheckBox11, DirectoryListBox1,
                                            DriveComboBox1, BitBtn2, BitBtn5, BitBtn6, BitBtn7});
    });
    const backup::BackupOutcome outcome =
        backup::backUp(*m_backupList, destination, m_programDirectory, report);
    busy.reset();
    if (outcome.refusal) {
        controls::showMessageAfterBeep(outcome.refusal->nothingMarked ? controls::MessageType::Information
                                                                      : controls::MessageType::Warning,
                                       outcome.refusal->message);
        if (!outcome.refusal->statusText.isEmpty())
            StatusBar1->setPanelText(outcome.refusal->statusText);
        return;
    }
    if (outcome.recordsError != platform::dos::Ok)
        controls::showErrorReport(platform::fileErrorText(outcome.recordsError));
    StatusBar1->setPanelText(outcome.summary.statusText);
    DirectoryListBox1->setTextColor(outcome.summary.holdsScript ? QColor(0, 0, 255) : QColor(0, 0, 0));
    if (CheckBox11->isChecked())
        endApplication();
}
