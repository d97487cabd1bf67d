// The backup workflow in the main window: list editing, destination, directories, backup run.
#include "backup/TForm6.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/OpenFileDialog.h"
#include "controls/StatusBar.h"
#include "emergency/TNotfall.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/FullDisk.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

using controls::CheckState;
using controls::MessageButton;

namespace {

const QString SettingsFile = ProgramDirectory + QStringLiteral("\\Orvel.ini");
const QString Backups = ProgramDirectory + QStringLiteral("\\Backups");

// The eleven system files with their usual attributes, and the supplied restore.pif.
void seedSystem(TestMachine &machine)
{
    for (const char *name : {"AUTOEXEC.BAT", "COMMAND.COM", "CONFIG.SYS"})
        machine.writeFile(QStringLiteral("C:\\") + QLatin1String(name), QByteArray("rem ") + name + "\r\n");
    for (const char *name : {"IO.SYS", "MSDOS.SYS"})
        machine.writeFile(QStringLiteral("C:\\") + QLatin1String(name), QByteArray("; ") + name + "\r\n", 7);
    for (const char *name : {"CONTROL.INI", "PROTOCOL.INI", "SYSTEM.INI", "WIN.INI"})
        machine.writeFile(QStringLiteral("C:\\WINDOWS\\") + QLatin1String(name),
                          QByteArray("[") + name + "]\r\n");
    for (const char *name : {"SYSTEM.DAT", "USER.DAT"})
        machine.writeFile(QStringLiteral("C:\\WINDOWS\\") + QLatin1String(name),
                          QByteArray("REGEDIT4 ") + name, 7);
    machine.writeFile(ProgramDirectory + QStringLiteral("\\restore.pif"), QByteArray(545, '\x01'));
}

// A started program whose list holds the given paths, all checked, and whose tree is on
// destination.
TForm1 &startWithList(ProgramFixture &program, const QStringList &paths, const QString &destination)
{
    QByteArray file = "[Sicherungsdateien]\r\n";
    for (const QString &path : paths)
        file += path.toLatin1() + "=1\r\n";
    file += "[Pfad]\r\nPfad=" + destination.toLatin1() + "\r\n";
    program.machine.writeFile(program.settingsFile(), file);
    TForm1 &form = program.start();
    program.user.events.clear();
    program.user.messages.clear();
    return form;
}

QList<QByteArray> scriptLines(TestMachine &machine, const QString &script)
{
    QList<QByteArray> lines = machine.readFile(script).split('\n');
    lines.removeLast();  // after the last CR LF
    return lines;
}

// Answers like the test user and, at the first dialog, changes the PC under the running backup.
struct InterferingUser : controls::MessageSeam {
    InterferingUser(TestUser &testUser, std::function<void()> interference)
        : user(testUser),
          interfere(std::move(interference))
    {
        controls::setMessageSeam(this);
    }
    ~InterferingUser() override { controls::setMessageSeam(&user); }
    MessageButton answer(const controls::ShownMessage &message) override
    {
        if (interfere)
            std::exchange(interfere, {})();
        return user.answer(message);
    }
    TestUser &user;
    std::function<void()> interfere;
};

// Reloads the PC with drive D: turned into a cd-rom drive on the same folder: nothing there can be
// written any more.
void makeDriveDReadOnly(TestMachine &machine)
{
    QFile ini(machine.folder() + QStringLiteral("/machine.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nC=fixed,drive_c\nD=cdrom,drive_d\n");
    ini.close();
    QString error;
    auto reloaded = platform::Machine::load(machine.folder(), &error);
    QVERIFY2(reloaded, qPrintable(error));
    platform::setMachine(std::move(reloaded));
}

const QString NothingSaved = QStringLiteral("Status: Es konnte keine Datei gesichert werden !");

}  // namespace

class BackupWorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void addFiles_data();
    void addFiles();
    void addFilesRefusesUnstorableName();
    void runRefusals_data();
    void runRefusals();
    void runRefusesClashingNames_data();
    void runRefusesClashingNames();
    void f5AfterFirstStartSavesTheElevenFiles();
    void runWithMissingFile();
    void windowIsBusyWhileTheRunWorks();
    void runThatSavesNothingLeavesNoScript();
    void runWhoseCopiesFailKeepsTheEarlierScript_data();
    void runWhoseCopiesFailKeepsTheEarlierScript();
    void scriptThatCannotBeWrittenKeepsTheEarlierOne();
    void runRemovesLeftoverTemporaries();
    void failingFolderStopsTheRun_data();
    void failingFolderStopsTheRun();
    void secondRunRefreshesProtectedCopies();
    void failedCopyIsReportedAndLeftOutOfTheScript();
    void autoQuitEndsTheProgramAfterTheRun();
    void driveChoice_data();
    void driveChoice();
    void floppyDriveOpensTheEmergencyDialog();
    void writeProbeSparesAnExistingFile();
    void createDirectory_data();
    void createDirectory();
    void createDirectoryKeepsTheLastName();
    void deletionRefusals_data();
    void deletionRefusals();
    void deletionAskedAndAnsweredNo();
    void deletionRemovesTheTreeAndStoresTheProgramDirectory();
};

