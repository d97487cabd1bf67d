#include "platform/drives/Files.h"
#include "platform/drives/Floppy.h"
#include "platform/files/FileMove.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

using namespace platform;

namespace {

void writeHost(const QString &hostPath, const QByteArray &bytes)
{
    QFile file(hostPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readHost(const QString &hostPath)
{
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A disk formatted as another PC formats it.
void insertDisk(const TestMachine &pc, QChar letter, const QString &label = QStringLiteral("DISK"))
{
    insertFormattedDisk(pc, letter, label, false);
}

// A file put on the disk by another PC.
void putOnDisk(const TestMachine &pc, QChar letter, const QString &name, const QByteArray &bytes)
{
    const QString source = pc.folder() + QStringLiteral("/on-disk");
    writeHost(source, bytes);
    QVERIFY(
        runsOnHost(QStringLiteral("mcopy"), {QStringLiteral("-o"), QStringLiteral("-i"),
                                             floppyImage(pc, letter), source, QStringLiteral("::/") + name}));
}

// The attributes another PC sees: mattrib's letters for the file.
QString attributesSeenByMtools(const TestMachine &pc, const QString &name)
{
    QProcess mattrib;
    mattrib.start(QStringLiteral("mattrib"),
                  {QStringLiteral("-i"), floppyImage(pc, u'A'), QStringLiteral("::/") + name});
    mattrib.waitForFinished();
    return QString::fromUtf8(mattrib.readAllStandardOutput())
        .section(QStringLiteral("::/"), 0, 0)
        .remove(u' ');
}

}  // namespace

class FloppyDriveTest : public QObject {
    Q_OBJECT

private slots:
    // Formatting empties the disk and sets the label; a blank or cut-off image is formatted too.
    void formatGivesAnEmptyLabelledDisk_data()
    {
        QTest::addColumn<QByteArray>(
            "before");  // the image file's bytes before formatting; empty: a used disk
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("stored");
        QTest::newRow("used disk") << QByteArray() << QStringLiteral("Notfall") << QStringLiteral("NOTFALL");
        QTest::newRow("blank") << QByteArray(1474560, '\0') << QStringLiteral("Notfall")
                               << QStringLiteral("NOTFALL");
        QTest::newRow("cut off") << QByteArray(5000, 'x') << QStringLiteral("Daten 1998")
                                 << QStringLiteral("DATEN 1998");
        QTest::newRow("no label") << QByteArray() << QString() << QString();
        QTest::newRow("apostrophe") << QByteArray() << QStringLiteral("x'y") << QStringLiteral("X'Y");
        QTest::newRow("every sign MS-DOS takes")
            << QByteArray() << QStringLiteral("!#$%'-@_`{}") << QStringLiteral("!#$%'-@_`{}");
        QTest::newRow("eleven with blanks")
            << QByteArray() << QStringLiteral("Daten 1 2 3") << QStringLiteral("DATEN 1 2 3");
    }
    void formatGivesAnEmptyLabelledDisk()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, label);
        QFETCH(QString, stored);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A', QStringLiteral("ALT"));
        if (before.isEmpty())
            putOnDisk(pc, u'A', QStringLiteral("Alt.txt"), "alt");
        else
            writeHost(floppyImage(pc, u'A'), before);

        QCOMPARE(formatFloppy(u'a', label), dos::Ok);
        QCOMPARE(files(QStringLiteral("A:\\")).value, QStringList());
        const auto read = volumeLabel(u'A');
        QCOMPARE(read.error, dos::Ok);
        QCOMPARE(read.value, stored);
        QCOMPARE(QFileInfo(floppyImage(pc, u'A')).size(), 1474560);
        QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
        // Stored as given, in the root's label entry and the boot sector, without a long name.
        QFile disk(floppyImage(pc, u'A'));
        QVERIFY(disk.open(QIODevice::ReadOnly));
        const QByteArray bytes = disk.readAll();
        const QByteArray padded = stored.toLatin1().leftJustified(11, ' ');
        const qint64 root = 19 * 512;
        QCOMPARE(bytes.mid(43, 11), stored.isEmpty() ? QByteArray("NO NAME    ") : padded);
        if (!stored.isEmpty()) {
            QCOMPARE(bytes.mid(root, 11), padded);
            QCOMPARE(int(bytes[root + 11]), 0x08);
        }
        QCOMPARE(bytes[root + (stored.isEmpty() ? 0 : 32)], '\0');
    }

    // Every service on the disk, by long name, by another letter case and by 8.3 name; the disk
    // stays sound for another PC.
    void filesOnTheDisk_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("shortPath");
        QTest::newRow("8.3 name") << QStringLiteral("A:\\Autoexec.bat") << QStringLiteral("A:\\AUTOEXEC.BAT");
        QTest::newRow("umlauts and blank")
            << QStringLiteral("A:\\Maße Datei.txt") << QStringLiteral("A:\\MAßEDA~1.TXT");
        QTest::newRow("long extension")
            << QStringLiteral("A:\\Übersicht 1998.text") << QStringLiteral("A:\\ÜBERSI~1.TEX");
        QTest::newRow("brackets") << QStringLiteral("A:\\a[1].txt") << QStringLiteral("A:\\A_1_~1.TXT");
        QTest::newRow("in folders") << QStringLiteral("A:\\Alte Daten\\Maße\\Liste.txt")
                                    << QStringLiteral("A:\\ALTEDA~1\\MAßE\\LISTE.TXT");
    }
    void filesOnTheDisk()
    {
        QFETCH(QString, path);
        QFETCH(QString, shortPath);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        QCOMPARE(forceDirectories(directoryPart(path)), dos::Ok);
        QCOMPARE(writeFile(path, "eins"), dos::Ok);
        QCOMPARE(writeFile(path.toLower(), QByteArray("zwei\r\n\0", 7)), dos::Ok);

        QCOMPARE(canonicalPath(upperCaseFileName(path)).value, path);
        QCOMPARE(shortPathName(path).value, shortPath);
        QCOMPARE(readFile(shortPath).value, QByteArray("zwei\r\n\0", 7));
        QCOMPARE(files(directoryPart(path)).value, QStringList{fileNamePart(path)});
        QCOMPARE(fileAttributes(path).value, attr::Archive);

        QCOMPARE(replaceFile(shortPath, "drei"), dos::Ok);
        QCOMPARE(readFile(path).value, QByteArray("drei"));
        QCOMPARE(canonicalPath(shortPath).value, path);  // the long name survives the replace
        QCOMPARE(files(directoryPart(path)).value,
                 QStringList{fileNamePart(path)});  // and nothing else stays
        QCOMPARE(moveFileReplacing(path, QStringLiteral("A:\\Neu.txt")), dos::Ok);
        QCOMPARE(readFile(QStringLiteral("A:\\NEU.TXT")).value, QByteArray("drei"));
        QCOMPARE(deleteFile(QStringLiteral("A:\\neu.txt")), dos::Ok);
        QVERIFY(!fileExists(QStringLiteral("A:\\Neu.txt")));
        QCOMPARE(createEmptyFile(path), dos::Ok);
        QCOMPARE(readFile(path).value, QByteArray());
        QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
        if (path.count(u'\\') > 1) {
            const QString top = path.section(u'\\', 0, 1);
            QCOMPARE(removeDirectoryTree(top), dos::Ok);
            QVERIFY(!directoryExists(top));
            QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
        }
    }

