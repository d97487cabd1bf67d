// The main window's backup work: adding files to the Backup list and the backup run.
#include "app/TForm1.h"

#include "backup/core/BackupList.h"
#include "backup/core/BackupRun.h"
#include "backup/core/Runner.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/OpenFileDialog.h"
#include "controls/StatusBar.h"
#include "controls/WaitCursor.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Clock.h"
#include "platform/shell/Desktop.h"
#include "platform/text/AnsiText.h"
#include "platform/text/LineBreak.h"

#include <QCheckBox>
#include <QHash>
#include <QPushButton>

#include <optional>

namespace {

const QString RestoreMayFailText = QStringLiteral("Möglicherweise können die gesicherten Dateien nicht")
                                   + platform::LineBreak
                                   + QStringLiteral("über \"Wiederherstellen\" zurückgeschrieben werden !");

}  // namespace

void TForm1::BitBtn2Click()
{
    const QStringList chosen = OpenDialog1->execute();
    if (chosen.isEmpty())
        return;
    for (const QString &path : chosen) {
        if (!platform::toAnsi(path)) {
            controls::showMessageAfterBeep(
                controls::MessageType::Warning,
                QStringLiteral("Der Pfad '") + path
                    + QStringLiteral("' enthält Zeichen, die Windows nicht speichern kann !")
                    + platform::LineBreak
                    + QStringLiteral(
                        "Die Datei(en) wurden deshalb nicht in die Sicherungsliste aufgenommen."));
            return;
        }
    }

    // How often each name stands in the list; every pair of a chosen file and a matching row is
    // reported on its own.
    QHash<QString, int> listedNames;
    listedNames.reserve(m_backupList->size());
    for (int i = 0; i < m_backupList->size(); ++i)
        ++listedNames[platform::upperCaseFileName(m_backupList->name(i))];
    bool clash = false;
    for (const QString &path : chosen) {
        const QString name = platform::fileNamePart(path);
        for (int match = listedNames.value(platform::upperCaseFileName(name)); match > 0; --match) {
            clash = true;
            controls::showMessageAfterBeep(
                controls::MessageType::Warning,
                QStringLiteral("Eine Datei mit dem Namen '") + name
                    + QStringLiteral("' befindet sich bereits in der Sicherungsliste !") + platform::LineBreak
                    + QStringLiteral(
                        "Kein Dateiname darf hier 2x vorkommen. Der Vorgang wird deshalb abgebrochen.")
                    + platform::LineBreak
                    + QStringLiteral(
                        "Bitte wählen sie erneut die Datei(en) aus, die sie hinzufügen möchten."));
        }
    }
    if (clash)
        return;

    CheckListBox2->setUpdatesEnabled(false);
    for (const QString &path : chosen)
        m_backupList->append(path, true);
    updateListCounter();
    CheckListBox2->setUpdatesEnabled(true);
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

// Tells the user what the run meets, greying the rows of missing files as it goes.
class RunReport : public backup::RunObserver {
public:
    RunReport(backup::BackupList &list, const QString &destination)
        : m_list(list),
          m_destination(destination)
    {}

    void missing(const backup::MarkedFile &file) override
    {
        m_list.setGrayed(file.row);
        controls::showMessageAfterBeep(
            controls::MessageType::Information,
            QStringLiteral("Die folgende Datei konnte auf ihrem System nicht gefunden werden:")
                + platform::LineBreak + QLatin1Char(' ') + file.path + platform::LineBreak
                + QStringLiteral("Sie können sie somit aus der Sicherungsliste entfernen."),
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
        controls::showMessageAfterBeep(controls::MessageType::Warning, RestoreMayFailText);
    }
    void pifFailed() override
    {
        controls::showMessageAfterBeep(controls::MessageType::Error, RestoreMayFailText);
    }
    void progress(int, int) override
    {
        // The hourglass says the run works; the window counts nothing.
    }

private:
    backup::BackupList &m_list;
    QString m_destination;
};

}  // namespace

void TForm1::backupRun()
{
    const QString windowsDirectory = platform::windowsDirectory();
    const auto windowsShort = platform::shortPathName(windowsDirectory);
    platform::throwOnError(windowsShort.error, windowsDirectory);

    const QList<backup::MarkedFile> marked = m_backupList->markedFiles();
    QStringList markedPaths;
    markedPaths.reserve(marked.size());
    for (const backup::MarkedFile &file : marked)
        markedPaths.append(file.path);
    if (marked.isEmpty()) {
        controls::showMessageAfterBeep(
            controls::MessageType::Information,
            QStringLiteral("Es muß zumindest eine Datei zur Sicherung ausgewählt werden !"));
        StatusBar1->setPanelText(QStringLiteral("Wählen sie zumindest eine Datei aus obiger Liste aus !"));
        return;
    }
    const QString destination = DirectoryListBox1->directory();
    if (const auto refusal = backup::destinationRefusal(destination, m_programDirectory, windowsDirectory)) {
        controls::showMessageAfterBeep(controls::MessageType::Warning, *refusal);
        return;
    }
    // Copies land flat under their names: two files of one name would overwrite each other.
    if (const auto twins = backup::duplicateNames(markedPaths)) {
        controls::showMessageAfterBeep(controls::MessageType::Warning,
                                       backup::duplicateNamesText(twins->first, twins->second));
        return;
    }
    if (const auto clash = backup::scriptNameClash(markedPaths)) {
        controls::showMessageAfterBeep(controls::MessageType::Warning, backup::scriptNameClashText(*clash));
        return;
    }

    backup::RunSummary summary;
    int recordsError = platform::dos::Ok;
    {
        BusyWindow busy(this, {BitBtn1, BitBtn3, BitBtn4, Button5, CheckBox11, DirectoryListBox1,
                               DriveComboBox1, BitBtn2, BitBtn5, BitBtn6, BitBtn7});
        // The run's folders are listed once; their attribute records are written once, at its end.
        platform::FileRun fileRun;
        RunReport report(*m_backupList, destination);
        summary = backup::runBackup(
            {marked, destination, m_programDirectory, windowsShort.value, platform::now()}, report);
        recordsError = fileRun.finish();
    }
    if (recordsError != platform::dos::Ok)
        controls::showErrorReport(platform::fileErrorText(recordsError));
    StatusBar1->setPanelText(summary.statusText);
    DirectoryListBox1->setTextColor(summary.holdsScript ? QColor(0, 0, 255) : QColor(0, 0, 0));
    if (CheckBox11->isChecked())
        endApplication();
}