void BackupWorkflowTest::addFiles_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QStringList>("warnedNames");
    QTest::newRow("new names are added")
        << QStringList{"D:\\Daten\\Brief.doc", "D:\\Daten\\Liste.txt"} << QStringList{};
    QTest::newRow("name in other case") << QStringList{"D:\\Daten\\WIN.INI"} << QStringList{"WIN.INI"};
    QTest::newRow("two clashes and a new name")
        << QStringList{"D:\\Daten\\Config.sys", "D:\\Daten\\Neu.txt", "D:\\Daten\\win.ini"}
        << QStringList{"Config.sys", "win.ini"};
}

void BackupWorkflowTest::addFiles()
{
    QFETCH(QStringList, chosen);
    QFETCH(QStringList, warnedNames);
    ProgramFixture program;
    TForm1 &form = startWithList(program, {"C:\\Config.sys", "C:\\WINDOWS\\Win.ini"}, ProgramDirectory);
    form.CheckListBox2->setCurrentRow(0);
    controls::OpenFileDialog::setNextSelection(chosen);
    form.CheckListBox2->setFocus();
    QTest::keyClick(form.CheckListBox2, Qt::Key_Insert);

    if (warnedNames.isEmpty()) {
        QVERIFY(program.user.events.isEmpty());
        QCOMPARE(form.CheckListBox1->rowCount(), 2 + chosen.size());
        for (int i = 0; i < chosen.size(); ++i) {
            QCOMPARE(form.CheckListBox1->rowText(2 + i), chosen[i]);
            QCOMPARE(form.CheckListBox2->rowText(2 + i), platform::fileNamePart(chosen[i]));
            QVERIFY(form.CheckListBox1->isChecked(2 + i));
            QVERIFY(form.CheckListBox2->isChecked(2 + i));
        }
        QCOMPARE(form.StatusBar2->panelText(),
                 QStringLiteral("%1 Datei(en) in Liste").arg(2 + chosen.size()));
        return;
    }
    QStringList expected;
    for (const QString &name : warnedNames) {
        expected << QStringLiteral("beep")
                 << QStringLiteral("message: Eine Datei mit dem Namen '") + name
                        + QStringLiteral(
                            "' befindet sich bereits in der Sicherungsliste !\n\r"
                            "Kein Dateiname darf hier 2x vorkommen. Der Vorgang wird deshalb abgebrochen.\n\r"
                            "Bitte wählen sie erneut die Datei(en) aus, die sie hinzufügen möchten.");
    }
    QCOMPARE(program.user.events, expected);
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QCOMPARE(form.CheckListBox1->rowCount(), 2);
    QCOMPARE(form.CheckListBox2->rowCount(), 2);
}

void BackupWorkflowTest::addFilesRefusesUnstorableName()
{
    ProgramFixture program;
    TForm1 &form = startWithList(program, {}, ProgramDirectory);
    controls::OpenFileDialog::setNextSelection(
        {QString::fromUtf8("D:\\\u041f\u0438\u0441\u044c\u043c\u043e.txt")});
    form.BitBtn2Click();
    QCOMPARE(form.CheckListBox1->rowCount(), 0);
    QCOMPARE(program.user.events.first(), QStringLiteral("beep"));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
}

void BackupWorkflowTest::runRefusals_data()
{
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<QString>("list");  // c: checked, u: unchecked, g: greyed rows
    QTest::addColumn<QString>("destination");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status");
    const QString none = QStringLiteral("Es muß zumindest eine Datei zur Sicherung ausgewählt werden !");
    const QString choose = QStringLiteral("Wählen sie zumindest eine Datei aus obiger Liste aus !");
    const QString notAllowed =
        QStringLiteral(" ist nicht erlaubt !\n\rBitte wählen sie ein anderes Verzeichnis !");
    const QString programFolder =
        QStringLiteral("Es kann nicht in das gleiche Verzeichnis, in dem\n\rVelko Save "
                       "installiert ist, gesichert werden !\n\rBitte wählen sie ein "
                       "anderes Verzeichnis !");
    QTest::newRow("empty list") << ProgramDirectory << ""
                                << "D:\\" << none << choose;
    QTest::newRow("nothing checked") << ProgramDirectory << "uu"
                                     << "D:\\" << none << choose;
    QTest::newRow("only greyed") << ProgramDirectory << "gu"
                                 << "D:\\" << none << choose;
    QTest::newRow("program directory") << ProgramDirectory << "c"
                                       << "c:\\programme\\velko save" << programFolder << "";
    QTest::newRow("program at a root") << "D:\\"
                                       << "c"
                                       << "D:\\" << programFolder << "";
    QTest::newRow("Windows directory in other case")
        << ProgramDirectory << "c"
        << "C:\\windows" << QStringLiteral("Die Sicherung nach C:\\WINDOWS") + notAllowed << "";
    QTest::newRow("C root") << ProgramDirectory << "c"
                            << "C:\\" << QStringLiteral("Die Sicherung nach C:\\") + notAllowed << "";
}

