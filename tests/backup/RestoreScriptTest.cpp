#include "backup/core/RestoreScript.h"
#include "backup/core/BackupRun.h"
#include "platform/drives/Files.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace backup;

Q_DECLARE_METATYPE(backup::ScriptFile)

namespace {

const QString Script = QStringLiteral("D:\\Backups\\Restore.bat");

// Three saved files: an 8.3 name, a long name whose copy got a different alias than its source,
// and a name with an umlaut (one byte in code page 850) and all four attributes.
QList<ScriptFile> fixtureFiles()
{
    return {
        {QStringLiteral("C:\\CONFIG.SYS"), QStringLiteral("CONFIG.SYS"), QStringLiteral("CONFIG.SYS"), 32},
        {QStringLiteral("C:\\PROGRA~1\\EINELA~1.TXT"), QStringLiteral("EINELA~2.TXT"),
         QStringLiteral("Eine lange Datei.txt"), 0},
        {QStringLiteral("C:\\WINDOWS\\ÜBERSI~1.INI"), QStringLiteral("ÜBERSI~1.INI"),
         QStringLiteral("Übersicht.ini"), 39},
    };
}

// Written out byte by byte on purpose: this is what MS-DOS reads.
const QByteArray FixtureBytes =
    "echo off\r\n"
    "Path C:\\WINDOWS\\Command\r\n"
    "cls\r\n"
    "echo *****************************************************************\r\n"
    "echo *    VELKO RESTORE - Wiederherstellung von Sicherungsdateien    *\r\n"
    "echo *       Sicherungskopien vom 07.12.99;  Uhrzeit:14:05:33        *\r\n"
    "echo *****************************************************************\r\n"
    "echo *   DIESES PROGRAMM DARF NICHT UNTER WINDOWS IN EINER MS-DOS-   *\r\n"
    "echo *                    BOX AUSGEFUEHRT WERDEN !                   *\r\n"
    "echo *            Die Benutzung erfolgt auf eigene Gefahr !          *\r\n"
    "echo *****************************************************************\r\n"
    "echo *    ALLE zuletzt in das ausgewaehlte Verzeichnis gesicherten   *\r\n"
    "echo *             Dateien werden wiederhergestellt.                 *\r\n"
    "echo *****************************************************************\r\n"
    "echo *         ABBRUCH DIESES PROGRAMMS JETZT MIT \"STRG+C\" !         *\r\n"
    "echo *****************************************************************\r\n"
    "echo.\r\n"
    "pause\r\n"
    "cls\r\n"
    "echo kopieren der Sicherungsdateien ...\r\n"
    "echo.\r\n"
    "\r\n"
    "if exist C:\\CONFIG.SYS attrib C:\\CONFIG.SYS -r -h -s -a\r\n"
    "attrib CONFIG.SYS -r -h -s -a\r\n"
    "copy CONFIG.SYS C:\\CONFIG.SYS\r\n"
    "attrib C:\\CONFIG.SYS +a\r\n"
    "attrib CONFIG.SYS +a\r\n"
    "echo CONFIG.SYS bearbeitet !\r\n"
    "echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\EINELA~1.TXT attrib C:\\PROGRA~1\\EINELA~1.TXT -r -h -s -a\r\n"
    "attrib EINELA~2.TXT -r -h -s -a\r\n"
    "copy EINELA~2.TXT C:\\PROGRA~1\\EINELA~1.TXT\r\n"
    "attrib C:\\PROGRA~1\\EINELA~1.TXT\r\n"
    "attrib EINELA~2.TXT\r\n"
    "echo Eine lange Datei.txt bearbeitet !\r\n"
    "echo ---\r\n"
    "\r\n"
    "if exist C:\\WINDOWS\\\x9A"
    "BERSI~1.INI attrib C:\\WINDOWS\\\x9A"
    "BERSI~1.INI -r -h -s -a\r\n"
    "attrib \x9A"
    "BERSI~1.INI -r -h -s -a\r\n"
    "copy \x9A"
    "BERSI~1.INI C:\\WINDOWS\\\x9A"
    "BERSI~1.INI\r\n"
    "attrib C:\\WINDOWS\\\x9A"
    "BERSI~1.INI +r +h +s +a\r\n"
    "attrib \x9A"
    "BERSI~1.INI +r +h +s +a\r\n"
    "echo \x9A"
    "bersicht.ini bearbeitet !\r\n"
    "echo ---\r\n"
    "\r\n"
    "echo.\r\n"
    "echo ... Velko Restore wurde ausgefuehrt !\r\n"
    "echo.\r\n";

}  // namespace

