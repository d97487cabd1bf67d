#include "backup/core/BackupRun.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace backup;
namespace attr = platform::attr;

namespace {

const QString Source = QStringLiteral("C:\\Io.sys");
const QString Folder = QStringLiteral("D:\\Backups");
const QString Target = QStringLiteral("D:\\Backups\\Io.sys");
const QDateTime SourceTime(QDate(1999, 12, 7), QTime(14, 5, 32));
// More than one step of a copy that reads and writes, not a multiple of its buffer.
const QByteArray LargeContent = QByteArray(3 * 1024 * 1024 + 17, 'g') + "Ende";

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

// At the host path `host`: a link to C:\Daten\Echt.sys ("link in"), a link to a file outside the
// PC ("link out") or a FIFO ("fifo"). False when it cannot be made.
bool placeLinkOrFifo(const QString &kind, const QByteArray &host, const QTemporaryDir &outside)
{
    if (kind == u"link in")
        return ::symlink("../Daten/Echt.sys", host.constData()) == 0;
    if (kind == u"link out") {
        QFile file(outside.filePath(QStringLiteral("fremd.sys")));
        if (!file.open(QIODevice::WriteOnly) || file.write("fremd") != 5)
            return false;
        file.close();
        return ::symlink(QFile::encodeName(file.fileName()).constData(), host.constData()) == 0;
    }
    return kind == u"fifo" && ::mkfifo(host.constData(), 0600) == 0;
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

    // A file run holds the folder it copies into open: a copy into another folder, or into the
    // folder made again after its removal, must land where its path leads now.
    void copiesInOneFileRunFollowTheirFolders()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.makeDirectory(QStringLiteral("D:\\Andere"));
        pc.writeFile(Source, "neu");
        platform::FileRun run;
        QCOMPARE(copyIntoBackup(Source, Target).error, 0);
        QCOMPARE(platform::removeDirectoryTree(Folder), 0);
        QCOMPARE(platform::createDirectory(Folder), 0);
        QCOMPARE(copyIntoBackup(Source, QStringLiteral("D:\\Backups\\Neu.sys")).error, 0);
        QCOMPARE(copyIntoBackup(Source, QStringLiteral("D:\\Andere\\Io.sys")).error, 0);
        QCOMPARE(copyIntoBackup(Source, Target).error, 0);
        QCOMPARE(run.finish(), 0);

        QCOMPARE(QDir(pc.host(Folder)).entryList(QDir::Files, QDir::Name),
                 QStringList({QStringLiteral("Io.sys"), QStringLiteral("Neu.sys")}));
        QCOMPARE(QDir(pc.host(QStringLiteral("D:\\Andere"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("Io.sys")});
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Backups\\Neu.sys")), QByteArray("neu"));
    }

    // A file run opens a regular file right in the folder it holds by name; whatever else stands
    // there is found as outside a run: a link inside the drive is followed, one leading out
    // counts as missing, a FIFO or folder is refused.
    void sourceKinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("inRun");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("content");
        for (const bool inRun : {false, true}) {
            const char *where = inRun ? "in a file run" : "alone";
            QTest::addRow("regular file, %s", where) << "file" << inRun << 0 << QByteArray("neuer Inhalt");
            QTest::addRow("empty file, %s", where) << "empty" << inRun << 0 << QByteArray();
            QTest::addRow("large file, %s", where) << "large" << inRun << 0 << LargeContent;
            QTest::addRow("link inside the drive, %s", where) << "link in" << inRun << 0 << QByteArray("echt");
            QTest::addRow("link out of the drive, %s", where) << "link out" << inRun << 2 << QByteArray();
            QTest::addRow("FIFO, %s", where) << "fifo" << inRun << 5 << QByteArray();
            QTest::addRow("folder, %s", where) << "folder" << inRun << 5 << QByteArray();
            QTest::addRow("missing, %s", where) << "missing" << inRun << 2 << QByteArray();
        }
    }

    void sourceKinds()
    {
        QFETCH(QString, kind);
        QFETCH(bool, inRun);
        QFETCH(int, error);
        QFETCH(QByteArray, content);
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.makeDirectory(QStringLiteral("C:\\Quelle"));
        pc.writeFile(QStringLiteral("C:\\Quelle\\Vorher.sys"), "davor");
        pc.writeFile(QStringLiteral("C:\\Daten\\Echt.sys"), "echt");
        const QTemporaryDir outside;
        QVERIFY(outside.isValid());
        const QString source = QStringLiteral("C:\\Quelle\\Io.sys");
        const QByteArray host = QFile::encodeName(pc.host(source));
        if (kind == u"file" || kind == u"empty" || kind == u"large")
            pc.writeFile(source, content);
        else if (kind == u"folder")
            pc.makeDirectory(source);
        else if (kind != u"missing")
            QVERIFY(placeLinkOrFifo(kind, host, outside));

        std::optional<platform::FileRun> run;
        if (inRun)
            run.emplace();
        // A copy from the same folder before: the run holds that folder already.
        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\Quelle\\Vorher.sys"), QStringLiteral("D:\\Backups\\Vorher.sys"))
                     .error,
                 0);
        QCOMPARE(copyIntoBackup(source, Target).error, error);
        if (run)
            QCOMPARE(run->finish(), 0);

        const QString expected = QStringLiteral("Io.sys");
        QCOMPARE(filesIn(Folder), error == 0 ? QStringList({expected, QStringLiteral("Vorher.sys")})
                                             : QStringList{QStringLiteral("Vorher.sys")});
        if (error == 0)
            QCOMPARE(pc.readFile(Target), content);
    }

