// Where the FAT volume of a hard-disk image lies, and which files are refused, on images built
// byte by byte: partition tables, bare volumes, VHD footers and the headers of other formats.
#include "platform/machine/detail/DiskImage.h"
#include "platform/machine/Machine.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using platform::detail::findDiskVolume;

namespace {

constexpr qint64 Sector = 512;

// A FAT boot sector of a volume of `sectors` sectors: FAT12/16 with a 512-entry root, or FAT32
// with its root in cluster 2; `label` in the boot sector's label field.
QByteArray bootSector(quint32 sectors, bool fat32, const QByteArray &label = "NO NAME")
{
    QByteArray sector(Sector, '\0');
    sector[0] = char(0xEB);
    sector[1] = 0x3C;
    sector[2] = char(0x90);
    sector.replace(3, 8, "MSWIN4.1");
    qToLittleEndian<quint16>(Sector, sector.data() + 11);
    sector[13] = 1;  // sectors per cluster
    qToLittleEndian<quint16>(fat32 ? 32 : 1, sector.data() + 14);  // reserved
    sector[16] = 2;
    qToLittleEndian<quint16>(fat32 ? 0 : 512, sector.data() + 17);
    if (sectors < 65536)
        qToLittleEndian<quint16>(quint16(sectors), sector.data() + 19);
    else
        qToLittleEndian<quint32>(sectors, sector.data() + 32);
    sector[21] = char(0xF8);
    const qint64 labelAt = fat32 ? 71 : 43;
    if (fat32) {
        qToLittleEndian<quint32>(sectors / 128 + 1, sector.data() + 36);
        qToLittleEndian<quint32>(2, sector.data() + 44);
        sector[66] = 0x29;
    } else {
        qToLittleEndian<quint16>(quint16(sectors / 256 + 1), sector.data() + 22);
        sector[38] = 0x29;
    }
    sector.replace(labelAt, 11, label.leftJustified(11, ' '));
    sector[510] = 0x55;
    sector[511] = char(0xAA);
    return sector;
}

struct Partition {
    quint8 type = 0;
    quint32 firstSector = 0;
    quint32 sectors = 0;
};

QByteArray mbr(const QList<Partition> &partitions, quint8 status = 0x80)
{
    QByteArray sector(Sector, '\0');
    sector[0] = char(0xFA);  // boot code: cli
    for (int index = 0; index < partitions.size(); ++index) {
        const qint64 at = 446 + index * 16;
        sector[at] = char(index == 0 ? status : 0);
        sector[at + 4] = char(partitions[index].type);
        qToLittleEndian(partitions[index].firstSector, sector.data() + at + 8);
        qToLittleEndian(partitions[index].sectors, sector.data() + at + 12);
    }
    sector[510] = 0x55;
    sector[511] = char(0xAA);
    return sector;
}

// A disk of `sectors` sectors with the table and, at each FAT-typed partition, a boot sector.
QByteArray disk(const QList<Partition> &partitions, quint32 sectors, bool withBootSectors = true)
{
    QByteArray bytes(qint64(sectors) * Sector, '\0');
    bytes.replace(0, Sector, mbr(partitions));
    for (const Partition &partition : partitions) {
        const bool fat32 = partition.type == 0x0B || partition.type == 0x0C;
        const bool fat = fat32 || partition.type == 0x01 || partition.type == 0x04 || partition.type == 0x06
                         || partition.type == 0x0E;
        if (fat && withBootSectors && qint64(partition.firstSector) * Sector < bytes.size())
            bytes.replace(qint64(partition.firstSector) * Sector, Sector, bootSector(partition.sectors, fat32));
    }
    return bytes;
}

// The 512-byte footer of a VHD of `type` (2 fixed, 3 dynamic, 4 differencing).
QByteArray vhdFooter(quint32 type)
{
    QByteArray footer(Sector, '\0');
    footer.replace(0, 8, "conectix");
    qToBigEndian<quint32>(type, footer.data() + 60);
    return footer;
}

QByteArray vdiHeader()
{
    QByteArray header(Sector, '\0');
    header.replace(0, 40, "<<< Oracle VM VirtualBox Disk Image >>>\n");
    qToLittleEndian<quint32>(0xBEDA107F, header.data() + 0x40);
    return header;
}

QByteArray withSector(QByteArray bytes, qint64 at, const QByteArray &sector)
{
    bytes.replace(at, sector.size(), sector);
    return bytes;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class DiskImageTest : public QObject {
    Q_OBJECT

private slots:
    void findsTheVolume_data()
    {
        QTest::addColumn<QByteArray>("image");
        QTest::addColumn<int>("partition");  // 0: the first FAT one
        QTest::addColumn<qint64>("offset");  // -1: refused
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("refusal");  // words the German message has

        const quint32 Size = 2048;  // a 1 MB disk
        QTest::newRow("FAT12, type 01") << disk({{0x01, 63, 900}}, Size) << 0 << 63 * Sector << 900 * Sector << "";
        QTest::newRow("FAT16 below 32 MB, type 04")
            << disk({{0x04, 1, 1000}}, Size) << 0 << Sector << 1000 * Sector << "";
        QTest::newRow("FAT16, type 06") << disk({{0x06, 128, 1900}}, Size) << 0 << 128 * Sector << 1900 * Sector
                                        << "";
        QTest::newRow("FAT16 LBA, type 0E") << disk({{0x0E, 2, 500}}, Size) << 0 << 2 * Sector << 500 * Sector << "";
        QTest::newRow("FAT32, type 0B") << disk({{0x0B, 63, 1900}}, Size) << 0 << 63 * Sector << 1900 * Sector << "";
        QTest::newRow("FAT32 LBA, type 0C") << disk({{0x0C, 8, 1000}}, Size) << 0 << 8 * Sector << 1000 * Sector
                                            << "";
        QTest::newRow("second partition asked for")
            << disk({{0x06, 1, 1000}, {0x0C, 1001, 1000}}, Size) << 2 << 1001 * Sector << 1000 * Sector << "";
        QTest::newRow("first FAT partition after a Linux one")
            << disk({{0x83, 1, 1000}, {0x0E, 1001, 1000}}, Size) << 0 << 1001 * Sector << 1000 * Sector << "";
        QTest::newRow("superfloppy: a volume without partition table")
            << withSector(QByteArray(Size * Sector, '\0'), 0, bootSector(Size, false)) << 0 << qint64(0)
            << Size * Sector << "";
        QTest::newRow("fixed VHD: raw disk and footer")
            << disk({{0x0C, 1, Size - 1}}, Size) + vhdFooter(2) << 0 << Sector << (Size - 1) * Sector << "";

        QTest::newRow("dynamic VHD")
            << vhdFooter(3) + QByteArray(4 * Sector, '\0') + vhdFooter(3) << 0 << qint64(-1) << qint64(0)
            << "dynamisch wachsendes VHD-Abbild|qemu-img convert -O raw";
        QTest::newRow("differencing VHD, footer at the end only")
            << disk({{0x06, 1, 1000}}, Size) + vhdFooter(4) << 0 << qint64(-1) << qint64(0)
            << "differenzierendes VHD-Abbild|qemu-img convert -O raw";
        QTest::newRow("qcow2") << QByteArray("QFI\xFB\0\0\0\3", 8) + QByteArray(2 * Sector, '\0') << 0 << qint64(-1)
                               << qint64(0) << "QCOW2-Abbild (QEMU)|qemu-img convert -O raw";
        QTest::newRow("VDI") << vdiHeader() + QByteArray(2 * Sector, '\0') << 0 << qint64(-1) << qint64(0)
                             << "VDI-Abbild (VirtualBox)|qemu-img convert";
        QTest::newRow("VMDK") << QByteArray("KDMV") + QByteArray(2 * Sector, '\0') << 0 << qint64(-1) << qint64(0)
                              << "VMDK-Abbild (VMware)";
        QTest::newRow("GPT disk") << disk({{0xEE, 1, Size - 1}}, Size) << 0 << qint64(-1) << qint64(0)
                                  << "GPT-Partitionstabelle";
        QTest::newRow("NTFS partition only")
            << disk({{0x07, 1, 1000}}, Size) << 0 << qint64(-1) << qint64(0)
            << "keine primäre FAT-Partition|Partition 1: NTFS oder exFAT (Typ 07)";
        QTest::newRow("Linux and swap")
            << disk({{0x83, 1, 1000}, {0x82, 1001, 100}}, Size) << 0 << qint64(-1) << qint64(0)
            << "Partition 1: Linux (Typ 83), Partition 2: Linux-Swap (Typ 82)";
        QTest::newRow("logical drives only") << disk({{0x0F, 1, 1000}}, Size) << 0 << qint64(-1) << qint64(0)
                                             << "erweiterte Partition (Typ 0F)|keine logischen Laufwerke";
        QTest::newRow("asked-for partition is Linux")
            << disk({{0x06, 1, 1000}, {0x83, 1001, 1000}}, Size) << 2 << qint64(-1) << qint64(0)
            << "Partition 2 der Abbilddatei|keine FAT-Partition, sondern Linux (Typ 83)";
        QTest::newRow("asked-for partition is empty") << disk({{0x06, 1, 1000}}, Size) << 3 << qint64(-1)
                                                      << qint64(0) << "hat keine Partition 3";
        QTest::newRow("empty partition table") << disk({}, Size) << 0 << qint64(-1) << qint64(0)
                                               << "leere Partitionstabelle";
        QTest::newRow("no signature, no FAT") << QByteArray(Size * Sector, '\0') << 0 << qint64(-1) << qint64(0)
                                              << "weder eine Partitionstabelle noch ein FAT-Dateisystem";
        QTest::newRow("bad status byte: no partition table")
            << withSector(QByteArray(Size * Sector, '\0'), 0, mbr({{0x06, 1, 1000}}, 0x12)) << 0 << qint64(-1)
            << qint64(0) << "weder eine Partitionstabelle noch ein FAT-Dateisystem";
        QTest::newRow("NTFS volume without table")
            << withSector(QByteArray(Size * Sector, '\0'), 0, withSector(bootSector(Size, false), 3, "NTFS    "))
            << 0 << qint64(-1) << qint64(0) << "enthält ein NTFS-Dateisystem";
        QTest::newRow("FAT type, unformatted") << disk({{0x0C, 1, 1000}}, Size, false) << 0 << qint64(-1)
                                               << qint64(0) << "enthält aber kein FAT-Dateisystem";
        QTest::newRow("partition beyond the end of the file")
            << disk({{0x06, 1, 4000}}, Size) << 0 << qint64(-1) << qint64(0)
            << "abgeschnitten: Partition 1 reicht bis Byte 2048512, die Datei hat aber nur 1048576 Bytes";
        QTest::newRow("partition reaching into the VHD footer")
            << disk({{0x06, 1, Size}}, Size) + vhdFooter(2) << 0 << qint64(-1) << qint64(0)
            << "abgeschnitten: Partition 1";
        QTest::newRow("volume larger than its partition")
            << withSector(disk({{0x06, 1, 500}}, Size), Sector, bootSector(1000, false)) << 0 << qint64(-1)
            << qint64(0) << "größer als die Partition";
        QTest::newRow("cut-off superfloppy")
            << withSector(QByteArray(100 * Sector, '\0'), 0, bootSector(Size, false)) << 0 << qint64(-1)
            << qint64(0) << "abgeschnitten: das FAT-Dateisystem reicht bis Byte 1048576";
        QTest::newRow("superfloppy with a partition number")
            << withSector(QByteArray(Size * Sector, '\0'), 0, bootSector(Size, false)) << 1 << qint64(-1)
            << qint64(0) << "keine Partitionstabelle, also auch keine Partition 1";
        QTest::newRow("shorter than a sector") << QByteArray(100, '\0') << 0 << qint64(-1) << qint64(0)
                                               << "mit 100 Bytes zu kurz";
        QTest::newRow("empty file") << QByteArray() << 0 << qint64(-1) << qint64(0) << "mit 0 Bytes zu kurz";
    }
    void findsTheVolume()
    {
        QFETCH(QByteArray, image);
        QFETCH(int, partition);
        QFETCH(qint64, offset);
        QFETCH(qint64, bytes);
        QFETCH(QString, refusal);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("win98.img"));
        QVERIFY(writeFile(path, image));

        QString problem;
        const auto volume = findDiskVolume(path, partition, &problem);
        if (offset < 0) {
            QVERIFY(!volume);
            QVERIFY2(problem.contains(u'\u201E' + path + u'\u201C'), qPrintable(problem));
            for (const QString &words : refusal.split(u'|'))
                QVERIFY2(problem.contains(words), qPrintable(problem));
        } else {
            QVERIFY2(volume, qPrintable(problem));
            QCOMPARE(volume->offset, offset);
            QCOMPARE(volume->bytes, bytes);
        }
    }

    // The label Windows shows: the root's label entry before the boot sector's field.
    void readsTheVolumeLabel_data()
    {
        QTest::addColumn<bool>("fat32");
        QTest::addColumn<QByteArray>("bootLabel");
        QTest::addColumn<QByteArray>("rootEntry");  // 11 bytes of a label entry; empty: none
        QTest::addColumn<QString>("label");
        QTest::newRow("FAT16, root entry") << false << QByteArray("NO NAME") << QByteArray("WIN98") << "WIN98";
        QTest::newRow("FAT32, root entry") << true << QByteArray("OLD") << QByteArray("C\x84LTER") << "CäLTER";
        QTest::newRow("boot sector only") << false << QByteArray("BOOTLABEL") << QByteArray() << "BOOTLABEL";
        QTest::newRow("NO NAME is none") << true << QByteArray("NO NAME") << QByteArray() << "";
    }
    void readsTheVolumeLabel()
    {
        QFETCH(bool, fat32);
        QFETCH(QByteArray, bootLabel);
        QFETCH(QByteArray, rootEntry);
        QFETCH(QString, label);
        constexpr quint32 Sectors = 4000;
        QByteArray image(Sectors * Sector, '\0');
        const QByteArray boot = bootSector(Sectors, fat32, bootLabel);
        image.replace(0, Sector, boot);
        // The root right after the two FATs; FAT32's root cluster 2 is the first data cluster.
        const qint64 fatSectors = fat32 ? qFromLittleEndian<quint32>(boot.constData() + 36)
                                        : qFromLittleEndian<quint16>(boot.constData() + 22);
        const qint64 root = ((fat32 ? 32 : 1) + 2 * fatSectors) * Sector;
        QByteArray longPart(32, '\0');
        longPart[0] = 0x41;
        longPart[11] = 0x0F;
        image.replace(root, 32, longPart);  // a long-name part is no label
        if (!rootEntry.isEmpty()) {
            QByteArray entry(32, '\0');
            entry.replace(0, 11, rootEntry.leftJustified(11, ' '));
            entry[11] = 0x08;
            image.replace(root + 32, 32, entry);
        }
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("c.img"));
        QVERIFY(writeFile(path, image));
        QString problem;
        const auto volume = findDiskVolume(path, 0, &problem);
        QVERIFY2(volume, qPrintable(problem));
        QCOMPARE(volume->label, label);
    }