    // The attributes are the image's own: what another PC set is seen, what the program sets
    // another PC sees, and read-only is honoured.
    void attributesAreTheImagesOwn()
    {
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        putOnDisk(pc, u'A', QStringLiteral("IO.SYS"), "io");
        QVERIFY(runsOnHost(QStringLiteral("mattrib"),
                           {QStringLiteral("-i"), floppyImage(pc, u'A'), QStringLiteral("+r"),
                            QStringLiteral("+h"), QStringLiteral("+s"), QStringLiteral("::/IO.SYS")}));
        QCOMPARE(fileAttributes(QStringLiteral("A:\\io.sys")).value,
                 attr::ReadOnly | attr::Hidden | attr::System | attr::Archive);
        QCOMPARE(deleteFile(QStringLiteral("A:\\IO.SYS")), dos::AccessDenied);
        QCOMPARE(writeFile(QStringLiteral("A:\\IO.SYS"), "x"), dos::AccessDenied);

        QCOMPARE(setFileAttributes(QStringLiteral("A:\\IO.SYS"), attr::Hidden), dos::Ok);
        QCOMPARE(attributesSeenByMtools(pc, QStringLiteral("IO.SYS")), QStringLiteral("H"));
        QCOMPARE(fileAttributes(QStringLiteral("A:\\IO.SYS")).value, attr::Hidden);
        QCOMPARE(createDirectory(QStringLiteral("A:\\Ordner")), dos::Ok);
        QCOMPARE(fileAttributes(QStringLiteral("A:\\ORDNER")).value, attr::Directory);
        QCOMPARE(subdirectories(QStringLiteral("A:\\")).value, QStringList{QStringLiteral("Ordner")});
    }

