#include "platform/drives/Files.h"
#include "platform/host/detail/HostFiles.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

using namespace platform;

namespace {

QStringList hostEntries(const TestMachine &pc, const QString &relativeFolder)
{
    return QDir(pc.folder() + u'/' + relativeFolder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(1999);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

}  // namespace

class FileContentTest : public QObject {
    Q_OBJECT

private slots:
    void writeAndReadBack()
    {
        TestMachine pc;
        const QString path = QStringLiteral("D:\\Restore.bat");
        QCOMPARE(writeFile(path, "echo off\r\nlange Zeile\r\n"), 0);
        QCOMPARE(pc.readFile(QStringLiteral("d:\\restore.BAT")), QByteArray("echo off\r\nlange Zeile\r\n"));
        QCOMPARE(writeFile(path, "kurz"), 0);
        QCOMPARE(pc.readFile(path), QByteArray("kurz"));
        QCOMPARE(createEmptyFile(path), 0);
        QCOMPARE(pc.readFile(path), QByteArray());
        QCOMPARE(readFile(QStringLiteral("D:\\Fehlt.bat")).error, dos::FileNotFound);
        QCOMPARE(readFile(QStringLiteral("D:\\Fehlt\\x.bat")).error, dos::PathNotFound);
        QCOMPARE(readFile(QStringLiteral("C:\\WINDOWS")).error, dos::AccessDenied);
        QCOMPARE(writeFile(QStringLiteral("C:\\WINDOWS"), "x"), dos::AccessDenied);
        QCOMPARE(writeFile(QStringLiteral("D:\\Fehlt\\x.bat"), "x"), dos::PathNotFound);
    }

    void replaceLeavesNoTraces()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Orvel.ini"), "alt");
        QCOMPARE(replaceFile(QStringLiteral("D:\\ORVEL.INI"), "neu"), 0);
        QCOMPARE(replaceFile(QStringLiteral("D:\\Neu.ini"), "ganz neu"), 0);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Orvel.ini")), QByteArray("neu"));
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Neu.ini")), QByteArray("ganz neu"));
        QCOMPARE(files(QStringLiteral("D:\\")).value,
                 (QStringList{QStringLiteral("Neu.ini"), QStringLiteral("Orvel.ini")}));
        QCOMPARE(hostEntries(pc, QStringLiteral("drive_d")),
                 (QStringList{QStringLiteral("Neu.ini"), QStringLiteral("Orvel.ini")}));
    }

    void replaceRefusalKeepsTheOldFile()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Orvel.ini"), "alt", attr::ReadOnly);
        QCOMPARE(replaceFile(QStringLiteral("D:\\Orvel.ini"), "neu"), dos::AccessDenied);
        QCOMPARE(replaceFile(QStringLiteral("D:\\Fehlt\\Orvel.ini"), "neu"), dos::PathNotFound);
        QCOMPARE(replaceFile(QStringLiteral("C:\\WINDOWS"), "neu"), dos::AccessDenied);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Orvel.ini")), QByteArray("alt"));
        QCOMPARE(hostEntries(pc, QStringLiteral("drive_d")).filter(QStringLiteral("new")), QStringList());
    }

    void largeFilesCopyWhole()
    {
        TestMachine pc;
        const QByteArray bytes = randomBytes(5 * 1024 * 1024 + 17);
        QCOMPARE(writeFile(QStringLiteral("C:\\Gross.bin"), bytes), 0);
        QCOMPARE(copyFile(QStringLiteral("C:\\Gross.bin"), QStringLiteral("D:\\Gross.bin")), 0);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Gross.bin")), bytes);
        QCOMPARE(copyFile(QStringLiteral("C:\\Gross.bin"), QStringLiteral("D:\\Gross.bin")), 0);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Gross.bin")).size(), bytes.size());
    }

    // A file size limit of a few bytes answers longer writes as a full disk would (EFBIG). Writes
    // never follow a symbolic link, so a link to /dev/full would not do.
    void aFullDiskIsReported()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Quelle.txt"), "etwas Inhalt");
        pc.writeFile(QStringLiteral("D:\\Voll.txt"), "");
        rlimit unlimited;
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &unlimited), 0);
        const auto oldSignal = ::signal(SIGXFSZ, SIG_IGN);
        rlimit small = unlimited;
        small.rlim_cur = 4;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        const int written = writeFile(QStringLiteral("D:\\Voll.txt"), "etwas Inhalt");
        const int copied = copyFile(QStringLiteral("C:\\Quelle.txt"), QStringLiteral("D:\\Voll.txt"));
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        ::signal(SIGXFSZ, oldSignal);
        QCOMPARE(written, dos::DiskFull);
        QCOMPARE(copied, dos::DiskFull);
        QVERIFY(!fileExists(QStringLiteral("D:\\Voll.txt")));
    }

    void lastWriteTimeIsTheHostTime()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Restore.bat"), "x");
        const QDateTime written(QDate(1999, 6, 30), QTime(23, 59, 58));
        QFile host(pc.host(QStringLiteral("D:\\Restore.bat")));
        QVERIFY(host.open(QIODevice::ReadWrite));
        QVERIFY(host.setFileTime(written, QFileDevice::FileModificationTime));
        host.close();
        QCOMPARE(lastWriteTime(QStringLiteral("d:\\RESTORE.BAT")).value, written);
        QCOMPARE(lastWriteTime(QStringLiteral("D:\\Fehlt.bat")).error, dos::FileNotFound);
    }

    void hostErrorsBecomeDosCodes_data()
    {
        QTest::addColumn<int>("hostError");
        QTest::addColumn<int>("whenMissing");
        QTest::addColumn<int>("error");
        QTest::newRow("missing file") << ENOENT << 2 << 2;
        QTest::newRow("missing directory") << ENOENT << 3 << 3;
        QTest::newRow("not a directory") << ENOTDIR << 2 << 3;
        QTest::newRow("permission") << EACCES << 2 << 5;
        QTest::newRow("not permitted") << EPERM << 2 << 5;
        QTest::newRow("read-only file system") << EROFS << 2 << 5;
        QTest::newRow("no space") << ENOSPC << 2 << 101;
        QTest::newRow("quota") << EDQUOT << 2 << 101;
        QTest::newRow("input/output") << EIO << 2 << 31;
    }

    void hostErrorsBecomeDosCodes()
    {
        QFETCH(int, hostError);
        QFETCH(int, whenMissing);
        QFETCH(int, error);
        QCOMPARE(detail::dosErrorFromErrno(hostError, whenMissing), error);
    }

    void ioErrorCarriesCodeAndPath()
    {
        try {
            throwOnError(dos::AccessDenied, QStringLiteral("C:\\Io.sys"));
            QFAIL("no exception");
        } catch (const IoError &error) {
            QCOMPARE(error.code(), dos::AccessDenied);
            QCOMPARE(error.path(), QStringLiteral("C:\\Io.sys"));
            QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("DOS error 5: C:\\Io.sys"));
        }
        throwOnError(dos::Ok, QStringLiteral("C:\\Io.sys"));
    }
};

QTEST_GUILESS_MAIN(FileContentTest)
#include "FileContentTest.moc"
