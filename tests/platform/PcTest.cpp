#include "platform/drives/Files.h"
#include "platform/drives/detail/Folder.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Machine.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QtTest>

#include <memory>

using namespace platform;

namespace {

// A second PC whose drive C is the first one's: both see the same host files.
QString sharingDriveC(const TestMachine &first)
{
    return QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nC=fixed,%1/drive_c\n")
        .arg(first.folder());
}

}  // namespace

// Two simulated PCs in one process, the platform acting on whichever is current.
class PcTest : public QObject {
    Q_OBJECT

private slots:
    void filesAndMachinesStayApart()
    {
        TestMachine first;
        first.writeFile(QStringLiteral("C:\\X"), "erster");
        TestMachine second;
        second.writeFile(QStringLiteral("C:\\X"), "zweiter");
        QCOMPARE(machine().folder(), second.folder());

        first.makeCurrent();
        QCOMPARE(machine().folder(), first.folder());
        QCOMPARE(readFile(QStringLiteral("C:\\X")).value, QByteArray("erster"));
        second.makeCurrent();
        QCOMPARE(readFile(QStringLiteral("C:\\X")).value, QByteArray("zweiter"));
    }

    void currentDirectoriesStayApart()
    {
        TestMachine first;
        first.makeDirectory(QStringLiteral("D:\\Erster"));
        QCOMPARE(setCurrentDirectory(QStringLiteral("D:\\Erster")), 0);
        QCOMPARE(setCurrentDirectory(QStringLiteral("C:\\WINDOWS")), 0);
        TestMachine second;
        QCOMPARE(currentDirectory(), QStringLiteral("C:\\"));
        QCOMPARE(driveCurrentDirectory(u'D').value, QStringLiteral("D:\\"));
        QCOMPARE(setCurrentDirectory(QStringLiteral("C:\\WINDOWS\\TEMP")), 0);

        first.makeCurrent();
        QCOMPARE(currentDirectory(), QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(driveCurrentDirectory(u'D').value, QStringLiteral("D:\\Erster"));
        second.makeCurrent();
        QCOMPARE(currentDirectory(), QStringLiteral("C:\\WINDOWS\\TEMP"));
    }

    // While a file run on one PC holds a folder, it sees no change made outside it; another PC on
    // the same host folder is not served that listing.
    void heldListingStaysWithItsPc()
    {
        TestMachine first;
        first.writeFile(QStringLiteral("C:\\ALT.TXT"), "alt");
        TestMachine second(sharingDriveC(first));
        first.makeCurrent();
        FileRun run;
        QCOMPARE(fileAttributes(QStringLiteral("C:\\ALT.TXT")).value, quint8(attr::Archive));
        QVERIFY(QFile::remove(first.host(QStringLiteral("C:\\ALT.TXT"))));

        second.makeCurrent();
        QVERIFY(!fileExists(QStringLiteral("C:\\ALT.TXT")));
        first.makeCurrent();
        QCOMPARE(run.finish(), 0);
    }

    // A run ends on the PC it began on, whichever is current then: its records are written.
    void fileRunEndsOnItsOwnPc()
    {
        TestMachine first;
        first.writeFile(QStringLiteral("C:\\DATEI.TXT"), "x");
        auto run = std::make_unique<FileRun>();
        QCOMPARE(setFileAttributes(QStringLiteral("C:\\DATEI.TXT"), attr::Hidden), 0);
        TestMachine second;
        QCOMPARE(run->finish(), 0);
        run.reset();

        first.makeCurrent();
        detail::forgetAllFolders();
        QCOMPARE(fileAttributes(QStringLiteral("C:\\DATEI.TXT")).value, quint8(attr::Hidden));
    }

    void endingAnotherPcKeepsTheCurrentOne()
    {
        auto first = std::make_unique<TestMachine>();
        {
            TestMachine second;
            first.reset();
            QVERIFY(hasMachine());
            QCOMPARE(machine().folder(), second.folder());
        }
        QVERIFY(!hasMachine());
    }
};

QTEST_GUILESS_MAIN(PcTest)
#include "PcTest.moc"
