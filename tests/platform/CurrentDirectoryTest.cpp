#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace platform;

class CurrentDirectoryTest : public QObject {
    Q_OBJECT

private:
    static void seed(TestMachine &pc)
    {
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\Win.ini"), "");
        pc.makeDirectory(QStringLiteral("D:\\Daten\\Juni 1999"));
        pc.writeFile(QStringLiteral("D:\\Daten\\Liste.txt"), "");
    }

private slots:
    void startsAtTheRootOfC()
    {
        TestMachine pc;
        QCOMPARE(currentDirectory(), QStringLiteral("C:\\"));
    }

    void storesTheSpellingOnDisk_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("current");
        QTest::newRow("other case") << QStringLiteral("c:\\windows") << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("trailing backslash") << QStringLiteral("D:\\DATEN\\") << QStringLiteral("D:\\Daten");
        QTest::newRow("alias") << QStringLiteral("d:\\daten\\juni19~1")
                               << QStringLiteral("D:\\Daten\\Juni 1999");
        QTest::newRow("root") << QStringLiteral("d:\\") << QStringLiteral("D:\\");
        QTest::newRow("root without backslash") << QStringLiteral("D:") << QStringLiteral("D:\\");
        QTest::newRow("relative") << QStringLiteral("WINDOWS") << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("parent") << QStringLiteral("..") << QStringLiteral("C:\\");
    }

    void storesTheSpellingOnDisk()
    {
        QFETCH(QString, directory);
        QFETCH(QString, current);
        TestMachine pc;
        seed(pc);
        QCOMPARE(setCurrentDirectory(directory), 0);
        QCOMPARE(currentDirectory(), current);
    }

    void refusesWhatIsNoDirectory_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << QStringLiteral("C:\\Nichts") << int(dos::PathNotFound);
        QTest::newRow("missing on the way") << QStringLiteral("C:\\Nichts\\Da") << int(dos::PathNotFound);
        QTest::newRow("a file") << QStringLiteral("C:\\WINDOWS\\Win.ini") << int(dos::PathNotFound);
        QTest::newRow("no such drive") << QStringLiteral("G:\\") << int(dos::InvalidDrive);
        QTest::newRow("cd drive without disc") << QStringLiteral("E:\\") << int(dos::NotReady);
        QTest::newRow("floppy without disk") << QStringLiteral("A:\\") << int(dos::NotReady);
    }

    void refusesWhatIsNoDirectory()
    {
        QFETCH(QString, directory);
        QFETCH(int, error);
        TestMachine pc;
        seed(pc);
        QCOMPARE(setCurrentDirectory(QStringLiteral("C:\\WINDOWS")), 0);
        QCOMPARE(setCurrentDirectory(directory), error);
        QCOMPARE(currentDirectory(), QStringLiteral("C:\\WINDOWS"));
    }

    void eachDriveKeepsItsOwnDirectory()
    {
        TestMachine pc;
        seed(pc);
        QCOMPARE(driveCurrentDirectory(u'D').value, QStringLiteral("D:\\"));
        QCOMPARE(setCurrentDirectory(QStringLiteral("D:\\Daten\\Juni 1999")), 0);
        QCOMPARE(setCurrentDirectory(QStringLiteral("C:\\WINDOWS")), 0);
        QCOMPARE(driveCurrentDirectory(u'd').value, QStringLiteral("D:\\Daten\\Juni 1999"));
        QCOMPARE(driveCurrentDirectory(u'C').value, QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(driveCurrentDirectory(u'F').value, QStringLiteral("F:\\"));
        QCOMPARE(driveCurrentDirectory(u'E').value, QStringLiteral("E:\\"));
        QCOMPARE(driveCurrentDirectory(u'G').error, dos::InvalidDrive);
    }

    void relativePathsStartThere()
    {
        TestMachine pc;
        seed(pc);
        QCOMPARE(setCurrentDirectory(QStringLiteral("D:\\Daten\\Juni 1999")), 0);
        QVERIFY(fileExists(QStringLiteral("..\\liste.txt")));
        QVERIFY(directoryExists(QStringLiteral("\\Daten")));
        QCOMPARE(setCurrentDirectory(QStringLiteral("C:\\")), 0);
        QVERIFY(fileExists(QStringLiteral("D:..\\Liste.txt")));
        QVERIFY(fileExists(QStringLiteral("windows\\win.ini")));
        QCOMPARE(writeFile(QStringLiteral("Neu.txt"), "x"), 0);
        QVERIFY(fileExists(QStringLiteral("C:\\Neu.txt")));
    }

    void aRemovedDirectoryStaysCurrentUntilLeft()
    {
        TestMachine pc;
        seed(pc);
        QCOMPARE(setCurrentDirectory(QStringLiteral("D:\\Daten")), 0);
        QCOMPARE(removeDirectoryTree(QStringLiteral("D:\\Daten")), 0);
        QVERIFY(!directoryExists(QStringLiteral("D:\\Daten")));
        QCOMPARE(setCurrentDirectory(QStringLiteral("D:\\")), 0);
        QCOMPARE(currentDirectory(), QStringLiteral("D:\\"));
    }
};

QTEST_GUILESS_MAIN(CurrentDirectoryTest)
#include "CurrentDirectoryTest.moc"
