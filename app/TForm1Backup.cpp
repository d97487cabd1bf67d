// The main window's backup work: adding files to the Backup list and the backup run.
#include "app/TForm1.h"

#include "backup/BackupRun.h"
#include "backup/RestoreScript.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/OpenFileDialog.h"
#include "controls/StatusBar.h"
#include "platform/AnsiText.h"
#include "platform/FileRun.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHash>
#include <QPushButton>

namespace {

const QString LineBreak = QStringLiteral("\n\r");

const QString RestoreMayFailText =
    QStringLiteral("Möglicherweise können die gesicherten Dateien nicht\n\rüber \"Wiederherstellen\" "
                   "zurückgeschrieben werden !");

}  // namespace

void TForm1::BitBtn2Click()
{
    const QStringList chosen = OpenDialog1->execute();
    if (chosen.isEmpty())
        return;
    for (const QString &path : chosen) {
        if (!platform::toAnsi(path)) {
            controls::showMessageAfterBeep(controls::MessageType::Warning,
                QStringLiteral("Der Pfad '") + path
                    + QStringLiteral("' enthält Zeichen, die Windows nicht speichern kann !") + LineBreak
                    + QStringLiteral(
                        "Die Datei(en) wurden deshalb nicht in die Sicherungsliste aufgenommen."));
            return;
        }
    }

    // How often each name stands in the list; every pair of a chosen file and a matching row is
    // reported on its own.
    QHash<QString, int> listedNames;
    listedNames.reserve(CheckListBox2->rowCount());
    for (int i = 0; i < CheckListBox2->rowCount(); ++i)
        ++listedNames[CheckListBox2->rowText(i).toUpper()];
    bool clash = false;
    for (const QString &path : chosen) {
        const QString name = platform::fileNamePart(path);
        for (int match = listedNames.value(name.toUpper()); match > 0; --match) {
            clash = true;
            controls::showMessageAfterBeep(controls::MessageType::Warning,
                QStringLiteral("Eine Datei mit dem Namen '") + name
                    + QStringLiteral("' befindet sich bereits in der Sicherungsliste !") + LineBreak
                    + QStringLiteral(
                        "Kein Dateiname darf hier 2x vorkommen. Der Vorgang wird deshalb abgebrochen.")
                    + LineBreak
                    + QStringLiteral(
                        "Bitte wählen sie erneut die Datei(en) aus, die sie hinzufügen möchten."));
        }
    }
    if (clash)
        return;

    CheckListBox2->setUpdatesEnabled(false);
    for (const QString &path : chosen) {
        CheckListBox1->appendRow(path);
        CheckListBox1->setChecked(CheckListBox1->rowCount() - 1, true);
        CheckListBox2->appendRow(platform::fileNamePart(path));
        CheckListBox2->setChecked(CheckListBox2->rowCount() - 1, true);
    }
    updateListCounter();
    CheckListBox2->setUpdatesEnabled(true);
}

void TForm1::setRunningControlsEnabled(bool enabled)
{
    const QList<QWidget *> controls = {BitBtn1, BitBtn3, BitBtn4, Button5, CheckBox11, DirectoryListBox1,
                                       DriveComboBox1, BitBtn2, BitBtn5, BitBtn6, BitBtn7};
    for (QWidget *control : controls)
        control->setEnabled(enabled);
}

void TForm1::BitBtn1Click()
{
    controls::runGuarded([this] { backupRun(); });
}

