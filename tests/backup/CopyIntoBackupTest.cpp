#include "backup/BackupRun.h"
#include "platform/Files.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace backup;
namespace attr = platform::attr;

namespace {

const QString Source = QStringLiteral("C:\\Io.sys");
const QString Folder = QStringLiteral("D:\\Backups");
const QString Target = QStringLiteral("D:\\Backups\\Io.sys");
const QDateTime SourceTime(QDate(1999, 12, 7), QTime(14, 5, 32));

int attributes(const QString &path)
{
    const auto result = platform::fileAttributes(path);
    return result.ok() ? result.value : -1;
}

void setHostTime(const TestMachine &pc, const QString &path, const QDateTime &time)
{
    QFile host(pc.host(path));
    QVERIFY(host.open(QIODevice::ReadWrite));
    QVERIFY(host.setFileTime(time, QFileDevice::FileModificationTime));
}

// The folder as Windows lists it: a temporary copy left behind would show here.
QStringList filesIn(const QString &directory)
{
    return platform::files(directory).value;
}

}  // namespace

class CopyIntoBackupTest : public QObject {
    Q_OBJECT

private slots:
    void copyKeepsAttributesAndTime_data()
    {
        QTest::addColumn<int>("sourceAttributes");
        QTest::addColumn<int>("earlierCopy");  // attributes of an earlier copy; -1: none
        QTest::newRow("new copy, archive") << 32 << -1;
        QTest::newRow("new copy, no attributes") << 0 << -1;
        QTest::newRow("new copy, all four") << 39 << -1;
        QTest::newRow("over plain copy") << 32 << 32;
        QTest::newRow("over read-only copy") << 33 << 1;
        QTest::newRow("over hidden copy") << 34 << 2;
        QTest::newRow("over system copy") << 36 << 4;
        QTest::newRow("over IO.SYS copy") << 39 << 39;
        QTest::newRow("protected copy, source now plain") << 0 << 7;
    }

    void copyKeepsAttributesAndTime()
    {
        QFETCH(int, sourceAttributes);
        QFETCH(int, earlierCopy);
        TestMachine pc;
        pc.makeDirectory(Folder);
        if (earlierCopy >= 0)
            pc.writeFile(Target, "alte Sicherung", quint8(earlierCopy));
        pc.writeFile(Source, "neuer Inhalt", quint8(sourceAttributes));
        setHostTime(pc, Source, SourceTime);

        QCOMPARE(copyIntoBackup(Source, Target).error, 0);
        QCOMPARE(pc.readFile(Target), QByteArray("neuer Inhalt"));
        QCOMPARE(attributes(Target), sourceAttributes);
        QCOMPARE(platform::lastWriteTime(Target).value, SourceTime);
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("Io.sys")});
        QCOMPARE(attributes(Source), sourceAttributes);
    }

    // The earlier copy keeps its spelling on disk; a new one takes the source's name part.
    void targetSpelling()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.writeFile(QStringLiteral("D:\\Backups\\IO.SYS"), "alt", attr::Hidden);
        pc.writeFile(Source, "neu");
        QCOMPARE(copyIntoBackup(Source, Target).error, 0);
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("IO.SYS")});
        QCOMPARE(pc.readFile(Target), QByteArray("neu"));
    }

    void missingSourceLeavesEarlierCopy()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.writeFile(Target, "alte Sicherung", 39);
        const QDateTime earlierTime(QDate(1998, 5, 1), QTime(8, 0, 0));
        setHostTime(pc, Target, earlierTime);

        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\Fehlt.sys"), Target).error, 2);
        QCOMPARE(pc.readFile(Target), QByteArray("alte Sicherung"));
        QCOMPARE(attributes(Target), 39);
        QCOMPARE(platform::lastWriteTime(Target).value, earlierTime);
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("Io.sys")});
    }

    // A cd-rom cannot be written; what is on it stays as it is.
    void readOnlyDriveLeavesEarlierCopy()
    {
        TestMachine pc;
        const QString onCd = QStringLiteral("F:\\IO.SYS");
        QFile earlier(QDir(pc.folder()).filePath(QStringLiteral("cd-f/IO.SYS")));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        QCOMPARE(earlier.write("alte Sicherung"), 14);
        earlier.close();
        pc.writeFile(Source, "neu");

        QCOMPARE(copyIntoBackup(Source, onCd).error, 5);
        QCOMPARE(pc.readFile(onCd), QByteArray("alte Sicherung"));
        QCOMPARE(QDir(pc.folder() + QStringLiteral("/cd-f")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("IO.SYS")});
    }

    void missingFolderFails()
    {
        TestMachine pc;
        pc.writeFile(Source, "neu");
        QCOMPARE(copyIntoBackup(Source, QStringLiteral("D:\\Fehlt\\Io.sys")).error, 3);
        QCOMPARE(copyIntoBackup(Source, QStringLiteral("E:\\Io.sys")).error, 21);
    }

    void directoryInTheWayFails()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups\\Io.sys"));
        pc.writeFile(Source, "neu");
        QCOMPARE(copyIntoBackup(Source, Target).error, 5);
        QVERIFY(platform::directoryExists(Target));
        QCOMPARE(filesIn(Folder), QStringList());
    }

    // A marked file that already lies in the backup folder is its own copy.
    void fileCopiedOntoItself()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.writeFile(Target, "Inhalt", 35);
        setHostTime(pc, Target, SourceTime);
        QCOMPARE(copyIntoBackup(Target, QStringLiteral("d:\\backups\\IO.SYS")).error, 0);
        QCOMPARE(pc.readFile(Target), QByteArray("Inhalt"));
        QCOMPARE(attributes(Target), 35);
        QCOMPARE(platform::lastWriteTime(Target).value, SourceTime);
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("Io.sys")});
    }
};

QTEST_GUILESS_MAIN(CopyIntoBackupTest)
#include "CopyIntoBackupTest.moc"
