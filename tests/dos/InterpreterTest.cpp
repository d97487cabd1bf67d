#include "dos/core/Interpreter.h"
#include "platform/drives/Files.h"
#include "platform/text/OemText.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QTest>

using dos::Interpreter;

namespace {

const QString Script = QStringLiteral("C:\\DATA\\TEST.BAT");

// A PC with MS-DOS's external commands and a folder of files in every state.
void layOut(TestMachine &pc)
{
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\COMMAND"));
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\ATTRIB.EXE"),
                 "ATTRIB.EXE - stand-in for the attribute command.\r\n");
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\SCANDISK.EXE"),
                 "SCANDISK.EXE - stand-in for ScanDisk.\r\n");
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\FDISK.EXE"),
                 "FDISK.EXE - stand-in for the partition tool.\r\n");
    pc.makeDirectory(QStringLiteral("C:\\DATA"));
    pc.writeFile(QStringLiteral("C:\\DATA\\A.TXT"), "alpha\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\TASTE.TXT"), "x\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\LEER.TXT"), "");
    pc.writeFile(QStringLiteral("C:\\DATA\\RO.TXT"), "fest",
                 platform::attr::ReadOnly | platform::attr::Archive);
    pc.writeFile(QStringLiteral("C:\\DATA\\HID.TXT"), "versteckt", platform::attr::Hidden);
    pc.writeFile(QStringLiteral("C:\\DATA\\Büro.txt"), "Akten");
    pc.writeFile(QStringLiteral("C:\\DATA\\Glückwünsche.txt"), "Alles Gute");
    pc.makeDirectory(QStringLiteral("D:\\Daten"));
}

struct Run {
    Interpreter::Outcome outcome;
    QStringList lines;  // the transcript without its trailing empty lines
};

Run runScriptBytes(const QByteArray &bytes, const QString &keys = {})
{
    const auto written = platform::writeFile(Script, bytes);
    if (written != platform::dos::Ok)
        qFatal("cannot write the test script: %d", written);
    dos::HeadlessConsole console(keys);
    Interpreter shell(console);
    shell.setCurrentDirectory(QStringLiteral("C:\\DATA"));
    Run run{shell.runBatch(Script), console.screen().transcript().split(u'\n')};
    while (!run.lines.isEmpty() && run.lines.last().isEmpty())
        run.lines.removeLast();
    return run;
}

Run runScript(const QString &script, const QString &keys = {})
{
    const auto bytes = platform::oemLines(script.split(u'\n'));
    if (!bytes)
        qFatal("test script not in code page 850");
    return runScriptBytes(*bytes, keys);
}

QString copied(int count)
{
    return QStringLiteral("        %1 Datei(en) kopiert").arg(count);
}

}  // namespace

class InterpreterTest : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void fileEffects_data();
    void fileEffects();
    void pauseAndCtrlC_data();
    void pauseAndCtrlC();
    void echoOnShowsPromptAndCommand();
    void missingAttribIsAnUnknownCommand();
    void namesAreReadInCodePage850();
    void batchStartedFromBatchTakesItsPlace();
    void closingTheScreenEndsABatchThatStartsItself_data();
    void closingTheScreenEndsABatchThatStartsItself();
    void ctrlCStopsAOneLineBatchThatStartsItself();
    void pcWithoutDriveC();
    void currentDirectoryIsThePlatforms();
    void startInPutsEveryDriveAtItsRoot();
    void aRemovedDirectoryLeavesItsDriveAtTheRoot();
    void scanDiskReportsAnUnreadableFolder();
    void scanDiskEndsOnLinkLoops();
    void scanDiskEndsWherePathsEnd();
};

