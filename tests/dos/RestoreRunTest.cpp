#include "backup/core/RestoreScript.h"
#include "dos/core/Interpreter.h"
#include "dos/core/MsDosMode.h"
#include "platform/drives/Files.h"
#include "platform/text/OemText.h"
#include "tests/support/TestMachine.h"

#include <QTest>

using dos::Interpreter;
using platform::BatchEnd;

Q_DECLARE_METATYPE(platform::BatchEnd)

namespace {

const QString Backup = QStringLiteral("D:\\BACKUP");

struct Original {
    QString path;
    QString displayName;
    QByteArray content;
    quint8 attributes;
};

const QList<Original> Originals = {
    {QStringLiteral("C:\\CONFIG.SYS"), QStringLiteral("CONFIG.SYS"), "DEVICE=HIMEM.SYS\r\n", 32},
    {QStringLiteral("C:\\IO.SYS"), QStringLiteral("IO.SYS"), "io", 7},
    {QStringLiteral("C:\\MSDOS.SYS"), QStringLiteral("MSDOS.SYS"), "[Options]\r\n", 39},
    {QStringLiteral("C:\\WINDOWS\\USER.DAT"), QStringLiteral("USER.DAT"), "user", 7},
    {QStringLiteral("C:\\WINDOWS\\WIN.INI"), QStringLiteral("WIN.INI"), "[windows]\r\n", 33},
    {QStringLiteral("D:\\Daten\\Einkaufsliste.txt"), QStringLiteral("Einkaufsliste.txt"), "Brot\r\n", 0},
    {QStringLiteral("D:\\Daten\\Briefe an Oma.txt"), QStringLiteral("Briefe an Oma.txt"), "Liebe Oma\r\n",
     34},
};

QString copyOf(const Original &original)
{
    return Backup + u'\\' + platform::fileNamePart(original.path);
}

// What a backup run leaves: the copies, flat, and Restore.bat written by the backup's own writer.
void backUp(TestMachine &pc)
{
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\COMMAND"));
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\ATTRIB.EXE"),
                 "ATTRIB.EXE - stand-in for the attribute command.\r\n");
    pc.makeDirectory(QStringLiteral("D:\\Daten"));
    pc.makeDirectory(Backup);
    for (const Original &original : Originals)
        pc.writeFile(original.path, original.content, original.attributes);
    QList<backup::ScriptFile> files;
    for (const Original &original : Originals)
        QCOMPARE(platform::copyFile(original.path, copyOf(original)), 0);
    for (const Original &original : Originals) {
        const auto file = backup::scriptFileFor(original.path, copyOf(original), original.displayName);
        QVERIFY(file.ok());
        files.append(file.value);
    }
    const auto windows = platform::shortPathName(platform::windowsDirectory());
    const QStringList lines = backup::composeRestoreScript(windows.value, QStringLiteral("07.12.99"),
                                                           QStringLiteral("14:05:33"), files);
    QCOMPARE(backup::writeRestoreScript(Backup + QStringLiteral("\\Restore.bat"), lines), 0);
}

// The PC after the backup: contents and attributes changed, one file gone.
void damage()
{
    for (const Original &original : Originals) {
        QCOMPARE(platform::setFileAttributes(original.path, 0), 0);
        QCOMPARE(platform::writeFile(original.path, "kaputt"), 0);
        QCOMPARE(platform::setFileAttributes(original.path, platform::attr::ReadOnly), 0);
    }
    QCOMPARE(platform::setFileAttributes(QStringLiteral("C:\\IO.SYS"), 0), 0);
    QCOMPARE(platform::deleteFile(QStringLiteral("C:\\IO.SYS")), 0);
}

struct RestoreRun {
    Interpreter::Outcome outcome;
    QString screen;
};

// Backs up, damages the originals, then runs Restore.bat in the backup folder with the keys.
RestoreRun restoreAfterDamage(TestMachine &pc, const QString &keys, const QString &script)
{
    backUp(pc);
    damage();
    dos::HeadlessConsole console(keys);
    Interpreter shell(console);
    if (shell.setCurrentDirectory(Backup) != 0)
        qFatal("cannot enter the backup folder");
    return {shell.runBatch(Backup + u'\\' + script), console.screen().transcript()};
}

const QString Autostart = QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart");
const QString Record = Autostart + QStringLiteral("\\MSDOSMOD.ERG");
const QString Script = Backup + QStringLiteral("\\Restore.bat");