void TForm1::backupRun()
{
    const QString windowsDirectory = platform::windowsDirectory();
    const auto windowsShort = platform::shortPathName(windowsDirectory);
    platform::throwOnError(windowsShort.error, windowsDirectory);

    QList<int> markedRows;
    QStringList markedPaths;
    for (int i = 0; i < CheckListBox1->rowCount(); ++i) {
        if (CheckListBox1->isChecked(i)) {
            markedRows.append(i);
            markedPaths.append(CheckListBox1->rowText(i));
        }
    }
    if (markedRows.isEmpty()) {
        controls::showMessageAfterBeep(controls::MessageType::Information,
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
        controls::showMessageAfterBeep(
            controls::MessageType::Warning, backup::duplicateNamesText(twins->first, twins->second));
        return;
    }
    if (const auto clash = backup::scriptNameClash(markedPaths)) {
        controls::showMessageAfterBeep(controls::MessageType::Warning, backup::scriptNameClashText(*clash));
        return;
    }

    setRunningControlsEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setWindowTitle(QStringLiteral("Die Sicherung läuft ..."));
    const QString base = backup::destinationBase(destination);
    backup::removeLeftoverTemporaries(destination);

    // The run's folders are listed once; their attribute records are written once, at its end.
    platform::FileRun fileRun;
    int saved = 0;
    int missing = 0;
    bool folderFailed = false;
    QList<int> savedRows;
    for (const int row : markedRows) {
        const QString source = CheckListBox1->rowText(row);
        if (!platform::fileExists(source)) {
            CheckListBox1->setGrayed(row);
            CheckListBox2->setGrayed(row);
            controls::showMessageAfterBeep(controls::MessageType::Information,
                QStringLiteral("Die folgende Datei konnte auf ihrem System nicht gefunden werden:")
                    + LineBreak + QLatin1Char(' ') + source + LineBreak
                    + QStringLiteral("Sie können sie somit aus der Sicherungsliste entfernen."),
                controls::MessageButton::Ok);
            ++missing;
            continue;
        }
        const QString target = backup::backupTarget(base, source);
        const backup::WriteOutcome copy = backup::copyIntoBackup(source, target);
        if (copy.folderFailed) {
            // No further copy can succeed: one message instead of one per file.
            folderFailed = true;
            controls::showMessageAfterBeep(
                controls::MessageType::Error, backup::folderFailureText(destination, copy.error));
            break;
        }
        if (!copy.ok()) {
            controls::showMessageAfterBeep(
                controls::MessageType::Warning, backup::copyFailureText(source, target, copy.error));
            continue;
        }
        ++saved;
        savedRows.append(row);
    }

    const QString script = base + QStringLiteral("\\Restore.bat");
    if (saved > 0 && !folderFailed) {
        // Short names in the backup folder are final only once every copy is there.
        QList<backup::ScriptFile> files;
        int scriptError = platform::dos::Ok;
        for (const int row : savedRows) {
            const QString source = CheckListBox1->rowText(row);
            const auto file = backup::scriptFileFor(source, backup::backupTarget(base, source),
                                                    CheckListBox2->rowText(row));
            if (!file.ok()) {
                scriptError = file.error;
                break;
            }
            files.append(file.value);
        }
        if (scriptError == platform::dos::Ok) {
            const QDateTime now = platform::now();
            scriptError = backup::writeRestoreScript(
                script, backup::composeRestoreScript(windowsShort.value, platform::shortDate(now),
                                                     platform::longTime(now), files));
        }
        if (scriptError != platform::dos::Ok)
            controls::showMessageAfterBeep(controls::MessageType::Warning, RestoreMayFailText);

        const QString suppliedPif = m_programDirectory + QStringLiteral("\\restore.pif");
        const QString pif = base + QStringLiteral("\\Restore.pif");
        if (!platform::fileExists(suppliedPif) || !backup::copyIntoBackup(suppliedPif, pif).ok())
            controls::showMessageAfterBeep(controls::MessageType::Error, RestoreMayFailText);
    }
    if (const int recorded = fileRun.finish())
        controls::showErrorReport(platform::fileErrorText(recorded));

    QGuiApplication::restoreOverrideCursor();
    setRunningControlsEnabled(true);

    int marked = missing;
    for (int i = 0; i < CheckListBox2->rowCount(); ++i)
        marked += CheckListBox2->isChecked(i) ? 1 : 0;
    StatusBar1->setPanelText(backup::finishRun(base, saved, missing, marked));
    DirectoryListBox1->setTextColor(platform::fileExists(script) ? QColor(0, 0, 255) : QColor(0, 0, 0));
    if (CheckBox11->isChecked())
        endApplication();
    setWindowTitle(QStringLiteral("Velko Save"));
}