// Script (after "@echo off") -> what the screen shows.
void InterpreterTest::commands_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("screen");

    QTest::newRow("echo") << "echo Hallo  Welt" << QStringList{"Hallo  Welt"};
    QTest::newRow("echo. and echo alone")
        << "echo.\necho\necho.Text" << QStringList{"", "ECHO ist ausgeschaltet", "Text"};
    QTest::newRow("rem and labels") << "rem echo nicht\n:marke\necho ja" << QStringList{"ja"};
    QTest::newRow("cls") << "echo vorher\ncls\necho nachher" << QStringList{"vorher", "nachher"};
    QTest::newRow("unknown command") << "frobnicate /x\necho weiter"
                                     << QStringList{"Befehl oder Dateiname nicht gefunden.", "weiter"};
    QTest::newRow("path") << "path\nPath C:\\WINDOWS\\Command\npath\npath ;\npath"
                          << QStringList{"PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND", "PATH=C:\\WINDOWS\\COMMAND",
                                         "Keine Pfadangabe"};
    QTest::newRow("external command through the first path")
        << "attrib A.TXT" << QStringList{"A          C:\\DATA\\A.TXT"};
    QTest::newRow("no search path") << "path ;\nattrib A.TXT"
                                    << QStringList{"Befehl oder Dateiname nicht gefunden."};
    QTest::newRow("if exist") << "if exist A.TXT echo ja\nif exist KEINE.TXT echo falsch\n"
                                 "if not exist KEINE.TXT echo nein\nif exist HID.TXT echo versteckt"
                              << QStringList{"ja", "nein", "versteckt"};
    QTest::newRow("if without command") << "if exist A.TXT" << QStringList{"Syntaxfehler"};
    QTest::newRow("cd") << "cd\ncd ..\ncd\ncd \\WINDOWS\\COMMAND\ncd\ncd..\\..\\DATA\ncd"
                        << QStringList{"C:\\DATA", "C:\\", "C:\\WINDOWS\\COMMAND", "C:\\DATA"};
    QTest::newRow("cd on another drive")
        << "cd D:\\DATEN\ncd\ncd D:\nD:\ncd" << QStringList{"C:\\DATA", "D:\\DATEN", "D:\\DATEN"};
    QTest::newRow("cd to a missing folder")
        << "cd KEIN\ncd" << QStringList{"Ungültiges Verzeichnis", "C:\\DATA"};
    QTest::newRow("drive change") << "Q:\nA:\nD:\ncd"
                                  << QStringList{"Ungültige Laufwerksangabe", "Laufwerk nicht bereit",
                                                 "D:\\"};
    QTest::newRow("type") << "type A.TXT\ntype KEINE.TXT"
                          << QStringList{"alpha", "Datei nicht gefunden - KEINE.TXT"};
    QTest::newRow("copy") << "copy A.TXT B.TXT" << QStringList{copied(1)};
    QTest::newRow("copy missing file")
        << "copy KEINE.TXT B.TXT" << QStringList{"Datei nicht gefunden - KEINE.TXT", copied(0)};
    QTest::newRow("copy hidden file")
        << "copy HID.TXT B.TXT" << QStringList{"Datei nicht gefunden - HID.TXT", copied(0)};
    QTest::newRow("copy onto read-only file")
        << "copy A.TXT RO.TXT" << QStringList{"Zugriff verweigert - RO.TXT", copied(0)};
    QTest::newRow("copy onto itself")
        << "copy A.TXT C:\\DATA" << QStringList{"Datei kann nicht auf sich selbst kopiert werden", copied(0)};
    QTest::newRow("copy to missing folder")
        << "copy A.TXT C:\\KEIN\\A.TXT" << QStringList{"Pfad nicht gefunden", copied(0)};
    QTest::newRow("copy without names") << "copy /V" << QStringList{"Erforderlicher Parameter fehlt"};
    QTest::newRow("copy wrong switch") << "copy A.TXT B.TXT /Q" << QStringList{"Ungültiger Schalter - /Q"};
    QTest::newRow("del read-only") << "del RO.TXT" << QStringList{"Zugriff verweigert - RO.TXT"};
    QTest::newRow("del missing") << "del KEINE.TXT" << QStringList{"Datei nicht gefunden - KEINE.TXT"};
    QTest::newRow("attrib lists") << "path C:\\WINDOWS\\COMMAND\nattrib RO.TXT\nattrib HID.TXT"
                                  << QStringList{"A    R     C:\\DATA\\RO.TXT",
                                                 "    H      C:\\DATA\\HID.TXT"};
    QTest::newRow("attrib missing file") << "path C:\\WINDOWS\\COMMAND\nattrib +r KEINE.TXT"
                                         << QStringList{"Datei nicht gefunden - C:\\DATA\\KEINE.TXT"};
    QTest::newRow("attrib keeps a hidden file")
        << "path C:\\WINDOWS\\COMMAND\nattrib -r HID.TXT"
        << QStringList{"Versteckte Datei wird nicht zurückgesetzt - C:\\DATA\\HID.TXT"};
    QTest::newRow("attrib wrong sign")
        << "path C:\\WINDOWS\\COMMAND\nattrib +x A.TXT" << QStringList{"Ungültiger Schalter - +x"};
    QTest::newRow("program by its full name")
        << "C:\\WINDOWS\\COMMAND\\ATTRIB.EXE A.TXT" << QStringList{"A          C:\\DATA\\A.TXT"};
    QTest::newRow("program this PC cannot run")
        << "path C:\\WINDOWS\\COMMAND\nfdisk" << QStringList{"Programm kann nicht ausgeführt werden"};
    QTest::newRow("scandisk as the emergency disk calls it")
        << "path C:\\WINDOWS\\COMMAND\nscandisk.exe C: /AUTOFIX /NOSUMMARY"
        << QStringList{"Microsoft ScanDisk", "", "ScanDisk überprüft jetzt folgende Bereiche von Laufwerk C:",
                       "    Verzeichnisstruktur", "    Dateiattribute"};
    QTest::newRow("scandisk with summary")
        << "path C:\\WINDOWS\\COMMAND\nscandisk D:"
        << QStringList{"Microsoft ScanDisk",
                       "",
                       "ScanDisk überprüft jetzt folgende Bereiche von Laufwerk D:",
                       "    Verzeichnisstruktur",
                       "    Dateiattribute",
                       "",
                       "ScanDisk hat auf Laufwerk D: keine Fehler gefunden.",
                       "2 Verzeichnisse, 0 Dateien"};
    // The console has no keys: only the file can answer.
    const QString press = QStringLiteral("Weiter mit beliebiger Taste . . .");
    QTest::newRow("input from a file") << "pause < TASTE.TXT\necho weiter" << QStringList{press, "weiter"};
    QTest::newRow("input from a file, no blanks")
        << "pause<TASTE.TXT\necho weiter" << QStringList{press, "weiter"};
    QTest::newRow("input from a file after if")
        << "if exist A.TXT pause < C:\\DATA\\TASTE.TXT\necho weiter" << QStringList{press, "weiter"};
    QTest::newRow("input file ends") << "pause < LEER.TXT\necho weiter" << QStringList{press, "weiter"};
    QTest::newRow("input file missing")
        << "pause < KEIN.TXT\necho weiter" << QStringList{"Datei nicht gefunden", "weiter"};
    QTest::newRow("input file not named") << "pause <\necho weiter" << QStringList{"Syntaxfehler", "weiter"};
    QTest::newRow("scandisk on a missing drive")
        << "path C:\\WINDOWS\\COMMAND\nscandisk Q:" << QStringList{"Ungültige Laufwerksangabe"};
}

