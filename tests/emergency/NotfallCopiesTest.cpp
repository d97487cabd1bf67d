// The copy step: the Notfall folder refreshed file by file, and an earlier good copy never lost.
#include "emergency/core/NotfallCopies.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

namespace {

const QString Program = QStringLiteral("C:\\Programme\\Velko Save");
const QString Notfall = QStringLiteral("C:\\Programme\\Velko Save\\Notfall");
const QString Windows = QStringLiteral("C:\\WINDOWS");

// The eleven system files with their usual attributes; each holds its own name.
void installSystemFiles(TestMachine &pc)
{
    const quint8 protectedFile = platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System;
    for (const char *name : {"AUTOEXEC.BAT", "COMMAND.COM", "CONFIG.SYS"})
        pc.writeFile(QStringLiteral("C:\\") + name, name);
    for (const char *name : {"IO.SYS", "MSDOS.SYS"})
        pc.writeFile(QStringLiteral("C:\\") + name, name, protectedFile);
    for (const char *name : {"PROTOCOL.INI", "CONTROL.INI", "SYSTEM.INI", "WIN.INI"})
        pc.writeFile(Windows + u'\\' + name, name);
    for (const char *name : {"SYSTEM.DAT", "USER.DAT"})
        pc.writeFile(Windows + u'\\' + name, name, protectedFile);
    pc.makeDirectory(Notfall);
}

QStringList copyAll()
{
    QStringList finished;
    emergency::copySystemFiles(Program, Windows,
                               [&](const emergency::SystemFile &file) { finished << file.copyName; });
    return finished;
}

const QStringList CopyOrder = {"User.dat",   "System.dat", "Protocol.ini", "Control.ini",
                               "System.ini", "Win.ini",    "Autoexec.bat", "Command.com",
                               "Config.sys", "Io.sys",     "Msdos.sys"};

}  // namespace

class NotfallCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void everyFileIsCopiedInOrderAsANewFile();
    void contentOfEveryLength_data();
    void contentOfEveryLength();
    void missingSourceKeepsItsEarlierCopy();
    void fullDiskKeepsTheEarlierCopyAndNamesTheFile();
    void programAtADriveRoot();
};

void NotfallCopiesTest::everyFileIsCopiedInOrderAsANewFile()
{
    TestMachine pc;
    installSystemFiles(pc);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);

    QCOMPARE(copyAll(), CopyOrder);

    for (const QString &name : CopyOrder) {
        const QString copy = Notfall + u'\\' + name;
        QCOMPARE(pc.readFile(copy), name.toUpper().toLatin1());
        // A new file: no read-only, hidden or system from the source, and the time of the copy.
        QCOMPARE(platform::fileAttributes(copy).value, platform::attr::Archive);
        QVERIFY(platform::lastWriteTime(copy).value >= before);
    }
    // Only the copies: no temporary file is left in the folder.
    QCOMPARE(platform::files(Notfall).value.size(), CopyOrder.size());
}

void NotfallCopiesTest::contentOfEveryLength_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("empty") << 0;
    QTest::newRow("one byte") << 1;
    QTest::newRow("one block") << 256;
    QTest::newRow("one block and a byte") << 257;
    QTest::newRow("two megabytes and a bit") << (2 << 20) + 77;
}

void NotfallCopiesTest::contentOfEveryLength()
{
    QFETCH(int, size);
    TestMachine pc;
    pc.makeDirectory(Notfall);
    QByteArray content(size, '\0');
    for (int i = 0; i < size; ++i)
        content[i] = char(i * 7 + i / 256);
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\WIN.INI"), content);
    pc.writeFile(Notfall + QStringLiteral("\\Win.ini"), "an earlier, longer copy of win.ini");

    QCOMPARE(copyAll(), CopyOrder);
    QCOMPARE(pc.readFile(Notfall + QStringLiteral("\\Win.ini")), content);
}

void NotfallCopiesTest::missingSourceKeepsItsEarlierCopy()
{
    TestMachine pc;
    installSystemFiles(pc);
    QVERIFY(platform::setFileAttributes(QStringLiteral("C:\\IO.SYS"), 0) == platform::dos::Ok);
    QVERIFY(platform::deleteFile(QStringLiteral("C:\\IO.SYS")) == platform::dos::Ok);
    pc.writeFile(Notfall + QStringLiteral("\\Io.sys"), "the earlier io.sys");

    QCOMPARE(copyAll(), CopyOrder);  // the skipped file is reported as finished too
    QCOMPARE(pc.readFile(Notfall + QStringLiteral("\\Io.sys")), QByteArray("the earlier io.sys"));
    QCOMPARE(pc.readFile(Notfall + QStringLiteral("\\Msdos.sys")), QByteArray("MSDOS.SYS"));
}

void NotfallCopiesTest::fullDiskKeepsTheEarlierCopyAndNamesTheFile()
{
    TestMachine pc;
    installSystemFiles(pc);
    const QByteArray large(64 * 1024, 'u');
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\USER.DAT"), large);
    pc.writeFile(Notfall + QStringLiteral("\\User.dat"), "the earlier user.dat");

    QStringList finished;
    try {
        const FullDisk full(4096);
        emergency::copySystemFiles(Program, Windows,
                                   [&](const emergency::SystemFile &file) { finished << file.copyName; });
        QFAIL("a copy cut short by a full disk was reported as success");
    } catch (const platform::IoError &error) {
        QCOMPARE(error.code(), platform::dos::DiskFull);
        QCOMPARE(error.path(), Notfall + QStringLiteral("\\User.dat"));
    }
    QVERIFY(finished.isEmpty());  // the first file failed; the run ends there
    QCOMPARE(pc.readFile(Notfall + QStringLiteral("\\User.dat")), QByteArray("the earlier user.dat"));
    QCOMPARE(platform::files(Notfall).value, QStringList{"User.dat"});
}

void NotfallCopiesTest::programAtADriveRoot()
{
    TestMachine pc;
    installSystemFiles(pc);
    pc.makeDirectory(QStringLiteral("D:\\Notfall"));
    emergency::copySystemFiles(QStringLiteral("D:\\"), Windows, [](const emergency::SystemFile &) {});
    QCOMPARE(pc.readFile(QStringLiteral("D:\\Notfall\\Win.ini")), QByteArray("WIN.INI"));
}

QTEST_GUILESS_MAIN(NotfallCopiesTest)
#include "NotfallCopiesTest.moc"