// The script as the backup wrote it, cut just before `text` (which must be in it), in mid-line.
void cutBefore(TestMachine &pc, const QByteArray &text)
{
    const QByteArray script = pc.readFile(Script);
    const qsizetype at = script.indexOf(text);
    QVERIFY(at > 0 && script.at(at - 1) != '\n');
    QCOMPARE(platform::writeFile(Script, script.left(at)), 0);
}

// Runs Restore.bat as MS-DOS mode does, leaving its record in the autostart folder.
Interpreter::Outcome runInMsDosMode(const QString &keys, QString *screen = nullptr)
{
    dos::HeadlessConsole console(keys);
    Interpreter shell(console);
    if (shell.setCurrentDirectory(Backup) != 0)
        qFatal("cannot enter the backup folder");
    const Interpreter::Outcome outcome = dos::runRecorded(shell, Script, Record);
    if (screen)
        *screen = console.screen().transcript();
    return outcome;
}

}  // namespace

class RestoreRunTest : public QObject {
    Q_OBJECT
private slots:
    void restoreBatBringsEveryFileBack();
    void ctrlCAtTheBannerRestoresNothing();
    void msDosModeRecordsHowTheScriptEnded_data();
    void msDosModeRecordsHowTheScriptEnded();
    void recordSaysTheRunBeganWhileItRuns();
    void restoreRunsWhenNoRecordCanBeWritten();
    void scriptCutWithinABlockLeavesTheFileWithoutAttributes();
};

void RestoreRunTest::restoreBatBringsEveryFileBack()
{
    TestMachine pc;
    const RestoreRun run = restoreAfterDamage(pc, QStringLiteral("x"), QStringLiteral("RESTORE.BAT"));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(run.outcome, Interpreter::Outcome::Finished);

    for (const Original &original : Originals) {
        QCOMPARE(pc.readFile(original.path), original.content);
        QCOMPARE(platform::fileAttributes(original.path).value, original.attributes);
        QCOMPARE(platform::fileAttributes(copyOf(original)).value, original.attributes);
    }
    const QString &screen = run.screen;
    QVERIFY2(
        screen.contains(QStringLiteral("*    VELKO RESTORE - Wiederherstellung von Sicherungsdateien    *")),
        qPrintable(screen));
    QVERIFY(screen.contains(QStringLiteral("Weiter mit beliebiger Taste . . .")));
    QCOMPARE(screen.count(QStringLiteral("        1 Datei(en) kopiert")), Originals.size());
    QVERIFY(screen.contains(QStringLiteral("Briefe an Oma.txt bearbeitet !")));
    QVERIFY(screen.contains(QStringLiteral("... Velko Restore wurde ausgefuehrt !")));
    for (const char *failure : {"nicht gefunden", "verweigert", "zurückgesetzt", "Fehler"})
        QVERIFY2(!screen.contains(QLatin1String(failure)), qPrintable(screen));
}

void RestoreRunTest::ctrlCAtTheBannerRestoresNothing()
{
    TestMachine pc;
    const RestoreRun run = restoreAfterDamage(pc, QStringLiteral("^Cj"), QStringLiteral("Restore.bat"));
    QVERIFY(!QTest::currentTestFailed());
    QCOMPARE(run.outcome, Interpreter::Outcome::Aborted);
    QCOMPARE(pc.readFile(QStringLiteral("C:\\CONFIG.SYS")), QByteArray("kaputt"));
    QVERIFY(!platform::fileExists(QStringLiteral("C:\\IO.SYS")));
    QVERIFY(run.screen.contains(QStringLiteral("Batchvorgang abbrechen (J/N)?J")));
    QVERIFY(!run.screen.contains(QStringLiteral("kopiert")));
}

void RestoreRunTest::msDosModeRecordsHowTheScriptEnded_data()
{
    QTest::addColumn<QString>("script");  // what becomes of Restore.bat before MS-DOS mode
    QTest::addColumn<QString>("keys");
    QTest::addColumn<BatchEnd>("end");
    const QString key = QStringLiteral("x");
    QTest::newRow("whole") << QStringLiteral("whole") << key << BatchEnd::Completed;
    QTest::newRow("Ctrl+C at the banner")
        << QStringLiteral("whole") << QStringLiteral("^Cj") << BatchEnd::Aborted;
    QTest::newRow("no key for the pause") << QStringLiteral("whole") << QString() << BatchEnd::Aborted;
    QTest::newRow("missing") << QStringLiteral("missing") << key << BatchEnd::NotFound;
    QTest::newRow("empty") << QStringLiteral("empty") << key << BatchEnd::Empty;
    QTest::newRow("only blank lines") << QStringLiteral("blank") << key << BatchEnd::Empty;
    QTest::newRow("cut within a line") << QStringLiteral("cut") << key << BatchEnd::Truncated;
    QTest::newRow("with an end-of-file mark") << QStringLiteral("eof mark") << key << BatchEnd::Completed;
}

