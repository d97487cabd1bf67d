#include "platform/Files.h"
#include "platform/Machine.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QtTest>

using namespace platform;

namespace {

QString shortPath(const QString &path)
{
    const auto result = shortPathName(path);
    return result.ok() ? result.value : QStringLiteral("error %1").arg(result.error);
}

void reloadMachine(const TestMachine &pc)
{
    QString error;
    setMachine(Machine::load(pc.folder(), &error));
    QVERIFY2(hasMachine(), qPrintable(error));
}

// A folder made on the host, as by another program: no alias of its own yet.
void makeOnHost(const TestMachine &pc, const QString &relativePath)
{
    QVERIFY(QDir(pc.folder()).mkpath(relativePath));
}

}  // namespace

class ShortNamesTest : public QObject {
    Q_OBJECT

private slots:
    void shortFormOfOneName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shortName");
        QTest::newRow("8.3 upper case") << QStringLiteral("AUTOEXEC.BAT") << QStringLiteral("AUTOEXEC.BAT");
        QTest::newRow("8.3 mixed case") << QStringLiteral("Win.ini") << QStringLiteral("WIN.INI");
        QTest::newRow("one letter") << QStringLiteral("a") << QStringLiteral("A");
        QTest::newRow("special characters")
            << QStringLiteral("{x}~1.$$$") << QStringLiteral("{X}~1.$$$");
        QTest::newRow("umlaut") << QStringLiteral("Ärger.txt") << QStringLiteral("ÄRGER.TXT");
        QTest::newRow("long base") << QStringLiteral("Programme") << QStringLiteral("PROGRA~1");
        QTest::newRow("blank") << QStringLiteral("Velko Save") << QStringLiteral("VELKOS~1");
        QTest::newRow("long base with extension")
            << QStringLiteral("einelange.txt") << QStringLiteral("EINELA~1.TXT");
        QTest::newRow("long extension") << QStringLiteral("index.html") << QStringLiteral("INDEX~1.HTM");
        QTest::newRow("two dots") << QStringLiteral("x.y.z") << QStringLiteral("XY~1.Z");
        QTest::newRow("plus and brackets")
            << QStringLiteral("a+b[1].txt") << QStringLiteral("A_B_1_~1.TXT");
        QTest::newRow("leading dot") << QStringLiteral(".profile") << QStringLiteral("PROFIL~1");
        QTest::newRow("blank in short name") << QStringLiteral("A B.TXT") << QStringLiteral("AB~1.TXT");
        QTest::newRow("startmenü") << QStringLiteral("startmenü") << QStringLiteral("STARTM~1");
    }

    void shortFormOfOneName()
    {
        QFETCH(QString, name);
        QFETCH(QString, shortName);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("C:\\Kurz"));
        QCOMPARE(writeFile(QStringLiteral("C:\\Kurz\\") + name, "x"), 0);
        QCOMPARE(shortPath(QStringLiteral("C:\\Kurz\\") + name), QStringLiteral("C:\\KURZ\\") + shortName);
        QCOMPARE(canonicalPath(QStringLiteral("C:\\KURZ\\") + shortName).value,
                 QStringLiteral("C:\\Kurz\\") + name);
    }

    void wholePaths()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.ini"), "");
        QCOMPARE(shortPath(QStringLiteral("c:\\programme\\velko save\\orvel.ini")),
                 QStringLiteral("C:\\PROGRA~1\\VELKOS~1\\ORVEL.INI"));
        QCOMPARE(shortPath(QStringLiteral("C:\\WINDOWS")), QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(shortPath(QStringLiteral("c:\\")), QStringLiteral("C:\\"));
        QCOMPARE(shortPath(QStringLiteral("C:\\Programme\\Fehlt")), QStringLiteral("error 2"));
    }

    void aliasesAreNumberedInTheirFolder()
    {
        TestMachine pc;
        QStringList expected;
        for (int number = 1; number <= 11; ++number) {
            QCOMPARE(writeFile(QStringLiteral("D:\\Eine lange Datei %1.txt").arg(number), "x"), 0);
            expected << (number < 10 ? QStringLiteral("D:\\EINELA~%1.TXT").arg(number)
                                     : QStringLiteral("D:\\EINEL~%1.TXT").arg(number));
        }
        QStringList shortPaths;
        for (int number = 1; number <= 11; ++number)
            shortPaths << shortPath(QStringLiteral("D:\\Eine lange Datei %1.txt").arg(number));
        QCOMPARE(shortPaths, expected);
    }

    void aliasAvoidsARealShortName()
    {
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("D:\\VELKOS~1"), "x"), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~2"));
        QCOMPARE(canonicalPath(QStringLiteral("D:\\VELKOS~1")).value, QStringLiteral("D:\\VELKOS~1"));
    }

    void aliasesStayWhenEarlierNamesArrive()
    {
        TestMachine pc;
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~1"));
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Sauber")), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~1"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~2"));
        reloadMachine(pc);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~2"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~1"));
    }

    void namesMadeOutsideAreNumberedInNameOrder()
    {
        TestMachine pc;
        makeOnHost(pc, QStringLiteral("drive_d/Velko Save"));
        makeOnHost(pc, QStringLiteral("drive_d/velko sauber"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~2"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~1"));
    }

    void anAliasHandedOutStaysWhenEarlierNamesArriveOutside()
    {
        TestMachine pc;
        makeOnHost(pc, QStringLiteral("drive_d/Velko Save"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~1"));
        makeOnHost(pc, QStringLiteral("drive_d/Velko Sauber"));
        reloadMachine(pc);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~1"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~2"));
    }

    void anAliasUsedAsANameStays()
    {
        TestMachine pc;
        makeOnHost(pc, QStringLiteral("drive_d/Velko Save"));
        QVERIFY(directoryExists(QStringLiteral("D:\\VELKOS~1")));
        makeOnHost(pc, QStringLiteral("drive_d/Velko Sauber"));
        reloadMachine(pc);
        QCOMPARE(canonicalPath(QStringLiteral("D:\\VELKOS~1")).value, QStringLiteral("D:\\Velko Save"));
    }

    void aRemovedNameFreesItsAlias()
    {
        TestMachine pc;
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(removeDirectoryTree(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Sauber")), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~1"));
    }

    void aRemovedFileNamedLikeAnAliasFreesThatNumber()
    {
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("D:\\VELKOS~1"), "x"), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(deleteFile(QStringLiteral("D:\\VELKOS~1")), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Sauber")), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Sauber")), QStringLiteral("D:\\VELKOS~1"));
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save")), QStringLiteral("D:\\VELKOS~2"));
    }

    void cdDrivesGetAliasesWithoutRecords()
    {
        TestMachine pc;
        makeOnHost(pc, QStringLiteral("cd-f/Velko Save/Lange Namen"));
        QCOMPARE(shortPath(QStringLiteral("F:\\Velko Save\\Lange Namen")),
                 QStringLiteral("F:\\VELKOS~1\\LANGEN~1"));
        QVERIFY(directoryExists(QStringLiteral("F:\\VELKOS~1\\LANGEN~1")));
        const QStringList hidden = QDir(pc.folder() + QStringLiteral("/cd-f"))
                                       .entryList(QDir::Hidden | QDir::Files);
        QCOMPARE(hidden, QStringList());
    }
};

QTEST_GUILESS_MAIN(ShortNamesTest)
#include "ShortNamesTest.moc"
