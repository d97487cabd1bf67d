// The main window's start-up work on a simulated PC: first start, stored settings, failures.
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/StatusBar.h"
#include "platform/drives/Files.h"
#include "platform/shell/MsDosModeRecord.h"
#include "platform/shell/ShellLink.h"
#include "restore/core/AutostartShortcut.h"
#include "tests/app/ProgramFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(platform::BatchEnd)

namespace {

const QString SettingsFile = ProgramDirectory + QStringLiteral("\\Orvel.ini");
const QString Autostart = QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart");
const QString Saved = QStringLiteral("Status: Die aktuellen Einstellungen wurden gespeichert !");
const QString Record = Autostart + QStringLiteral("\\MSDOSMOD.ERG");
const QString Script = QStringLiteral("C:\\Programme\\Velko Save\\Backups\\Restore.bat");

// The autostart shortcut the restore dialog leaves: a real one, to the program.
void writeAutostartShortcut(const QString &path)
{
    platform::ShellLink link;
    link.targetPath = ProgramDirectory + QStringLiteral("\\Orvel.exe");
    link.workingDirectory = ProgramDirectory + QStringLiteral("\\");
    QCOMPARE(platform::writeShellLink(path, link), platform::dos::Ok);
}

QByteArray defaultFile()
{
    return QByteArray(
        "[Sicherungsdateien]\r\nC:\\Autoexec.bat=1\r\nC:\\Command.com=1\r\nC:\\Config.sys=1\r\n"
        "C:\\WINDOWS\\Control.ini=1\r\nC:\\Io.sys=1\r\nC:\\Msdos.sys=1\r\n"
        "C:\\WINDOWS\\Protocol.ini=1\r\nC:\\WINDOWS\\System.dat=1\r\nC:\\WINDOWS\\System.ini=1\r\n"
        "C:\\WINDOWS\\User.dat=1\r\nC:\\WINDOWS\\Win.ini=1\r\n[Pfad]\r\n"
        "Pfad=C:\\Programme\\Velko Save\\Backups\r\n[Optionen]\r\nAutomatisch beenden=0\r\n"
        "Kurzhilfe=1\r\n");
}

QStringList rowTexts(const controls::CheckListBox &list)
{
    QStringList texts;
    for (int i = 0; i < list.rowCount(); ++i)
        texts << list.rowText(i);
    return texts;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartWritesDefaultsAndWelcomes();
    void firstLineDecidesWhetherTheFileIsKept_data();
    void firstLineDecidesWhetherTheFileIsKept();
    void emptyFileGivesEmptyListAndOptionsOn();
    void storedOptions_data();
    void storedOptions();
    void storedDestination_data();
    void storedDestination();
    void workingDirectoryAtDriveRoot();
    void autostartShortcutIsDeletedAndReported();
    void recordOfTheRestoreDecidesTheMessage_data();
    void recordOfTheRestoreDecidesTheMessage();
    void recordStaysWithAShortcutThatCannotBeDeleted();
    void shortcutThatCannotBeDeletedIsReportedAndStartupGoesOn();
    void saveRefusedWhileTheProgramDirectoryIsUnknown();
    void failedStepEndsStartupButWindowStaysUsable_data();
    void failedStepEndsStartupButWindowStaysUsable();
    void unreadableSettingsFileIsNeverOverwritten_data();
    void unreadableSettingsFileIsNeverOverwritten();
};

void StartupTest::firstStartWritesDefaultsAndWelcomes()
{
    ProgramFixture program;
    TForm1 &form = program.start();

    QCOMPARE(program.machine.readFile(SettingsFile), defaultFile());
    QCOMPARE(form.programDirectory(), ProgramDirectory);
    QCOMPARE(form.windowsDirectory(), QStringLiteral("C:\\WINDOWS"));
    QCOMPARE(rowTexts(*form.CheckListBox2),
             QStringList({"Autoexec.bat", "Command.com", "Config.sys", "Control.ini", "Io.sys", "Msdos.sys",
                          "Protocol.ini", "System.dat", "System.ini", "User.dat", "Win.ini"}));
    QCOMPARE(rowTexts(*form.CheckListBox1).first(), QStringLiteral("C:\\Autoexec.bat"));
    QCOMPARE(rowTexts(*form.CheckListBox1).last(), QStringLiteral("C:\\WINDOWS\\Win.ini"));
    for (int i = 0; i < 11; ++i) {
        QVERIFY(form.CheckListBox1->isChecked(i));
        QVERIFY(form.CheckListBox2->isChecked(i));
    }
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Willkommen zum ersten Start von Velko Save 1.3 !"));
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("11 Datei(en) in Liste"));
    QVERIFY(platform::directoryExists(ProgramDirectory + QStringLiteral("\\Backups")));
    QCOMPARE(form.DirectoryListBox1->directory(), ProgramDirectory + QStringLiteral("\\Backups"));
    QCOMPARE(program.user.events, QStringList({"help: 1"}));
    QVERIFY(!form.CheckBox11->isChecked());
    QVERIFY(!form.Automatisch1->isChecked());
    QVERIFY(form.Kurzhinweise1->isChecked());
}

