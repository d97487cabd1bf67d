#include "backup/core/Runner.h"
#include "platform/drives/Files.h"
#include "platform/shell/ShellLink.h"
#include "tests/support/DemoPc.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QString Program = QStringLiteral("C:\\Programme\\Velko Save");
const QString Backups = Program + QStringLiteral("\\Backups");
const QString Autostart = QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart");
const QString AutostartLine =
    QStringLiteral("AUTOSTART C:\\Programme\\Velko Save\\Orvel.exe|C:\\Programme\\Velko Save");

struct Run {
    int exitCode = -1;
    QStringList screen;
    QStringList stdoutLines;
};

// velko-dos --headless --start on the PC, the keys given in advance.
Run startPc(const TestMachine &pc, const QString &keys)
{
    const QString screenFile = pc.folder() + QStringLiteral("/screen.txt");
    QProcess process;
    process.setProgram(qEnvironmentVariable("VELKO_DOS"));
    process.setArguments({QStringLiteral("--machine"), pc.folder(), QStringLiteral("--headless"),
                          QStringLiteral("--keys"), keys, QStringLiteral("--screen"), screenFile,
                          QStringLiteral("--start")});
    process.start();
    if (!process.waitForFinished(60000))
        qFatal("velko-dos did not end");
    QFile screen(screenFile);
    if (!screen.open(QIODevice::ReadOnly))
        qFatal("no screen written");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(screen.readAll()).split(u'\n'),
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts)};
}

// Whether `lines` holds every one of `expected`, in that order.
bool holdsInOrder(const QStringList &lines, const QStringList &expected)
{
    qsizetype at = 0;
    for (const QString &line : expected) {
        at = lines.indexOf(line, at);
        if (at < 0) {
            qWarning("not on the screen (in this order): %s", qPrintable(line));
            return false;
        }
        ++at;
    }
    return true;
}

// The demo PC with the program installed and a restore pending in the autostart folder.
void layOut(TestMachine &pc)
{
    seedDemoPc(pc);
    pc.makeDirectory(Program);
    pc.writeFile(Program + QStringLiteral("\\Orvel.exe"), "program");
    pc.makeDirectory(Autostart);
    platform::ShellLink link;
    link.targetPath = Program + QStringLiteral("\\Orvel.exe");
    link.workingDirectory = Program;
    QCOMPARE(platform::writeShellLink(Autostart + QStringLiteral("\\Orvel.lnk"), link), 0);
}

void spoil(const QString &path, const QByteArray &bytes)
{
    QCOMPARE(platform::setFileAttributes(path, 0), 0);
    QCOMPARE(platform::writeFile(path, bytes), 0);
}

// The observer of a backup run that must go through without a fault.
class QuietRun : public backup::RunObserver {
public:
    void missing(const backup::MarkedFile &file) override { qFatal("missing: %s", qPrintable(file.path)); }
    void copyFailed(const backup::MarkedFile &file, const QString &, int) override
    {
        qFatal("copy failed: %s", qPrintable(file.path));
    }
    void folderFailed(int) override { qFatal("backup folder failed"); }
    void scriptFailed() override { qFatal("Restore.bat not written"); }
    void pifFailed() override {}
    void progress(int, int) override {}
};

const QStringList SystemFiles = demoSystemFiles();

// A backup of the eleven system files into the program's Backups folder, as the program makes it.
void backUp()
{
    QCOMPARE(platform::createDirectory(Backups), 0);
    backup::RunRequest request;
    for (const QString &path : SystemFiles)
        request.files.append({int(request.files.size()), path, platform::fileNamePart(path)});
    request.destination = Backups;
    request.programDirectory = Program;
    request.windowsShort = QStringLiteral("C:\\WINDOWS");
    request.started = QDateTime(QDate(1999, 12, 7), QTime(14, 5, 33));
    QuietRun observer;
    QCOMPARE(backup::runBackup(request, observer).saved, int(SystemFiles.size()));
}

}  // namespace

class StartPcTest : public QObject {
    Q_OBJECT
private slots:
    void switchOn_data();
    void switchOn();
    void loggedStartWritesBootLog();
    void restoreByHandWhenWindowsNoLongerStarts();
};

