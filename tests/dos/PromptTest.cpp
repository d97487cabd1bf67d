#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using dos::Interpreter;

namespace {

const QString Data = QStringLiteral("C:\\DATA");

// A PC with a floppy in each drive (B: write-protected) and a folder of files with short, long
// and umlaut names, and batch files that call, chain and pause.
void layOut(TestMachine &pc)
{
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\COMMAND"));
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\WIN.COM"), "WIN.COM - stand-in for the Windows start.\r\n");
    pc.makeDirectory(Data);
    pc.writeFile(QStringLiteral("C:\\DATA\\A.TXT"), "alpha\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\B.TXT"), "beta\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\NOTIZ.DOC"), "doc");
    pc.writeFile(QStringLiteral("C:\\DATA\\HID.TXT"), "versteckt", platform::attr::Hidden);
    pc.writeFile(QStringLiteral("C:\\DATA\\Büro.txt"), "Akten\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\Glückwünsche.txt"), "Alles Gute\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\Eine lange Datei.txt"), "lang\r\n");
    pc.makeDirectory(QStringLiteral("C:\\DATA\\Velko Save"));
    pc.writeFile(QStringLiteral("C:\\DATA\\Velko Save\\INNEN.TXT"), "innen\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\WARTE.BAT"), "@pause\r\n@echo nach\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\SELBST.BAT"), "@echo off\r\necho Runde\r\nselbst\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\RUF.BAT"), "@echo off\r\ncall zwei\r\necho zur\x81"
                                                      "ck\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\ZWEI.BAT"), "echo in zwei\r\n");
    pc.writeFile(QStringLiteral("C:\\DATA\\REK.BAT"), "@call rek\r\n");
    pc.makeDirectory(QStringLiteral("C:\\VIELE"));
    for (int number = 1; number <= 30; ++number)
        pc.writeFile(QStringLiteral("C:\\VIELE\\DATEI%1.TXT").arg(number, 2, 10, QChar(u'0')), "x");
    insertFormattedDisk(pc, u'A', QStringLiteral("DISK"), true);
    insertFormattedDisk(pc, u'B', {}, true);
}

struct Session {
    Interpreter::Outcome outcome;
    QStringList lines;  // dates, times and the free bytes of a fixed disk made alike
};

// Types keys at the prompt in C:\DATA until they run out (or the prompt ends).
Session typeAtPrompt(const QString &keys)
{
    dos::HeadlessConsole console(keys);
    Interpreter shell(console);
    shell.setInteractive();
    if (shell.setCurrentDirectory(Data) != 0)
        qFatal("cannot enter the data folder");
    const Interpreter::Outcome outcome = shell.runPrompt();
    QString text = console.screen().transcript();
    text.replace(QRegularExpression(QStringLiteral("\\d\\d\\.\\d\\d\\.\\d\\d  \\d\\d:\\d\\d")),
                 QStringLiteral("TT.MM.JJ  SS:MM"));
    // A fixed disk's free bytes are the host's.
    text.replace(
        QRegularExpression(QStringLiteral(
            "(Laufwerk C:[^\\n]*\\n(?:[^\\n]*\\n)*?[^\\n]*Verzeichnis\\(se\\)) +[\\d.]+ Bytes frei")),
        QStringLiteral("\\1 … Bytes frei"));
    QStringList lines = text.split(u'\n');
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return {outcome, lines};
}

// The lines a command typed at the prompt in C:\DATA writes, with the prompt line before them.
QStringList typed(const QString &command, const QStringList &output)
{
    return QStringList{QString(), QStringLiteral("C:\\DATA>") + command} + output;
}

QStringList hostEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class PromptTest : public QObject {
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void fileEffects_data();
    void fileEffects();
    void howThePromptEnds_data();
    void howThePromptEnds();
    void dirPagesTheScreen_data();
    void dirPagesTheScreen();
    void helpFitsTheScreen();
    void callingItselfStaysInBoundedMemory();
    void pathsAboveTheRootTouchNothingOutside();
};

