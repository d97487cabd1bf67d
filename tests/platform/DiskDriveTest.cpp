// A fixed drive on a hard-disk image (FAT16 and FAT32 partitions made as emulators make them):
// the file services read the volume themselves and write it through mtools, and every write
// leaves a volume fsck.fat finds nothing wrong with.
#include "platform/drives/DiskSpace.h"
#include "platform/drives/Files.h"
#include "platform/drives/detail/FatImage.h"
#include "platform/files/FileMove.h"
#include "tests/support/DiskImages.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace platform;

namespace {

// A PC whose C: is a new image of the demo PC's drive C:.
class DiskPc {
public:
    explicit DiskPc(DiskFormat format, const QString &options = {})
        : image(makeImage(m_images, format)),
          pc(diskImageIni(image, options))
    {}

    QTemporaryDir m_images;  // first: the image outlives the PC
    QString image;
    TestMachine pc;

private:
    static QString makeImage(const QTemporaryDir &folder, DiskFormat format)
    {
        const QString path = folder.filePath(QStringLiteral("win98.img"));
        makeDemoDiskImage(path, format);
        return path;
    }
};

QByteArray seedFile(const QString &relative)
{
    QFile file(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/demo-pc/drive_c/") + relative);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing seed file)");
}

void formats()
{
    QTest::addColumn<DiskFormat>("format");
    QTest::newRow("FAT32") << DiskFormat::Fat32;
    QTest::newRow("FAT16") << DiskFormat::Fat16;
}

}  // namespace

Q_DECLARE_METATYPE(DiskFormat)

class DiskDriveTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheInstallation_data() { formats(); }
    void readsTheInstallation()
    {
        QFETCH(DiskFormat, format);
        DiskPc disk(format);
        QCOMPARE(machine().drive(u'C')->label, QStringLiteral("WIN98"));
        QCOMPARE(readFile(QStringLiteral("C:\\MSDOS.SYS")).value, seedFile(QStringLiteral("MSDOS.SYS")));
        QCOMPARE(readFile(QStringLiteral("c:\\windows\\win.ini")).value, seedFile(QStringLiteral("WINDOWS/WIN.INI")));
        QCOMPARE(fileAttributes(QStringLiteral("C:\\IO.SYS")).value, attr::ReadOnly | attr::Hidden | attr::System);
        QCOMPARE(fileAttributes(QStringLiteral("C:\\WINDOWS\\USER.DAT")).value,
                 attr::ReadOnly | attr::Hidden | attr::System);
        QCOMPARE(fileAttributes(QStringLiteral("C:\\CONFIG.SYS")).value, attr::Archive);
        QVERIFY(directoryExists(QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart")));
        QCOMPARE(readFile(LongUmlautName).value, QByteArray("Alles Gute zum Geburtstag!\r\n"));
        QCOMPARE(shortPathName(LongUmlautName).value, QStringLiteral("C:\\EIGENE~1\\GLÜCKW~1.TXT"));
        QCOMPARE(files(QStringLiteral("C:\\")).value,
                 QStringList({QStringLiteral("AUTOEXEC.BAT"), QStringLiteral("COMMAND.COM"), QStringLiteral("CONFIG.SYS"),
                              QStringLiteral("IO.SYS"), QStringLiteral("MSDOS.SYS")}));
        QCOMPARE(subdirectories(QStringLiteral("C:\\")).value,
                 QStringList({QStringLiteral("Eigene Dateien"), QStringLiteral("Programme"), QStringLiteral("WINDOWS")}));
        // No host path lies behind a file in the image.
        QCOMPARE(hostPathOf(QStringLiteral("C:\\CONFIG.SYS")).error, dos::AccessDenied);
        QVERIFY(mediumPresent(u'C'));
        const auto space = diskSpace(u'C');
        QCOMPARE(space.error, dos::Ok);
        QVERIFY(space.value.total > (format == DiskFormat::Fat32 ? 60 : 30) * 1000 * 1000);
        QVERIFY(space.value.free > 0 && space.value.free < space.value.total);
    }

    // What the program does on a drive: new files and folders under long names, copies both ways
    // between the image and a host folder, attributes, replacing, deleting. The attributes are the
    // volume's own (no .dosattr in the image) and fsck.fat finds nothing after it all.
    void writesKeepTheVolumeSound_data() { formats(); }
    void writesKeepTheVolumeSound()
    {
        QFETCH(DiskFormat, format);
        DiskPc disk(format);
        const QString folder = QStringLiteral("C:\\Programme\\Velko Save\\Sicherung vom Montag");
        QCOMPARE(forceDirectories(folder), dos::Ok);
        QCOMPARE(copyFile(QStringLiteral("C:\\IO.SYS"), folder + QStringLiteral("\\IO.SYS")), dos::Ok);
        QCOMPARE(fileAttributes(folder + QStringLiteral("\\IO.SYS")).value, attr::ReadOnly | attr::Hidden | attr::System);
        QCOMPARE(lastWriteTime(folder + QStringLiteral("\\IO.SYS")).value, lastWriteTime(QStringLiteral("C:\\IO.SYS")).value);
        QCOMPARE(copyFile(LongUmlautName, QStringLiteral("D:\\Glückwünsche.txt")), dos::Ok);
        QCOMPARE(copyFile(QStringLiteral("D:\\Glückwünsche.txt"), folder + QStringLiteral("\\Grüße an Jürgen.txt")),
                 dos::Ok);
        QCOMPARE(readFile(folder + QStringLiteral("\\Grüße an Jürgen.txt")).value,
                 QByteArray("Alles Gute zum Geburtstag!\r\n"));
        QCOMPARE(writeFile(QStringLiteral("C:\\CONFIG.SYS"), "DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\n"), dos::Ok);
        QCOMPARE(replaceFile(QStringLiteral("C:\\AUTOEXEC.BAT"), "@ECHO OFF\r\n"), dos::Ok);
        QCOMPARE(readFile(QStringLiteral("C:\\AUTOEXEC.BAT")).value, QByteArray("@ECHO OFF\r\n"));
        QCOMPARE(setFileAttributes(QStringLiteral("C:\\CONFIG.SYS"), attr::Hidden | attr::Archive), dos::Ok);
        QCOMPARE(mattribOf(disk.image, QStringLiteral("::/CONFIG.SYS")), QStringLiteral("AH"));
        QCOMPARE(deleteFile(QStringLiteral("C:\\IO.SYS")), dos::AccessDenied);  // read-only
        QCOMPARE(setFileAttributes(QStringLiteral("C:\\IO.SYS"), attr::Archive), dos::Ok);
        QCOMPARE(deleteFile(QStringLiteral("C:\\IO.SYS")), dos::Ok);
        QVERIFY(!fileExists(QStringLiteral("C:\\IO.SYS")));
        QCOMPARE(createDirectory(QStringLiteral("C:\\Neuer Ordner")), dos::Ok);
        QCOMPARE(removeDirectoryTree(QStringLiteral("C:\\Neuer Ordner")), dos::Ok);

        const QString listing = mtoolsOnDisk(QStringLiteral("mdir"), disk.image, {QStringLiteral("-/"), QStringLiteral("-a"), QStringLiteral("::/")});
        QVERIFY2(!listing.contains(QStringLiteral("dosattr"), Qt::CaseInsensitive), qPrintable(listing));
        QVERIFY(!QFileInfo::exists(disk.pc.folder() + QStringLiteral("/.dosattr")));
        const QString problems = partitionProblems(disk.image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // A file moved to a new name in its own folder, wherever the name's entries fall in the
    // folder's clusters (512 bytes, 16 entries each): mtools 4.0 aborts such a rename when the
    // folder must grow for it.
    void renameInItsFolder_data()
    {
        QTest::addColumn<int>("filesBefore");
        QTest::addColumn<QString>("name");
        for (int files = 9; files <= 13; ++files) {
            for (const QString &name :
                 {QStringLiteral("Neu.txt"), QStringLiteral("Glückwünsche zum Geburtstag.txt"),
                  QStringLiteral("Ein ganz langer Name.txt")})
                QTest::addRow("%d files, %s", files, qPrintable(name)) << files << name;
        }
    }
    void renameInItsFolder()
    {
        QFETCH(int, filesBefore);
        QFETCH(QString, name);
        DiskPc disk(DiskFormat::Fat32);
        const QString folder = QStringLiteral("C:\\VOLL");
        QCOMPARE(createDirectory(folder), dos::Ok);
        for (int file = 1; file <= filesBefore; ++file)
            QCOMPARE(writeFile(folder + QStringLiteral("\\F%1.TXT").arg(file), "alt"), dos::Ok);
        const QString temporary = folder + QStringLiteral("\\~VS0001.TMP");
        QCOMPARE(writeFile(temporary, "neu"), dos::Ok);

        QCOMPARE(moveFileReplacing(temporary, folder + u'\\' + name), dos::Ok);
        QCOMPARE(readFile(folder + u'\\' + name).value, QByteArray("neu"));
        QVERIFY(!fileExists(temporary));
        QCOMPARE(files(folder).value.size(), filesBefore + 1);
        const QString problems = partitionProblems(disk.image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // A full volume refuses the copy with 101; nothing half-written stands under the name.
    void fullVolume()
    {
        DiskPc disk(DiskFormat::Fat16);
        const qint64 free = diskSpace(u'C').value.free;
        QByteArray big(free / 2 + 4096, 'x');
        QCOMPARE(writeFile(QStringLiteral("C:\\ERSTE.BIN"), big), dos::Ok);
        QCOMPARE(writeFile(QStringLiteral("C:\\ZWEITE.BIN"), big), dos::DiskFull);
        QVERIFY(!fileExists(QStringLiteral("C:\\ZWEITE.BIN")));
        QCOMPARE(replaceFile(QStringLiteral("C:\\ERSTE.BIN"), big + "mehr"), dos::DiskFull);
        QCOMPARE(readFile(QStringLiteral("C:\\ERSTE.BIN")).value, big);
        const QString problems = partitionProblems(disk.image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // A program installed inside the image cannot be the host's working directory: started from
    // the machine folder, it takes its directory from VELKO_START_DIRECTORY.
    void startDirectoryInsideTheImage_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("current");
        QTest::newRow("none") << "" << "C:\\";
        QTest::newRow("a directory of the image") << "c:\\windows\\command" << "C:\\WINDOWS\\COMMAND";
        QTest::newRow("with a long name") << "C:\\Programme\\Gemeinsame Dateien"
                                          << "C:\\Programme\\Gemeinsame Dateien";
        QTest::newRow("a missing directory") << "C:\\Programme\\Velko Save" << "C:\\";
        QTest::newRow("a file") << "C:\\CONFIG.SYS" << "C:\\";
        QTest::newRow("relative") << "WINDOWS" << "C:\\";
        QTest::newRow("another drive") << "D:\\" << "D:\\";
    }
    void startDirectoryInsideTheImage()
    {
        QFETCH(QString, given);
        QFETCH(QString, current);
        DiskPc disk(DiskFormat::Fat32);
        qputenv("VELKO_START_DIRECTORY", given.toUtf8());
        QString error;
        setMachine(Machine::load(disk.pc.folder(), &error));  // a fresh start of the program
        const QString started = currentDirectory();
        qunsetenv("VELKO_START_DIRECTORY");
        QCOMPARE(started, current);
    }

    void readonlyImage()
    {
        DiskPc disk(DiskFormat::Fat32, QStringLiteral(",readonly"));
        QCOMPARE(writeFile(QStringLiteral("C:\\NEU.TXT"), "neu"), dos::WriteProtected);
        QCOMPARE(createDirectory(QStringLiteral("C:\\NEU")), dos::WriteProtected);
        QCOMPARE(readFile(QStringLiteral("C:\\CONFIG.SYS")).value, seedFile(QStringLiteral("CONFIG.SYS")));
    }

    // A directory of a thousand entries, as C:\WINDOWS has them, is read whole.
    void largeDirectory()
    {
        QTemporaryDir staging;
        QDir folder(staging.path());
        QVERIFY(folder.mkdir(QStringLiteral("WINDOWS")));
        for (int number = 0; number < 1000; ++number) {
            QFile file(folder.filePath(QStringLiteral("WINDOWS/Datei Nummer %1.txt").arg(number)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::number(number));
        }
        QTemporaryDir images;
        const QString image = images.filePath(QStringLiteral("big.img"));
        makeDiskImage(staging.path(), image, DiskFormat::Fat32);
        TestMachine pc(diskImageIni(image));
        const auto names = files(QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(names.error, dos::Ok);
        QCOMPARE(names.value.size(), 1000);
        QCOMPARE(readFile(QStringLiteral("C:\\WINDOWS\\Datei Nummer 999.txt")).value, QByteArray("999"));
    }

    // A file is read along its chain, as many clusters as its size needs: a chain cut short or
    // leading off the disk is a damaged disk (26), one that loops ends at the size.
    void damagedFileChains_data()
    {
        QTest::addColumn<quint32>("secondLink");  // the FAT entry of the file's first cluster
        QTest::addColumn<int>("error");
        QTest::newRow("intact") << quint32(0) << int(dos::Ok);
        QTest::newRow("cut after the first cluster") << quint32(0x0FFFFFFF) << int(dos::NotDosDisk);
        QTest::newRow("leading off the disk") << quint32(0x0FFFFFF0) << int(dos::NotDosDisk);
        QTest::newRow("a free cluster") << quint32(1) << int(dos::NotDosDisk);
        QTest::newRow("looping back to itself") << 0xFFFFFFFFU << int(dos::Ok);
    }
    void damagedFileChains()
    {
        QFETCH(quint32, secondLink);
        QFETCH(int, error);
        QTemporaryDir staging;
        QByteArray bytes(1500, '\0');
        for (int at = 0; at < bytes.size(); ++at)
            bytes[at] = char('a' + at % 26);
        QFile big(staging.filePath(QStringLiteral("BIG.BIN")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QCOMPARE(big.write(bytes), bytes.size());
        big.close();
        QTemporaryDir images;
        const QString image = images.filePath(QStringLiteral("file.img"));
        makeDiskImage(staging.path(), image, DiskFormat::Fat32);
        TestMachine pc(diskImageIni(image));
        const auto volume = detail::fatVolume(*machine().drive(u'C'));
        QCOMPARE(volume.error, dos::Ok);
        const quint32 first = volume.value->root.find(QStringLiteral("BIG.BIN"))->firstCluster;

        if (secondLink != 0) {
            QFile file(image);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(PartitionOffset));
            const QByteArray boot = file.read(512);
            const qint64 fatStart = PartitionOffset + qFromLittleEndian<quint16>(boot.constData() + 14) * 512;
            QByteArray link(4, '\0');
            qToLittleEndian(secondLink == 0xFFFFFFFF ? first : secondLink, link.data());
            QVERIFY(file.seek(fatStart + qint64(first) * 4));
            QCOMPARE(file.write(link), 4);
        }
        const auto read = readFile(QStringLiteral("C:\\BIG.BIN"));
        QCOMPARE(read.error, error);
        if (secondLink == 0)
            QCOMPARE(read.value, bytes);
        if (secondLink == 0xFFFFFFFF)
            QCOMPARE(read.value, bytes.left(512).repeated(3).left(1500));
    }

    // A size beyond what the volume holds is a damaged entry (26), found before any memory is
    // taken for it.
    void sizeBeyondTheVolume()
    {
        QTemporaryDir staging;
        QFile small(staging.filePath(QStringLiteral("BIG.BIN")));
        QVERIFY(small.open(QIODevice::WriteOnly));
        QCOMPARE(small.write("klein"), 5);
        small.close();
        QTemporaryDir images;
        const QString image = images.filePath(QStringLiteral("file.img"));
        makeDiskImage(staging.path(), image, DiskFormat::Fat32);
        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 entry = file.readAll().indexOf("BIG     BIN");
        QVERIFY(entry > 0);
        QByteArray size(4, '\0');
        qToLittleEndian(0xF0000000U, size.data());
        QVERIFY(file.seek(entry + 28));
        QCOMPARE(file.write(size), 4);
        file.close();
        TestMachine pc(diskImageIni(image));
        QCOMPARE(readFile(QStringLiteral("C:\\BIG.BIN")).error, dos::NotDosDisk);
    }

    // Damaged chains end the reading instead of running on: a directory that holds itself, a
    // chain that loops back, a chain that runs through the whole disk.
    void damagedDirectoriesEnd_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("a folder that holds itself") << "self";
        QTest::newRow("a chain that loops back") << "loop";
        QTest::newRow("a folder that holds the root") << "root";
    }
    void damagedDirectoriesEnd()
    {
        QFETCH(QString, damage);
        QTemporaryDir staging;
        QVERIFY(QDir(staging.path()).mkpath(QStringLiteral("A/B")));
        QTemporaryDir images;
        const QString image = images.filePath(QStringLiteral("damaged.img"));
        makeDiskImage(staging.path(), image, DiskFormat::Fat32);

        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(PartitionOffset));
        const QByteArray boot = file.read(512);
        const qint64 reserved = qFromLittleEndian<quint16>(boot.constData() + 14);
        const qint64 fatSectors = qFromLittleEndian<quint32>(boot.constData() + 36);
        const qint64 fatStart = PartitionOffset + reserved * 512;
        const qint64 dataStart = fatStart + 2 * fatSectors * 512;
        const quint32 rootCluster = qFromLittleEndian<quint32>(boot.constData() + 44);
        // Folder A's entry in the root (after the label), B's in A's cluster (after . and ..).
        const auto startOf = [&](qint64 entryAt) -> quint32 {
            if (!file.seek(entryAt))
                return 0;
            const QByteArray raw = file.read(32);
            return quint32(qFromLittleEndian<quint16>(raw.constData() + 20)) << 16
                   | qFromLittleEndian<quint16>(raw.constData() + 26);
        };
        const qint64 rootAt = dataStart + qint64(rootCluster - 2) * 512;
        quint32 a = 0;
        for (qint64 at = rootAt; at < rootAt + 512; at += 32) {
            QVERIFY(file.seek(at));
            if (file.read(11) == "A          ")
                a = startOf(at);
        }
        QVERIFY(a >= 2);
        const qint64 bEntry = dataStart + qint64(a - 2) * 512 + 64;
        auto setStart = [&](qint64 entryAt, quint32 cluster) {
            QByteArray high(2, '\0'), low(2, '\0');
            qToLittleEndian(quint16(cluster >> 16), high.data());
            qToLittleEndian(quint16(cluster & 0xFFFF), low.data());
            QVERIFY(file.seek(entryAt + 20));
            QCOMPARE(file.write(high), 2);
            QVERIFY(file.seek(entryAt + 26));
            QCOMPARE(file.write(low), 2);
        };
        if (damage == u"self")
            setStart(bEntry, a);
        if (damage == u"root")
            setStart(bEntry, rootCluster);
        if (damage == u"loop") {
            QByteArray next(4, '\0');
            qToLittleEndian(a, next.data());
            QVERIFY(file.seek(fatStart + qint64(a) * 4));
            QCOMPARE(file.write(next), 4);
        }
        file.close();

        TestMachine pc(diskImageIni(image));
        QCOMPARE(subdirectories(QStringLiteral("C:\\")).value, QStringList{QStringLiteral("A")});
        QCOMPARE(subdirectories(QStringLiteral("C:\\A")).value, QStringList{QStringLiteral("B")});
        QVERIFY(subdirectories(QStringLiteral("C:\\A\\B")).value.isEmpty());
    }
};

QTEST_GUILESS_MAIN(DiskDriveTest)
#include "DiskDriveTest.moc"