void RestoreRunTest::msDosModeRecordsHowTheScriptEnded()
{
    QFETCH(QString, script);
    QFETCH(QString, keys);
    QFETCH(BatchEnd, end);
    TestMachine pc;
    backUp(pc);
    damage();
    pc.makeDirectory(Autostart);
    if (script == u"missing")
        QCOMPARE(platform::deleteFile(Script), 0);
    else if (script == u"empty")
        QCOMPARE(platform::writeFile(Script, {}), 0);
    else if (script == u"blank")
        QCOMPARE(platform::writeFile(Script, "\r\n  \r\n"), 0);
    else if (script == u"cut")
        cutBefore(pc, "-r -h -s -a\r\ncopy IO.SYS");
    else if (script == u"eof mark")
        QCOMPARE(platform::writeFile(Script, pc.readFile(Script) + '\x1a'), 0);
    QVERIFY(!QTest::currentTestFailed());

    runInMsDosMode(keys);

    const auto record = platform::readMsDosModeRecord(Record);
    QVERIFY(record.ok());
    QVERIFY(record.value.has_value());
    QCOMPARE(*record.value, (platform::MsDosModeRecord{Script, end}));
    QVERIFY(platform::fileAttributes(Record).value & platform::attr::Hidden);  // Windows does not start it
}

void RestoreRunTest::recordSaysTheRunBeganWhileItRuns()
{
    TestMachine pc;
    pc.makeDirectory(Backup);
    pc.makeDirectory(Autostart);
    const auto lines = platform::oemLines({QStringLiteral("type ") + Record});
    QVERIFY(lines);
    QCOMPARE(platform::writeFile(Script, *lines), 0);

    QString screen;
    QCOMPARE(runInMsDosMode({}, &screen), Interpreter::Outcome::Finished);
    QVERIFY2(screen.contains(QStringLiteral("Ende=laeuft")), qPrintable(screen));
    QCOMPARE(platform::readMsDosModeRecord(Record).value,
             (platform::MsDosModeRecord{Script, BatchEnd::Completed}));
}

// No autostart folder to hold the record: the files come back all the same.
void RestoreRunTest::restoreRunsWhenNoRecordCanBeWritten()
{
    TestMachine pc;
    backUp(pc);
    damage();

    QCOMPARE(runInMsDosMode(QStringLiteral("x")), Interpreter::Outcome::Finished);
    for (const Original &original : Originals)
        QCOMPARE(pc.readFile(original.path), original.content);
    QVERIFY(!platform::fileExists(Record));
}

// Each block clears the attributes of the file and its copy before the copy and sets them after
// it: a script that ends between the two leaves the restored file with none.
void RestoreRunTest::scriptCutWithinABlockLeavesTheFileWithoutAttributes()
{
    TestMachine pc;
    backUp(pc);
    damage();
    pc.makeDirectory(Autostart);
    cutBefore(pc, "+r +h +s\r\nattrib IO.SYS +r");
    QVERIFY(!QTest::currentTestFailed());

    runInMsDosMode(QStringLiteral("x"));

    QCOMPARE(pc.readFile(QStringLiteral("C:\\CONFIG.SYS")), QByteArray("DEVICE=HIMEM.SYS\r\n"));
    QCOMPARE(pc.readFile(QStringLiteral("C:\\IO.SYS")), QByteArray("io"));
    QCOMPARE(platform::fileAttributes(QStringLiteral("C:\\IO.SYS")).value, quint8(0));
    QCOMPARE(pc.readFile(QStringLiteral("C:\\MSDOS.SYS")), QByteArray("kaputt"));
    QCOMPARE(platform::readMsDosModeRecord(Record).value,
             (platform::MsDosModeRecord{Script, BatchEnd::Truncated}));
}

QTEST_GUILESS_MAIN(RestoreRunTest)
#include "RestoreRunTest.moc"