// Keys typed at the prompt -> the whole screen, the last prompt included.
void PromptTest::commands_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("screen");

    const QString end = QStringLiteral("C:\\DATA>");
    QTest::newRow("long name in quotes") << "type \"Eine lange Datei.txt\"\n"
                                         << typed("type \"Eine lange Datei.txt\"", {"lang", "", end});
    QTest::newRow("short name of a long name") << "type EINELA~1.TXT\n"
                                               << typed("type EINELA~1.TXT", {"lang", "", end});
    QTest::newRow("umlaut name, long and short")
        << "type Büro.txt\ntype GLÜCKW~1.TXT\n"
        << typed("type Büro.txt", {"Akten", "", "C:\\DATA>type GLÜCKW~1.TXT", "Alles Gute", "", end});
    QTest::newRow("long name without quotes")
        << "type Eine lange Datei.txt\n"
        << typed("type Eine lange Datei.txt", {"Zu viele Parameter", "", end});
    QTest::newRow("missing file") << "type KEINE.TXT\n"
                                  << typed("type KEINE.TXT", {"Datei nicht gefunden - KEINE.TXT", "", end});
    QTest::newRow("cd to a long name")
        << "cd \"Velko Save\"\ncd\n"
        << typed("cd \"Velko Save\"",
                 {"", "C:\\DATA\\VELKOS~1>cd", "C:\\DATA\\VELKOS~1", "", "C:\\DATA\\VELKOS~1>"});
    QTest::newRow("cd above the root") << "cd C:\\..\\..\n"
                                       << typed("cd C:\\..\\..", {"Ungültiges Verzeichnis", "", end});
    QTest::newRow("drive change") << "a:\nq:\n"
                                  << typed("a:", {"", "A:\\>q:", "Ungültige Laufwerksangabe", "", "A:\\>"});
    QTest::newRow("dir with a wildcard")
        << "dir *.txt\n"
        << typed("dir *.txt",
                 {"", " Datenträger in Laufwerk C: hat keine Bezeichnung", " Verzeichnis von C:\\DATA", "",
                  "A        TXT             7  TT.MM.JJ  SS:MM A.TXT",
                  "B        TXT             6  TT.MM.JJ  SS:MM B.TXT",
                  "BÜRO     TXT             7  TT.MM.JJ  SS:MM Büro.txt",
                  "EINELA~1 TXT             6  TT.MM.JJ  SS:MM Eine lange Datei.txt",
                  "GLÜCKW~1 TXT            12  TT.MM.JJ  SS:MM Glückwünsche.txt",
                  "         5 Datei(en)             38 Bytes", "         0 Verzeichnis(se) … Bytes frei", "",
                  end});
    QTest::newRow("dir /a shows hidden files, ? one letter")
        << "dir /a ?.TXT\n"
        << typed("dir /a ?.TXT",
                 {"", " Datenträger in Laufwerk C: hat keine Bezeichnung", " Verzeichnis von C:\\DATA", "",
                  "A        TXT             7  TT.MM.JJ  SS:MM A.TXT",
                  "B        TXT             6  TT.MM.JJ  SS:MM B.TXT",
                  "         2 Datei(en)             13 Bytes", "         0 Verzeichnis(se) … Bytes frei", "",
                  end});
    QTest::newRow("dir /w of a floppy, its label and free bytes")
        << "dir a: /w\n"
        << typed("dir a: /w", {"", " Datenträger in Laufwerk A: ist DISK", " Verzeichnis von A:\\", "",
                               "ALT.TXT", "         1 Datei(en)             12 Bytes",
                               "         0 Verzeichnis(se)      1.457.152 Bytes frei", "", end});
    QTest::newRow("dir of a folder by its long name")
        << "dir \"Velko Save\" /w\n"
        << typed("dir \"Velko Save\" /w",
                 {"", " Datenträger in Laufwerk C: hat keine Bezeichnung",
                  " Verzeichnis von C:\\DATA\\VELKOS~1", "", "[.]             [..]            INNEN.TXT",
                  "         1 Datei(en)              7 Bytes", "         2 Verzeichnis(se) … Bytes frei", "",
                  end});
    QTest::newRow("dir of nothing") << "dir KEIN*.*\n"
                                    << typed("dir KEIN*.*",
                                             {"", " Datenträger in Laufwerk C: hat keine Bezeichnung",
                                              " Verzeichnis von C:\\DATA", "", "Datei nicht gefunden", "",
                                              end});
    QTest::newRow("dir wrong switch") << "dir /x\n" << typed("dir /x", {"Ungültiger Schalter - /x", "", end});
    QTest::newRow("copy with a wildcard names each file")
        << "copy ?.TXT D:\\\n"
        << typed("copy ?.TXT D:\\", {"A.TXT", "B.TXT", "        2 Datei(en) kopiert", "", end});
    QTest::newRow("copy onto a write-protected floppy")
        << "copy A.TXT B:\\\n"
        << typed("copy A.TXT B:\\",
                 {"Datenträger ist schreibgeschützt", "        0 Datei(en) kopiert", "", end});
    QTest::newRow("md on a write-protected floppy")
        << "md B:\\NEU\n"
        << typed("md B:\\NEU", {"Datenträger ist schreibgeschützt", "", end});
    QTest::newRow("del on a write-protected floppy")
        << "del B:\\ALT.TXT\n"
        << typed("del B:\\ALT.TXT", {"Datenträger ist schreibgeschützt - B:\\ALT.TXT", "", end});
    QTest::newRow("ren onto an existing name")
        << "ren A.TXT B.TXT\n"
        << typed("ren A.TXT B.TXT", {"Doppelter Dateiname oder Datei nicht gefunden", "", end});
    QTest::newRow("rd of a folder with files")
        << "rd \"Velko Save\"\n"
        << typed("rd \"Velko Save\"",
                 {"Ungültiger Pfad, kein Verzeichnis oder Verzeichnis nicht leer", "", end});
    QTest::newRow("md of an existing folder")
        << "md VELKOS~1\n"
        << typed("md VELKOS~1", {"Verzeichnis existiert bereits", "", end});
    QTest::newRow("ver") << "ver\n" << typed("ver", {"", "Windows 98 [Version 4.10.2222]", "", end});
    QTest::newRow("vol of a disk without a label")
        << "vol b:\n"
        << typed("vol b:", {"", " Datenträger in Laufwerk B: hat keine Bezeichnung", "", end});
    QTest::newRow("set and path") << "set TEMP=C:\\WINDOWS\\TEMP\nset\n"
                                  << typed("set TEMP=C:\\WINDOWS\\TEMP",
                                           {"", "C:\\DATA>set", "PATH=C:\\WINDOWS;C:\\WINDOWS\\COMMAND",
                                            "TEMP=C:\\WINDOWS\\TEMP", "", end});
    QTest::newRow("a character outside code page 850 is not taken")
        << "v€er\n"
        << typed("ver", {"", "Windows 98 [Version 4.10.2222]", "", end});
    QTest::newRow("backspace") << "typ{Backspace}{Backspace}{Backspace}ver\n"
                               << typed("ver", {"", "Windows 98 [Version 4.10.2222]", "", end});
    QTest::newRow("esc starts the line again below")
        << "xyz{Esc}ver\n"
        << QStringList{"", "C:\\DATA>xyz\\", "        ver", "", "Windows 98 [Version 4.10.2222]", "", end};
    QTest::newRow("f3 repeats the rest of the last line")
        << "echo eins\necho z{F3}\n"
        << typed("echo eins", {"eins", "", "C:\\DATA>echo zins", "zins", "", end});
    QTest::newRow("ctrl+c drops the line")
        << "dir^Cver\n"
        << QStringList{"", "C:\\DATA>dir^C", "C:\\DATA>ver", "", "Windows 98 [Version 4.10.2222]", "", end};
    QTest::newRow("batch file by name, pause answered")
        << "warte\nx" << typed("warte", {"Weiter mit beliebiger Taste . . .", "nach", "", end});
    QTest::newRow("ctrl+c in a batch file, J")
        << "warte\n^Cj"
        << typed("warte", {"Weiter mit beliebiger Taste . . .^C", "Batchvorgang abbrechen (J/N)?J", "", end});
    QTest::newRow("ctrl+c in a batch file, N")
        << "warte\n^Cn"
        << typed("warte",
                 {"Weiter mit beliebiger Taste . . .^C", "Batchvorgang abbrechen (J/N)?N", "nach", "", end});
    QTest::newRow("ctrl+c typed ahead stops a batch file between lines")
        << "selbst\n^Cj" << typed("selbst", {"^C", "Batchvorgang abbrechen (J/N)?J", "", end});
    QTest::newRow("call comes back") << "ruf\n" << typed("ruf", {"in zwei", "zurück", "", end});
    QTest::newRow("unknown command") << "frobnicate\n"
                                     << typed("frobnicate",
                                              {"Befehl oder Dateiname nicht gefunden.", "", end});
    QTest::newRow("empty lines") << "\n  \n" << QStringList{"", end, end, end};
}