    // An emulator that has the image open locks it: QEMU with byte-range locks, others with flock.
    void refusesALockedImage_data()
    {
        QTest::addColumn<QString>("lock");
        QTest::addColumn<bool>("refused");
        QTest::newRow("no lock") << "" << false;
        QTest::newRow("flock, exclusive") << "flock-ex" << true;
        QTest::newRow("flock, shared: another reader") << "flock-sh" << false;
        QTest::newRow("byte-range read lock, as QEMU takes it") << "ofd-read" << true;
        QTest::newRow("byte-range write lock") << "ofd-write" << true;
    }
    void refusesALockedImage()
    {
        QFETCH(QString, lock);
        QFETCH(bool, refused);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("win98.img"));
        QVERIFY(writeFile(path, disk({{0x06, 1, 1000}}, 2048)));
        // Another open file description than the reader's, as another process would have.
        const int holder = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(holder >= 0);
        struct flock range{};
        range.l_whence = SEEK_SET;
        range.l_start = 100;
        range.l_len = 1;
        if (lock == u"flock-ex")
            QCOMPARE(::flock(holder, LOCK_EX), 0);
        if (lock == u"flock-sh")
            QCOMPARE(::flock(holder, LOCK_SH), 0);
        if (lock.startsWith(u"ofd")) {
            range.l_type = lock == u"ofd-read" ? F_RDLCK : F_WRLCK;
            QCOMPARE(::fcntl(holder, F_OFD_SETLK, &range), 0);
        }
        QString problem;
        const auto volume = findDiskVolume(path, 0, &problem);
        ::close(holder);
        QCOMPARE(!volume, refused);
        if (refused)
            QVERIFY2(problem.contains(QStringLiteral("von einem anderen Programm gesperrt")), qPrintable(problem));
    }

    // machine.ini's disk drives: the volume is found at load, and what cannot serve stops the start.
    void diskDrivesInMachineIni_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("labels");  // a [Labels] section's lines
        QTest::addColumn<qint64>("offset");  // -1: machine.ini is refused
        QTest::addColumn<bool>("readonly");
        QTest::addColumn<QString>("error");  // words of the error
        QTest::newRow("first FAT partition") << "C=disk,win98.img" << "" << 1001 * Sector << false << "";
        QTest::newRow("partition 1 by number, readonly")
            << "C=Disk, win98.img ,1,readonly" << "" << Sector << true << "";
        QTest::newRow("readonly without a number") << "C=disk,win98.img,READONLY" << "" << 1001 * Sector << true
                                                   << "";
        QTest::newRow("without an image") << "C=disk" << "" << qint64(-1) << false << "needs an image file";
        QTest::newRow("partition 5") << "C=disk,win98.img,5" << "" << qint64(-1) << false
                                     << "disk,image[,partition 1-4][,readonly]";
        QTest::newRow("readonly before the number") << "C=disk,win98.img,readonly,1" << "" << qint64(-1) << false
                                                    << "disk,image[,partition 1-4][,readonly]";
        QTest::newRow("a label for the disk") << "C=disk,win98.img" << "C=WIN98" << qint64(-1) << false
                                              << "is on its volume";
        QTest::newRow("missing image") << "C=disk,gone.img" << "" << qint64(-1) << false
                                       << "Laufwerk C: Die Abbilddatei|gone.img\u201C fehlt";
        QTest::newRow("a folder for an image") << "C=disk,drive_d" << "" << qint64(-1) << false
                                               << "keine gewöhnliche Datei";
        QTest::newRow("partition 2 is Linux") << "C=disk,win98.img,2" << "" << qint64(-1) << false
                                              << "Laufwerk C: Partition 2|sondern Linux (Typ 83)";
    }
    void diskDrivesInMachineIni()
    {
        QFETCH(QString, line);
        QFETCH(QString, labels);
        QFETCH(qint64, offset);
        QFETCH(bool, readonly);
        QFETCH(QString, error);
        QTemporaryDir folder;
        // Partition 1 FAT16, partition 2 Linux: the first FAT one is partition 1 here.
        QByteArray image = disk({{0x06, 1, 1000}, {0x83, 1001, 1000}}, 2048);
        if (offset == 1001 * Sector)
            image = disk({{0x83, 1, 1000}, {0x0C, 1001, 1000}}, 2048);
        QVERIFY(writeFile(folder.filePath(QStringLiteral("win98.img")), image));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("drive_d")));
        QString ini = QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n%1\nD=fixed,drive_d\n").arg(line);
        if (!labels.isEmpty())
            ini += QStringLiteral("[Labels]\n") + labels + u'\n';
        QVERIFY(writeFile(folder.filePath(QStringLiteral("machine.ini")), ini.toUtf8()));

        QString problem;
        const auto machine = platform::Machine::load(folder.path(), &problem);
        if (offset < 0) {
            QVERIFY(!machine);
            for (const QString &words : error.split(u'|'))
                QVERIFY2(problem.contains(words), qPrintable(problem));
            return;
        }
        QVERIFY2(machine, qPrintable(problem));
        const platform::Drive *c = machine->drive(u'C');
        QVERIFY(c->onDiskImage && c->isImage());
        QCOMPARE(c->kind, platform::DriveKind::Fixed);
        QCOMPARE(c->hostPath, QFileInfo(folder.filePath(QStringLiteral("win98.img"))).canonicalFilePath());
        QCOMPARE(c->volumeOffset, offset);
        QCOMPARE(c->volumeBytes, 1000 * Sector);
        QCOMPARE(c->writeProtected, readonly);
        // No host folder lies on an image drive.
        QVERIFY(machine->windowsPathOf(c->hostPath).isEmpty());
    }
};

QTEST_GUILESS_MAIN(DiskImageTest)
#include "DiskImageTest.moc"