void InterpreterTest::commands()
{
    QFETCH(QString, script);
    QFETCH(QStringList, screen);
    TestMachine pc;
    layOut(pc);
    const Run run = runScript(QStringLiteral("@echo off\n") + script);
    QCOMPARE(run.lines, screen);
    QCOMPARE(run.outcome, Interpreter::Outcome::Finished);
}

// Script (after "@echo off") -> a file's content and attributes afterwards (null: no such file).
void InterpreterTest::fileEffects_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("attributes");

    const int archive = platform::attr::Archive;
    QTest::newRow("copy to a file") << "copy A.TXT NEU.TXT"
                                    << "C:\\DATA\\NEU.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("copy /V to a folder") << "copy A.TXT C:\\ /V"
                                         << "C:\\A.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("copy to a drive") << "copy A.TXT D:"
                                     << "D:\\A.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("copy switch glued to the name")
        << "copy C:\\DATA\\A.TXT D:\\Daten/v"
        << "D:\\Daten\\A.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("copy to the current folder") << "cd D:\\Daten\nD:\ncopy C:\\DATA\\A.TXT"
                                                << "D:\\Daten\\A.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("copy leaves a read-only target")
        << "copy A.TXT RO.TXT"
        << "C:\\DATA\\RO.TXT" << QByteArray("fest") << archive + 1;
    QTest::newRow("copy after attrib -r") << "path C:\\WINDOWS\\COMMAND\nattrib RO.TXT -r\ncopy A.TXT RO.TXT"
                                          << "C:\\DATA\\RO.TXT" << QByteArray("alpha\r\n") << archive;
    QTest::newRow("del") << "del A.TXT"
                         << "C:\\DATA\\A.TXT" << QByteArray() << 0;
    QTest::newRow("del keeps a read-only file") << "del RO.TXT"
                                                << "C:\\DATA\\RO.TXT" << QByteArray("fest") << archive + 1;
    QTest::newRow("attrib several at once") << "path C:\\WINDOWS\\COMMAND\nattrib +r +h +s A.TXT"
                                            << "C:\\DATA\\A.TXT" << QByteArray("alpha\r\n") << 39;
    QTest::newRow("attrib signs after the name") << "path C:\\WINDOWS\\COMMAND\nattrib A.TXT -a +S"
                                                 << "C:\\DATA\\A.TXT" << QByteArray("alpha\r\n") << 4;
    QTest::newRow("attrib clears all four") << "path C:\\WINDOWS\\COMMAND\nattrib HID.TXT -r -h -s -a"
                                            << "C:\\DATA\\HID.TXT" << QByteArray("versteckt") << 0;
    QTest::newRow("attrib through a short name")
        << "path C:\\WINDOWS\\COMMAND\nattrib +r GLÜCKW~1.TXT"
        << "C:\\DATA\\Glückwünsche.txt" << QByteArray("Alles Gute") << archive + 1;
}