void BackupWorkflowTest::runRefusals()
{
    QFETCH(QString, workingDirectory);
    QFETCH(QString, list);
    QFETCH(QString, destination);
    QFETCH(QString, message);
    QFETCH(QString, status);
    ProgramFixture program(workingDirectory);
    seedSystem(program.machine);
    QStringList paths;
    for (int i = 0; i < list.size(); ++i)
        paths << QStringLiteral("C:\\Datei%1.txt").arg(i);
    TForm1 &form = startWithList(program, paths, destination);
    for (int i = 0; i < list.size(); ++i) {
        if (list[i] == QLatin1Char('u')) {
            form.CheckListBox1->setChecked(i, false);
            form.CheckListBox2->setChecked(i, false);
        } else if (list[i] == QLatin1Char('g')) {
            form.CheckListBox1->setGrayed(i);
            form.CheckListBox2->setGrayed(i);
        }
    }
    const QString statusBefore = form.StatusBar1->panelText();
    QTest::keyClick(&form, Qt::Key_F5);

    QCOMPARE(program.user.events, QStringList({"beep", "message: " + message}));
    QCOMPARE(program.user.messages.first().type,
             status.isEmpty() ? controls::MessageType::Warning : controls::MessageType::Information);
    QCOMPARE(form.StatusBar1->panelText(), status.isEmpty() ? statusBefore : status);
    QVERIFY(form.BitBtn1->isEnabled());
    QVERIFY(!platform::fileExists(platform::withoutRootBackslash(form.DirectoryListBox1->directory())
                                  + QStringLiteral("\\Restore.bat")));
}

void BackupWorkflowTest::runRefusesClashingNames_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<QString>("named");
    QTest::newRow("same name in two folders")
        << QStringList{"C:\\WINDOWS\\Win.ini", "D:\\Alt\\WIN.INI"} << "D:\\Alt\\WIN.INI";
    QTest::newRow("a file named like the script")
        << QStringList{"C:\\Config.sys", "D:\\Alt\\restore.BAT"} << "D:\\Alt\\restore.BAT";
}

void BackupWorkflowTest::runRefusesClashingNames()
{
    QFETCH(QStringList, list);
    QFETCH(QString, named);
    ProgramFixture program;
    seedSystem(program.machine);
    program.machine.writeFile(QStringLiteral("D:\\Alt\\WIN.INI"), "alt");
    program.machine.writeFile(QStringLiteral("D:\\Alt\\restore.BAT"), "alt");
    program.machine.makeDirectory(QStringLiteral("D:\\Ziel"));
    TForm1 &form = startWithList(program, list, QStringLiteral("D:\\Ziel"));
    form.BitBtn1Click();

    QCOMPARE(program.user.events.size(), 2);
    QCOMPARE(program.user.events.first(), QStringLiteral("beep"));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QVERIFY(program.user.messages.first().text.contains(named));
    QVERIFY(platform::files(QStringLiteral("D:\\Ziel")).value.isEmpty());
    QVERIFY(form.BitBtn1->isEnabled());
}

void BackupWorkflowTest::f5AfterFirstStartSavesTheElevenFiles()
{
    ProgramFixture program;
    seedSystem(program.machine);
    TForm1 &form = program.start();
    QTest::keyClick(&form, Qt::Key_F5);

    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es wurden alle 11 markierten Dateien gesichert !"));
    QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 255));
    QCOMPARE(program.machine.readFile(Backups + QStringLiteral("\\Io.sys")), QByteArray("; IO.SYS\r\n"));
    QCOMPARE(platform::fileAttributes(Backups + QStringLiteral("\\Io.sys")).value, quint8(7));
    QCOMPARE(scriptLines(program.machine, Backups + QStringLiteral("\\Restore.bat")).size(), 25 + 8 * 11);
    QCOMPARE(program.machine.readFile(Backups + QStringLiteral("\\Restore.pif")), QByteArray(545, '\x01'));
    QCOMPARE(form.windowTitle(), QStringLiteral("Velko Save"));
    QVERIFY(form.DriveComboBox1->isEnabled());
}

