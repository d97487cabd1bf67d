// The emergency disk as one run without its dialog: the write test's refusals, the progress the
// dialog shows, and the judgement of the finished disk. recording-dos plays format and sys.
#include "emergency/core/EmergencyDisk.h"
#include "platform/drives/Files.h"
#include "tests/support/DosRecord.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

struct Run {
    emergency::DiskOutcome outcome;
    QList<int> progress;
};

Run makeDisk(QChar floppy)
{
    Run run;
    run.outcome =
        emergency::makeDisk(floppy, u'C', ProgramDirectory, [&](int position) { run.progress << position; });
    return run;
}

}  // namespace

class EmergencyDiskTest : public QObject {
    Q_OBJECT
private slots:
    void writeTestRefusesTheFloppy_data();
    void writeTestRefusesTheFloppy();
    void finishedDiskIsJudged_data();
    void finishedDiskIsJudged();
};

void EmergencyDiskTest::writeTestRefusesTheFloppy_data()
{
    QTest::addColumn<QChar>("floppy");
    QTest::addColumn<bool>("diskInserted");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("message");
    QTest::newRow("write-protected") << QChar(u'B') << true << int(platform::dos::WriteProtected)
                                     << "Der eingelegte Datenträger ist schreibgeschützt ! Legen sie eine "
                                        "andere\r\nDiskette in das Laufwerk oder entfernen sie die "
                                        "Schreibschutzmarke !\r\nWiederholen sie anschließend den Vorgang.";
    QTest::newRow("no disk") << QChar(u'A') << false << int(platform::dos::NotReady)
                             << "Bitte legen sie eine formatierte Diskette in das Laufwerk !\r\n"
                                "Wiederholen sie anschließend den Vorgang.";
    QTest::newRow("no such drive") << QChar(u'E') << false << int(platform::dos::InvalidDrive)
                                   << "Laufwerk E:\\ ist ungültig ! Bitte wählen sie ein anderes "
                                      "Laufwerk.\r\nWiederholen sie anschließend den Vorgang.";
}

void EmergencyDiskTest::writeTestRefusesTheFloppy()
{
    QFETCH(QChar, floppy);
    QFETCH(bool, diskInserted);
    QFETCH(int, refusal);
    QFETCH(QString, message);
    TestMachine pc(TwoFloppiesIni);
    if (diskInserted)
        insertFormattedDisk(pc, floppy, QString(), true);
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    pc.makeDirectory(ProgramDirectory);
    const DosRecord record;

    const Run run = makeDisk(floppy);

    QVERIFY(run.outcome.refused());
    QCOMPARE(run.outcome.refusal, refusal);
    QCOMPARE(run.outcome.message, message);
    QVERIFY(run.outcome.warning);
    QVERIFY(run.progress.isEmpty());
    QVERIFY(record.commands().isEmpty());  // nothing formatted
    QVERIFY(!platform::directoryExists(ProgramDirectory + QStringLiteral("\\Notfall")));
}

// recording-dos formats nothing and transfers nothing: the disk is judged as it was before.
void EmergencyDiskTest::finishedDiskIsJudged_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("systemFiles");
    QTest::addColumn<bool>("warning");
    QTest::addColumn<QString>("messageStart");
    QTest::newRow("disk that starts the PC")
        << "NOTFALL" << true << false
        << "Die Notfalldiskette wurde soeben erstellt . Nehmen\n\rsie sie jetzt aus dem Laufwerk und "
           "beschriften sie sie.";
    QTest::newRow("disk without the system")
        << "NOTFALL" << false << true << "Die Notfalldiskette ist nicht startfähig !";
    QTest::newRow("disk without the label")
        << "" << true << true << "Die Notfalldiskette wurde nicht vollständig erstellt !";
}

void EmergencyDiskTest::finishedDiskIsJudged()
{
    QFETCH(QString, label);
    QFETCH(bool, systemFiles);
    QFETCH(bool, warning);
    QFETCH(QString, messageStart);
    TestMachine pc(TwoFloppiesIni);
    insertFormattedDisk(pc, u'A', label, false);
    if (systemFiles) {
        for (const char *name : {"A:\\IO.SYS", "A:\\MSDOS.SYS", "A:\\COMMAND.COM"})
            pc.writeFile(QString::fromLatin1(name), "system");
    }
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\WIN.INI"), "[windows]\r\n");
    pc.makeDirectory(ProgramDirectory);
    const DosRecord record;

    const Run run = makeDisk(u'A');

    QVERIFY(!run.outcome.refused());
    QCOMPARE(run.outcome.warning, warning);
    QVERIFY2(run.outcome.message.startsWith(messageStart), qPrintable(run.outcome.message));
    QCOMPARE(run.progress, QList<int>({5, 20, 50, 55, 59, 64, 68, 72, 76, 80, 84, 88, 92, 96, 100}));
    QCOMPARE(record.commands().size(), 2);  // format, then sys
    QVERIFY(platform::fileExists(QStringLiteral("A:\\Autoexec.bat")));
    QCOMPARE(pc.readFile(ProgramDirectory + QStringLiteral("\\Notfall\\Win.ini")),
             QByteArray("[windows]\r\n"));
}

QTEST_GUILESS_MAIN(EmergencyDiskTest)
#include "EmergencyDiskTest.moc"