class RestoreScriptTest : public QObject {
    Q_OBJECT

private slots:
    void scriptBytes()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        // A longer script from an earlier run must be replaced, not partly overwritten.
        pc.writeFile(Script, QByteArray(4000, 'x'));

        const QStringList lines =
            composeRestoreScript(QStringLiteral("C:\\WINDOWS"), QStringLiteral("07.12.99"),
                                 QStringLiteral("14:05:33"), fixtureFiles());
        QCOMPARE(lines.size(), 22 + 3 * 8 + 3);
        QCOMPARE(writeRestoreScript(Script, lines), 0);
        QCOMPARE(pc.readFile(Script), FixtureBytes);
    }

    void oneFileMakesThirtyThreeLines()
    {
        const QStringList lines =
            composeRestoreScript(QStringLiteral("C:\\WINDOWS"), QStringLiteral("07.12.99"),
                                 QStringLiteral("14:05:33"), {fixtureFiles().first()});
        QCOMPARE(lines.size(), 33);
        QCOMPARE(lines.mid(22, 8).join(u'|'),
                 QStringLiteral("if exist C:\\CONFIG.SYS attrib C:\\CONFIG.SYS -r -h -s -a|"
                                "attrib CONFIG.SYS -r -h -s -a|copy CONFIG.SYS C:\\CONFIG.SYS|"
                                "attrib C:\\CONFIG.SYS +a|attrib CONFIG.SYS +a|"
                                "echo CONFIG.SYS bearbeitet !|echo ---|"));
    }

    void bannerBox_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("dateLine");
        QTest::newRow("short date") << QStringLiteral("07.12.99")
                                    << QStringLiteral("echo *       Sicherungskopien vom "
                                                      "07.12.99;  Uhrzeit:14:05:33        *");
        QTest::newRow("ten-character date moves the asterisk")
            << QStringLiteral("07.12.1999")
            << QStringLiteral("echo *       Sicherungskopien vom 07.12.1999;  Uhrzeit:14:05:33        *");
    }

    void bannerBox()
    {
        QFETCH(QString, date);
        QFETCH(QString, dateLine);
        const QStringList lines =
            composeRestoreScript(QStringLiteral("C:\\WINDOWS"), date, QStringLiteral("14:05:33"), {});
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines[5], dateLine);
        QCOMPARE(lines[5].size(), 62 + date.size());
        for (int line : {4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16})
            QCOMPARE(lines[line - 1].size(), 70);
    }

    void attributeSuffixes_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("1") << 1 << QStringLiteral(" +r");
        QTest::newRow("2") << 2 << QStringLiteral(" +h");
        QTest::newRow("3") << 3 << QStringLiteral(" +r +h");
        QTest::newRow("4") << 4 << QStringLiteral(" +s");
        QTest::newRow("5") << 5 << QStringLiteral(" +r +s");
        QTest::newRow("6") << 6 << QStringLiteral(" +h +s");
        QTest::newRow("7") << 7 << QStringLiteral(" +r +h +s");
        QTest::newRow("32") << 32 << QStringLiteral(" +a");
        QTest::newRow("33") << 33 << QStringLiteral(" +r +a");
        QTest::newRow("34") << 34 << QStringLiteral(" +h +a");
        QTest::newRow("35") << 35 << QStringLiteral(" +r +h +a");
        QTest::newRow("36") << 36 << QStringLiteral(" +s +a");
        QTest::newRow("37") << 37 << QStringLiteral(" +r +s +a");
        QTest::newRow("38") << 38 << QStringLiteral(" +h +s +a");
        QTest::newRow("39") << 39 << QStringLiteral(" +r +h +s +a");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("volume label bit") << 8 << QString();
        QTest::newRow("directory") << 16 << QString();
        QTest::newRow("archive with volume bit") << 40 << QString();
        QTest::newRow("read-only directory") << 17 << QString();
        QTest::newRow("archive directory") << 48 << QString();
        QTest::newRow("all bits") << 255 << QString();
    }

    void attributeSuffixes()
    {
        QFETCH(int, attributes);
        QFETCH(QString, suffix);
        QCOMPARE(attributeSuffix(quint8(attributes)), suffix);
    }

    // MS-DOS reads the script in code page 850: an umlaut in a short name must be its byte there.
    void namesAreWrittenForMsDos()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        QList<ScriptFile> files = fixtureFiles().mid(0, 1);
        files[0].shortSourcePath = QStringLiteral("D:\\DATEN\\GLÜCKW~1.TXT");
        files[0].copyDosName = QStringLiteral("GLÜCKW~1.TXT");
        files[0].displayName = QStringLiteral("Glückwünsche für 5€.txt");
        QCOMPARE(writeRestoreScript(Script, composeRestoreScript(QStringLiteral("C:\\WINDOWS"),
                                                                 QStringLiteral("07.12.99"),
                                                                 QStringLiteral("14:05:33"), files)),
                 0);
        const QByteArray script = pc.readFile(Script);
        QVERIFY(script.contains("copy GL\x9a"
                                "CKW~1.TXT D:\\DATEN\\GL\x9a"
                                "CKW~1.TXT\r\n"));
        QVERIFY(script.contains("echo Gl\x81"
                                "ckw\x81"
                                "nsche f\x81"
                                "r 5?.txt bearbeitet !\r\n"));
    }

    void unencodableNameIsNotWritten()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        pc.writeFile(Script, "alt");
        QList<ScriptFile> files = fixtureFiles();
        files[1].shortSourcePath = QStringLiteral("C:\\ΩMEGA.TXT");
        const QStringList lines = composeRestoreScript(
            QStringLiteral("C:\\WINDOWS"), QStringLiteral("07.12.99"), QStringLiteral("14:05:33"), files);
        QCOMPARE(writeRestoreScript(Script, lines), ScriptNotEncodable);
        QVERIFY(ScriptNotEncodable != 0);
        QCOMPARE(pc.readFile(Script), QByteArray("alt"));
    }

    // The backup run writes its script straight from the values: byte for byte what the lines
    // give, and nothing where a name cannot be encoded.
    void theScriptFromItsValuesIsTheScriptFromItsLines_data()
    {
        QTest::addColumn<QList<ScriptFile>>("files");
        QTest::addColumn<int>("error");
        QList<ScriptFile> unknownInDisplayName = fixtureFiles();
        unknownInDisplayName[1].displayName = QStringLiteral("Glückwünsche für 5€.txt");
        QList<ScriptFile> unknownInShortName = fixtureFiles();
        unknownInShortName[2].copyDosName = QStringLiteral("ΩMEGA.TXT");
        QTest::newRow("three files") << fixtureFiles() << 0;
        QTest::newRow("no file") << QList<ScriptFile>() << 0;
        QTest::newRow("euro sign shown as ?") << unknownInDisplayName << 0;
        QTest::newRow("omega in the last short name") << unknownInShortName << int(ScriptNotEncodable);
    }

    void theScriptFromItsValuesIsTheScriptFromItsLines()
    {
        QFETCH(QList<ScriptFile>, files);
        QFETCH(int, error);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        const QString windows = QStringLiteral("C:\\WINDOWS");
        const QString date = QStringLiteral("07.12.99");
        const QString time = QStringLiteral("14:05:33");
        pc.writeFile(Script, "alt");
        QCOMPARE(writeRestoreScript(Script, composeRestoreScript(windows, date, time, files)), error);
        const QByteArray fromLines = pc.readFile(Script);
        pc.writeFile(Script, "alt");
        QCOMPARE(writeRestoreScript(Script, windows, date, time, files), error);
        QCOMPARE(pc.readFile(Script), fromLines);
        if (error != 0)
            QCOMPARE(fromLines, QByteArray("alt"));
    }

    // A disk that fills up half-way through the script keeps the earlier script whole, read-only
    // or not, and leaves no part of the new one behind.
    void fullDiskKeepsTheEarlierScript_data()
    {
        QTest::addColumn<int>("earlierAttributes");
        QTest::newRow("plain") << 32;
        QTest::newRow("read-only") << 33;
    }

    void fullDiskKeepsTheEarlierScript()
    {
        QFETCH(int, earlierAttributes);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        pc.writeFile(Script, "echo off\r\necho alt\r\n", quint8(earlierAttributes));
        const QStringList lines =
            composeRestoreScript(QStringLiteral("C:\\WINDOWS"), QStringLiteral("07.12.99"),
                                 QStringLiteral("14:05:33"), fixtureFiles());
        int error = 0;
        {
            const FullDisk full(FixtureBytes.size() / 2);
            error = writeRestoreScript(Script, lines);
        }
        QCOMPARE(error, platform::dos::DiskFull);
        QCOMPARE(pc.readFile(Script), QByteArray("echo off\r\necho alt\r\n"));
        QCOMPARE(int(platform::fileAttributes(Script).value), earlierAttributes);
        QCOMPARE(platform::files(QStringLiteral("D:\\Backups")).value, QStringList{"Restore.bat"});

        QCOMPARE(writeRestoreScript(Script, lines), 0);
        QCOMPARE(pc.readFile(Script), FixtureBytes);
        QCOMPARE(platform::files(QStringLiteral("D:\\Backups")).value, QStringList{"Restore.bat"});
    }

    void writeFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("cd-rom") << QStringLiteral("F:\\Restore.bat") << 5;
        QTest::newRow("missing folder") << QStringLiteral("D:\\Fehlt\\Restore.bat") << 3;
        QTest::newRow("no medium") << QStringLiteral("E:\\Restore.bat") << 21;
    }

    void writeFailures()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        TestMachine pc;
        QCOMPARE(writeRestoreScript(path, {QStringLiteral("echo off")}), error);
    }

    // The source's alias names the place to restore to, the copy's own alias the copy.
    void scriptFileNamesTheCopysOwnAlias()
    {
        TestMachine pc;
        const QString source = QStringLiteral("C:\\Programme\\Eine lange Datei.txt");
        const QString copy = QStringLiteral("D:\\Backups\\Eine lange Datei.txt");
        pc.makeDirectory(QStringLiteral("C:\\Programme"));
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        pc.writeFile(source, "Inhalt", platform::attr::ReadOnly | platform::attr::Archive);
        pc.writeFile(QStringLiteral("D:\\Backups\\Eine lange Anmerkung.txt"), "schon da");
        QCOMPARE(platform::shortPathName(QStringLiteral("D:\\Backups\\Eine lange Anmerkung.txt")).value,
                 QStringLiteral("D:\\BACKUPS\\EINELA~1.TXT"));
        QVERIFY(copyIntoBackup(source, copy).ok());

        const auto file = scriptFileFor(source, copy, QStringLiteral("Eine lange Datei.txt"));
        QCOMPARE(file.error, 0);
        QCOMPARE(file.value.shortSourcePath, QStringLiteral("C:\\PROGRA~1\\EINELA~1.TXT"));
        QCOMPARE(file.value.copyDosName, QStringLiteral("EINELA~2.TXT"));
        QCOMPARE(file.value.displayName, QStringLiteral("Eine lange Datei.txt"));
        QCOMPARE(int(file.value.attributes), 33);
        QCOMPARE(platform::canonicalPath(QStringLiteral("D:\\Backups\\") + file.value.copyDosName).value,
                 copy);
    }

    void scriptFileOfMissingCopy()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\CONFIG.SYS"), "x");
        const auto file = scriptFileFor(QStringLiteral("C:\\CONFIG.SYS"), QStringLiteral("D:\\CONFIG.SYS"),
                                        QStringLiteral("CONFIG.SYS"));
        QCOMPARE(file.error, 2);
    }
};

QTEST_GUILESS_MAIN(RestoreScriptTest)
#include "RestoreScriptTest.moc"
