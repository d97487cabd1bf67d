// The start-up's decisions without the main window: the after-restore check, the program
// directory and the settings file.
#include "app/core/AfterRestore.h"
#include "app/core/Startup.h"
#include "platform/drives/Files.h"
#include "platform/shell/MsDosModeRecord.h"
#include "platform/shell/ShellLink.h"
#include "restore/core/AutostartShortcut.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

Q_DECLARE_METATYPE(platform::BatchEnd)
Q_DECLARE_METATYPE(startup::SettingsAtStart::Failure)

namespace {

const QString Autostart = QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart");

// Where the restore writes the autostart shortcut.
QString shortcut()
{
    return restore::autostartShortcutPath();
}

const QString Record = Autostart + QStringLiteral("\\MSDOSMOD.ERG");
const QString Script = QStringLiteral("C:\\Programme\\Velko Save\\Backups\\Restore.bat");
const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");
const QString SettingsFile = ProgramDirectory + QStringLiteral("\\Orvel.ini");
const QString Ran = QStringLiteral("'Velko Restore' wurde ausgeführt !");

void writeShortcut(TestMachine &pc)
{
    pc.makeDirectory(Autostart);
    platform::ShellLink link;
    link.targetPath = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe");
    QCOMPARE(platform::writeShellLink(shortcut(), link), platform::dos::Ok);
}

// A record written a minute before or a few seconds after the shortcut.
void writeRecord(TestMachine &pc, platform::BatchEnd end, bool olderThanShortcut)
{
    QCOMPARE(platform::writeMsDosModeRecord(Record, {Script, end}), platform::dos::Ok);
    const QDateTime written = QFileInfo(pc.host(shortcut())).lastModified();
    QFile host(pc.host(Record));
    QVERIFY(host.open(QIODevice::ReadWrite));
    QVERIFY(host.setFileTime(olderThanShortcut ? written.addSecs(-60) : written.addSecs(5),
                             QFileDevice::FileModificationTime));
}

}  // namespace

class StartupCoreTest : public QObject {
    Q_OBJECT
private slots:
    void withoutShortcutNothingIsShownOrDeleted();
    void recordDecidesTheMessage_data();
    void recordDecidesTheMessage();
    void shortcutThatCannotBeDeletedKeepsItsRecord();
    void programDirectoryIsTheCurrentDirectory_data();
    void programDirectoryIsTheCurrentDirectory();
    void missingOrRejectedFileGetsTheDefaults_data();
    void missingOrRejectedFileGetsTheDefaults();
    void storedFileIsLoadedUnchanged_data();
    void storedFileIsLoadedUnchanged();
    void failuresLeaveTheFileAlone_data();
    void failuresLeaveTheFileAlone();
};

void StartupCoreTest::withoutShortcutNothingIsShownOrDeleted()
{
    TestMachine pc;
    pc.makeDirectory(Autostart);
    QCOMPARE(platform::writeMsDosModeRecord(Record, {Script, platform::BatchEnd::NotFound}),
             platform::dos::Ok);

    const afterrestore::Outcome outcome = afterrestore::check();

    QVERIFY(!outcome.shortcutFound);
    QVERIFY(outcome.errorReports.isEmpty());
    QVERIFY(outcome.message.isEmpty());
    QVERIFY(platform::fileExists(Record));
}

void StartupCoreTest::recordDecidesTheMessage_data()
{
    using platform::BatchEnd;
    QTest::addColumn<bool>("recorded");
    QTest::addColumn<BatchEnd>("end");
    QTest::addColumn<bool>("olderThanShortcut");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("messageStart");
    const QString notRun = QStringLiteral("'Velko Restore' wurde nicht ausgeführt !\n\rDas Skript ") + Script;
    QTest::newRow("no record") << false << BatchEnd::Completed << false << false << Ran;
    QTest::newRow("ran to its end") << true << BatchEnd::Completed << false << false << Ran;
    QTest::newRow("an earlier run's record") << true << BatchEnd::NotFound << true << false << Ran;
    QTest::newRow("not found") << true << BatchEnd::NotFound << false << true
                               << notRun + QStringLiteral(" wurde nicht gefunden.");
    QTest::newRow("never came back")
        << true << BatchEnd::Running << false << true
        << QStringLiteral("'Velko Restore' wurde nicht vollständig ausgeführt !\n\rDas Skript ") + Script
               + QStringLiteral(" wurde vor seinem Ende unterbrochen.");
}