void BackupWorkflowTest::runWithMissingFile()
{
    ProgramFixture program;
    seedSystem(program.machine);
    TForm1 &form = startWithList(program, {"C:\\Fehlt.txt", "C:\\WINDOWS\\Win.ini"}, QStringLiteral("D:\\"));
    form.BitBtn1->click();

    QCOMPARE(
        program.user.events,
        QStringList({"beep", "message: Die folgende Datei konnte auf ihrem System nicht gefunden werden:\n\r "
                             "C:\\Fehlt.txt\n\rSie können sie somit aus der Sicherungsliste entfernen."}));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Information);
    QCOMPARE(form.CheckListBox1->state(0), CheckState::Grayed);
    QCOMPARE(form.CheckListBox2->state(0), CheckState::Grayed);
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es wurde 1 Datei von 2 markierten gesichert !"));
    const auto lines = scriptLines(program.machine, QStringLiteral("D:\\Restore.bat"));
    QCOMPARE(lines.size(), 33);
    QCOMPARE(lines[22],
             QByteArray("if exist C:\\WINDOWS\\WIN.INI attrib C:\\WINDOWS\\WIN.INI -r -h -s -a\r"));
    QCOMPARE(lines[25], QByteArray("attrib C:\\WINDOWS\\WIN.INI +a\r"));
    QVERIFY(platform::fileExists(QStringLiteral("D:\\Win.ini")));

    // A greyed row is not marked: the next run neither copies nor reports it.
    program.user.events.clear();
    form.BitBtn1->click();
    QVERIFY(program.user.events.isEmpty());
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Status: Es wurde 1 markierte Datei gesichert !"));
}

void BackupWorkflowTest::windowIsBusyWhileTheRunWorks()
{
    // The missing file's message comes while the run works: it shows the window's state then.
    struct Observer : controls::MessageSeam {
        TForm1 *form = nullptr;
        QString caption;
        QStringList enabled;
        bool hourglass = false;
        MessageButton answer(const controls::ShownMessage &) override
        {
            caption = form->windowTitle();
            for (QWidget *control : form->findChildren<QWidget *>()) {
                if (control->isEnabled() && !control->objectName().isEmpty() && control->isVisibleTo(form)
                    && control->focusPolicy() != Qt::NoFocus)
                    enabled << control->objectName();
            }
            hourglass =
                QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            return MessageButton::Ok;
        }
    };
    ProgramFixture program;
    seedSystem(program.machine);
    TForm1 &form = startWithList(program, {"C:\\Fehlt.txt"}, QStringLiteral("D:\\"));
    Observer observer;
    observer.form = &form;
    controls::setMessageSeam(&observer);
    form.BitBtn1Click();
    controls::setMessageSeam(&program.user);

    QCOMPARE(observer.caption, QStringLiteral("Die Sicherung läuft ..."));
    QVERIFY(observer.hourglass);
    QCOMPARE(observer.enabled, QStringList({"CheckListBox2"}));  // the list stays enabled
    QCOMPARE(form.windowTitle(), QStringLiteral("Velko Save"));
    QVERIFY(!QApplication::overrideCursor());
    for (QWidget *control :
         {static_cast<QWidget *>(form.BitBtn1), static_cast<QWidget *>(form.DirectoryListBox1),
          static_cast<QWidget *>(form.DriveComboBox1), static_cast<QWidget *>(form.CheckBox11)})
        QVERIFY(control->isEnabled());
}

void BackupWorkflowTest::runThatSavesNothingLeavesNoScript()
{
    ProgramFixture program;
    seedSystem(program.machine);
    program.machine.makeDirectory(QStringLiteral("D:\\Alt"));
    program.machine.writeFile(QStringLiteral("D:\\Alt\\Restore.bat"), "echo off\r\n");
    program.machine.writeFile(QStringLiteral("D:\\Alt\\Restore.pif"), "pif");
    TForm1 &form = startWithList(program, {"C:\\Fehlt1.txt", "C:\\Fehlt2.txt"}, QStringLiteral("D:\\Alt"));
    QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 255));
    form.BitBtn1Click();

    QCOMPARE(program.user.events.count(QStringLiteral("beep")), 2);
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es konnte keine Datei gesichert werden !"));
    QVERIFY(!platform::fileExists(QStringLiteral("D:\\Alt\\Restore.bat")));
    QVERIFY(!platform::fileExists(QStringLiteral("D:\\Alt\\Restore.pif")));
    QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 0));
}

void BackupWorkflowTest::runWhoseCopiesFailKeepsTheEarlierScript_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("a folder where the copy goes") << false;
    QTest::newRow("disk full") << true;
}