void PromptTest::commands()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, screen);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    const Session session = typeAtPrompt(keys);
    QCOMPARE(session.lines, screen);
    QCOMPARE(session.outcome, Interpreter::Outcome::InputEnded);
}

// Keys typed at the prompt -> a file's content and attributes afterwards (null: no such file).
void PromptTest::fileEffects_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("copy a long name in quotes to another long name")
        << "copy \"Eine lange Datei.txt\" \"D:\\Noch eine.txt\"\n"
        << "D:\\Noch eine.txt" << QByteArray("lang\r\n");
    QTest::newRow("copy with a wildcard leaves hidden files") << "copy *.TXT D:\\\n"
                                                              << "D:\\HID.TXT" << QByteArray();
    QTest::newRow("copy with a wildcard takes umlaut names") << "copy *.TXT D:\\\n"
                                                             << "D:\\BÜRO.TXT" << QByteArray("Akten\r\n");
    QTest::newRow("copy with wildcards on both sides") << "copy ?.TXT D:\\*.BAK\n"
                                                       << "D:\\B.BAK" << QByteArray("beta\r\n");
    QTest::newRow("copy several into one file") << "copy ?.TXT BEIDE.TXT\n"
                                                << "C:\\DATA\\BEIDE.TXT" << QByteArray("alpha\r\nbeta\r\n");
    QTest::newRow("del with a wildcard") << "del *.DOC\n"
                                         << "C:\\DATA\\NOTIZ.DOC" << QByteArray();
    QTest::newRow("del with a wildcard keeps others") << "del *.DOC\n"
                                                      << "C:\\DATA\\A.TXT" << QByteArray("alpha\r\n");
    QTest::newRow("del *.* asks, N keeps") << "del *.*\nn\n"
                                           << "C:\\DATA\\A.TXT" << QByteArray("alpha\r\n");
    QTest::newRow("del *.* asks, J deletes") << "del *.*\nj\n"
                                             << "C:\\DATA\\A.TXT" << QByteArray();
    QTest::newRow("del *.* keeps hidden files") << "del *.*\nj\n"
                                                << "C:\\DATA\\HID.TXT" << QByteArray("versteckt");
    QTest::newRow("ren") << "ren A.TXT Z.TXT\n"
                         << "C:\\DATA\\Z.TXT" << QByteArray("alpha\r\n");
    QTest::newRow("ren with wildcards") << "ren ?.TXT ?.ALT\n"
                                        << "C:\\DATA\\B.ALT" << QByteArray("beta\r\n");
    QTest::newRow("ren a long name by its short name") << "ren EINELA~1.TXT KURZ.TXT\n"
                                                       << "C:\\DATA\\KURZ.TXT" << QByteArray("lang\r\n");
    QTest::newRow("ren onto an existing name keeps both") << "ren A.TXT B.TXT\n"
                                                          << "C:\\DATA\\A.TXT" << QByteArray("alpha\r\n");
    QTest::newRow("md, copy into it") << "md \"Neuer Ordner\"\ncopy A.TXT \"Neuer Ordner\"\n"
                                      << "C:\\DATA\\Neuer Ordner\\A.TXT" << QByteArray("alpha\r\n");
    QTest::newRow("copy to a floppy") << "copy B.TXT A:\\\n"
                                      << "A:\\B.TXT" << QByteArray("beta\r\n");
    QTest::newRow("nothing onto a write-protected floppy")
        << "copy B.TXT B:\\\nmd B:\\NEU\ncopy B.TXT B:\\NEU\n"
        << "B:\\NEU\\B.TXT" << QByteArray();
    QTest::newRow("del on a write-protected floppy keeps the file")
        << "del B:\\ALT.TXT\n"
        << "B:\\ALT.TXT" << QByteArray("alte Datei\r\n");
}

