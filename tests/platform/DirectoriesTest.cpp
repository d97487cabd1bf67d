#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QRegularExpression>
#include <QtTest>

using namespace platform;

class DirectoriesTest : public QObject {
    Q_OBJECT

private slots:
    void createDirectoryNeedsItsParent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("new") << QStringLiteral("C:\\WINDOWS\\Neu") << 0;
        QTest::newRow("existing") << QStringLiteral("c:\\windows") << int(dos::AccessDenied);
        QTest::newRow("existing file") << QStringLiteral("C:\\Datei.txt") << int(dos::AccessDenied);
        QTest::newRow("root") << QStringLiteral("C:\\") << int(dos::AccessDenied);
        QTest::newRow("missing parent") << QStringLiteral("C:\\Fehlt\\Neu") << int(dos::PathNotFound);
        QTest::newRow("no such drive") << QStringLiteral("G:\\Neu") << int(dos::InvalidDrive);
        QTest::newRow("no floppy") << QStringLiteral("A:\\Neu") << int(dos::NotReady);
    }

    void createDirectoryNeedsItsParent()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Datei.txt"), "x");
        QCOMPARE(createDirectory(path), error);
        if (error == 0)
            QVERIFY(directoryExists(path));
    }

    void forceDirectories_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("created");
        QTest::newRow("three new levels") << QStringLiteral("D:\\Eins\\Zwei Drei\\Vier") << 0
                                          << QStringLiteral("D:\\Eins\\Zwei Drei\\Vier");
        QTest::newRow("below an existing one")
            << QStringLiteral("c:\\windows\\Temp\\Neu") << 0 << QStringLiteral("C:\\WINDOWS\\TEMP\\Neu");
        QTest::newRow("existing") << QStringLiteral("C:\\WINDOWS") << 0 << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("root") << QStringLiteral("D:\\") << 0 << QStringLiteral("D:\\");
        QTest::newRow("trailing backslash") << QStringLiteral("D:\\Neu\\") << 0 << QStringLiteral("D:\\Neu");
        QTest::newRow("through a file")
            << QStringLiteral("C:\\Datei.txt\\Neu") << int(dos::AccessDenied) << QString();
        QTest::newRow("invalid name")
            << QStringLiteral("D:\\Neu\\A*B") << int(dos::PathNotFound) << QString();
        QTest::newRow("no such drive") << QStringLiteral("G:\\Neu") << int(dos::InvalidDrive) << QString();
        QTest::newRow("cd without disc") << QStringLiteral("E:\\Neu") << int(dos::NotReady) << QString();
        QTest::newRow("cd with disc") << QStringLiteral("F:\\Neu") << int(dos::AccessDenied) << QString();
    }

    void forceDirectories()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        QFETCH(QString, created);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Datei.txt"), "x");
        QCOMPARE(platform::forceDirectories(path), error);
        if (error == 0)
            QCOMPARE(canonicalPath(path).value, created);
    }

    void removeDirectoryTreeTakesEverything()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Alt\\Schreibgeschützt.txt"), "x", attr::ReadOnly);
        pc.writeFile(QStringLiteral("D:\\Alt\\Unter\\Versteckt.sys"), "x", attr::Hidden | attr::System);
        pc.makeDirectory(QStringLiteral("D:\\Alt\\Leer\\Noch leerer"));
        QCOMPARE(setFileAttributes(QStringLiteral("D:\\Alt\\Unter"), attr::ReadOnly), 0);
        pc.writeFile(QStringLiteral("D:\\Bleibt.txt"), "x");

        QCOMPARE(removeDirectoryTree(QStringLiteral("d:\\alt")), 0);
        QVERIFY(!directoryExists(QStringLiteral("D:\\Alt")));
        QVERIFY(!QDir(pc.folder() + QStringLiteral("/drive_d/Alt")).exists());
        QCOMPARE(subdirectories(QStringLiteral("D:\\")).value, QStringList());
        QCOMPARE(files(QStringLiteral("D:\\")).value, QStringList{QStringLiteral("Bleibt.txt")});
        pc.makeDirectory(QStringLiteral("D:\\Alt"));
        QCOMPARE(files(QStringLiteral("D:\\Alt")).value, QStringList());
    }

    void removeDirectoryTreeRefuses_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::newRow("missing") << QStringLiteral("D:\\Fehlt") << int(dos::PathNotFound);
        QTest::newRow("a file") << QStringLiteral("C:\\Datei.txt") << int(dos::PathNotFound);
        QTest::newRow("a root") << QStringLiteral("C:\\") << int(dos::AccessDenied);
        QTest::newRow("no such drive") << QStringLiteral("G:\\X") << int(dos::InvalidDrive);
    }

    void removeDirectoryTreeRefuses()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Datei.txt"), "x");
        QCOMPARE(removeDirectoryTree(path), error);
        QVERIFY(fileExists(QStringLiteral("C:\\Datei.txt")));
        QVERIFY(directoryExists(QStringLiteral("C:\\WINDOWS\\TEMP")));
    }

    void listingsAreSortedWithoutRegardToCase()
    {
        TestMachine pc;
        for (const QString &name : {QStringLiteral("zeta.txt"), QStringLiteral("Alpha.TXT"),
                                    QStringLiteral("beta lang.txt"), QStringLiteral("Gamma.ini")})
            pc.writeFile(QStringLiteral("D:\\") + name, "x", attr::Hidden);
        pc.makeDirectory(QStringLiteral("D:\\sub b"));
        pc.makeDirectory(QStringLiteral("D:\\Sub A"));
        QCOMPARE(files(QStringLiteral("d:\\")).value,
                 (QStringList{QStringLiteral("Alpha.TXT"), QStringLiteral("beta lang.txt"),
                              QStringLiteral("Gamma.ini"), QStringLiteral("zeta.txt")}));
        QCOMPARE(subdirectories(QStringLiteral("D:")).value,
                 (QStringList{QStringLiteral("Sub A"), QStringLiteral("sub b")}));
        QCOMPARE(subdirectories(QStringLiteral("D:\\Fehlt")).error, dos::PathNotFound);
        QCOMPARE(files(QStringLiteral("D:\\Alpha.txt")).error, dos::PathNotFound);
        QCOMPARE(files(QStringLiteral("E:\\")).error, dos::NotReady);
    }

    void windowsAndTempDirectories()
    {
        TestMachine pc;
        QCOMPARE(windowsDirectory(), QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(removeDirectoryTree(QStringLiteral("C:\\WINDOWS\\TEMP")), 0);
        QCOMPARE(tempDirectory(), QStringLiteral("C:\\WINDOWS\\TEMP\\"));
        QVERIFY(directoryExists(QStringLiteral("C:\\WINDOWS\\TEMP")));
    }

    void tempFilesAreNewAndEmpty()
    {
        TestMachine pc;
        const QRegularExpression pattern(QStringLiteral("^C:\\\\WINDOWS\\\\TEMP\\\\TMP[0-9A-F]{4}\\.TMP$"));
        QStringList made;
        for (int count = 0; count < 20; ++count) {
            const auto file = createTempFile(tempDirectory(), QStringLiteral("TMP"));
            QCOMPARE(file.error, 0);
            QVERIFY2(pattern.match(file.value).hasMatch(), qPrintable(file.value));
            QVERIFY(!made.contains(file.value));
            QCOMPARE(pc.readFile(file.value), QByteArray());
            made << file.value;
        }
        QCOMPARE(files(QStringLiteral("C:\\WINDOWS\\TEMP")).value.size(), 20);
        const auto inRoot = createTempFile(QStringLiteral("d:"), QStringLiteral("ORVEL"));
        QVERIFY2(inRoot.value.startsWith(QStringLiteral("D:\\ORV")), qPrintable(inRoot.value));
        QCOMPARE(createTempFile(QStringLiteral("C:\\Fehlt"), QStringLiteral("TMP")).error, dos::PathNotFound);
        QCOMPARE(createTempFile(QStringLiteral("F:\\"), QStringLiteral("TMP")).error, dos::AccessDenied);
    }
};

QTEST_GUILESS_MAIN(DirectoriesTest)
#include "DirectoriesTest.moc"
