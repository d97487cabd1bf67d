#include "backup/RestoreScript.h"
#include "dos/Interpreter.h"
#include "platform/Files.h"
#include "tests/support/TestMachine.h"

#include <QTest>

using dos::Interpreter;

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

}  // namespace

class RestoreRunTest : public QObject {
    Q_OBJECT
private slots:
    void restoreBatBringsEveryFileBack();
    void ctrlCAtTheBannerRestoresNothing();
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
    QVERIFY(run.screen.contains(QStringLiteral("Stapelverarbeitung abbrechen (J/N)?J")));
    QVERIFY(!run.screen.contains(QStringLiteral("kopiert")));
}

QTEST_GUILESS_MAIN(RestoreRunTest)
#include "RestoreRunTest.moc"