void PromptTest::fileEffects()
{
    QFETCH(QString, keys);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    typeAtPrompt(keys);
    if (content.isNull()) {
        QVERIFY(!platform::fileExists(file));
        return;
    }
    QCOMPARE(platform::readFile(file).value, content);
}

void PromptTest::howThePromptEnds_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<Interpreter::Outcome>("outcome");
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("exit") << "exit\nver\n" << Interpreter::Outcome::Exited << "C:\\DATA>exit";
    QTest::newRow("win") << "win\nver\n" << Interpreter::Outcome::WindowsRequested << "C:\\DATA>win";
    QTest::newRow("win by its path") << "C:\\WINDOWS\\WIN\n"
                                     << Interpreter::Outcome::WindowsRequested << "C:\\DATA>C:\\WINDOWS\\WIN";
    QTest::newRow("ctrl+alt+del while typing") << "ve{Ctrl+Alt+Del}r\n"
                                               << Interpreter::Outcome::SwitchedOff << "C:\\DATA>ve";
    QTest::newRow("ctrl+alt+del at a pause") << "warte\n{Ctrl+Alt+Del}" << Interpreter::Outcome::SwitchedOff
                                             << "Weiter mit beliebiger Taste . . .";
    QTest::newRow("keys run out") << "ver" << Interpreter::Outcome::InputEnded << "C:\\DATA>ver";
}

