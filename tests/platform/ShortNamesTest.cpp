#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Machine.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
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
        QTest::newRow("special characters") << QStringLiteral("{x}~1.$$$") << QStringLiteral("{X}~1.$$$");
        QTest::newRow("umlaut") << QStringLiteral("Ärger.txt") << QStringLiteral("ÄRGER.TXT");
        QTest::newRow("long base") << QStringLiteral("Programme") << QStringLiteral("PROGRA~1");
        QTest::newRow("blank") << QStringLiteral("Velko Save") << QStringLiteral("VELKOS~1");
        QTest::newRow("long base with extension")
            << QStringLiteral("einelange.txt") << QStringLiteral("EINELA~1.TXT");
        QTest::newRow("long extension") << QStringLiteral("index.html") << QStringLiteral("INDEX~1.HTM");
        QTest::newRow("two dots") << QStringLiteral("x.y.z") << QStringLiteral("XY~1.Z");
        QTest::newRow("plus and brackets") << QStringLiteral("a+b[1].txt") << QStringLiteral("A_B_1_~1.TXT");
        QTest::newRow("leading dot") << QStringLiteral(".profile") << QStringLiteral("PROFIL~1");
        QTest::newRow("blank in short name") << QStringLiteral("A B.TXT") << QStringLiteral("AB~1.TXT");
        QTest::newRow("startmenü") << QStringLiteral("startmenü") << QStringLiteral("STARTM~1");
        // FAT upper-cases letter by letter: a letter without a one-letter capital stays.
        QTest::newRow("sharp s") << QStringLiteral("Maße.ini") << QStringLiteral("MAßE.INI");
        QTest::newRow("sharp s in a long name")
            << QStringLiteral("Straßenkarte.txt") << QStringLiteral("STRAßE~1.TXT");
        // MS-DOS reads short names in code page 850: what it lacks becomes "_", with a number.
        QTest::newRow("umlaut in a short name") << QStringLiteral("Büro.txt") << QStringLiteral("BÜRO.TXT");
        QTest::newRow("euro sign") << QStringLiteral("5€.txt") << QStringLiteral("5_~1.TXT");
        QTest::newRow("ligature") << QStringLiteral("ﬁx.txt") << QStringLiteral("_X~1.TXT");
        QTest::newRow("n with apostrophe") << QStringLiteral("ŉ.txt") << QStringLiteral("_~1.TXT");
        QTest::newRow("micro sign, whose capital is Greek")
            << QStringLiteral("µ.txt") << QStringLiteral("_~1.TXT");
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

    // A file run keeps the short forms of folders it asked for: a folder made again under the
    // same name, after another one took its alias, has a new short form.
    void aFolderMadeAgainInOneFileRunHasItsNewShortForm()
    {
        TestMachine pc;
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        pc.writeFile(QStringLiteral("D:\\Velko Save\\Datei.txt"), "x");
        FileRun run;
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save\\Datei.txt")),
                 QStringLiteral("D:\\VELKOS~1\\DATEI.TXT"));
        QCOMPARE(removeDirectoryTree(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Sauber")), 0);
        QCOMPARE(createDirectory(QStringLiteral("D:\\Velko Save")), 0);
        QCOMPARE(writeFile(QStringLiteral("D:\\Velko Save\\Datei.txt"), "x"), 0);
        QCOMPARE(shortPath(QStringLiteral("D:\\Velko Save\\Datei.txt")),
                 QStringLiteral("D:\\VELKOS~2\\DATEI.TXT"));
        QCOMPARE(run.finish(), 0);
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

    // The others keep their aliases, and are found by them, whichever names go.
    void aliasesStayWhenOtherNamesGo()
    {
        TestMachine pc;
        QStringList shortPaths;
        for (int number = 1; number <= 12; ++number) {
            const QString path = QStringLiteral("D:\\Eine lange Datei %1.txt").arg(number);
            QCOMPARE(writeFile(path, "x"), 0);
            shortPaths << shortPath(path);
        }
        const QList<int> gone = {1, 6, 2, 9};  // the last ones move into their places
        for (const int number : gone)
            QCOMPARE(deleteFile(QStringLiteral("D:\\Eine lange Datei %1.txt").arg(number)), 0);
        for (int number = 1; number <= 12; ++number) {
            const QString path = QStringLiteral("D:\\Eine lange Datei %1.txt").arg(number);
            const QString alias = shortPaths[number - 1];
            if (gone.contains(number)) {
                QVERIFY2(!fileExists(alias), qPrintable(alias));
                continue;
            }
            QCOMPARE(shortPath(path), alias);
            QCOMPARE(canonicalPath(alias).value, path);
        }
    }

    void namesDifferingInSharpSAreTwoFiles()
    {
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("D:\\Maße.ini"), "sz"), 0);
        QCOMPARE(writeFile(QStringLiteral("D:\\Masse.ini"), "ss"), 0);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\MAßE.INI")), QByteArray("sz"));
        QCOMPARE(pc.readFile(QStringLiteral("D:\\MASSE.INI")), QByteArray("ss"));
        QCOMPARE(files(QStringLiteral("D:\\")).value,
                 (QStringList{QStringLiteral("Masse.ini"), QStringLiteral("Maße.ini")}));
        QCOMPARE(shortPath(QStringLiteral("D:\\maße.ini")), QStringLiteral("D:\\MAßE.INI"));
        QCOMPARE(shortPath(QStringLiteral("D:\\masse.ini")), QStringLiteral("D:\\MASSE.INI"));
    }

    // D:\ holds Eine lange Datei.txt, Zweite lange.txt and Andere.txt; the records give the
    // first an alias that is taken only where it is a sound, unique 8.3 name.
    void storedAliasesAreChecked_data()
    {
        QTest::addColumn<QByteArray>("records");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        const QByteArray first("Eine lange Datei.txt\t32\t");
        const QByteArray second("Zweite lange.txt\t32\t");
        QTest::newRow("sound alias kept") << first + "EINELA~7.TXT\n"
                                          << "EINELA~7.TXT"
                                          << "ZWEITE~1.TXT";
        QTest::newRow("lower case is upper-cased") << first + "einela~5.txt\n"
                                                   << "EINELA~5.TXT"
                                                   << "ZWEITE~1.TXT";
        QTest::newRow("not 8.3") << first + "EINELANGEDATEI.TXT\n"
                                 << "EINELA~1.TXT"
                                 << "ZWEITE~1.TXT";
        QTest::newRow("blank") << first + "EINE L~1.TXT\n"
                               << "EINELA~1.TXT"
                               << "ZWEITE~1.TXT";
        QTest::newRow("backslash") << first + "..\\WIN.INI\n"
                                   << "EINELA~1.TXT"
                                   << "ZWEITE~1.TXT";
        QTest::newRow("dot dot") << first + "..\n"
                                 << "EINELA~1.TXT"
                                 << "ZWEITE~1.TXT";
        QTest::newRow("another file's name") << first + "ANDERE.TXT\n"
                                             << "EINELA~1.TXT"
                                             << "ZWEITE~1.TXT";
        QTest::newRow("another file's name in other case") << first + "andere.txt\n"
                                                           << "EINELA~1.TXT"
                                                           << "ZWEITE~1.TXT";
        QTest::newRow("claimed twice") << first + "ZZZ~1.TXT\n" + second + "ZZZ~1.TXT\n"
                                       << "EINELA~1.TXT"
                                       << "ZWEITE~1.TXT";
        QTest::newRow("another entry's fresh alias") << first + "ZWEITE~1.TXT\n"
                                                     << "ZWEITE~1.TXT"
                                                     << "ZWEITE~2.TXT";
    }

    void storedAliasesAreChecked()
    {
        QFETCH(QByteArray, records);
        QFETCH(QString, first);
        QFETCH(QString, second);
        TestMachine pc;
        const QString folder = pc.folder() + QStringLiteral("/drive_d/");
        for (const QString &name : {QStringLiteral("Eine lange Datei.txt"),
                                    QStringLiteral("Zweite lange.txt"), QStringLiteral("Andere.txt")}) {
            QFile file(folder + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QFile recordsFile(folder + QStringLiteral(".dosattr"));
        QVERIFY(recordsFile.open(QIODevice::WriteOnly));
        recordsFile.write(records);
        recordsFile.close();
        reloadMachine(pc);

        QCOMPARE(shortPath(QStringLiteral("D:\\Eine lange Datei.txt")), QStringLiteral("D:\\") + first);
        QCOMPARE(shortPath(QStringLiteral("D:\\Zweite lange.txt")), QStringLiteral("D:\\") + second);
        QCOMPARE(canonicalPath(QStringLiteral("D:\\ANDERE.TXT")).value, QStringLiteral("D:\\Andere.txt"));
        QCOMPARE(canonicalPath(QStringLiteral("D:\\") + first).value,
                 QStringLiteral("D:\\Eine lange Datei.txt"));
    }

    void cdDrivesGetAliasesWithoutRecords()
    {
        TestMachine pc;
        makeOnHost(pc, QStringLiteral("cd-f/Velko Save/Lange Namen"));
        QCOMPARE(shortPath(QStringLiteral("F:\\Velko Save\\Lange Namen")),
                 QStringLiteral("F:\\VELKOS~1\\LANGEN~1"));
        QVERIFY(directoryExists(QStringLiteral("F:\\VELKOS~1\\LANGEN~1")));
        const QStringList hidden =
            QDir(pc.folder() + QStringLiteral("/cd-f")).entryList(QDir::Hidden | QDir::Files);
        QCOMPARE(hidden, QStringList());
    }
};

QTEST_GUILESS_MAIN(ShortNamesTest)
#include "ShortNamesTest.moc"