void BackupWorkflowTest::runWhoseCopiesFailKeepsTheEarlierScript()
{
    QFETCH(bool, diskFull);
    ProgramFixture program;
    seedSystem(program.machine);
    program.machine.writeFile(QStringLiteral("C:\\Gross.dat"), QByteArray(5000, 'x'));
    program.machine.writeFile(QStringLiteral("D:\\Ziel\\Restore.bat"), "echo alt\r\n");
    program.machine.writeFile(QStringLiteral("D:\\Ziel\\Restore.pif"), "pif");
    if (!diskFull)
        program.machine.makeDirectory(QStringLiteral("D:\\Ziel\\Gross.dat"));
    TForm1 &form = startWithList(program, {"C:\\Gross.dat"}, QStringLiteral("D:\\Ziel"));
    {
        std::optional<FullDisk> full;
        if (diskFull)
            full.emplace(1000);
        form.BitBtn1Click();
    }

    QCOMPARE(program.user.events.size(), 2);  // the beep and the failure
    QCOMPARE(form.StatusBar1->panelText(),
             NothingSaved + QStringLiteral(" Die Restore.bat der früheren Sicherung bleibt erhalten."));
    QCOMPARE(program.machine.readFile(QStringLiteral("D:\\Ziel\\Restore.bat")), QByteArray("echo alt\r\n"));
    QCOMPARE(program.machine.readFile(QStringLiteral("D:\\Ziel\\Restore.pif")), QByteArray("pif"));
    QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 255));
}

void BackupWorkflowTest::scriptThatCannotBeWrittenKeepsTheEarlierOne()
{
    ProgramFixture program;
    seedSystem(program.machine);
    program.machine.writeFile(QStringLiteral("D:\\Ziel\\Restore.bat"), "echo alt\r\n");
    TForm1 &form = startWithList(program, {"C:\\Config.sys"}, QStringLiteral("D:\\Ziel"));
    {
        const FullDisk full(1000);  // the copies fit, the script does not
        form.BitBtn1Click();
    }

    QCOMPARE(program.user.events,
             QStringList({"beep", "message: Möglicherweise können die gesicherten Dateien nicht\n\rüber "
                                  "\"Wiederherstellen\" zurückgeschrieben werden !"}));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QCOMPARE(program.machine.readFile(QStringLiteral("D:\\Ziel\\Restore.bat")), QByteArray("echo alt\r\n"));
    QCOMPARE(platform::files(QStringLiteral("D:\\Ziel")).value,
             QStringList({"Config.sys", "Restore.bat", "Restore.pif"}));
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Status: Es wurde 1 markierte Datei gesichert !"));
}

void BackupWorkflowTest::runRemovesLeftoverTemporaries()
{
    ProgramFixture program;
    seedSystem(program.machine);
    // What a killed run leaves: a temporary copy of IO.SYS, with its attributes.
    program.machine.writeFile(QStringLiteral("D:\\Ziel\\~VS1A2B.TMP"), "; IO", 7);
    program.machine.writeFile(QStringLiteral("D:\\Ziel\\~VS1A2B.TXT"), "Notiz");
    TForm1 &form = startWithList(program, {"C:\\Config.sys"}, QStringLiteral("D:\\Ziel"));
    form.BitBtn1Click();

    QVERIFY(program.user.events.isEmpty());
    QCOMPARE(platform::files(QStringLiteral("D:\\Ziel")).value,
             QStringList({"Config.sys", "Restore.bat", "Restore.pif", "~VS1A2B.TXT"}));
}

void BackupWorkflowTest::failingFolderStopsTheRun_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder removed") << "removed"
                                    << "Das Verzeichnis ist nicht mehr vorhanden.";
    QTest::newRow("drive turned read-only")
        << "read-only"
        << "In das Verzeichnis kann nicht geschrieben werden (Dateizugriff verweigert).";
    QTest::newRow("disk full") << "full"
                               << "Auf dem Datenträger ist nicht genügend Speicherplatz frei.";
}

