#include "platform/drives/Files.h"
#include "platform/drives/Floppy.h"
#include "platform/shell/ShellLink.h"
#include "restore/core/AutostartShortcut.h"
#include "tests/support/DemoPc.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QString output;
};

// workingDirectory: the host folder velko-dos starts in; empty: the test's own.
Result velkoDos(const TestMachine &pc, const QStringList &arguments, const QString &workingDirectory = {})
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setProgram(qEnvironmentVariable("VELKO_DOS"));
    process.setArguments(QStringList{QStringLiteral("--machine"), pc.folder(), QStringLiteral("--headless")}
                         + arguments);
    process.start();
    if (!process.waitForFinished(60000))
        qFatal("velko-dos did not end");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

// The screen's lines without the trailing empty ones.
QStringList screenLines(const QString &output)
{
    QStringList lines = output.split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A bootable disk in A: as SYS leaves it, with a small AUTOEXEC.BAT that copies a saved WIN.INI
// back from C:.
void insertEmergencyDisk(TestMachine &pc)
{
    insertFormattedDisk(pc, u'A', QStringLiteral("NOTFALL"), false);
    for (const QString name : {"IO.SYS", "MSDOS.SYS", "COMMAND.COM"})
        QCOMPARE(platform::copyFile(QStringLiteral("C:\\") + name, QStringLiteral("A:\\") + name), 0);
    QCOMPARE(platform::writeFile(QStringLiteral("A:\\AUTOEXEC.BAT"),
                                 "echo off\r\necho Notfall\r\npause\r\n"
                                 "copy C:\\NOTFALL\\WIN.INI C:\\WINDOWS /V\r\ncd\r\n"),
             0);
    pc.makeDirectory(QStringLiteral("C:\\NOTFALL"));
    pc.writeFile(QStringLiteral("C:\\NOTFALL\\WIN.INI"), "gerettet");
}

}  // namespace

class VelkoDosProcessTest : public QObject {
    Q_OBJECT
private slots:
    void msDosModeRunsTheScriptAndNamesTheAutostart();
    void commandLineRunsOneCommand();
    void cutShortScriptEndsWithCode1();
    void wrongCommandLineEndsWithCode2();
    void startDirectory_data();
    void startDirectory();
    void formatReadsTheAnswerFile_data();
    void formatReadsTheAnswerFile();
    void bootFromFloppyRunsItsAutoexec_data();
    void bootFromFloppyRunsItsAutoexec();
    void bootFromFloppyFails_data();
    void bootFromFloppyFails();
    void promptEnds_data();
    void promptEnds();
};

void VelkoDosProcessTest::msDosModeRunsTheScriptAndNamesTheAutostart()
{
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("D:\\BACKUP"));
    pc.writeFile(QStringLiteral("D:\\BACKUP\\Restore.bat"),
                 "echo off\r\necho Sicherung\r\npause\r\ncopy EINS.TXT C:\\\r\n");
    pc.writeFile(QStringLiteral("D:\\BACKUP\\EINS.TXT"), "eins");
    pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
    pc.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe"), "program");
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart"));
    platform::ShellLink link;
    link.targetPath = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe");
    link.workingDirectory = QStringLiteral("C:\\Programme\\Velko Save");
    QCOMPARE(platform::writeShellLink(restore::autostartShortcutPath(), link), 0);

    const QString screenFile = pc.folder() + QStringLiteral("/screen.txt");
    const Result result =
        velkoDos(pc, {QStringLiteral("--keys"), QStringLiteral("x"), QStringLiteral("--screen"), screenFile,
                      QStringLiteral("--msdos-mode"), QStringLiteral("D:\\BACKUP\\Restore.bat")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.output, QStringLiteral("AUTOSTART C:\\Programme\\Velko Save\\Orvel.exe|"
                                           "C:\\Programme\\Velko Save\n"));
    QFile screen(screenFile);
    QVERIFY(screen.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(screen.readAll()).split(u'\n');
    // The script runs in its own folder, so its copy finds EINS.TXT there.
    QCOMPARE(lines.mid(0, 5),
             QStringList({"", "D:\\BACKUP>echo off", "Sicherung", "Weiter mit beliebiger Taste . . .",
                          "        1 Datei(en) kopiert"}));
    QCOMPARE(lines.size(), 25 + 1);  // the 25 screen lines, then the file's last line end
    QCOMPARE(pc.readFile(QStringLiteral("C:\\EINS.TXT")), QByteArray("eins"));
}

void VelkoDosProcessTest::commandLineRunsOneCommand()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\A.TXT"), "a");
    const Result result = velkoDos(pc, {QStringLiteral("/c"), QStringLiteral("copy"),
                                        QStringLiteral("C:\\A.TXT"), QStringLiteral("D:\\")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.output.startsWith(QStringLiteral("        1 Datei(en) kopiert\n")));
    QCOMPARE(pc.readFile(QStringLiteral("D:\\A.TXT")), QByteArray("a"));
}

void VelkoDosProcessTest::cutShortScriptEndsWithCode1()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\X.BAT"), "pause\r\n");
    QCOMPARE(velkoDos(pc, {QStringLiteral("--window"), QStringLiteral("C:\\X.BAT")}).exitCode, 1);
    QCOMPARE(velkoDos(pc, {QStringLiteral("--window"), QStringLiteral("C:\\KEIN.BAT")}).exitCode, 1);
}