void StartupTest::firstLineDecidesWhetherTheFileIsKept_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("replaced");
    const QByteArray rest = "\r\n[Sicherungsdateien]\r\nD:\\Brief.doc=1\r\n[Pfad]\r\nPfad=D:\\\r\n";
    QTest::newRow("[VK]") << QByteArray("[VK]") + rest << true;
    QTest::newRow("0") << QByteArray("0") + rest << true;
    QTest::newRow("1") << QByteArray("1") + rest << true;
    QTest::newRow("[vk]") << QByteArray("[vk]") + rest << false;
    QTest::newRow("blank and 0") << QByteArray(" 0") + rest << false;
}

void StartupTest::firstLineDecidesWhetherTheFileIsKept()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, replaced);
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, contents);
    TForm1 &form = program.start();

    if (replaced) {
        QCOMPARE(program.machine.readFile(SettingsFile), defaultFile());
        QCOMPARE(form.CheckListBox2->rowCount(), 11);
        QCOMPARE(form.StatusBar1->panelText(),
                 QStringLiteral("Willkommen zum ersten Start von Velko Save 1.3 !"));
        QCOMPARE(program.user.events, QStringList({"help: 1"}));
    } else {
        QCOMPARE(program.machine.readFile(SettingsFile), contents);
        QCOMPARE(rowTexts(*form.CheckListBox1), QStringList({"D:\\Brief.doc"}));
        QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach D:\\"));
        QVERIFY(program.user.events.isEmpty());
    }
}

void StartupTest::emptyFileGivesEmptyListAndOptionsOn()
{
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, QByteArray());
    TForm1 &form = program.start();

    QCOMPARE(form.CheckListBox2->rowCount(), 0);
    QCOMPARE(form.CheckListBox1->rowCount(), 0);
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("0 Datei(en) in Liste"));
    QCOMPARE(form.DirectoryListBox1->directory(), ProgramDirectory);
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach ") + ProgramDirectory);
    QVERIFY(form.Kurzhinweise1->isChecked());
    QVERIFY(form.CheckBox11->isChecked());
    QVERIFY(form.Automatisch1->isChecked());
    QVERIFY(program.user.events.isEmpty());
    QVERIFY(!platform::directoryExists(ProgramDirectory + QStringLiteral("\\Backups")));
}

void StartupTest::storedOptions_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<bool>("autoQuit");
    QTest::addColumn<bool>("shortHelp");
    QTest::newRow("no Kurzhilfe key") << QByteArray("Automatisch beenden=0\r\n") << false << true;
    QTest::newRow("no Automatisch beenden key") << QByteArray("Kurzhilfe=0\r\n") << true << false;
    QTest::newRow("both off") << QByteArray("Automatisch beenden=0\r\nKurzhilfe=0\r\n") << false << false;
    QTest::newRow("2 and a word") << QByteArray("Automatisch beenden=2\r\nKurzhilfe=ja\r\n") << true << true;
    QTest::newRow("keys in other case")
        << QByteArray("AUTOMATISCH BEENDEN=0\r\nkurzhilfe=0\r\n") << false << false;
}

void StartupTest::storedOptions()
{
    QFETCH(QByteArray, options);
    QFETCH(bool, autoQuit);
    QFETCH(bool, shortHelp);
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, "[Optionen]\r\n" + options);
    TForm1 &form = program.start();

    QCOMPARE(form.CheckBox11->isChecked(), autoQuit);
    QCOMPARE(form.Automatisch1->isChecked(), autoQuit);
    QCOMPARE(form.Kurzhinweise1->isChecked(), shortHelp);
    QCOMPARE(form.BitBtn1->toolTip().isEmpty(), !shortHelp);
    QCOMPARE(form.BitBtn3->cursor().shape(), shortHelp ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void StartupTest::storedDestination_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("drive root") << "D:\\"
                                << "D:\\";
    QTest::newRow("directory in other case") << "d:\\daten"
                                             << "D:\\Daten";
    QTest::newRow("directory gone") << "D:\\Fehlt" << ProgramDirectory;
    QTest::newRow("drive gone") << "Q:\\Backups" << ProgramDirectory;
    QTest::newRow("drive not ready") << "E:\\" << ProgramDirectory;
}