void StartupCoreTest::recordDecidesTheMessage()
{
    QFETCH(bool, recorded);
    QFETCH(platform::BatchEnd, end);
    QFETCH(bool, olderThanShortcut);
    QFETCH(bool, warning);
    QFETCH(QString, messageStart);
    TestMachine pc;
    writeShortcut(pc);
    if (recorded)
        writeRecord(pc, end, olderThanShortcut);

    const afterrestore::Outcome outcome = afterrestore::check();

    QVERIFY(outcome.shortcutFound);
    QVERIFY(outcome.errorReports.isEmpty());
    QCOMPARE(outcome.warning, warning);
    QVERIFY2(outcome.message.startsWith(messageStart), qPrintable(outcome.message));
    QVERIFY(warning || outcome.message == Ran);
    QVERIFY(!platform::fileExists(shortcut()));
    QVERIFY(!platform::fileExists(Record));
    QVERIFY(!afterrestore::check().shortcutFound);
}

// The two go together: the next start tells the same again.
void StartupCoreTest::shortcutThatCannotBeDeletedKeepsItsRecord()
{
    TestMachine pc;
    writeShortcut(pc);
    writeRecord(pc, platform::BatchEnd::NotFound, false);
    QCOMPARE(platform::setFileAttributes(shortcut(), platform::attr::ReadOnly), platform::dos::Ok);

    const afterrestore::Outcome outcome = afterrestore::check();

    QCOMPARE(outcome.errorReports,
             QStringList(restore::autostartShortcutPath(restore::ShortcutSpelling::LookedFor)
                         + "\n\rDateizugriff verweigert"));
    QVERIFY(outcome.warning);
    QVERIFY(outcome.message.startsWith(QStringLiteral("'Velko Restore' wurde nicht ausgeführt !")));
    QVERIFY(platform::fileExists(shortcut()));
    QVERIFY(platform::fileExists(Record));
    QCOMPARE(afterrestore::check().message, outcome.message);
}

void StartupCoreTest::programDirectoryIsTheCurrentDirectory_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("program");
    QTest::newRow("folder") << QStringLiteral("C:\\Programme\\Velko Save")
                            << QStringLiteral("C:\\Programme\\Velko Save");
    QTest::newRow("drive root") << QStringLiteral("D:\\") << QStringLiteral("D:");
}

void StartupCoreTest::programDirectoryIsTheCurrentDirectory()
{
    QFETCH(QString, current);
    QFETCH(QString, program);
    TestMachine pc;
    if (current.size() > 3)
        pc.makeDirectory(current);
    QCOMPARE(platform::setCurrentDirectory(current), platform::dos::Ok);

    QCOMPARE(startup::programDirectory(), program);
}

void StartupCoreTest::missingOrRejectedFileGetsTheDefaults_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("first line [VK]") << true << QByteArray("[VK]\r\nC:\\Mine.txt=1\r\n");
    QTest::newRow("first line 1") << true << QByteArray("1");
}

void StartupCoreTest::missingOrRejectedFileGetsTheDefaults()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, contents);
    TestMachine pc;
    pc.makeDirectory(ProgramDirectory);
    if (present)
        pc.writeFile(SettingsFile, contents);

    const startup::SettingsAtStart start =
        startup::openSettings(ProgramDirectory, QStringLiteral("C:\\WINDOWS"));

    QCOMPARE(start.failure, startup::SettingsAtStart::Failure::None);
    QVERIFY(start.firstStart);
    QVERIFY(start.settings.has_value());
    QCOMPARE(start.settings->rows.size(), 11);
    QCOMPARE(start.settings->rows.first().path, QStringLiteral("C:\\Autoexec.bat"));
    QCOMPARE(start.settings->destination, ProgramDirectory + QStringLiteral("\\Backups"));
    QVERIFY(!start.settings->autoQuit);
    QVERIFY(start.settings->shortHelp);
    QVERIFY(pc.readFile(SettingsFile).startsWith("[Sicherungsdateien]\r\nC:\\Autoexec.bat=1\r\n"));
    QVERIFY(platform::directoryExists(ProgramDirectory + QStringLiteral("\\Backups")));
}

