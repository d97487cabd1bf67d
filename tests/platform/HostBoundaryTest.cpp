#include "platform/drives/Files.h"
#include "platform/host/detail/HostFiles.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

using namespace platform;
using detail::HostFd;

namespace {

bool isOpenDescriptor(int fd)
{
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

int openHost(const QString &hostPath)
{
    return ::open(detail::hostName(hostPath).constData(), O_RDONLY | O_CLOEXEC);
}

}  // namespace

class HostBoundaryTest : public QObject {
    Q_OBJECT

private slots:
    // Every way out of a scope closes the file, once, and a moved handle is closed by its new owner.
    void handleClosesItsFile()
    {
        TestMachine pc;
        const QString host = pc.folder() + QStringLiteral("/machine.ini");
        int fd = -1;
        {
            const HostFd handle(openHost(host));
            fd = handle.get();
            QVERIFY(handle.isOpen());
        }
        QVERIFY(!isOpenDescriptor(fd));

        HostFd first(openHost(host));
        fd = first.get();
        HostFd second(std::move(first));
        QVERIFY(!first.isOpen());
        QCOMPARE(second.get(), fd);
        HostFd third;
        third = std::move(second);
        QVERIFY(isOpenDescriptor(fd));
        QCOMPARE(third.close(), dos::Ok);
        QVERIFY(!isOpenDescriptor(fd));
        QCOMPARE(third.close(), dos::Ok);
    }

    // A replace that cannot finish leaves the old file and no temporary.
    void failedReplaceLeavesTheOldFile()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Alt.ini"), "alt");
        const QString target = pc.host(QStringLiteral("D:\\Alt.ini"));
        const QString inTheWay = pc.host(QStringLiteral("D:\\")) + QStringLiteral("/Ordner");
        QCOMPARE(detail::makeHostFolder(inTheWay), dos::Ok);
        const QString temporary = inTheWay + QStringLiteral(".tmp");
        QCOMPARE(detail::replaceHostFile(inTheWay, temporary, "neu"), dos::AccessDenied);
        QVERIFY(!detail::statHost(temporary));
        const QString besideTarget = target + QStringLiteral(".tmp");
        QCOMPARE(detail::replaceHostFile(target, besideTarget, "neu"), dos::Ok);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Alt.ini")), QByteArray("neu"));
        QVERIFY(!detail::statHost(besideTarget));
    }

    // A copy from another drive's backend gets its time; one that cannot finish leaves nothing.
    void copyWithTimeFromElsewhere()
    {
        TestMachine pc;
        const QString target = pc.host(QStringLiteral("D:\\")) + QStringLiteral("/Kopie.bin");
        const QDateTime time(QDate(1998, 5, 11), QTime(20, 1, 4));
        QCOMPARE(detail::writeHostCopy(target, "kopie", time), dos::Ok);
        QCOMPARE(pc.readFile(QStringLiteral("D:\\Kopie.bin")), QByteArray("kopie"));
        QCOMPARE(lastWriteTime(QStringLiteral("D:\\Kopie.bin")).value, time);
        {
            const FullDisk full(1000);
            QCOMPARE(detail::writeHostCopy(target, QByteArray(5000, 'x'), time), dos::DiskFull);
        }
        QVERIFY(!detail::statHost(target));
    }

    // A write killed half-way leaves its temporary file; the next write in that folder removes it
    // when its process is gone, and leaves those of processes that still run (they may be writing)
    // and every name the platform does not make.
    void leftoverTemporariesGoAtTheNextWrite()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Alt.txt"), "alt");
        QProcess ended;
        ended.start(QStringLiteral("true"));
        QVERIFY(ended.waitForStarted());
        const qint64 gone = ended.processId();
        QVERIFY(ended.waitForFinished(10000));
        const QString folder = pc.host(QStringLiteral("D:\\")) + u'/';
        const QString leftover = QStringLiteral(".dosattr-new-%1-3").arg(gone);
        const QStringList staying = {
            QStringLiteral(".dosattr-new-%1-1").arg(QCoreApplication::applicationPid()),
            QStringLiteral(".dosattr-new-%1-1").arg(::getppid()),
            QStringLiteral(".dosattr-new-%1-3.bak").arg(gone), QStringLiteral(".DOSATTR-NEW-%1-3").arg(gone)};
        const QStringList made = QStringList(staying) << leftover;
        for (const QString &name : made)
            QVERIFY(QFile(folder + name).open(QIODevice::WriteOnly));

        QCOMPARE(readFile(QStringLiteral("D:\\Alt.txt")).value, QByteArray("alt"));
        QCOMPARE(files(QStringLiteral("D:\\")).value, QStringList{QStringLiteral("Alt.txt")});
        QVERIFY(QFile::exists(folder + leftover));  // reading leaves the folder as it is

        QCOMPARE(writeFile(QStringLiteral("D:\\Neu.txt"), "neu"), dos::Ok);
        QVERIFY(!QFile::exists(folder + leftover));
        for (const QString &name : staying)
            QVERIFY2(QFile::exists(folder + name), qPrintable(name));
        QCOMPARE(files(QStringLiteral("D:\\")).value,
                 (QStringList{QStringLiteral("Alt.txt"), QStringLiteral("Neu.txt")}));
    }

    // A floppy's files sit in its image; without the image no disk is inserted.
    void floppyWithoutImageIsNotReady()
    {
        TestMachine pc;
        QCOMPARE(fileAttributes(QStringLiteral("A:\\AUTOEXEC.BAT")).error, dos::NotReady);
        QCOMPARE(writeFile(QStringLiteral("A:\\AUTOEXEC.BAT"), "x"), dos::NotReady);
    }
};

QTEST_GUILESS_MAIN(HostBoundaryTest)
#include "HostBoundaryTest.moc"
