#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace platform;

namespace {

const QString Source = QStringLiteral("C:\\Quelle.txt");
const QString Target = QStringLiteral("D:\\Ziel.txt");

void reloadMachine(const TestMachine &pc)
{
    QString error;
    setMachine(Machine::load(pc.folder(), &error));
    QVERIFY2(hasMachine(), qPrintable(error));
}

quint8 attributes(const QString &path)
{
    const auto result = fileAttributes(path);
    return result.ok() ? result.value : 0xFF;
}

}  // namespace

class AttributesTest : public QObject {
    Q_OBJECT

private slots:
    void defaults()
    {
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("C:\\Neu.txt"), "x"), 0);
        QCOMPARE(attributes(QStringLiteral("C:\\neu.txt")), attr::Archive);
        QCOMPARE(attributes(QStringLiteral("C:\\WINDOWS")), attr::Directory);
        QCOMPARE(attributes(QStringLiteral("C:\\")), attr::Directory);
        QCOMPARE(fileAttributes(QStringLiteral("C:\\Fehlt.txt")).error, dos::FileNotFound);
    }

    void keptAcrossRuns_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("reported");
        QTest::newRow("all four") << QStringLiteral("C:\\Io.sys") << 39 << 39;
        QTest::newRow("none") << QStringLiteral("C:\\Config.sys") << 0 << 0;
        QTest::newRow("long name") << QStringLiteral("C:\\Meine lange Datei.text") << 3 << 3;
        QTest::newRow("directory bit is not stored") << QStringLiteral("C:\\Io.sys") << 16 + 1 << 1;
        QTest::newRow("hidden directory") << QStringLiteral("C:\\WINDOWS") << 2 << 16 + 2;
    }

    void keptAcrossRuns()
    {
        QFETCH(QString, path);
        QFETCH(int, stored);
        QFETCH(int, reported);
        TestMachine pc;
        if (!directoryExists(path))
            pc.writeFile(path, "x");
        QCOMPARE(setFileAttributes(path, quint8(stored)), 0);
        QCOMPARE(int(attributes(path)), reported);
        reloadMachine(pc);
        QCOMPARE(int(attributes(path.toLower())), reported);
    }

    // A folder whose attribute records cannot be read (here a folder stands in their place):
    // its files are there, but what needs the records fails with the folder's error.
    void unreadableRecordsAreAnErrorOfTheirFolder()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Daten\\Brief.txt"), "Brief");
        pc.writeFile(QStringLiteral("D:\\Daten\\Eine lange Datei.txt"), "lang");
        pc.writeFile(Source, "Quelle");
        QVERIFY(QFile::remove(pc.folder() + QStringLiteral("/drive_d/Daten/.dosattr")));
        QVERIFY(QDir(pc.folder()).mkpath(QStringLiteral("drive_d/Daten/.dosattr")));
        reloadMachine(pc);

        for (const QString &path :
             {QStringLiteral("D:\\daten\\brief.TXT"), QStringLiteral("D:\\Daten\\Brief.txt")}) {
            QVERIFY2(fileExists(path), qPrintable(path));
            QCOMPARE(readFile(path).value, QByteArray("Brief"));
            QCOMPARE(fileAttributes(path).error, dos::AccessDenied);
            QCOMPARE(copyFile(path, Target), dos::AccessDenied);
            QCOMPARE(deleteFile(path), dos::AccessDenied);
        }
        // Without the records an alias cannot be known: no name counts as missing.
        QCOMPARE(fileAttributes(QStringLiteral("D:\\Daten\\EINELA~1.TXT")).error, dos::AccessDenied);
        QCOMPARE(fileAttributes(QStringLiteral("D:\\Daten\\Fehlt.txt")).error, dos::AccessDenied);
        QCOMPARE(files(QStringLiteral("D:\\Daten")).error, dos::AccessDenied);
        QCOMPARE(copyFile(Source, QStringLiteral("D:\\Daten\\Neu.txt")), dos::AccessDenied);
        QVERIFY(!QFile::exists(pc.folder() + QStringLiteral("/drive_d/Daten/Neu.txt")));
    }

    void readOnlyFileIsProtected_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("write") << QStringLiteral("write");
        QTest::newRow("replace") << QStringLiteral("replace");
        QTest::newRow("empty") << QStringLiteral("empty");
        QTest::newRow("delete") << QStringLiteral("delete");
        QTest::newRow("copy over") << QStringLiteral("copy");
    }

    void readOnlyFileIsProtected()
    {
        QFETCH(QString, operation);
        TestMachine pc;
        pc.writeFile(Source, "neu");
        pc.writeFile(Target, "alt", attr::ReadOnly | attr::Archive);
        int error = -1;
        if (operation == u"write")
            error = writeFile(Target, "neu");
        else if (operation == u"replace")
            error = replaceFile(Target, "neu");
        else if (operation == u"empty")
            error = createEmptyFile(Target);
        else if (operation == u"delete")
            error = deleteFile(Target);
        else
            error = copyFile(Source, Target);
        QCOMPARE(error, dos::AccessDenied);
        QCOMPARE(pc.readFile(Target), QByteArray("alt"));
        QCOMPARE(attributes(Target), quint8(attr::ReadOnly | attr::Archive));
    }

    void copyRefusesAHiddenTargetButWritingDoesNot()
    {
        TestMachine pc;
        pc.writeFile(Source, "neu");
        pc.writeFile(Target, "alt", attr::Hidden);
        QCOMPARE(copyFile(Source, Target), dos::AccessDenied);
        QCOMPARE(pc.readFile(Target), QByteArray("alt"));
        QCOMPARE(writeFile(Target, "neu"), 0);
        QCOMPARE(pc.readFile(Target), QByteArray("neu"));
    }

    void copyKeepsAttributesAndTime_data()
    {
        QTest::addColumn<int>("sourceAttributes");
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("read-only to new") << (attr::ReadOnly | attr::Archive) << false;
        QTest::newRow("hidden system to new") << (attr::Hidden | attr::System) << false;
        QTest::newRow("plain over existing") << 0 << true;
        QTest::newRow("read-only over existing") << int(attr::ReadOnly) << true;
    }

    void copyKeepsAttributesAndTime()
    {
        QFETCH(int, sourceAttributes);
        QFETCH(bool, targetExists);
        TestMachine pc;
        pc.writeFile(Source, "Inhalt der Quelle", quint8(sourceAttributes));
        if (targetExists)
            pc.writeFile(Target, "alt", attr::System | attr::Archive);
        const QDateTime written(QDate(1999, 12, 7), QTime(14, 5, 32));
        QFile host(pc.host(Source));
        QVERIFY(host.open(QIODevice::ReadWrite));
        QVERIFY(host.setFileTime(written, QFileDevice::FileModificationTime));
        host.close();

        QCOMPARE(copyFile(Source, QStringLiteral("d:\\ziel.TXT")), 0);
        QCOMPARE(pc.readFile(Target), QByteArray("Inhalt der Quelle"));
        QCOMPARE(int(attributes(Target)), sourceAttributes);
        QCOMPARE(lastWriteTime(Target).value, written);
        QCOMPARE(canonicalPath(Target).value, targetExists ? Target : QStringLiteral("D:\\ziel.TXT"));
    }

    void copyFailures_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("error");
        QTest::newRow("missing source") << QStringLiteral("C:\\Fehlt.txt") << Target << 2;
        QTest::newRow("source is a directory") << QStringLiteral("C:\\WINDOWS") << Target << 5;
        QTest::newRow("missing target directory") << Source << QStringLiteral("D:\\Fehlt\\x.txt") << 3;
        QTest::newRow("target is a directory") << Source << QStringLiteral("C:\\WINDOWS") << 5;
        QTest::newRow("onto itself") << Source << QStringLiteral("c:\\QUELLE.TXT") << 32;
        QTest::newRow("no such drive") << Source << QStringLiteral("G:\\x.txt") << 15;
        QTest::newRow("no floppy") << Source << QStringLiteral("A:\\x.txt") << 21;
    }

    void copyFailures()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, error);
        TestMachine pc;
        pc.writeFile(Source, "Quelle");
        QCOMPARE(copyFile(from, to), error);
        QCOMPARE(pc.readFile(Source), QByteArray("Quelle"));
    }

    void writingKeepsAttributesAndSetsArchive_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("write") << QStringLiteral("write");
        QTest::newRow("replace") << QStringLiteral("replace");
        QTest::newRow("empty") << QStringLiteral("empty");
    }

    void writingKeepsAttributesAndSetsArchive()
    {
        QFETCH(QString, operation);
        TestMachine pc;
        pc.writeFile(Target, "alt", attr::Hidden | attr::System);
        const QString newFile = QStringLiteral("D:\\Ganz neu.txt");
        for (const QString &path : {Target, newFile}) {
            int error = -1;
            if (operation == u"write")
                error = writeFile(path, "neu");
            else if (operation == u"replace")
                error = replaceFile(path, "neu");
            else
                error = createEmptyFile(path);
            QCOMPARE(error, 0);
        }
        QCOMPARE(attributes(Target), quint8(attr::Hidden | attr::System | attr::Archive));
        QCOMPARE(attributes(newFile), attr::Archive);
    }

    void deletingForgetsTheAttributes()
    {
        TestMachine pc;
        pc.writeFile(Target, "alt", attr::ReadOnly | attr::Hidden);
        QCOMPARE(setFileAttributes(Target, attr::Hidden), 0);
        QCOMPARE(deleteFile(Target), 0);
        QVERIFY(!fileExists(Target));
        QCOMPARE(deleteFile(Target), dos::FileNotFound);
        QFile outside(pc.host(Target));
        QVERIFY(outside.open(QIODevice::WriteOnly));
        outside.close();
        QCOMPARE(attributes(Target), attr::Archive);
        reloadMachine(pc);
        QCOMPARE(attributes(Target), attr::Archive);
    }

    void deleteRefusesDirectories()
    {
        TestMachine pc;
        QCOMPARE(deleteFile(QStringLiteral("C:\\WINDOWS")), dos::AccessDenied);
        QVERIFY(directoryExists(QStringLiteral("C:\\WINDOWS")));
    }

    void manyChangesInOneFolderStayRight()
    {
        TestMachine pc;
        for (int round = 0; round < 3; ++round) {
            for (int index = 0; index < 50; ++index) {
                const QString path = QStringLiteral("D:\\Datei Nummer %1.txt").arg(index);
                if (fileExists(path))
                    QCOMPARE(setFileAttributes(path, quint8((index + round) % 8)), 0);
                else
                    QCOMPARE(writeFile(path, "x"), 0);
            }
        }
        QCOMPARE(setFileAttributes(QStringLiteral("D:\\Datei Nummer 3.txt"), 0), 0);
        QCOMPARE(deleteFile(QStringLiteral("D:\\Datei Nummer 3.txt")), 0);
        reloadMachine(pc);
        for (int index = 0; index < 50; ++index) {
            const QString path = QStringLiteral("D:\\Datei Nummer %1.txt").arg(index);
            if (index == 3)
                QVERIFY(!fileExists(path));
            else
                QCOMPARE(int(attributes(path)), (index + 2) % 8);
        }
    }
};

QTEST_GUILESS_MAIN(AttributesTest)
#include "AttributesTest.moc"