// What is spoilt on the demo PC, the keys -> exit code, lines on the screen (in this order) and
// whether Windows ran the autostart programs.
void StartPcTest::switchOn_data()
{
    QTest::addColumn<QString>("spoilt");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<bool>("autostart");

    const QString starting = QStringLiteral("Windows 98 wird gestartet...");
    const QString loading = QStringLiteral("Windows 98 wird geladen...");
    const QString menu = QStringLiteral("     Microsoft Windows 98 Startmenü");
    const QString cannot = QStringLiteral("Windows 98 kann nicht gestartet werden:");
    const QString systemDat = QStringLiteral("  Registrierungsdatei C:\\WINDOWS\\SYSTEM.DAT ist beschädigt");

    QTest::newRow("sound PC starts Windows")
        << ""
        << "" << 0 << QStringList{starting, "DEVICE=C:\\WINDOWS\\HIMEM.SYS", "FILES=40", "", loading} << true;
    QTest::newRow("a registry file that starts with CREG is sound")
        << "creg"
        << "" << 0 << QStringList{loading} << true;
    QTest::newRow("F8 opens the menu, Enter starts normally")
        << ""
        << "{F8}\n"
        << 0 << QStringList{starting, menu, "     Auswahl eingeben: 1", loading} << true;
    QTest::newRow("F8, safe mode runs no autostart programs")
        << ""
        << "{F8}3\n"
        << 0 << QStringList{menu, "Windows 98 wird im abgesicherten Modus geladen..."} << false;
    QTest::newRow("F8, prompt only, exit switches off")
        << ""
        << "{F8}5\nexit\n"
        << 3 << QStringList{menu, "FILES=40", "C:\\>exit"} << false;
    QTest::newRow("F8, safe prompt only skips CONFIG.SYS")
        << ""
        << "{F8}{Up}\n{Ctrl+Alt+Del}" << 3 << QStringList{"     Auswahl eingeben: 6", "", "C:\\>"} << false;
    QTest::newRow("F8, step by step")
        << ""
        << "{F8}4\njjjjjj\nn\nexit\n"
        << 3
        << QStringList{"DEVICE=C:\\WINDOWS\\HIMEM.SYS [J,N]?J",
                       "Country=049,850,C:\\WINDOWS\\COMMAND\\country.sys [J,N]?J",
                       "AUTOEXEC.BAT ausführen [J,N]?J", "Windows 98 starten [J,N]?N", "C:\\>exit"}
        << false;
    QTest::newRow("no IO.SYS: a key tries again")
        << "io.sys"
        << "x" << 1
        << QStringList{"Kein System oder Datenträgerfehler",
                       "Datenträger wechseln und beliebige Taste drücken",
                       "Kein System oder Datenträgerfehler",
                       "Datenträger wechseln und beliebige Taste drücken"}
        << false;
    QTest::newRow("IO.SYS no system file")
        << "io.sys attributes"
        << "" << 1 << QStringList{"Kein System oder Datenträgerfehler"} << false;
    QTest::newRow("no COMMAND.COM") << "command.com"
                                    << "" << 1
                                    << QStringList{"FILES=40",
                                                   "Fehlerhafter oder fehlender Befehlsinterpreter",
                                                   "COMMAND.COM kann nicht geladen werden, System angehalten"}
                                    << false;
    QTest::newRow("SYSTEM.DAT spoilt: the damage, then the menu at once")
        << "system.dat"
        << "" << 1 << QStringList{starting, cannot, systemDat, "", menu, "     Auswahl eingeben: 3"} << false;
    QTest::newRow("USER.DAT missing")
        << "user.dat"
        << "" << 1 << QStringList{cannot, "  C:\\WINDOWS\\USER.DAT fehlt", menu} << false;
    QTest::newRow("SYSTEM.INI without [boot]")
        << "system.ini"
        << "" << 1 << QStringList{cannot, "  C:\\WINDOWS\\SYSTEM.INI hat keinen Abschnitt [boot]"} << false;
    QTest::newRow("MSDOS.SYS names a Windows directory that is not there")
        << "msdos.sys"
        << "" << 1 << QStringList{cannot, "  Windows-Verzeichnis C:\\WIN98 nicht gefunden"} << false;
    QTest::newRow("damaged: Normal tries again")
        << "system.dat"
        << "1\n"
        << 1 << QStringList{cannot, menu, "     Auswahl eingeben: 1", cannot, menu} << false;
    QTest::newRow("damaged: prompt only, win shows the menu again")
        << "system.dat"
        << "{Down}{Down}\nwin\n"
        << 1 << QStringList{menu, "     Auswahl eingeben: 5", "C:\\>win", cannot, systemDat, menu} << false;
    QTest::newRow("damaged: ctrl+alt+del in the menu") << "system.dat"
                                                       << "{Ctrl+Alt+Del}" << 3 << QStringList{menu} << false;
}