void InterpreterTest::fileEffects()
{
    QFETCH(QString, script);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(int, attributes);
    TestMachine pc;
    layOut(pc);
    runScript(QStringLiteral("@echo off\n") + script);
    if (content.isNull()) {
        QVERIFY(!platform::fileExists(file));
        return;
    }
    QCOMPARE(platform::readFile(file).value, content);
    QCOMPARE(int(platform::fileAttributes(file).value), attributes);
}

void InterpreterTest::pauseAndCtrlC_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<Interpreter::Outcome>("outcome");

    const QString press = QStringLiteral("Weiter mit beliebiger Taste . . .");
    const QString question = QStringLiteral("Batchvorgang abbrechen (J/N)?");
    QTest::newRow("any key") << "x" << QStringList{press, "danach"} << Interpreter::Outcome::Finished;
    QTest::newRow("enter") << "\n" << QStringList{press, "danach"} << Interpreter::Outcome::Finished;
    QTest::newRow("ctrl+c, go on") << "^Cn" << QStringList{press + "^C", question + "N", "danach"}
                                   << Interpreter::Outcome::Finished;
    QTest::newRow("ctrl+c, stop") << "^Cxj" << QStringList{press + "^C", question + "J"}
                                  << Interpreter::Outcome::Aborted;
    QTest::newRow("no key comes") << "" << QStringList{press} << Interpreter::Outcome::InputEnded;
}

void InterpreterTest::pauseAndCtrlC()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    QFETCH(Interpreter::Outcome, outcome);
    TestMachine pc;
    layOut(pc);
    const Run run = runScript(QStringLiteral("@echo off\npause\necho danach"), keys);
    QCOMPARE(run.lines, screen);
    QCOMPARE(run.outcome, outcome);
}

void InterpreterTest::echoOnShowsPromptAndCommand()
{
    TestMachine pc;
    layOut(pc);
    const Run run = runScript(QStringLiteral("echo eins\n@echo zwei\necho off\necho drei"));
    QCOMPARE(run.lines,
             QStringList({"", "C:\\DATA>echo eins", "eins", "zwei", "", "C:\\DATA>echo off", "drei"}));
}