void PromptTest::howThePromptEnds()
{
    QFETCH(QString, keys);
    QFETCH(Interpreter::Outcome, outcome);
    QFETCH(QString, lastLine);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    const Session session = typeAtPrompt(keys);
    QCOMPARE(session.outcome, outcome);
    QCOMPARE(session.lines.last(), lastLine);
}

// DIR /P waits after each screenful (the line it waits on is the 24th); Ctrl+C there ends DIR.
void PromptTest::dirPagesTheScreen_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("afterFirstPage");

    const QString wait = QStringLiteral("Weiter mit beliebiger Taste . . .");
    QTest::newRow("key goes on") << "dir \\viele /p\nx"
                                 << QStringList{wait, "(Fortsetzung von C:\\VIELE)",
                                                "DATEI18  TXT             1  TT.MM.JJ  SS:MM DATEI18.TXT"};
    QTest::newRow("ctrl+c ends dir") << "dir \\viele /p\n^C" << QStringList{wait + "^C", "", "C:\\DATA>"};
}

void PromptTest::dirPagesTheScreen()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, afterFirstPage);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    const Session session = typeAtPrompt(keys);
    const QStringList page = session.lines.mid(2, 23);  // after the blank line and the prompt line
    QCOMPARE(page.at(4), QStringLiteral(".              <DIR>        TT.MM.JJ  SS:MM ."));
    QCOMPARE(page.at(5), QStringLiteral("..             <DIR>        TT.MM.JJ  SS:MM .."));
    QCOMPARE(page.last(), QStringLiteral("DATEI17  TXT             1  TT.MM.JJ  SS:MM DATEI17.TXT"));
    QCOMPARE(session.lines.mid(25, afterFirstPage.size()), afterFirstPage);
}

// Each line of HELP on one screen line: none wraps at column 80.
void PromptTest::helpFitsTheScreen()
{
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    const Session session = typeAtPrompt(QStringLiteral("help\n"));
    QCOMPARE(session.lines, typed(QStringLiteral("help"), dos::message::Help + QStringList{"", "C:\\DATA>"}));
}

// A batch file that calls itself fills COMMAND.COM's memory and stops there; the prompt goes on.
void PromptTest::callingItselfStaysInBoundedMemory()
{
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    const Session session = typeAtPrompt(QStringLiteral("rek\nver\n"));
    QVERIFY(session.lines.contains(QStringLiteral("Nicht genügend Speicher")));
    QCOMPARE(session.lines.mid(session.lines.size() - 5),
             QStringList({"C:\\DATA>ver", "", "Windows 98 [Version 4.10.2222]", "", "C:\\DATA>"}));
}

// ".." above a drive's root: Windows would stop at the root, MS-DOS refuses the path, and nothing
// beside the PC's folder comes into being.
void PromptTest::pathsAboveTheRootTouchNothingOutside()
{
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);
    // The folders above the PC are shared with other tests running meanwhile: only the names
    // the commands would make there are looked for.
    const QDir outside(QDir(pc.folder()).absoluteFilePath(QStringLiteral("..")));
    const auto madeOutside = [&outside] {
        QStringList made;
        for (const QDir &folder : {outside, QDir(outside.absoluteFilePath(QStringLiteral("..")))})
            made += folder.entryList({QStringLiteral("AUSSEN"), QStringLiteral("X.TXT")},
                                     QDir::AllEntries | QDir::Hidden);
        return made;
    };
    const QStringList before = madeOutside();
    const QStringList pcBefore = hostEntries(pc.folder());
    const QStringList rootBefore = hostEntries(pc.host(QStringLiteral("C:\\")));
    const Session session =
        typeAtPrompt(QStringLiteral("md C:\\..\\..\\AUSSEN\ncopy A.TXT ..\\..\\..\\..\\X.TXT\ndir "
                                    "C:\\..\\..\\\ntype ..\\..\\..\\..\\etc\\passwd\n"
                                    "C:\\..\\..\\WINDOWS\\WIN\n"));
    QCOMPARE(session.lines.count(QStringLiteral("Pfad nicht gefunden")), 5);
    QCOMPARE(session.outcome, Interpreter::Outcome::InputEnded);
    QCOMPARE(madeOutside(), before);
    QCOMPARE(hostEntries(pc.folder()), pcBefore);
    QCOMPARE(hostEntries(pc.host(QStringLiteral("C:\\"))), rootBefore);
}

QTEST_GUILESS_MAIN(PromptTest)
#include "PromptTest.moc"
