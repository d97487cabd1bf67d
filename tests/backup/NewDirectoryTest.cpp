#include "backup/core/NewDirectory.h"
#include "platform/drives/Files.h"
#include "platform/text/DosError.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace backup;

class NewDirectoryTest : public QObject {
    Q_OBJECT

private slots:
    void pathBelowTheBase_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::newRow("root with backslash") << "C:\\"
                                             << "C:\\Neu";
        QTest::newRow("root without") << "C:"
                                      << "C:\\Neu";
        QTest::newRow("folder") << "D:\\Sicherung"
                                << "D:\\Sicherung\\Neu";
    }

    void pathBelowTheBase()
    {
        QFETCH(QString, base);
        QFETCH(QString, path);
        QCOMPARE(newDirectoryPath(base, QStringLiteral("Neu")), path);
    }

    void namesThatAreMade_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("below a root") << "C:\\Neu";
        QTest::newRow("nested") << "D:\\a\\b";
        QTest::newRow("existing") << "C:\\WINDOWS";
        QTest::newRow("blanks and brackets") << "D:\\Verzeichnisname (z. B. 'Juni 1999')";
    }

    void namesThatAreMade()
    {
        QFETCH(QString, path);
        TestMachine pc;
        QCOMPARE(createNewDirectory(path), NewDirectory::Created);
        QVERIFY(platform::directoryExists(path));
    }

    void badNamesMakeNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("colon") << "D:\\a:b";
        QTest::newRow("asterisk") << "D:\\Juni*";
        QTest::newRow("below a bad name") << "D:\\a?\\b";
    }

    void badNamesMakeNothing()
    {
        QFETCH(QString, path);
        TestMachine pc;
        QCOMPARE(createNewDirectory(path), NewDirectory::BadName);
        QCOMPARE(platform::subdirectories(QStringLiteral("D:\\")).value, QStringList());
    }

    void otherFailuresAreThrown_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("CD without medium") << "E:\\Neu";
        QTest::newRow("read-only CD") << "F:\\Neu";
    }

    void otherFailuresAreThrown()
    {
        QFETCH(QString, path);
        TestMachine pc;
        QVERIFY_THROWS_EXCEPTION(platform::IoError, (void)createNewDirectory(path));
    }
};

QTEST_GUILESS_MAIN(NewDirectoryTest)
#include "NewDirectoryTest.moc"