void InterpreterTest::missingAttribIsAnUnknownCommand()
{
    TestMachine pc;
    layOut(pc);
    QCOMPARE(platform::deleteFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\ATTRIB.EXE")), 0);
    const Run run = runScript(QStringLiteral("@echo off\nPath C:\\WINDOWS\\Command\n"
                                             "attrib A.TXT +r\necho weiter"));
    QCOMPARE(run.lines, QStringList({"Befehl oder Dateiname nicht gefunden.", "weiter"}));
    QCOMPARE(int(platform::fileAttributes(QStringLiteral("C:\\DATA\\A.TXT")).value),
             int(platform::attr::Archive));
}

// MS-DOS reads a batch file in code page 850: the bytes of "Ü" there are 0x9A, in the Windows
// code page 0xDC, which code page 850 reads as another letter.
void InterpreterTest::namesAreReadInCodePage850()
{
    TestMachine pc;
    layOut(pc);
    const Run oem = runScriptBytes(QByteArray("@echo off\r\ntype B\x9aRO.TXT\r\necho.\r\n"
                                              "copy GL\x9A"
                                              "CKW~1.TXT D:\\DATEN\r\n"));
    QCOMPARE(oem.lines, QStringList({"Akten", copied(1)}));
    QCOMPARE(platform::readFile(QStringLiteral("D:\\Daten\\GLÜCKW~1.TXT")).value, QByteArray("Alles Gute"));

    const Run ansi = runScriptBytes(QByteArray("@echo off\r\ntype B\xdcRO.TXT\r\n"));
    QCOMPARE(ansi.lines, QStringList({"Datei nicht gefunden - B▄RO.TXT"}));
}

void InterpreterTest::batchStartedFromBatchTakesItsPlace()
{
    TestMachine pc;
    layOut(pc);
    pc.writeFile(QStringLiteral("C:\\DATA\\ZWEI.BAT"), "echo in zwei\r\n");
    const Run run = runScript(QStringLiteral("@echo off\necho in eins\nzwei\necho nicht mehr"));
    QCOMPARE(run.lines, QStringList({"in eins", "in zwei"}));
}

// A console whose user closes it after some lines, and presses no key before.
class ClosingConsole : public dos::HeadlessConsole {
public:
    explicit ClosingConsole(int linesBeforeClosing)
        : dos::HeadlessConsole({}),
          m_left(linesBeforeClosing)
    {}
    void lineDone() override { --m_left; }
    bool isClosed() const override { return m_left <= 0; }

private:
    int m_left;
};

// A batch file that starts itself reads no key, so neither Ctrl+C nor the end of the keys stops
// it; closing the screen does, also when the file is that one line.
void InterpreterTest::closingTheScreenEndsABatchThatStartsItself_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("rounds");  // "Runde" lines before the screen closed
    QTest::newRow("three lines") << QByteArray("@echo off\r\necho Runde\r\nTEST\r\n") << 100;
    QTest::newRow("one line") << QByteArray("TEST\r\n") << 0;
}

void InterpreterTest::closingTheScreenEndsABatchThatStartsItself()
{
    QFETCH(QByteArray, script);
    QFETCH(int, rounds);
    TestMachine pc;
    layOut(pc);
    pc.writeFile(Script, script);
    ClosingConsole console(300);
    Interpreter shell(console);
    shell.setCurrentDirectory(QStringLiteral("C:\\DATA"));
    QCOMPARE(shell.runBatch(Script), Interpreter::Outcome::InputEnded);
    QCOMPARE(console.screen().transcript().count(QStringLiteral("Runde")), rounds);
}

// At the prompt, Ctrl+C typed ahead is taken between two lines, also between a line and the
// batch file it starts in the same one's place.
void InterpreterTest::ctrlCStopsAOneLineBatchThatStartsItself()
{
    TestMachine pc;
    layOut(pc);
    pc.writeFile(Script, "TEST\r\n");
    dos::HeadlessConsole console(QStringLiteral("^CJ"));
    Interpreter shell(console);
    shell.setInteractive();
    shell.setCurrentDirectory(QStringLiteral("C:\\DATA"));
    QCOMPARE(shell.runBatch(Script), Interpreter::Outcome::Aborted);
    QVERIFY(console.screen().transcript().contains(QStringLiteral("Batchvorgang abbrechen (J/N)?J")));
}

