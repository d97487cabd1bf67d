#include "dos/core/Interpreter.h"
#include "platform/drives/Files.h"
#include "platform/drives/Floppy.h"
#include "tests/support/DemoPc.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QTest>

#include <algorithm>

using dos::Interpreter;

namespace {

const QString OldFile = QStringLiteral("ALT.TXT");

struct Run {
    int exitCode = -1;  // the program's; -1 when the console's keys ran out
    QStringList lines;  // the transcript without its trailing empty lines
};

Run runCommand(const QString &line, const QString &keys = {})
{
    dos::HeadlessConsole console(keys);
    Interpreter shell(console);
    const bool finished = shell.runCommandLine(line) == Interpreter::Outcome::Finished;
    Run run{finished ? shell.exitCode() : -1, console.screen().transcript().split(u'\n')};
    while (!run.lines.isEmpty() && run.lines.last().isEmpty())
        run.lines.removeLast();
    return run;
}

// The demo PC's drive C: (system files, FORMAT.COM and SYS.COM), a used disk in A: and in the
// write-protected B:.
void layOut(TestMachine &pc, bool diskInA = true)
{
    seedDemoPc(pc);
    if (diskInA)
        insertFormattedDisk(pc, u'A', QStringLiteral("ALT"), true);
    insertFormattedDisk(pc, u'B', QStringLiteral("ALT"), true);
}

QStringList insertPrompt(QChar drive)
{
    return {QStringLiteral("Neue Diskette in Laufwerk %1: einlegen").arg(drive),
            QStringLiteral("und anschließend die EINGABETASTE drücken..."), QString()};
}

}  // namespace

class FloppyCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void formatGivesAnEmptyLabelledDisk_data();
    void formatGivesAnEmptyLabelledDisk();
    void formatRefuses_data();
    void formatRefuses();
    void sysTransfersTheSystem_data();
    void sysTransfersTheSystem();
    void sysRefuses_data();
    void sysRefuses();
};

void FloppyCommandsTest::formatGivesAnEmptyLabelledDisk_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("label");

    QTest::newRow("label given") << "format A: /v:Notfall /Q"
                                 << "\n\nn\n"
                                 << "NOTFALL";
    QTest::newRow("switches in capitals") << "FORMAT a: /V:Notfall /q"
                                          << "\nn\n"
                                          << "NOTFALL";
    QTest::newRow("label asked for") << "format A: /Q"
                                     << "\nNotfall\nn\n"
                                     << "NOTFALL";
    QTest::newRow("wrong label asked again") << "format A: /Q"
                                             << "\nNot.fall\nNotfall\nn\n"
                                             << "NOTFALL";
    QTest::newRow("no label") << "format A: /V: /Q"
                              << "\nn\n"
                              << "";
    QTest::newRow("blanks only") << "format A: /Q"
                                 << "\n   \nn\n"
                                 << "";
    QTest::newRow("another disk") << "format A: /V:Notfall /Q"
                                  << "\nJ\n\nN\n"
                                  << "NOTFALL";
    // Shown and stored as typed, upper-cased: no long name, no other letter.
    QTest::newRow("label with apostrophe") << "format A: /v:x'y /Q"
                                           << "\nn\n"
                                           << "X'Y";
    QTest::newRow("label asked for, with signs") << "format A: /Q"
                                                 << "\nPeter's {1}\nn\n"
                                                 << "PETER'S {1}";
}

void FloppyCommandsTest::formatGivesAnEmptyLabelledDisk()
{
    QFETCH(QString, command);
    QFETCH(QString, keys);
    QFETCH(QString, label);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);

    const Run run = runCommand(command, keys);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.lines.contains(QStringLiteral("Formatieren beendet.")));
    QCOMPARE(run.lines.last(),
             QStringLiteral("Eine weitere Diskette formatieren (J/N)?") + keys.at(keys.size() - 2));
    QCOMPARE(platform::volumeLabel(u'A').value, label);
    const bool labelShown = std::any_of(run.lines.cbegin(), run.lines.cend(), [](const QString &line) {
        return line.startsWith(QStringLiteral("Datenträgerbezeichnung:"));
    });
    QCOMPARE(labelShown, !label.isEmpty());
    if (!label.isEmpty())
        QVERIFY(run.lines.contains(QStringLiteral("Datenträgerbezeichnung: ") + label));
    QCOMPARE(platform::files(QStringLiteral("A:\\")).value, QStringList());
    QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
}