// The fault strikes after the first copy, while the missing file's message is open (the full disk
// only at the large file).
void BackupWorkflowTest::failingFolderStopsTheRun()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);
    ProgramFixture program;
    seedSystem(program.machine);
    program.machine.writeFile(QStringLiteral("C:\\Gross.dat"), QByteArray(5000, 'x'));
    program.machine.makeDirectory(QStringLiteral("D:\\Ziel"));
    TForm1 &form =
        startWithList(program, {"C:\\Config.sys", "C:\\Fehlt.txt", "C:\\Gross.dat", "C:\\WINDOWS\\Win.ini"},
                      QStringLiteral("D:\\Ziel"));
    const QString hostFolder = program.machine.host(QStringLiteral("D:\\Ziel"));
    {
        InterferingUser user(program.user, [&] {
            if (fault == QLatin1String("removed"))
                QVERIFY(QDir(hostFolder).removeRecursively());
            else if (fault == QLatin1String("read-only"))
                makeDriveDReadOnly(program.machine);
        });
        std::optional<FullDisk> full;
        if (fault == QLatin1String("full"))
            full.emplace(1000);
        form.BitBtn1Click();
    }

    QCOMPARE(program.user.events.size(), 4);
    QCOMPARE(program.user.events[1],
             QStringLiteral("message: Die folgende Datei konnte auf ihrem System nicht gefunden werden:\n\r "
                            "C:\\Fehlt.txt\n\rSie können sie somit aus der Sicherungsliste entfernen."));
    QCOMPARE(program.user.events[3],
             QStringLiteral("message: Die Sicherung nach D:\\Ziel wurde abgebrochen:\n\r") + reason
                 + QStringLiteral("\n\rRestore.bat und Restore.pif wurden nicht neu "
                                  "geschrieben."));
    QCOMPARE(program.user.messages[1].type, controls::MessageType::Error);
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es wurde 1 Datei von 4 markierten gesichert !"));
    QVERIFY(!platform::fileExists(QStringLiteral("D:\\Ziel\\Win.ini")));
    QVERIFY(!platform::fileExists(QStringLiteral("D:\\Ziel\\Restore.bat")));
    QVERIFY(form.CheckListBox1->isChecked(2));
    QVERIFY(form.CheckListBox1->isChecked(3));
    QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 0));
    QVERIFY(form.BitBtn1->isEnabled());
}

void BackupWorkflowTest::secondRunRefreshesProtectedCopies()
{
    ProgramFixture program;
    seedSystem(program.machine);
    TForm1 &form = startWithList(program, {"C:\\Io.sys", "C:\\Config.sys"}, QStringLiteral("D:\\"));
    form.BitBtn1Click();
    QCOMPARE(platform::fileAttributes(QStringLiteral("D:\\Io.sys")).value, quint8(7));

    QCOMPARE(platform::setFileAttributes(QStringLiteral("C:\\IO.SYS"), 0), platform::dos::Ok);
    program.machine.writeFile(QStringLiteral("C:\\IO.SYS"), "; neu\r\n", 7);
    program.user.events.clear();
    form.BitBtn1Click();

    QVERIFY(program.user.events.isEmpty());
    QCOMPARE(program.machine.readFile(QStringLiteral("D:\\Io.sys")), QByteArray("; neu\r\n"));
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es wurden alle 2 markierten Dateien gesichert !"));
    QCOMPARE(scriptLines(program.machine, QStringLiteral("D:\\Restore.bat")).size(), 25 + 16);
}

void BackupWorkflowTest::failedCopyIsReportedAndLeftOutOfTheScript()
{
    ProgramFixture program;
    seedSystem(program.machine);
    // A folder named like the file stands where its copy would go.
    program.machine.makeDirectory(QStringLiteral("D:\\Ziel\\Win.ini"));
    TForm1 &form =
        startWithList(program, {"C:\\WINDOWS\\Win.ini", "C:\\Config.sys"}, QStringLiteral("D:\\Ziel"));
    form.BitBtn1Click();

    QCOMPARE(program.user.events.size(), 2);
    QCOMPARE(program.user.events.first(), QStringLiteral("beep"));
    QVERIFY(program.user.messages.first().text.contains(QStringLiteral("C:\\WINDOWS\\Win.ini")));
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es wurde 1 Datei von 2 markierten gesichert !"));
    const auto lines = scriptLines(program.machine, QStringLiteral("D:\\Ziel\\Restore.bat"));
    QCOMPARE(lines.size(), 33);
    QCOMPARE(lines[24], QByteArray("copy CONFIG.SYS C:\\CONFIG.SYS\r"));
    QVERIFY(form.CheckListBox1->isChecked(0));
}

void BackupWorkflowTest::autoQuitEndsTheProgramAfterTheRun()
{
    ProgramFixture program;
    seedSystem(program.machine);
    TForm1 &form = startWithList(program, {"C:\\Fehlt.txt"}, QStringLiteral("D:\\"));
    form.CheckBox11->setChecked(true);
    QSignalSpy ending(&form, &TForm1::applicationEnding);
    form.BitBtn1Click();
    QCOMPARE(ending.count(), 1);
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Es konnte keine Datei gesichert werden !"));
}

void BackupWorkflowTest::driveChoice_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("second disk") << "D" << true;
    QTest::newRow("empty CD drive") << "E" << false;
    QTest::newRow("CD with a disc") << "F" << false;
}