void StartupTest::storedDestination()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    ProgramFixture program;
    program.machine.makeDirectory(QStringLiteral("D:\\Daten"));
    program.machine.writeFile(SettingsFile, "[Pfad]\r\nPfad=" + stored.toLatin1() + "\r\n");
    TForm1 &form = program.start();

    QCOMPARE(form.DirectoryListBox1->directory(), shown);
    QCOMPARE(form.StatusBar1->panelText(), QStringLiteral("Sicherung nach ") + shown);
    QVERIFY(program.user.events.isEmpty());
}

void StartupTest::workingDirectoryAtDriveRoot()
{
    ProgramFixture program(QStringLiteral("D:\\"));
    TForm1 &form = program.start();

    QCOMPARE(form.programDirectory(), QStringLiteral("D:"));
    QCOMPARE(form.settingsPath(), QStringLiteral("D:\\Orvel.ini"));
    QVERIFY(program.machine.readFile(QStringLiteral("D:\\Orvel.ini")).contains("Pfad=D:\\Backups\r\n"));
    QCOMPARE(form.DirectoryListBox1->directory(), QStringLiteral("D:\\Backups"));
}

void StartupTest::autostartShortcutIsDeletedAndReported()
{
    ProgramFixture program;
    const QString shortcut = restore::autostartShortcutPath();
    program.machine.writeFile(shortcut, QByteArray("L\0\0\0", 4));
    program.start();

    QVERIFY(!platform::fileExists(shortcut));
    QCOMPARE(program.user.events.mid(0, 2),
             QStringList({"beep", "message: 'Velko Restore' wurde ausgeführt !"}));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Information);
    QCOMPARE(program.user.messages.first().buttons, controls::MessageButtons(controls::MessageButton::Ok));

    program.user.events.clear();
    program.start();
    QVERIFY(program.user.events.isEmpty());
}

void StartupTest::recordOfTheRestoreDecidesTheMessage_data()
{
    using platform::BatchEnd;
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<BatchEnd>("end");
    QTest::addColumn<bool>("olderThanShortcut");
    QTest::addColumn<QString>("message");
    const QString ran = QStringLiteral("'Velko Restore' wurde ausgeführt !");
    const QString notRun = QStringLiteral("'Velko Restore' wurde nicht ausgeführt !\n\rDas Skript ") + Script;
    const QString partly =
        QStringLiteral("'Velko Restore' wurde nicht vollständig ausgeführt !\n\rDas Skript ") + Script;
    const QString nothingRestored = QStringLiteral("\n\rEs wurden keine Dateien wiederhergestellt.");
    const QString partlyRestored = QStringLiteral(
        "\n\rDie Sicherungsdateien wurden höchstens zum Teil wiederhergestellt; Systemdateien wie Io.sys "
        "können dabei ihre Attribute verloren haben.");
    const QString advice = QStringLiteral("\n\rBitte prüfen sie die Sicherung und wiederholen sie die "
                                          "Wiederherstellung, oder verwenden sie die Notfalldiskette.");
    QTest::newRow("no record") << false << BatchEnd::Completed << false << ran;
    QTest::newRow("ran to its end") << true << BatchEnd::Completed << false << ran;
    QTest::newRow("an earlier run's record") << true << BatchEnd::NotFound << true << ran;
    QTest::newRow("not found") << true << BatchEnd::NotFound << false
                               << notRun + QStringLiteral(" wurde nicht gefunden.") + nothingRestored
                                      + advice;
    QTest::newRow("empty") << true << BatchEnd::Empty << false
                           << notRun + QStringLiteral(" ist leer.") + nothingRestored + advice;
    QTest::newRow("cut short") << true << BatchEnd::Truncated << false
                               << partly
                                      + QStringLiteral(" ist unvollständig: Es endet mitten in einer Zeile.")
                                      + partlyRestored + advice;
    QTest::newRow("Ctrl+C") << true << BatchEnd::Aborted << false
                            << partly + QStringLiteral(" wurde vor seinem Ende abgebrochen.") + partlyRestored
                                   + advice;
    QTest::newRow("never came back") << true << BatchEnd::Running << false
                                     << partly + QStringLiteral(" wurde vor seinem Ende unterbrochen.")
                                            + partlyRestored + advice;
}