void VelkoDosProcessTest::wrongCommandLineEndsWithCode2()
{
    TestMachine pc;
    QCOMPARE(velkoDos(pc, {QStringLiteral("--frob")}).exitCode, 2);
    QCOMPARE(velkoDos(pc, {}).exitCode, 2);
}

// velko-dos starts in C:\Programme on the host; --directory sets where DOS starts.
void VelkoDosProcessTest::startDirectory_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");

    QTest::newRow("none: the host's") << QString() << 0 << "Programme";
    QTest::newRow("C: is its root") << "C:" << 0 << "Wurzel";
    QTest::newRow("C:\\") << "C:\\" << 0 << "Wurzel";
    QTest::newRow("another drive's folder") << "d:\\daten" << 0 << "Daten";
    QTest::newRow("missing folder") << "C:\\KEIN" << 2 << "";
}

void VelkoDosProcessTest::startDirectory()
{
    QFETCH(QString, directory);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme"));
    pc.makeDirectory(QStringLiteral("D:\\Daten"));
    pc.writeFile(QStringLiteral("C:\\WO.TXT"), "Wurzel");
    pc.writeFile(QStringLiteral("C:\\Programme\\WO.TXT"), "Programme");
    pc.writeFile(QStringLiteral("D:\\Daten\\WO.TXT"), "Daten");

    QStringList arguments;
    if (!directory.isEmpty())
        arguments << QStringLiteral("--directory") << directory;
    arguments << QStringLiteral("/c") << QStringLiteral("type WO.TXT");
    const Result result = velkoDos(pc, arguments, pc.host(QStringLiteral("C:\\Programme")));
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(screenLines(result.output).value(0), output);
}

// As the emergency disk's wizard runs it: hidden, in "C:", its answers in a 9-byte file; the
// command line reaches velko-dos as one argument or as several.
void VelkoDosProcessTest::formatReadsTheAnswerFile_data()
{
    QTest::addColumn<bool>("oneArgument");
    QTest::newRow("one argument") << true;
    QTest::newRow("several arguments") << false;
}

void VelkoDosProcessTest::formatReadsTheAnswerFile()
{
    QFETCH(bool, oneArgument);
    TestMachine pc;
    seedDemoPc(pc);
    insertFormattedDisk(pc, u'A', {}, true);
    const auto answers = platform::createTempFile(platform::tempDirectory(), QStringLiteral("TMP"));
    QCOMPARE(answers.error, 0);
    QCOMPARE(platform::writeFile(answers.value, "\r\n\r\nn\r\n\r\n"), 0);

    const QString command = QStringLiteral("format A: /v:Notfall /Q < ") + answers.value;
    QStringList arguments{QStringLiteral("--directory"), QStringLiteral("C:"), QStringLiteral("/c")};
    arguments += oneArgument ? QStringList{command} : command.split(u' ');
    const Result result = velkoDos(pc, arguments);
    QCOMPARE(result.exitCode, 0);
    // Each CR LF is one Enter: the first confirms the disk, the second meets the question again.
    QCOMPARE(screenLines(result.output),
             QStringList(
                 {"Neue Diskette in Laufwerk A: einlegen", "und anschließend die EINGABETASTE drücken...", "",
                  "Überprüfung des bestehenden Datenträgerformats.", "QuickFormat wird durchgeführt.",
                  "Formatieren beendet.", "Datenträgerbezeichnung: NOTFALL", "",
                  "Eine weitere Diskette formatieren (J/N)?", "Eine weitere Diskette formatieren (J/N)?n"}));
    QCOMPARE(platform::volumeLabel(u'A').value, QStringLiteral("NOTFALL"));
    QCOMPARE(platform::files(QStringLiteral("A:\\")).value, QStringList());
    QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
}