    // A copy onto the floppy and back keeps bytes, attributes and last-write time (FAT keeps it
    // to two seconds, so the source's is even).
    void copiesBetweenDrives()
    {
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        const QString source = QStringLiteral("C:\\Config.sys");
        pc.writeFile(source, QByteArray("DEVICE=HIMEM.SYS\r\n\xff", 20), attr::ReadOnly | attr::Archive);
        const QDateTime time(QDate(1998, 5, 11), QTime(20, 1, 4));
        QFile host(pc.host(source));
        QVERIFY(host.open(QIODevice::ReadWrite));
        QVERIFY(host.setFileTime(time, QFileDevice::FileModificationTime));
        host.close();

        QCOMPARE(copyFile(source, QStringLiteral("A:\\Config.sys")), dos::Ok);
        QCOMPARE(copyFile(QStringLiteral("A:\\Config.sys"), QStringLiteral("A:\\Kopie von Config.sys")),
                 dos::Ok);
        QCOMPARE(copyFile(QStringLiteral("A:\\Kopie von Config.sys"), QStringLiteral("D:\\Config.sys")),
                 dos::Ok);
        for (const QString &copy : {QStringLiteral("A:\\CONFIG.SYS"), QStringLiteral("A:\\KOPIEV~1.SYS"),
                                    QStringLiteral("D:\\Config.sys")}) {
            QCOMPARE(readFile(copy).value, pc.readFile(source));
            QCOMPARE(fileAttributes(copy).value, attr::ReadOnly | attr::Archive);
            QCOMPARE(lastWriteTime(copy).value, time);
        }
        QCOMPARE(copyFile(source, QStringLiteral("A:\\Config.sys")), dos::AccessDenied);  // read-only target
        QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
    }