    // A file the run's listing shows as regular is opened without a look first; whatever took
    // its place since is found as above, and nothing waits for a FIFO's other end.
    void sourceReplacedDuringRun_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("error");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("other regular file") << "file" << 0 << QByteArray("ersetzt");
        QTest::newRow("link inside the drive") << "link in" << 0 << QByteArray("echt");
        QTest::newRow("link out of the drive") << "link out" << 2 << QByteArray();
        QTest::newRow("FIFO") << "fifo" << 5 << QByteArray();
        QTest::newRow("folder") << "folder" << 5 << QByteArray();
        QTest::newRow("gone") << "missing" << 2 << QByteArray();
    }

    void sourceReplacedDuringRun()
    {
        QFETCH(QString, kind);
        QFETCH(int, error);
        QFETCH(QByteArray, content);
        TestMachine pc;
        pc.makeDirectory(Folder);
        const QString source = QStringLiteral("C:\\Quelle\\Io.sys");
        pc.writeFile(QStringLiteral("C:\\Quelle\\Vorher.sys"), "davor");
        pc.writeFile(QStringLiteral("C:\\Daten\\Echt.sys"), "echt");
        const QTemporaryDir outside;
        QVERIFY(outside.isValid());
        const QString hostSource = pc.host(source);
        const QByteArray host = QFile::encodeName(hostSource);
        {
            // Made on the host, as the files a run saves mostly are: the folder's listing shows it.
            QFile file(hostSource);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write("alt"), 3);
        }

        platform::FileRun run;
        // The run lists the folder, Io.sys a regular file in it, and holds it.
        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\Quelle\\Vorher.sys"),
                                QStringLiteral("D:\\Backups\\Vorher.sys"))
                     .error,
                 0);
        QVERIFY(QFile::remove(hostSource));
        if (kind == u"file") {
            QFile file(hostSource);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(content), content.size());
        } else if (kind == u"folder") {
            QVERIFY(QDir().mkdir(hostSource));
        } else if (kind != u"missing") {
            QVERIFY(placeLinkOrFifo(kind, host, outside));
        }
        QCOMPARE(copyIntoBackup(source, Target).error, error);
        QCOMPARE(run.finish(), 0);

        if (error == 0)
            QCOMPARE(pc.readFile(Target), content);
        else
            QVERIFY(!QFile::exists(pc.host(Target)));
        QCOMPARE(filesIn(Folder).contains(QStringLiteral("Io.sys")), error == 0);
    }

    // A file run holds the folder it copies from: copies from another folder, or from the
    // folder made again after its removal, read what its path leads to now.
    void copiesInOneFileRunReadFromTheirFolders()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.writeFile(QStringLiteral("C:\\A\\Io.sys"), "erstes A");
        pc.writeFile(QStringLiteral("C:\\B\\Io.sys"), "B");
        platform::FileRun run;
        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\A\\Io.sys"), QStringLiteral("D:\\Backups\\A1.sys")).error, 0);
        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\B\\Io.sys"), QStringLiteral("D:\\Backups\\B.sys")).error, 0);
        QCOMPARE(platform::removeDirectoryTree(QStringLiteral("C:\\A")), 0);
        QCOMPARE(platform::createDirectory(QStringLiteral("C:\\A")), 0);
        QCOMPARE(platform::writeFile(QStringLiteral("C:\\A\\Io.sys"), "zweites A"), 0);
        QCOMPARE(copyIntoBackup(QStringLiteral("C:\\A\\Io.sys"), QStringLiteral("D:\\Backups\\A2.sys")).error, 0);
        QCOMPARE(run.finish(), 0);

        QCOMPARE(pc.readFile(QStringLiteral("D:\\Backups\\A1.sys")), QByteArray("erstes A"));
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Backups\\B.sys")), QByteArray("B"));
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Backups\\A2.sys")), QByteArray("zweites A"));
    }

    // A floppy keeps its files in an image: copies into it, out of it and within it go the same
    // way, over an earlier copy protected or not.
    void copyBetweenDriveKinds_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("earlierCopy");  // attributes of an earlier copy; -1: none
        const QString onFloppy = QStringLiteral("A:\\SICHER\\Io.sys");
        QTest::newRow("folder to floppy") << Source << onFloppy << -1;
        QTest::newRow("folder to floppy, over IO.SYS copy") << Source << onFloppy << 39;
        QTest::newRow("floppy to folder") << "A:\\Io.sys" << Target << -1;
        QTest::newRow("floppy to folder, over IO.SYS copy") << "A:\\Io.sys" << Target << 39;
        QTest::newRow("floppy to floppy, over read-only copy") << "A:\\Io.sys" << onFloppy << 1;
    }

    void copyBetweenDriveKinds()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, earlierCopy);
        TestMachine pc;
        insertFormattedDisk(pc, u'A', QString(), false);
        pc.makeDirectory(Folder);
        pc.makeDirectory(QStringLiteral("A:\\SICHER"));
        if (earlierCopy >= 0)
            pc.writeFile(target, "alte Sicherung", quint8(earlierCopy));
        pc.writeFile(source, "neuer Inhalt", 35);
        if (!source.startsWith(u'A'))
            setHostTime(pc, source, SourceTime);

        QCOMPARE(copyIntoBackup(source, target).error, 0);
        QCOMPARE(pc.readFile(target), QByteArray("neuer Inhalt"));
        QCOMPARE(attributes(target), 35);
        QCOMPARE(platform::lastWriteTime(target).value, platform::lastWriteTime(source).value);
        QCOMPARE(filesIn(platform::directoryPart(target)), QStringList{QStringLiteral("Io.sys")});
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

    // The copy half-way, as a slow disk or a killed run would leave it: only the temporary name
    // may stand in the folder then. copyIntoBackup is this with the copy as the filling.
    void firstCopyStandsUnderItsNameOnlyWhenComplete()
    {
        TestMachine pc;
        pc.makeDirectory(Folder);
        const QString hostFolder = pc.host(Folder);
        const QString target = QStringLiteral("D:\\Backups\\Langsam.sys");
        pc.writeFile(Source, "halb fertig");
        QStringList halfWay;
        const WriteOutcome outcome = writeInPlace(target, [&](const QString &temporary) {
            if (const int error = platform::writeFile(temporary, "halb"))
                return error;
            halfWay = QDir(hostFolder).entryList(QDir::Files, QDir::Name).filter(QRegularExpression("^[^.]"));
            return platform::copyFile(Source, temporary);
        });
        QCOMPARE(halfWay.size(), 1);
        QVERIFY2(QRegularExpression("^~VS[0-9A-F]{4}\\.TMP$").match(halfWay[0]).hasMatch(),
                 qPrintable(halfWay[0]));
        QCOMPARE(outcome.error, 0);
        QCOMPARE(pc.readFile(target), QByteArray("halb fertig"));
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("Langsam.sys")});
    }

    // Whether a failure stops the whole run: the folder itself or only this file failed.
    void failureOfFolderOrFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("fullDiskAt");  // bytes a file may have; 0: no limit
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("folderFailed");
        QTest::newRow("folder gone") << "D:\\Fehlt\\Io.sys" << Source << 0 << 3 << true;
        QTest::newRow("no medium") << "E:\\Io.sys" << Source << 0 << 21 << true;
        QTest::newRow("read-only drive") << "F:\\Io.sys" << Source << 0 << 5 << true;
        QTest::newRow("disk full") << Target << Source << 100 << 101 << true;
        QTest::newRow("folder of the copy's name") << "D:\\Backups\\Ordner" << Source << 0 << 5 << false;
        QTest::newRow("source gone") << Target << "C:\\Fehlt.sys" << 0 << 2 << false;
    }

    void failureOfFolderOrFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, source);
        QFETCH(int, fullDiskAt);
        QFETCH(int, error);
        QFETCH(bool, folderFailed);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups\\Ordner"));
        pc.writeFile(Source, QByteArray(1000, 'x'));
        WriteOutcome outcome;
        {
            std::optional<FullDisk> full;
            if (fullDiskAt > 0)
                full.emplace(fullDiskAt);
            outcome = copyIntoBackup(source, target);
        }
        QCOMPARE(outcome.error, error);
        QCOMPARE(outcome.folderFailed, folderFailed);
        QCOMPARE(filesIn(Folder), QStringList());
    }

    // A copy that fails half-way leaves the earlier copy whole and nothing beside it, not even
    // under a name Windows does not show.
    void failedCopyKeepsEarlierCopy_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("fullDiskAt");  // bytes a file may have; 0: no limit
        QTest::addColumn<int>("error");
        QTest::newRow("disk full") << Source << 100 << 101;
        QTest::newRow("source gone") << "C:\\Fehlt.sys" << 0 << 2;
        QTest::newRow("source is a directory") << "C:\\WINDOWS" << 0 << 5;
    }

    void failedCopyKeepsEarlierCopy()
    {
        QFETCH(QString, source);
        QFETCH(int, fullDiskAt);
        QFETCH(int, error);
        TestMachine pc;
        pc.makeDirectory(Folder);
        pc.writeFile(Target, "alte Sicherung", 39);
        setHostTime(pc, Target, SourceTime);
        pc.writeFile(Source, QByteArray(1000, 'x'));
        const QStringList before =
            QDir(pc.host(Folder))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        {
            std::optional<FullDisk> full;
            if (fullDiskAt > 0)
                full.emplace(fullDiskAt);
            QCOMPARE(copyIntoBackup(source, Target).error, error);
        }
        QCOMPARE(pc.readFile(Target), QByteArray("alte Sicherung"));
        QCOMPARE(attributes(Target), 39);
        QCOMPARE(platform::lastWriteTime(Target).value, SourceTime);
        QCOMPARE(QDir(pc.host(Folder))
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 before);
    }

    // What a killed run leaves goes at the next run; names the program never makes stay.
    void leftoverTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("attributes");
        QTest::addColumn<bool>("removed");
        QTest::newRow("temporary copy") << "~VS0A1F.TMP" << 32 << true;
        QTest::newRow("temporary copy of IO.SYS") << "~VSBEEF.TMP" << 7 << true;
        QTest::newRow("lower case") << "~vs0a1f.tmp" << 32 << false;
        QTest::newRow("three digits") << "~VS0A1.TMP" << 32 << false;
        QTest::newRow("five digits") << "~VS0A1F0.TMP" << 32 << false;
        QTest::newRow("not hexadecimal") << "~VS0A1G.TMP" << 32 << false;
        QTest::newRow("other extension") << "~VS0A1F.TXT" << 32 << false;
        QTest::newRow("other prefix") << "~WR0A1F.TMP" << 32 << false;
        QTest::newRow("longer name") << "X~VS0A1F.TMP" << 32 << false;
    }

    void leftoverTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(int, attributes);
        QFETCH(bool, removed);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups\\~VS1234.TMP"));
        pc.writeFile(Target, "Sicherung");
        pc.writeFile(Folder + QLatin1Char('\\') + name, "halb", quint8(attributes));
        removeLeftoverTemporaries(Folder);
        QStringList expected{QStringLiteral("Io.sys")};
        if (!removed)
            expected.append(name);
        QCOMPARE(filesIn(Folder), expected);
        QVERIFY(platform::directoryExists(QStringLiteral("D:\\Backups\\~VS1234.TMP")));
    }

    // The folder of copies a killed run into a disk image left goes at the next run, with its
    // read-only copies; folders of other names stay.
    void leftoverFoldersOfCopies_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("folder of copies") << "~VS0A1F.DIR" << true;
        QTest::newRow("named like a temporary file") << "~VS0A1F.TMP" << false;
        QTest::newRow("lower case") << "~vs0a1f.dir" << false;
        QTest::newRow("not hexadecimal") << "~VS0A1G.DIR" << false;
    }
    void leftoverFoldersOfCopies()
    {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        TestMachine pc;
        const QString leftover = Folder + QLatin1Char('\\') + name;
        pc.makeDirectory(leftover);
        pc.writeFile(leftover + QStringLiteral("\\IO.SYS"), "halb", 7);
        pc.writeFile(Target, "Sicherung");
        removeLeftoverTemporaries(Folder);
        QCOMPARE(platform::directoryExists(leftover), !removed);
        QCOMPARE(filesIn(Folder), QStringList{QStringLiteral("Io.sys")});
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