// The disk's pause takes the keys given; without one the script stops there.
void VelkoDosProcessTest::bootFromFloppyRunsItsAutoexec_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<QByteArray>("winIni");

    const QStringList start{"Starte MS-DOS...", "",        "",
                            "A:\\>echo off",    "Notfall", "Weiter mit beliebiger Taste . . ."};
    QTest::newRow("key pressed") << "x" << 0
                                 << start + QStringList{"        1 Datei(en) kopiert", "A:\\", "", "A:\\>"}
                                 << QByteArray("gerettet");
    QTest::newRow("no key") << "" << 1 << start << QByteArray();
}

void VelkoDosProcessTest::bootFromFloppyRunsItsAutoexec()
{
    QFETCH(QString, keys);
    QFETCH(int, exitCode);
    QFETCH(QStringList, screen);
    QFETCH(QByteArray, winIni);
    TestMachine pc;
    seedDemoPc(pc);
    insertEmergencyDisk(pc);
    const QByteArray before = pc.readFile(QStringLiteral("C:\\WINDOWS\\WIN.INI"));

    const Result result = velkoDos(pc, {QStringLiteral("--keys"), keys, QStringLiteral("--boot-floppy")});
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(screenLines(result.output), screen);
    QCOMPARE(pc.readFile(QStringLiteral("C:\\WINDOWS\\WIN.INI")), winIni.isNull() ? before : winIni);
}

void VelkoDosProcessTest::bootFromFloppyFails_data()
{
    QTest::addColumn<QString>("disk");  // "none", "empty" (formatted, no system) or "system"
    QTest::addColumn<QString>("drive");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("screen");

    QTest::newRow("no disk")
        << "none"
        << "A" << 1
        << QStringList{"Keine Diskette in Laufwerk A: - Startdiskette einlegen und den PC neu starten"};
    QTest::newRow("no system") << "empty"
                               << "A:" << 1
                               << QStringList{"Kein System oder Datenträgerfehler",
                                              "Datenträger wechseln und den PC neu starten"};
    QTest::newRow("no floppy drive") << "system"
                                     << "C" << 2 << QStringList();
}

void VelkoDosProcessTest::bootFromFloppyFails()
{
    QFETCH(QString, disk);
    QFETCH(QString, drive);
    QFETCH(int, exitCode);
    QFETCH(QStringList, screen);
    TestMachine pc;
    seedDemoPc(pc);
    if (disk == u"system")
        insertEmergencyDisk(pc);
    else if (disk == u"empty")
        insertFormattedDisk(pc, u'A', {}, true);

    const Result result =
        velkoDos(pc, {QStringLiteral("--keys"), QStringLiteral("x"), QStringLiteral("--boot-floppy"), drive});
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(screenLines(result.output), screen);
}

// --prompt [X:\\PATH]: the keys -> exit code and the screen's last line.
void VelkoDosProcessTest::promptEnds_data()
{
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("exit") << "C:\\WINDOWS"
                          << "cd\nexit\n"
                          << 0 << "C:\\WINDOWS>exit";
    QTest::newRow("ctrl+alt+del switches off") << "C:\\"
                                               << "ver{Ctrl+Alt+Del}" << 3 << "C:\\>ver";
    QTest::newRow("keys run out") << "D:\\"
                                  << "ver\n"
                                  << 1 << "D:\\>";
    QTest::newRow("win starts Windows on a sound PC") << "C:\\"
                                                      << "win\n"
                                                      << 0 << "Windows 98 wird geladen...";
    QTest::newRow("no such directory") << "C:\\KEIN"
                                       << "exit\n"
                                       << 2 << "";
}

void VelkoDosProcessTest::promptEnds()
{
    QFETCH(QString, directory);
    QFETCH(QString, keys);
    QFETCH(int, exitCode);
    QFETCH(QString, lastLine);
    TestMachine pc;
    seedDemoPc(pc);
    const Result result =
        velkoDos(pc, {QStringLiteral("--keys"), keys, QStringLiteral("--prompt"), directory});
    QCOMPARE(result.exitCode, exitCode);
    const QStringList lines = screenLines(result.output);
    QCOMPARE(lines.isEmpty() ? QString() : lines.last(), lastLine);
}

QTEST_GUILESS_MAIN(VelkoDosProcessTest)
#include "VelkoDosProcessTest.moc"