void StartupTest::recordOfTheRestoreDecidesTheMessage()
{
    QFETCH(bool, recorded);
    QFETCH(platform::BatchEnd, end);
    QFETCH(bool, olderThanShortcut);
    QFETCH(QString, message);
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, defaultFile());
    program.machine.makeDirectory(Autostart);
    const QString shortcut = restore::autostartShortcutPath();
    writeAutostartShortcut(shortcut);
    if (recorded) {
        QCOMPARE(platform::writeMsDosModeRecord(Record, {Script, end}), platform::dos::Ok);
        QFile host(program.machine.host(Record));
        const QDateTime written = QFileInfo(program.machine.host(shortcut)).lastModified();
        QVERIFY(host.open(QIODevice::ReadWrite));
        QVERIFY(host.setFileTime(olderThanShortcut ? written.addSecs(-60) : written.addSecs(5),
                                 QFileDevice::FileModificationTime));
    }
    program.start();

    QCOMPARE(program.user.events, QStringList({"beep", "message: " + message}));
    const bool warning = message != QStringLiteral("'Velko Restore' wurde ausgeführt !");
    QCOMPARE(program.user.messages.first().type,
             warning ? controls::MessageType::Warning : controls::MessageType::Information);
    QCOMPARE(program.user.messages.first().buttons, controls::MessageButtons(controls::MessageButton::Ok));
    QVERIFY(!platform::fileExists(shortcut));
    QVERIFY(!platform::fileExists(Record));

    program.user.events.clear();
    program.start();
    QVERIFY(program.user.events.isEmpty());
}

// The two go together: the next start tells the same again.
void StartupTest::recordStaysWithAShortcutThatCannotBeDeleted()
{
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, defaultFile());
    program.machine.makeDirectory(Autostart);
    const QString shortcut = restore::autostartShortcutPath();
    writeAutostartShortcut(shortcut);
    QCOMPARE(platform::setFileAttributes(shortcut, platform::attr::ReadOnly), platform::dos::Ok);
    QCOMPARE(platform::writeMsDosModeRecord(Record, {Script, platform::BatchEnd::NotFound}),
             platform::dos::Ok);
    program.start();

    QCOMPARE(program.user.events.size(), 3);
    QVERIFY(program.user.events.at(0).startsWith(QStringLiteral("error: ")));
    QVERIFY(program.user.events.at(2).startsWith(
        QStringLiteral("message: 'Velko Restore' wurde nicht ausgeführt !")));
    QVERIFY(platform::fileExists(Record));
}

void StartupTest::shortcutThatCannotBeDeletedIsReportedAndStartupGoesOn()
{
    ProgramFixture program;
    const QString shortcut = restore::autostartShortcutPath();
    program.machine.makeDirectory(Autostart);
    writeAutostartShortcut(shortcut);
    QCOMPARE(platform::setFileAttributes(shortcut, platform::attr::ReadOnly | platform::attr::Archive),
             platform::dos::Ok);
    TForm1 &form = program.start();

    QCOMPARE(program.user.events,
             QStringList({"error: " + restore::autostartShortcutPath(restore::ShortcutSpelling::LookedFor)
                              + "\n\rDateizugriff verweigert.",
                          "beep", "message: 'Velko Restore' wurde ausgeführt !", "help: 1"}));
    QCOMPARE(program.user.messages.first().caption, QStringLiteral("Velko Save"));
    QVERIFY(platform::fileExists(shortcut));
    // Every later step ran: a first start in the program's own folder.
    QCOMPARE(form.programDirectory(), ProgramDirectory);
    QCOMPARE(program.machine.readFile(SettingsFile), defaultFile());
    QCOMPARE(form.CheckListBox2->rowCount(), 11);
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("11 Datei(en) in Liste"));

    form.CheckListBox2->setChecked(0, false);
    form.Button5->click();
    QCOMPARE(form.StatusBar1->panelText(), Saved);
    QVERIFY(
        program.machine.readFile(SettingsFile).startsWith("[Sicherungsdateien]\r\nC:\\Autoexec.bat=0\r\n"));
    QVERIFY(!platform::fileExists(QStringLiteral("C:\\Orvel.ini")));
}

