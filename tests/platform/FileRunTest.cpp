#include "platform/files/FileRun.h"
#include "platform/drives/Files.h"
#include "platform/drives/detail/Folder.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

const QString Backups = QStringLiteral("D:\\Backups");

QString recordsOf(const TestMachine &pc, const QString &directory)
{
    return pc.host(directory) + QStringLiteral("/.dosattr");
}

QByteArray hostBytes(const QString &hostPath)
{
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

ino_t inodeOf(const QString &hostPath)
{
    struct stat info;
    return ::stat(QFile::encodeName(hostPath).constData(), &info) == 0 ? info.st_ino : 0;
}

// Attributes as a fresh look at the disk shows them, without what the layer holds in memory.
int attributesOnDisk(const QString &path)
{
    detail::forgetAllFolders();
    const auto attributes = fileAttributes(path);
    return attributes.ok() ? attributes.value : -1;
}

// A folder with records: Alt.sys read-only and hidden.
void prepare(TestMachine &pc)
{
    pc.makeDirectory(Backups);
    pc.writeFile(QStringLiteral("D:\\Backups\\Alt.sys"), "alt", attr::ReadOnly | attr::Hidden);
    pc.writeFile(QStringLiteral("C:\\Io.sys"), "io", 39);
    pc.writeFile(QStringLiteral("C:\\Msdos.sys"), "msdos", 7);
}

// The file work of a run: two copies with their attributes, one file's attributes changed.
void copyTwoAndChangeOne()
{
    QCOMPARE(copyFile(QStringLiteral("C:\\Io.sys"), QStringLiteral("D:\\Backups\\Io.sys")), 0);
    QCOMPARE(copyFile(QStringLiteral("C:\\Msdos.sys"), QStringLiteral("D:\\Backups\\Msdos.sys")), 0);
    QCOMPARE(setFileAttributes(QStringLiteral("D:\\Backups\\Alt.sys"), attr::Archive), 0);
}

}  // namespace

class FileRunTest : public QObject {
    Q_OBJECT

private slots:
    // During the run the records on disk stay as they were; the end writes them in one go, by
    // replacing the file, and what the run did reads back from the disk.
    void recordsWrittenOnceAtTheEnd()
    {
        TestMachine pc;
        prepare(pc);
        const QString records = recordsOf(pc, Backups);
        const QByteArray before = hostBytes(records);
        const ino_t inodeBefore = inodeOf(records);

        FileRun run;
        copyTwoAndChangeOne();
        QCOMPARE(fileAttributes(QStringLiteral("D:\\Backups\\Io.sys")).value, 39);
        QCOMPARE(hostBytes(records), before);
        QCOMPARE(run.finish(), 0);

        QVERIFY(inodeOf(records) != inodeBefore);
        QCOMPARE(QDir(pc.host(Backups)).entryList(QDir::Hidden | QDir::Files),
                 (QStringList{QStringLiteral(".dosattr"), QStringLiteral("Alt.sys"), QStringLiteral("Io.sys"),
                              QStringLiteral("Msdos.sys")}));
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Io.sys")), 39);
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Msdos.sys")), 7);
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Alt.sys")), int(attr::Archive));
    }

    // A run that dies before its end leaves the old records intact: the new copies are there
    // with the default attributes, the old file keeps what it had.
    void interruptedRunKeepsTheOldRecords()
    {
        TestMachine pc;
        prepare(pc);
        const QString records = recordsOf(pc, Backups);
        const QByteArray before = hostBytes(records);

        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            FileRun run;
            const bool copied =
                copyFile(QStringLiteral("C:\\Io.sys"), QStringLiteral("D:\\Backups\\Io.sys")) == 0
                && setFileAttributes(QStringLiteral("D:\\Backups\\Alt.sys"), attr::Archive) == 0;
            ::_exit(copied ? 0 : 1);  // no unwinding: the run never ends
        }
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);

        QCOMPARE(hostBytes(records), before);
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Alt.sys")), attr::ReadOnly | attr::Hidden);
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Io.sys")), int(attr::Archive));
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Backups\\Io.sys")), QByteArray("io"));
    }

    // Outside a run every change reaches the disk at once.
    void withoutARunChangesAreWrittenAtOnce()
    {
        TestMachine pc;
        prepare(pc);
        copyTwoAndChangeOne();
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Io.sys")), 39);
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Alt.sys")), int(attr::Archive));
    }

    // A folder removed during the run has no records left to write; the run still ends cleanly.
    void removedFolderEndsCleanly()
    {
        TestMachine pc;
        prepare(pc);
        FileRun run;
        copyTwoAndChangeOne();
        QCOMPARE(removeDirectoryTree(Backups), 0);
        QCOMPARE(run.finish(), 0);
        QVERIFY(!directoryExists(Backups));
    }

    // A folder removed and made again during the run is empty: nothing the run knew of the old one
    // is taken for it.
    void folderMadeAgainIsLookedAtAfresh()
    {
        TestMachine pc;
        prepare(pc);
        FileRun run;
        copyTwoAndChangeOne();
        QVERIFY(files(QStringLiteral("D:\\")).ok());  // the run holds the folder above as well
        QVERIFY(fileExists(QStringLiteral("D:\\Backups\\Io.sys")));
        QCOMPARE(removeDirectoryTree(Backups), 0);
        QCOMPARE(createDirectory(Backups), 0);
        QVERIFY(!fileExists(QStringLiteral("D:\\Backups\\Io.sys")));
        QCOMPARE(files(Backups).value, QStringList());
        QCOMPARE(copyFile(QStringLiteral("C:\\Msdos.sys"), QStringLiteral("D:\\Backups\\Msdos.sys")), 0);
        QCOMPARE(run.finish(), 0);
        QCOMPARE(files(Backups).value, QStringList{QStringLiteral("Msdos.sys")});
        QCOMPARE(attributesOnDisk(QStringLiteral("D:\\Backups\\Msdos.sys")), 7);
    }
};

QTEST_GUILESS_MAIN(FileRunTest)
#include "FileRunTest.moc"