    // Without a disk, write-protected, or no such drive: every service says so the same way.
    void drivesThatRefuse_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<int>("error");
        QTest::newRow("no disk") << QChar(u'A') << int(dos::NotReady);
        QTest::newRow("write-protected") << QChar(u'B') << int(dos::WriteProtected);
        QTest::newRow("no such drive") << QChar(u'Z') << int(dos::InvalidDrive);
    }
    void drivesThatRefuse()
    {
        QFETCH(QChar, letter);
        QFETCH(int, error);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'B');
        putOnDisk(pc, u'B', QStringLiteral("Alt.txt"), "alt");
        QVERIFY(runsOnHost(QStringLiteral("mmd"),
                           {QStringLiteral("-i"), floppyImage(pc, u'B'), QStringLiteral("::/Ordner")}));
        const QString root = QString(letter) + QStringLiteral(":\\");
        const QString file = root + QStringLiteral("Alt.txt");
        pc.writeFile(QStringLiteral("C:\\Neu.txt"), "neu");

        QCOMPARE(writeFile(root + QStringLiteral("check"), {}), error);
        QCOMPARE(createEmptyFile(file), error);
        QCOMPARE(replaceFile(file, "x"), error);
        QCOMPARE(deleteFile(file), error);
        QCOMPARE(setFileAttributes(file, attr::Hidden), error);
        QCOMPARE(copyFile(QStringLiteral("C:\\Neu.txt"), root + QStringLiteral("Neu.txt")), error);
        QCOMPARE(moveFileReplacing(file, root + QStringLiteral("Neu.txt")), error);
        QCOMPARE(createDirectory(root + QStringLiteral("Neu")), error);
        QCOMPARE(removeDirectoryTree(root + QStringLiteral("Ordner")), error);
        if (error == dos::WriteProtected) {
            QCOMPARE(readFile(file).value, QByteArray("alt"));
            QCOMPARE(fileAttributes(file).value, attr::Archive);
            QVERIFY(directoryExists(root + QStringLiteral("Ordner")));
        } else {
            QCOMPARE(readFile(file).error, error);
        }
    }

    // A full disk: 101, nothing half-written, a replaced file as it was, the disk sound.
    void fullDisk()
    {
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        QCOMPARE(writeFile(QStringLiteral("A:\\Alt.txt"), "alt"), dos::Ok);
        QCOMPARE(writeFile(QStringLiteral("A:\\Voll.bin"), QByteArray(1400000, 'v')), dos::Ok);
        pc.writeFile(QStringLiteral("C:\\Gross.bin"), QByteArray(100000, 'g'));

        QCOMPARE(writeFile(QStringLiteral("A:\\Neu.bin"), QByteArray(100000, 'n')), dos::DiskFull);
        QCOMPARE(copyFile(QStringLiteral("C:\\Gross.bin"), QStringLiteral("A:\\Gross.bin")), dos::DiskFull);
        QCOMPARE(replaceFile(QStringLiteral("A:\\Alt.txt"), QByteArray(100000, 'n')), dos::DiskFull);
        QCOMPARE(readFile(QStringLiteral("A:\\Alt.txt")).value, QByteArray("alt"));
        QCOMPARE(files(QStringLiteral("A:\\")).value,
                 (QStringList{QStringLiteral("Alt.txt"), QStringLiteral("Voll.bin")}));
        QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
    }

    // A disk that is not FAT or cut off gives a clear error everywhere, and formatting mends it.
    void damagedDisk_data()
    {
        QTest::addColumn<qint64>("keptBytes");  // of a formatted disk
        QTest::addColumn<bool>("bootSectorLost");
        QTest::newRow("empty file") << qint64(0) << false;
        QTest::newRow("cut off") << qint64(5000) << false;
        QTest::newRow("not FAT") << qint64(1474560) << true;
    }
    void damagedDisk()
    {
        QFETCH(qint64, keptBytes);
        QFETCH(bool, bootSectorLost);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        QFile disk(floppyImage(pc, u'A'));
        QVERIFY(disk.open(QIODevice::ReadWrite));
        QVERIFY(disk.resize(keptBytes));
        if (bootSectorLost)
            QCOMPARE(disk.write(QByteArray(512, 'x')), 512);
        disk.close();

        QCOMPARE(files(QStringLiteral("A:\\")).error, dos::NotDosDisk);
        QCOMPARE(writeFile(QStringLiteral("A:\\check"), {}), dos::NotDosDisk);
        QVERIFY(!fileExists(QStringLiteral("A:\\check")));
        QCOMPARE(volumeLabel(u'A').error, dos::NotDosDisk);
        QCOMPARE(formatFloppy(u'A', QStringLiteral("Notfall")), dos::Ok);
        QCOMPARE(writeFile(QStringLiteral("A:\\check"), {}), dos::Ok);
    }

    void formatRefuses_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("error");
        QTest::newRow("no disk") << QChar(u'A') << QString() << int(dos::NotReady);
        QTest::newRow("write-protected") << QChar(u'B') << QString() << int(dos::WriteProtected);
        QTest::newRow("no such drive") << QChar(u'Z') << QString() << int(dos::InvalidDrive);
        QTest::newRow("no floppy") << QChar(u'C') << QString() << int(dos::InvalidDrive);
        QTest::newRow("label too long")
            << QChar(u'A') << QStringLiteral("ZWOELFZEICHEN") << int(dos::InvalidParameter);
        QTest::newRow("label with umlaut")
            << QChar(u'A') << QStringLiteral("Büro") << int(dos::InvalidParameter);
        QTest::newRow("label with dot")
            << QChar(u'A') << QStringLiteral("V1.0") << int(dos::InvalidParameter);
        for (const QString sign : {"^", "&", "(", ")", "*", "?", "/", "\\", "|", ",", ";", ":", "+", "=", "[",
                                   "]", "<", ">", "\""})
            QTest::addRow("label with %s", qPrintable(sign))
                << QChar(u'A') << QStringLiteral("X") + sign + QStringLiteral("Y")
                << int(dos::InvalidParameter);
    }
    void formatRefuses()
    {
        QFETCH(QChar, letter);
        QFETCH(QString, label);
        QFETCH(int, error);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'B');
        if (error != dos::NotReady)
            insertDisk(pc, u'A');
        QCOMPARE(formatFloppy(letter, label), error);
        if (error != dos::NotReady && letter == u'A')
            QCOMPARE(volumeLabel(u'A').value, QStringLiteral("DISK"));  // not formatted
    }

    // A disk image put aside for a link, a folder or a FIFO between two accesses is no disk: the
    // file the link leads to, outside the PC, is neither read nor written.
    void anImageReplacedLaterIsNoDisk_data()
    {
        QTest::addColumn<QString>("replacement");
        QTest::newRow("link to a file outside") << "link";
        QTest::newRow("folder") << "folder";
        QTest::newRow("FIFO") << "fifo";
    }
    void anImageReplacedLaterIsNoDisk()
    {
        QFETCH(QString, replacement);
        QTemporaryDir outside;
        const QString sentinel = outside.filePath(QStringLiteral("sentinel.img"));
        const QByteArray sentinelBytes(1474560, 's');  // the size of a disk
        writeHost(sentinel, sentinelBytes);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        QCOMPARE(writeFile(QStringLiteral("A:\\check"), {}), dos::Ok);
        QCOMPARE(deleteFile(QStringLiteral("A:\\check")), dos::Ok);

        const QString image = floppyImage(pc, u'A');
        QVERIFY(QFile::remove(image));
        if (replacement == u"link")
            QVERIFY(QFile::link(sentinel, image));
        else if (replacement == u"folder")
            QVERIFY(QDir().mkdir(image));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(image).constData(), 0600), 0);

        QCOMPARE(formatFloppy(u'A', QStringLiteral("Notfall")), dos::NotReady);
        QCOMPARE(files(QStringLiteral("A:\\")).error, dos::NotReady);
        QCOMPARE(writeFile(QStringLiteral("A:\\Neu.txt"), "neu"), dos::NotReady);
        QCOMPARE(volumeLabel(u'A').error, dos::NotReady);
        QCOMPARE(readHost(sentinel), sentinelBytes);
    }

    // The same for a link that takes the place of a folder on the image's path.
    void aFolderOfTheImageReplacedLaterLeadsNowhere()
    {
        QTemporaryDir outside;
        const QString sentinel = outside.filePath(QStringLiteral("floppy-a.img"));
        const QByteArray sentinelBytes(1474560, 's');
        writeHost(sentinel, sentinelBytes);
        TestMachine pc(QString(TwoFloppiesIni)
                           .replace(QStringLiteral("A=floppy,floppy-a.img"),
                                    QStringLiteral("A=floppy,disks/floppy-a.img")));
        const QString disks = pc.folder() + QStringLiteral("/disks");
        QVERIFY(QDir().mkdir(disks));
        QVERIFY(runsOnHost(QStringLiteral("mformat"),
                           {QStringLiteral("-C"), QStringLiteral("-f"), QStringLiteral("1440"),
                            QStringLiteral("-i"), disks + QStringLiteral("/floppy-a.img"),
                            QStringLiteral("::")}));
        QCOMPARE(writeFile(QStringLiteral("A:\\check"), {}), dos::Ok);

        QVERIFY(QDir(disks).removeRecursively());
        QVERIFY(QFile::link(outside.path(), disks));
        QCOMPARE(formatFloppy(u'A', QStringLiteral("Notfall")), dos::NotReady);
        QCOMPARE(writeFile(QStringLiteral("A:\\Neu.txt"), "neu"), dos::NotReady);
        QCOMPARE(readHost(sentinel), sentinelBytes);
    }

    // A link machine.ini's image path holds from the start is the user's own set-up: followed.
    void anImageLinkedFromTheStartIsTheDisk()
    {
        QTemporaryDir outside;
        const QString disk = outside.filePath(QStringLiteral("disk.img"));
        const QString link = outside.filePath(QStringLiteral("floppy.img"));
        QVERIFY(runsOnHost(QStringLiteral("mformat"),
                           {QStringLiteral("-C"), QStringLiteral("-f"), QStringLiteral("1440"),
                            QStringLiteral("-i"), disk, QStringLiteral("::")}));
        QVERIFY(QFile::link(disk, link));
        TestMachine pc(QString(TwoFloppiesIni).replace(QStringLiteral("floppy-a.img"), link));

        QCOMPARE(formatFloppy(u'A', QStringLiteral("Notfall")), dos::Ok);
        QCOMPARE(writeFile(QStringLiteral("A:\\Neu.txt"), "neu"), dos::Ok);
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(
            runsOnHost(QStringLiteral("mtype"), {QStringLiteral("-i"), disk, QStringLiteral("::/NEU.TXT")}));
        QCOMPARE(volumeLabel(u'A').value, QStringLiteral("NOTFALL"));
    }

    // A name mtools would store under another name (or hang on) is refused before anything is
    // written; the disk keeps no file under a wrong name.
    void namesTheDiskCannotTakeAreRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("euro sign") << QStringLiteral("€uro.txt");
        QTest::newRow("y with diaeresis") << QStringLiteral("ÿ.txt");
        QTest::newRow("OE ligature") << QStringLiteral("Œuvre.txt");
        QTest::newRow("florin") << QStringLiteral("aƒb.txt");
        QTest::newRow("dotless i") << QStringLiteral("ı.txt");
    }
    void namesTheDiskCannotTakeAreRefused()
    {
        QFETCH(QString, name);
        TestMachine pc(TwoFloppiesIni);
        insertDisk(pc, u'A');
        pc.writeFile(QStringLiteral("C:\\Quelle.txt"), "quelle");
        QCOMPARE(writeFile(QStringLiteral("A:\\Alt.txt"), "alt"), dos::Ok);
        const QString target = QStringLiteral("A:\\") + name;

        for (int attempt = 0; attempt < 2; ++attempt) {
            QCOMPARE(writeFile(target, "neu"), dos::PathNotFound);
            QCOMPARE(copyFile(QStringLiteral("C:\\Quelle.txt"), target), dos::PathNotFound);
            QCOMPARE(moveFileReplacing(QStringLiteral("A:\\Alt.txt"), target), dos::PathNotFound);
            QCOMPARE(createDirectory(QStringLiteral("A:\\Ordner ") + name), dos::PathNotFound);
        }
        QCOMPARE(files(QStringLiteral("A:\\")).value, QStringList{QStringLiteral("Alt.txt")});
        QCOMPARE(subdirectories(QStringLiteral("A:\\")).value, QStringList());
        QVERIFY(fileSystemIsSound(floppyImage(pc, u'A')));
    }
};

QTEST_GUILESS_MAIN(FloppyDriveTest)
#include "FloppyDriveTest.moc"