// The interpreter starts on C:, which this PC lacks: commands that need a drive say so.
void InterpreterTest::pcWithoutDriveC()
{
    TestMachine pc(QStringLiteral("[Windows]\nDirectory=D:\\WIN\n[Drives]\nD=fixed,drive_d\n"));
    pc.makeDirectory(QStringLiteral("D:\\WIN\\COMMAND"));
    pc.writeFile(QStringLiteral("D:\\WIN\\COMMAND\\SCANDISK.EXE"),
                 "SCANDISK.EXE - stand-in for ScanDisk.\r\n");
    pc.writeFile(QStringLiteral("D:\\X.BAT"),
                 "@echo off\r\nscandisk /NOSUMMARY\r\ncopy X.BAT Y.BAT\r\necho Ende\r\n");
    dos::HeadlessConsole console({});
    Interpreter shell(console);
    QCOMPARE(shell.runBatch(QStringLiteral("D:\\X.BAT")), Interpreter::Outcome::Finished);
    QVERIFY(console.screen().transcript().startsWith(QStringLiteral(
        "Ungültige Laufwerksangabe\nDatei nicht gefunden - X.BAT\n        0 Datei(en) kopiert\nEnde\n")));
}

// cd and drive changes move the platform's current directories, which keep the names on disk;
// the interpreter shows their 8.3 form and follows what others set.
void InterpreterTest::currentDirectoryIsThePlatforms()
{
    TestMachine pc;
    layOut(pc);
    pc.makeDirectory(QStringLiteral("D:\\Daten\\Juni 1999"));
    const Run run = runScript(QStringLiteral("@echo off\ncd D:\\DATEN\\JUNI19~1\ncd \\WINDOWS\nD:\ncd"));
    QCOMPARE(run.lines, QStringList({"D:\\DATEN\\JUNI19~1"}));
    QCOMPARE(platform::currentDirectory(), QStringLiteral("D:\\Daten\\Juni 1999"));
    QCOMPARE(platform::driveCurrentDirectory(u'C').value, QStringLiteral("C:\\WINDOWS"));

    dos::HeadlessConsole console({});
    Interpreter shell(console);
    QCOMPARE(platform::setCurrentDirectory(QStringLiteral("C:\\DATA")), 0);
    QCOMPARE(shell.currentDirectory(), QStringLiteral("C:\\DATA"));
    QCOMPARE(shell.directoryOf(u'd'), QStringLiteral("D:\\DATEN\\JUNI19~1"));
    QCOMPARE(shell.absolutePath(QStringLiteral("D:A.TXT")), QStringLiteral("D:\\DATEN\\JUNI19~1\\A.TXT"));
}

// As a new process starts: the directories the PC was in before are forgotten.
void InterpreterTest::startInPutsEveryDriveAtItsRoot()
{
    TestMachine pc;
    layOut(pc);
    QCOMPARE(platform::setCurrentDirectory(QStringLiteral("D:\\Daten")), 0);
    QCOMPARE(platform::setCurrentDirectory(QStringLiteral("C:\\WINDOWS")), 0);
    dos::HeadlessConsole console({});
    Interpreter shell(console);
    QCOMPARE(shell.startIn(QStringLiteral("C:\\DATA")), 0);
    QCOMPARE(shell.directoryOf(u'D'), QStringLiteral("D:\\"));
    QCOMPARE(platform::driveCurrentDirectory(u'D').value, QStringLiteral("D:\\"));
    QCOMPARE(platform::currentDirectory(), QStringLiteral("C:\\DATA"));
    QCOMPARE(shell.startIn(QStringLiteral("D:")), 0);
    QCOMPARE(shell.currentDirectory(), QStringLiteral("D:\\"));
    QCOMPARE(platform::driveCurrentDirectory(u'C').value, QStringLiteral("C:\\"));
    QCOMPARE(shell.startIn(QStringLiteral("C:\\KEIN")), int(platform::dos::PathNotFound));
    QCOMPARE(shell.currentDirectory(), QStringLiteral("D:\\"));
}