void BackupWorkflowTest::driveChoice()
{
    QFETCH(QString, letter);
    QFETCH(bool, accepted);
    ProgramFixture program;
    program.machine.writeFile(QStringLiteral("D:\\Restore.bat"), "echo off\r\n");
    TForm1 &form = startWithList(program, {}, ProgramDirectory);
    form.DriveComboBox1->setDrive(letter.at(0));

    if (accepted) {
        QVERIFY(program.user.events.isEmpty());
        QCOMPARE(form.DirectoryListBox1->directory(), QStringLiteral("D:\\"));
        QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach D:\\"));
        QCOMPARE(form.DirectoryListBox1->textColor(), QColor(0, 0, 255));
        QCOMPARE(platform::files(QStringLiteral("D:\\")).value, QStringList({"Restore.bat"}));
        return;
    }
    QCOMPARE(
        program.user.events,
        QStringList(
            {"beep", "message: Nach Laufwerk " + letter
                         + ":\\ kann nicht gesichert werden !\n\rBitte wählen sie ein anderes Laufwerk !"}));
    QCOMPARE(form.DirectoryListBox1->directory(), ProgramDirectory);
    QCOMPARE(form.DriveComboBox1->drive(), QChar('C'));
}

void BackupWorkflowTest::floppyDriveOpensTheEmergencyDialog()
{
    ProgramFixture program;
    TForm1 &form = startWithList(program, {}, QStringLiteral("D:\\"));
    TNotfall *notfall = nullptr;
    QTimer::singleShot(0, [&notfall] {
        notfall = qobject_cast<TNotfall *>(QApplication::activeModalWidget());
        if (notfall)
            notfall->close();
    });
    form.DriveComboBox1->setDrive(QChar('A'));
    QVERIFY(notfall);
    QCOMPARE(notfall->windowTitle(), QStringLiteral("Notfalldiskette anfertigen (Laufwerk A:\\ )"));
    QCOMPARE(form.DirectoryListBox1->directory(), ProgramDirectory);
    QCOMPARE(form.DriveComboBox1->drive(), QChar('C'));
}

void BackupWorkflowTest::writeProbeSparesAnExistingFile()
{
    ProgramFixture program;
    program.machine.writeFile(QStringLiteral("D:\\Test"), "wichtig");
    TForm1 &form = startWithList(program, {}, ProgramDirectory);
    form.DriveComboBox1->setDrive(QChar('D'));
    QCOMPARE(program.machine.readFile(QStringLiteral("D:\\Test")), QByteArray("wichtig"));
    QCOMPARE(platform::files(QStringLiteral("D:\\")).value, QStringList({"Test"}));
    QCOMPARE(form.DirectoryListBox1->directory(), QStringLiteral("D:\\"));
}

void BackupWorkflowTest::createDirectory_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("created");  // empty: refused with the name warning
    QTest::newRow("below a root") << "C:\\"
                                  << "Neu"
                                  << "C:\\Neu";
    QTest::newRow("nested") << "D:\\"
                            << "a\\b"
                            << "D:\\a\\b";
    QTest::newRow("existing") << ProgramDirectory << "Backups" << Backups;
    QTest::newRow("initial text") << "D:\\"
                                  << "Verzeichnisname (z. B. 'Juni 1999')"
                                  << "D:\\Verzeichnisname (z. B. 'Juni 1999')";
    QTest::newRow("colon") << "D:\\"
                           << "a:b"
                           << "";
    QTest::newRow("asterisk") << "D:\\"
                              << "Juni*"
                              << "";
}

void BackupWorkflowTest::createDirectory()
{
    QFETCH(QString, tree);
    QFETCH(QString, name);
    QFETCH(QString, created);
    ProgramFixture program;
    TForm1 &form = program.start();
    program.user.events.clear();
    QCOMPARE(form.DirectoryListBox1->setDirectory(tree), platform::dos::Ok);

    // "&OK" in the dialog the command shows; a refused name leaves it open, to be closed here.
    QString toolTip;
    bool openAfterOk = false;
    QString nameAfterOk;
    QString treeAfterOk;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<TForm6 *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        watcher.stop();
        dialog->Edit1->setText(name);
        dialog->BitBtn1MouseMove();
        toolTip = dialog->BitBtn1->toolTip();
        dialog->BitBtn1Click();
        openAfterOk = dialog->isVisible();
        nameAfterOk = dialog->Edit1->text();
        treeAfterOk = form.DirectoryListBox1->directory();
        if (openAfterOk)
            dialog->close();
    });
    watcher.start();
    form.NeuesVerzeichniserstellen1Click();
    QCOMPARE(toolTip,
             QStringLiteral("Anlegen: ") + platform::withoutRootBackslash(tree) + QLatin1Char('\\') + name);

    if (created.isEmpty()) {
        QCOMPARE(program.user.events,
                 QStringList({"beep",
                              "message: Der Verzeichnisnamen darf keines der folgenden Zeichen enthalten:\n\r"
                              "  \\ / : * ? \" < > |"}));
        QVERIFY(openAfterOk);
        QCOMPARE(nameAfterOk, name);
        QCOMPARE(treeAfterOk, tree);
        QCOMPARE(form.DirectoryListBox1->directory(), tree);
        return;
    }
    QVERIFY(program.user.events.isEmpty());
    QVERIFY(platform::directoryExists(created));
    QCOMPARE(form.DirectoryListBox1->directory(), created);
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach ") + created);
    QVERIFY(!openAfterOk);
}