void StartupCoreTest::storedFileIsLoadedUnchanged_data()
{
    QTest::addColumn<QByteArray>("stored");
    const QByteArray settings("[Sicherungsdateien]\r\nC:\\Mine.txt=0\r\n[Pfad]\r\nPfad=D:\\\r\n"
                              "[Optionen]\r\nAutomatisch beenden=1\r\nKurzhilfe=0\r\n");
    QTest::newRow("Windows-1252") << settings;
    QTest::newRow("after a UTF-8 mark") << "\xEF\xBB\xBF" + settings;
    QTest::newRow("repeated key reads its first value")
        << QByteArray("[Sicherungsdateien]\r\nC:\\Mine.txt=0\r\nc:\\MINE.TXT=1\r\n[Pfad]\r\nPfad=D:\\\r\n"
                      "[Optionen]\r\nAutomatisch beenden=1\r\nKurzhilfe=0\r\n");
}

void StartupCoreTest::storedFileIsLoadedUnchanged()
{
    QFETCH(QByteArray, stored);
    TestMachine pc;
    pc.makeDirectory(ProgramDirectory);
    pc.writeFile(SettingsFile, stored);

    const startup::SettingsAtStart start =
        startup::openSettings(ProgramDirectory, QStringLiteral("C:\\WINDOWS"));

    QCOMPARE(start.failure, startup::SettingsAtStart::Failure::None);
    QVERIFY(!start.firstStart);
    QVERIFY(start.settings.has_value());
    QVERIFY(!start.settings->rows.isEmpty());
    QCOMPARE(start.settings->rows.first().path, QStringLiteral("C:\\Mine.txt"));
    for (const settings::ListRow &row : start.settings->rows)
        QVERIFY(!row.checked);
    QCOMPARE(start.settings->destination, QStringLiteral("D:\\"));
    QVERIFY(start.settings->autoQuit);
    QVERIFY(!start.settings->shortHelp);
    QCOMPARE(pc.readFile(SettingsFile), stored);
    QVERIFY(!platform::directoryExists(ProgramDirectory + QStringLiteral("\\Backups")));
}

void StartupCoreTest::failuresLeaveTheFileAlone_data()
{
    using Failure = startup::SettingsAtStart::Failure;
    QTest::addColumn<QString>("programDirectory");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("error");
    QTest::newRow("a folder of that name")
        << ProgramDirectory << "folder" << Failure::Unreadable << platform::dos::AccessDenied;
    QTest::newRow("read-only file with a rejected first line")
        << ProgramDirectory << "read-only [VK]" << Failure::NotEmptied << platform::dos::AccessDenied;
    QTest::newRow("on a CD") << QStringLiteral("F:") << "" << Failure::NotWritten << platform::dos::Ok;
}

void StartupCoreTest::failuresLeaveTheFileAlone()
{
    QFETCH(QString, programDirectory);
    QFETCH(QString, setup);
    QFETCH(startup::SettingsAtStart::Failure, failure);
    QFETCH(int, error);
    TestMachine pc;
    const QString path = programDirectory + QStringLiteral("\\Orvel.ini");
    if (setup == QStringLiteral("folder"))
        pc.makeDirectory(path);
    if (setup == QStringLiteral("read-only [VK]")) {
        pc.makeDirectory(programDirectory);
        pc.writeFile(path, "[VK]\r\n", platform::attr::ReadOnly);
    }

    const startup::SettingsAtStart start =
        startup::openSettings(programDirectory, QStringLiteral("C:\\WINDOWS"));

    QCOMPARE(start.failure, failure);
    QCOMPARE(start.error, error);
    QVERIFY(!start.firstStart);
    QVERIFY(!start.settings.has_value());
    QVERIFY(!platform::directoryExists(programDirectory + QStringLiteral("\\Backups")));
    if (setup == QStringLiteral("read-only [VK]"))
        QCOMPARE(pc.readFile(path), QByteArray("[VK]\r\n"));
}

QTEST_GUILESS_MAIN(StartupCoreTest)
#include "StartupCoreTest.moc"