void FloppyCommandsTest::formatRefuses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("diskInA");
    QTest::addColumn<QStringList>("screen");
    QTest::addColumn<int>("exitCode");

    const QString aborted = QStringLiteral("Formatieren abgebrochen.");
    QTest::newRow("no disk") << "format A: /v:Notfall /Q" << false
                             << insertPrompt(u'A') + QStringList{"Laufwerk nicht bereit", aborted} << 4;
    QTest::newRow("write-protected") << "format B: /v:Notfall /Q" << true
                                     << insertPrompt(u'B')
                                            + QStringList{"Datenträger ist schreibgeschützt", aborted}
                                     << 4;
    QTest::newRow("label too long") << "format A: /v:Notfalldiskette /Q" << true
                                    << insertPrompt(u'A') + QStringList{"Ungültige Datenträgerbezeichnung"}
                                    << 4;
    QTest::newRow("label with caret")
        << "format A: /v:X^Y /Q" << true
        << insertPrompt(u'A') + QStringList{"Ungültige Datenträgerbezeichnung"} << 4;
    QTest::newRow("label with ampersand")
        << "format A: /v:A&B /Q" << true
        << insertPrompt(u'A') + QStringList{"Ungültige Datenträgerbezeichnung"} << 4;
    QTest::newRow("no such drive") << "format Q: /Q" << true << QStringList{"Ungültige Laufwerksangabe"} << 4;
    QTest::newRow("hard disk")
        << "format C: /Q" << true
        << QStringList{"Laufwerk C: ist kein Diskettenlaufwerk und wird nicht formatiert."} << 4;
    QTest::newRow("wrong switch") << "format A: /X" << true << QStringList{"Ungültiger Schalter - /X"} << 4;
    QTest::newRow("no drive") << "format /Q" << true << QStringList{"Erforderlicher Parameter fehlt"} << 4;
    // An empty answer file: the disk is never confirmed.
    QTest::newRow("no answer") << "format A: /v:Notfall /Q < C:\\LEER.TXT" << true
                               << insertPrompt(u'A').mid(0, 2) << 3;
}

void FloppyCommandsTest::formatRefuses()
{
    QFETCH(QString, command);
    QFETCH(bool, diskInA);
    QFETCH(QStringList, screen);
    QFETCH(int, exitCode);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc, diskInA);
    pc.writeFile(QStringLiteral("C:\\LEER.TXT"), {});

    const Run run = runCommand(command, QStringLiteral("\n\nn\n"));
    QCOMPARE(run.lines, screen);
    QCOMPARE(run.exitCode, exitCode);
    // Nothing was formatted.
    QVERIFY(platform::fileExists(QStringLiteral("B:\\ALT.TXT")));
    QCOMPARE(platform::fileExists(QStringLiteral("A:\\ALT.TXT")), diskInA);
}

void FloppyCommandsTest::sysTransfersTheSystem_data()
{
    QTest::addColumn<int>("runs");
    QTest::newRow("fresh disk") << 1;
    // The first transfer left read-only, hidden files that the copy alone would not replace.
    QTest::newRow("over an earlier system") << 2;
}

void FloppyCommandsTest::sysTransfersTheSystem()
{
    QFETCH(int, runs);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc);

    for (int round = 1; round <= runs; ++round) {
        const Run run = runCommand(QStringLiteral("sys A:"));
        QCOMPARE(run.lines, QStringList{"System übertragen"});
        QCOMPARE(run.exitCode, 0);
    }
    namespace attr = platform::attr;
    const quint8 system = attr::ReadOnly | attr::Hidden | attr::System;
    for (const QString name : {"IO.SYS", "MSDOS.SYS", "COMMAND.COM"}) {
        const QString target = QStringLiteral("A:\\") + name;
        QCOMPARE(platform::readFile(target).value, pc.readFile(QStringLiteral("C:\\") + name));
        const bool hidden = name != u"COMMAND.COM";
        QCOMPARE(platform::fileAttributes(target).value & system, hidden ? system : 0);
    }
    QVERIFY(platform::fileExists(QStringLiteral("A:\\ALT.TXT")));
    QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
}

void FloppyCommandsTest::sysRefuses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("diskInA");
    QTest::addColumn<QString>("missingSource");
    QTest::addColumn<QStringList>("screen");

    const QString aborted = QStringLiteral("System nicht übertragen");
    QTest::newRow("no disk") << "sys A:" << false << QString()
                             << QStringList{"Laufwerk nicht bereit", aborted};
    QTest::newRow("write-protected") << "sys B:" << true << QString()
                                     << QStringList{"Datenträger ist schreibgeschützt", aborted};
    QTest::newRow("no MSDOS.SYS on C:")
        << "sys A:" << true << "C:\\MSDOS.SYS" << QStringList{"Systemdatei nicht gefunden - C:\\MSDOS.SYS"};
    QTest::newRow("no COMMAND.COM on C:") << "sys A:" << true << "C:\\COMMAND.COM"
                                          << QStringList{"Systemdatei nicht gefunden - C:\\COMMAND.COM"};
    QTest::newRow("onto the boot drive")
        << "sys C:" << true << QString()
        << QStringList{"Das System kann nicht auf das Startlaufwerk C: übertragen werden"};
    QTest::newRow("no such drive") << "sys Q:" << true << QString()
                                   << QStringList{"Ungültige Laufwerksangabe"};
    QTest::newRow("no drive") << "sys" << true << QString() << QStringList{"Erforderlicher Parameter fehlt"};
}

void FloppyCommandsTest::sysRefuses()
{
    QFETCH(QString, command);
    QFETCH(bool, diskInA);
    QFETCH(QString, missingSource);
    QFETCH(QStringList, screen);
    TestMachine pc(TwoFloppiesIni);
    layOut(pc, diskInA);
    if (!missingSource.isEmpty()) {
        QCOMPARE(platform::setFileAttributes(missingSource, platform::attr::Archive), 0);
        QCOMPARE(platform::deleteFile(missingSource), 0);
    }

    const Run run = runCommand(command);
    QCOMPARE(run.lines, screen);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!platform::fileExists(QStringLiteral("A:\\IO.SYS")));
    QVERIFY(!platform::fileExists(QStringLiteral("B:\\IO.SYS")));
    QCOMPARE(int(platform::fileAttributes(QStringLiteral("C:\\IO.SYS")).value), 7);
}

QTEST_GUILESS_MAIN(FloppyCommandsTest)
#include "FloppyCommandsTest.moc"