void StartupTest::saveRefusedWhileTheProgramDirectoryIsUnknown()
{
    TestMachine pc;
    TestUser user;
    pc.makeDirectory(ProgramDirectory);
    QCOMPARE(platform::setCurrentDirectory(ProgramDirectory), platform::dos::Ok);
    const ProgramWindows windows = createProgramWindows();  // never shown: no start-up work
    TForm1 &form = *windows.form1;

    form.Button5->click();
    QCOMPARE(user.events.size(), 2);
    QCOMPARE(user.events.first(), QStringLiteral("beep"));
    QCOMPARE(user.messages.first().type, controls::MessageType::Warning);
    QVERIFY2(user.messages.first().text.contains(QStringLiteral("Programmverzeichnis")),
             qPrintable(user.messages.first().text));
    QVERIFY(form.StatusBar1->panelText() != Saved);
    for (const QString &drive : {QStringLiteral("C:"), QStringLiteral("D:")})
        QCOMPARE(platform::files(drive + QStringLiteral("\\")).value, QStringList());
    QCOMPARE(platform::files(ProgramDirectory).value, QStringList());
}

void StartupTest::failedStepEndsStartupButWindowStaysUsable_data()
{
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<QString>("report");
    QTest::newRow("settings file on a CD") << "F:\\"
                                           << "nach F:\\Orvel.ini kann nicht geschrieben werden";
}

void StartupTest::failedStepEndsStartupButWindowStaysUsable()
{
    QFETCH(QString, workingDirectory);
    QFETCH(QString, report);
    ProgramFixture program(workingDirectory);
    TForm1 &form = program.start();

    QVERIFY(program.user.events.contains(QStringLiteral("error: ") + report + QLatin1Char('.')));
    QCOMPARE(program.user.messages.last().caption, QStringLiteral("Velko Save"));
    // The later steps did not run: no list, no counter.
    QCOMPARE(form.CheckListBox2->rowCount(), 0);
    QVERIFY(form.StatusBar2->panelText().isEmpty());
    QVERIFY(form.isEnabled());
}

void StartupTest::unreadableSettingsFileIsNeverOverwritten_data()
{
    QTest::addColumn<bool>("folder");
    // Host permissions do not stop root, so the file is made unreadable in ways that do.
    QTest::newRow("a folder of that name") << true;
    QTest::newRow("a FIFO, which is no file to read") << false;
}

void StartupTest::unreadableSettingsFileIsNeverOverwritten()
{
    QFETCH(bool, folder);
    ProgramFixture program;
    const QString host = program.machine.host(ProgramDirectory) + QStringLiteral("/Orvel.ini");
    if (folder)
        program.machine.makeDirectory(SettingsFile);
    else
        QCOMPARE(::mkfifo(QFile::encodeName(host).constData(), 0666), 0);
    TForm1 &form = program.start();

    QCOMPARE(program.user.messages.size(), 1);
    QVERIFY(program.user.messages.first().text.startsWith(QStringLiteral("Die Einstellungsdatei ")
                                                          + SettingsFile
                                                          + QStringLiteral(" kann nicht gelesen werden")));
    QVERIFY(!program.user.events.contains(QStringLiteral("help: 1")));  // not a first start
    QCOMPARE(form.CheckListBox2->rowCount(), 0);

    const QString warning = QStringLiteral("Die Einstellungsdatei ") + SettingsFile
                            + QStringLiteral(" konnte beim Programmstart nicht gelesen werden.");
    program.user.events.clear();
    form.Button5->click();
    QCOMPARE(program.user.events.size(), 2);
    QCOMPARE(program.user.events.first(), QStringLiteral("beep"));
    QCOMPARE(program.user.messages.last().type, controls::MessageType::Warning);
    QVERIFY(program.user.messages.last().text.startsWith(warning));
    QVERIFY(form.StatusBar1->panelText()
            != QStringLiteral("Status: Die aktuellen Einstellungen wurden gespeichert !"));

    // Deleting a directory stores the destination in the same file: refused as well, deletion done.
    program.machine.makeDirectory(QStringLiteral("D:\\Alt"));
    QCOMPARE(form.DirectoryListBox1->setDirectory(QStringLiteral("D:\\Alt")), platform::dos::Ok);
    program.user.events.clear();
    program.user.queueAnswer(controls::MessageButton::Yes);
    form.Verzeichnislschen1Click();
    QVERIFY(!platform::directoryExists(QStringLiteral("D:\\Alt")));
    QCOMPARE(program.user.events.size(), 4);  // beep, question, beep, warning
    QVERIFY(program.user.messages.last().text.startsWith(warning));

    struct stat left;
    QCOMPARE(::lstat(QFile::encodeName(host).constData(), &left), 0);
    QCOMPARE(S_ISDIR(left.st_mode), folder);
    QCOMPARE(S_ISFIFO(left.st_mode), !folder);
}

QTEST_MAIN(StartupTest)
#include "StartupTest.moc"
