// The look at the made disk: the system files and the label on a real floppy image.
#include "emergency/core/DiskCheck.h"
#include "platform/drives/Files.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using emergency::DiskShortfall;

class DiskCheckTest : public QObject {
    Q_OBJECT
private slots:
    void findsWhatTheDiskLacks_data();
    void findsWhatTheDiskLacks();
    void warningNamesWhatIsMissing_data();
    void warningNamesWhatIsMissing();
};

void DiskCheckTest::findsWhatTheDiskLacks_data()
{
    QTest::addColumn<bool>("inserted");
    QTest::addColumn<QString>("label");  // empty: none
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("missingFiles");
    QTest::addColumn<bool>("labelMissing");
    const QStringList system = {"IO.SYS", "MSDOS.SYS", "COMMAND.COM"};
    QTest::newRow("made") << true << "NOTFALL" << system << QStringList() << false;
    QTest::newRow("label in other case") << true << "Notfall" << system << QStringList() << false;
    QTest::newRow("system not transferred") << true << "NOTFALL" << QStringList() << system << false;
    QTest::newRow("no COMMAND.COM") << true << "NOTFALL" << QStringList{"IO.SYS", "MSDOS.SYS"}
                                    << QStringList{"COMMAND.COM"} << false;
    QTest::newRow("not formatted, no label") << true << "" << system << QStringList() << true;
    QTest::newRow("other label") << true << "ALT" << system << QStringList() << true;
    QTest::newRow("disk taken out") << false << "" << QStringList() << system << true;
}

void DiskCheckTest::findsWhatTheDiskLacks()
{
    QFETCH(bool, inserted);
    QFETCH(QString, label);
    QFETCH(QStringList, files);
    QFETCH(QStringList, missingFiles);
    QFETCH(bool, labelMissing);
    TestMachine pc(TwoFloppiesIni);
    if (inserted)
        insertFormattedDisk(pc, u'A', label, true);
    for (const QString &name : files)
        pc.writeFile(QStringLiteral("A:\\") + name, name.toLatin1(), platform::attr::Hidden);

    const DiskShortfall shortfall = emergency::checkEmergencyDisk(u'A');
    QCOMPARE(shortfall.missingFiles, missingFiles);
    QCOMPARE(shortfall.labelMissing, labelMissing);
}

void DiskCheckTest::warningNamesWhatIsMissing_data()
{
    QTest::addColumn<QStringList>("missingFiles");
    QTest::addColumn<bool>("labelMissing");
    QTest::addColumn<QString>("warning");
    const QString retry = QStringLiteral("\n\rDas Formatieren oder die Systemübertragung ist fehlgeschlagen. "
                                         "Wiederholen sie den Vorgang, gegebenenfalls mit einer anderen "
                                         "Diskette.");
    QTest::newRow("nothing") << QStringList() << false << QString();
    QTest::newRow("everything")
        << QStringList{"IO.SYS", "MSDOS.SYS", "COMMAND.COM"} << true
        << "Die Notfalldiskette ist nicht startfähig !\n\rAuf der Diskette in Laufwerk B:\\ fehlen IO.SYS, "
           "MSDOS.SYS, COMMAND.COM und die Datenträgerbezeichnung \"Notfall\".\n\rMit dieser Diskette kann "
           "der PC nicht gestartet werden."
               + retry;
    QTest::newRow("one file") << QStringList{"COMMAND.COM"} << false
                              << "Die Notfalldiskette ist nicht startfähig !\n\rAuf der Diskette in Laufwerk "
                                 "B:\\ fehlt COMMAND.COM.\n\rMit dieser Diskette kann der PC nicht gestartet "
                                 "werden."
                                     + retry;
    QTest::newRow("label only")
        << QStringList() << true
        << "Die Notfalldiskette wurde nicht vollständig erstellt !\n\rAuf der Diskette "
           "in Laufwerk B:\\ fehlt die Datenträgerbezeichnung \"Notfall\"."
               + retry;
}

void DiskCheckTest::warningNamesWhatIsMissing()
{
    QFETCH(QStringList, missingFiles);
    QFETCH(bool, labelMissing);
    QFETCH(QString, warning);
    QCOMPARE(emergency::shortfallWarning(u'B', {missingFiles, labelMissing}), warning);
}

QTEST_GUILESS_MAIN(DiskCheckTest)
#include "DiskCheckTest.moc"