void BackupWorkflowTest::createDirectoryKeepsTheLastName()
{
    ProgramFixture program;
    program.start();
    TForm6 dialog;
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("Verzeichnisname (z. B. 'Juni 1999')"));
    dialog.show();
    dialog.Edit1->setText(QStringLiteral("Juni 1999"));
    dialog.BitBtn2->click();
    QVERIFY(!dialog.isVisible());
    dialog.show();
    QCOMPARE(dialog.Edit1->text(), QStringLiteral("Juni 1999"));
    QCOMPARE(dialog.focusWidget(), dialog.Edit1);
    QVERIFY(!platform::directoryExists(Backups + QStringLiteral("\\Juni 1999")));
}

void BackupWorkflowTest::deletionRefusals_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("message");
    QTest::newRow("root of C") << "C:\\"
                               << "Laufwerk C:\\ kann nicht gelöscht werden !";
    QTest::newRow("root of D") << "D:\\"
                               << "Laufwerk D:\\ kann nicht gelöscht werden !";
    QTest::newRow("program directory in other case")
        << "C:\\PROGRAMME\\VELKO SAVE"
        << "Das Velko Save- Verzeichnis darf nicht gelöscht werden !";
    QTest::newRow("folder holding the program") << "C:\\Programme"
                                                << "Das Velko Save- Verzeichnis darf nicht gelöscht werden !";
}

void BackupWorkflowTest::deletionRefusals()
{
    QFETCH(QString, tree);
    QFETCH(QString, message);
    ProgramFixture program;
    TForm1 &form = program.start();
    QCOMPARE(form.DirectoryListBox1->setDirectory(tree), platform::dos::Ok);
    program.user.events.clear();
    const QByteArray settingsBefore = program.machine.readFile(SettingsFile);
    form.BitBtn7->click();
    QCOMPARE(program.user.events, QStringList({"beep", "message: " + message}));
    QVERIFY(platform::directoryExists(tree));
    QCOMPARE(program.machine.readFile(SettingsFile), settingsBefore);
}

void BackupWorkflowTest::deletionAskedAndAnsweredNo()
{
    ProgramFixture program;
    program.machine.makeDirectory(QStringLiteral("D:\\Sicherung"));
    TForm1 &form = startWithList(program, {}, QStringLiteral("D:\\Sicherung"));
    const QByteArray settingsBefore = program.machine.readFile(SettingsFile);
    program.user.queueAnswer(MessageButton::No);
    form.Verzeichnislschen1Click();

    QCOMPARE(program.user.events,
             QStringList({"beep",
                          "message: ACHTUNG: Sie sind im Begriff, folgendes Verzeichnis\n\rincl. aller "
                          "Unterverzeichnisse und Dateien zu löschen:\n\r\n\rD:\\Sicherung\n\r\n\rSind sie "
                          "wirklich sicher, daß sie dieses Verzeichnis\n\rlöschen wollen ?"}));
    QCOMPARE(program.user.messages.first().buttons, MessageButton::Yes | MessageButton::No);
    QVERIFY(platform::directoryExists(QStringLiteral("D:\\Sicherung")));
    QCOMPARE(program.machine.readFile(SettingsFile), settingsBefore);
}

void BackupWorkflowTest::deletionRemovesTheTreeAndStoresTheProgramDirectory()
{
    ProgramFixture program;
    program.machine.makeDirectory(QStringLiteral("D:\\Sicherung\\Juni\\Tief"));
    program.machine.writeFile(QStringLiteral("D:\\Sicherung\\Juni\\Io.sys"), "io", 7);
    program.machine.writeFile(QStringLiteral("D:\\Sicherung\\Juni\\Tief\\Brief.doc"), "brief");
    TForm1 &form = startWithList(program, {"C:\\A.txt"}, QStringLiteral("D:\\Sicherung\\Juni"));
    program.user.queueAnswer(MessageButton::Yes);
    form.Verzeichnislschen1Click();

    QVERIFY(!platform::directoryExists(QStringLiteral("D:\\Sicherung\\Juni")));
    QCOMPARE(form.DirectoryListBox1->directory(), QStringLiteral("D:\\Sicherung"));
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach D:\\Sicherung"));
    QCOMPARE(
        program.machine.readFile(SettingsFile),
        QByteArray("[Sicherungsdateien]\r\nC:\\A.txt=1\r\n[Pfad]\r\nPfad=C:\\Programme\\Velko Save\r\n"));
    QCOMPARE(program.user.events.size(), 2);  // the beep and the question
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(BackupWorkflowTest)
#include "BackupWorkflowTest.moc"