void StartPcTest::switchOn()
{
    QFETCH(QString, spoilt);
    QFETCH(QString, keys);
    QFETCH(int, exitCode);
    QFETCH(QStringList, screen);
    QFETCH(bool, autostart);
    TestMachine pc;
    layOut(pc);
    if (spoilt == u"creg") {
        spoil(QStringLiteral("C:\\WINDOWS\\SYSTEM.DAT"), "CREG\x01\x00\x00\x00");
    } else if (spoilt == u"io.sys") {
        QCOMPARE(platform::setFileAttributes(QStringLiteral("C:\\IO.SYS"), 0), 0);
        QCOMPARE(platform::deleteFile(QStringLiteral("C:\\IO.SYS")), 0);
    } else if (spoilt == u"io.sys attributes") {
        QCOMPARE(platform::setFileAttributes(QStringLiteral("C:\\IO.SYS"), platform::attr::Archive), 0);
    } else if (spoilt == u"command.com") {
        QCOMPARE(platform::deleteFile(QStringLiteral("C:\\COMMAND.COM")), 0);
    } else if (spoilt == u"system.dat") {
        spoil(QStringLiteral("C:\\WINDOWS\\SYSTEM.DAT"), "\xff\xfe kaputt");
    } else if (spoilt == u"user.dat") {
        QCOMPARE(platform::setFileAttributes(QStringLiteral("C:\\WINDOWS\\USER.DAT"), 0), 0);
        QCOMPARE(platform::deleteFile(QStringLiteral("C:\\WINDOWS\\USER.DAT")), 0);
    } else if (spoilt == u"system.ini") {
        spoil(QStringLiteral("C:\\WINDOWS\\SYSTEM.INI"), "[386Enh]\r\n");
    } else if (spoilt == u"msdos.sys") {
        spoil(QStringLiteral("C:\\MSDOS.SYS"), "[Paths]\r\nWinDir=C:\\WIN98\r\n");
    }
    const Run run = startPc(pc, keys);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY(holdsInOrder(run.screen, screen));
    QCOMPARE(run.stdoutLines, autostart ? QStringList{AutostartLine} : QStringList());
}

void StartPcTest::loggedStartWritesBootLog()
{
    TestMachine pc;
    layOut(pc);
    spoil(QStringLiteral("C:\\WINDOWS\\USER.DAT"), "kaputt");
    const Run run = startPc(pc, QStringLiteral("{F8}2\n"));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(pc.readFile(QStringLiteral("C:\\BOOTLOG.TXT")),
             QByteArray("Windows 98 wird gestartet...\r\nWindows 98 kann nicht gestartet werden:\r\n"
                        "  Registrierungsdatei C:\\WINDOWS\\USER.DAT ist beschädigt\r\n")
                 .replace("ä", "\x84"));
}

// The first way back when Windows no longer starts: the start menu's "Nur Eingabeaufforderung",
// the backup folder by its short names, Restore.bat by hand, then Windows.
void StartPcTest::restoreByHandWhenWindowsNoLongerStarts()
{
    TestMachine pc;
    layOut(pc);
    backUp();
    QMap<QString, std::pair<QByteArray, quint8>> saved;
    for (const QString &path : SystemFiles)
        saved.insert(path, {pc.readFile(path), platform::fileAttributes(path).value});
    spoil(QStringLiteral("C:\\WINDOWS\\SYSTEM.DAT"), "\xff\xfe kaputt");
    spoil(QStringLiteral("C:\\WINDOWS\\WIN.INI"), "[windows]\r\nload=virus.exe\r\n");

    // Restore.bat sets the search path to the COMMAND folder: WIN.COM is then reached by its path.
    const Run run = startPc(pc, QStringLiteral("5\ncd \\progra~1\\velkos~1\\backups\nrestore\n\nwin\n"
                                               "c:\\windows\\win\n"));
    QCOMPARE(run.exitCode, 0);
    QVERIFY(holdsInOrder(run.screen,
                         {"Windows 98 kann nicht gestartet werden:",
                          "  Registrierungsdatei C:\\WINDOWS\\SYSTEM.DAT ist beschädigt",
                          "     Microsoft Windows 98 Startmenü", "     Auswahl eingeben: 5",
                          "C:\\>cd \\progra~1\\velkos~1\\backups", "C:\\PROGRA~1\\VELKOS~1\\BACKUPS>restore",
                          "Weiter mit beliebiger Taste . . .", "kopieren der Sicherungsdateien ...",
                          "C:\\PROGRA~1\\VELKOS~1\\BACKUPS>win", "Befehl oder Dateiname nicht gefunden.",
                          "C:\\PROGRA~1\\VELKOS~1\\BACKUPS>c:\\windows\\win", "Windows 98 wird geladen..."}));
    QCOMPARE(run.stdoutLines, QStringList{AutostartLine});
    for (const QString &path : SystemFiles) {
        QCOMPARE(pc.readFile(path), saved.value(path).first);
        QCOMPARE(platform::fileAttributes(path).value, saved.value(path).second);
    }
}

QTEST_GUILESS_MAIN(StartPcTest)
#include "StartPcTest.moc"