void InterpreterTest::aRemovedDirectoryLeavesItsDriveAtTheRoot()
{
    TestMachine pc;
    layOut(pc);
    dos::HeadlessConsole console({});
    Interpreter shell(console);
    QCOMPARE(shell.runCommandLine(QStringLiteral("cd D:\\Daten")), Interpreter::Outcome::Finished);
    QCOMPARE(platform::removeDirectoryTree(QStringLiteral("D:\\Daten")), 0);
    QCOMPARE(shell.runCommandLine(QStringLiteral("D:")), Interpreter::Outcome::Finished);
    QCOMPARE(shell.currentDirectory(), QStringLiteral("D:\\"));
    QCOMPARE(platform::currentDirectory(), QStringLiteral("D:\\"));
    QCOMPARE(console.screen().transcript().trimmed(), QString());
}

// A folder whose attribute records cannot be read (here: a folder in the records file's place).
void InterpreterTest::scanDiskReportsAnUnreadableFolder()
{
    TestMachine pc;
    layOut(pc);
    QVERIFY(QDir(pc.host(QStringLiteral("D:\\Daten"))).mkdir(QStringLiteral(".dosattr")));
    const Run run = runScript(QStringLiteral("@echo off\nscandisk D: /AUTOFIX /NOSUMMARY\necho weiter"));
    QCOMPARE(run.lines.mid(5),
             QStringList({"", "Verzeichnis kann nicht gelesen werden - D:\\Daten",
                          "ScanDisk hat auf Laufwerk D: Fehler gefunden, die nicht behoben werden konnten.",
                          "weiter"}));
}

// Links back to a folder on the way (to itself, to the root, to each other) would make the tree
// endless; the folders they lead to are surveyed once on their own paths.
void InterpreterTest::scanDiskEndsOnLinkLoops()
{
    TestMachine pc;
    layOut(pc);
    pc.makeDirectory(QStringLiteral("D:\\Zwei"));
    pc.writeFile(QStringLiteral("D:\\Daten\\A.TXT"), "a");
    const QString drive = pc.host(QStringLiteral("D:\\"));
    QVERIFY(QFile::link(QStringLiteral("."), drive + QStringLiteral("/SCHLEIFE")));
    QVERIFY(QFile::link(QStringLiteral(".."), drive + QStringLiteral("/Daten/ZURUECK")));
    QVERIFY(QFile::link(QStringLiteral("../Zwei"), drive + QStringLiteral("/Daten/NEBEN")));
    QVERIFY(QFile::link(QStringLiteral("../Daten"), drive + QStringLiteral("/Zwei/NEBEN")));
    const Run run = runScript(QStringLiteral("@echo off\nscandisk D:"));
    QCOMPARE(run.lines.mid(6), QStringList({"ScanDisk hat auf Laufwerk D: keine Fehler gefunden.",
                                            "5 Verzeichnisse, 2 Dateien"}));
}

// A host tree deeper than any Windows path is surveyed as far as a path can reach.
void InterpreterTest::scanDiskEndsWherePathsEnd()
{
    TestMachine pc;
    layOut(pc);
    const QString name = QStringLiteral("Ein Ordner mit einem recht langen Namen");  // 39 characters
    QString windowsPath = QStringLiteral("D:\\Daten");
    QString tooLong;
    for (int level = 0; level < 8; ++level) {
        windowsPath += u'\\' + name;
        if (tooLong.isEmpty() && windowsPath.size() > 259)
            tooLong = windowsPath;
    }
    QVERIFY(QDir().mkpath(pc.host(QStringLiteral("D:\\Daten")) + u'/' + QStringList(8, name).join(u'/')));
    const Run run = runScript(QStringLiteral("@echo off\nscandisk D: /NOSUMMARY"));
    QVERIFY(run.lines.size() > 7);
    // The long line wraps at the screen's 80 columns.
    QCOMPARE(run.lines.mid(6, run.lines.size() - 7).join(QString()),
             "Verzeichnis kann nicht gelesen werden - " + tooLong);
    QCOMPARE(run.lines.last(),
             "ScanDisk hat auf Laufwerk D: Fehler gefunden, die nicht behoben werden konnten.");
}

QTEST_GUILESS_MAIN(InterpreterTest)
#include "InterpreterTest.moc"
