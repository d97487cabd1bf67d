// The floppy's FAT file system as the reader sees it, on images built byte by byte.
#include "platform/drives/detail/FatImage.h"
#include "platform/drives/Files.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QtEndian>
#include <QtTest>

using namespace platform;

namespace {

// Where mformat -f 1440 puts things: 512-byte sectors and clusters, two FATs of 9 sectors.
constexpr qint64 Sector = 512;
constexpr qint64 FatStart = 1 * Sector;
constexpr qint64 RootStart = 19 * Sector;
constexpr qint64 DataStart = 33 * Sector;

QByteArray entry(const QByteArray &name11, quint8 attributes, quint16 cluster = 0)
{
    QByteArray raw(32, '\0');
    raw.replace(0, 11, name11.leftJustified(11, ' '));
    raw[11] = char(attributes);
    qToLittleEndian(cluster, raw.data() + 26);
    return raw;
}

quint8 checksumOf(const QByteArray &name11)
{
    quint8 sum = 0;
    for (int i = 0; i < 11; ++i)
        sum = quint8(((sum & 1) << 7) + (sum >> 1) + quint8(name11[i]));
    return sum;
}

// One long-name part: `sequence` with the 0x40 flag when it is the last part, 13 characters.
QByteArray longPart(quint8 sequence, const QString &text, quint8 checksum)
{
    QByteArray raw(32, '\0');
    raw[0] = char(sequence);
    raw[11] = 0x0F;
    raw[13] = char(checksum);
    const int offsets[] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (int i = 0; i < 13; ++i) {
        const quint16 code = i < text.size() ? text[i].unicode() : (i == text.size() ? 0 : 0xFFFF);
        qToLittleEndian(code, raw.data() + offsets[i]);
    }
    return raw;
}

void writeAt(const QString &image, qint64 at, const QByteArray &bytes)
{
    QFile file(image);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(at));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Sets FAT12 entry `cluster` in the first FAT of `fat`.
void setFat12(QByteArray &fat, quint32 cluster, quint16 value)
{
    const qint64 at = cluster * 3 / 2;
    if (cluster & 1) {
        fat[at] = char((quint8(fat[at]) & 0x0F) | (value & 0x0F) << 4);
        fat[at + 1] = char(value >> 4);
    } else {
        fat[at] = char(value & 0xFF);
        fat[at + 1] = char((quint8(fat[at + 1]) & 0xF0) | (value >> 8));
    }
}

}  // namespace

class FatImageTest : public QObject {
    Q_OBJECT

private slots:
    // A long name stands only when its parts are complete, in order and belong to the 8.3
    // entry after them; else the 8.3 name does, as on Windows.
    void longNamesFollowTheFatRules_data()
    {
        QTest::addColumn<QList<QByteArray>>("entries");
        QTest::addColumn<QStringList>("names");
        const QByteArray shortName = "LANGER~1TXT";
        const quint8 sum = checksumOf(shortName);
        const QByteArray file = entry(shortName, 0x20);
        const QString name = QStringLiteral("Längerer Name mit Umlauten.txt");  // 30 characters
        const QByteArray first = longPart(0x01, name.mid(0, 13), sum);
        const QByteArray second = longPart(0x02, name.mid(13, 13), sum);
        const QByteArray last = longPart(0x43, name.mid(26), sum);
        const QByteArray other = entry("ANDERE  TXT", 0x20);
        QTest::newRow("complete") << QList{last, second, first, file} << QStringList{name};
        QTest::newRow("parts out of order")
            << QList{second, last, first, file} << QStringList{QStringLiteral("LANGER~1.TXT")};
        QTest::newRow("a part missing")
            << QList{last, first, file} << QStringList{QStringLiteral("LANGER~1.TXT")};
        QTest::newRow("no last part")
            << QList{second, first, file} << QStringList{QStringLiteral("LANGER~1.TXT")};
        QTest::newRow("wrong checksum")
            << QList{longPart(0x43, name.mid(26), sum + 1), longPart(0x02, name.mid(13, 13), sum + 1),
                     longPart(0x01, name.mid(0, 13), sum + 1), file}
            << QStringList{QStringLiteral("LANGER~1.TXT")};
        QTest::newRow("orphaned parts before a complete name")
            << QList{second, first, last, second, first, file} << QStringList{name};
        QTest::newRow("parts do not carry over to the next entry")
            << QList{last, second, first, file, second, first, other}
            << QStringList{QStringLiteral("ANDERE.TXT"), name};
        QTest::newRow("a deleted entry between")
            << QList{last, second, QByteArray(QByteArray(1, char(0xE5)) + first.mid(1)), first, file}
            << QStringList{QStringLiteral("LANGER~1.TXT")};
    }
    void longNamesFollowTheFatRules()
    {
        QFETCH(QList<QByteArray>, entries);
        QFETCH(QStringList, names);
        TestMachine pc(TwoFloppiesIni);
        insertFormattedDisk(pc, u'A', {}, false);
        writeAt(floppyImage(pc, u'A'), RootStart, entries.join());
        const auto listed = files(QStringLiteral("A:\\"));
        QCOMPARE(listed.error, dos::Ok);
        QCOMPARE(listed.value, names);
    }

    // A folder chain deeper than any Windows path reaches is read only as far as a path can
    // go; the rest is left unread rather than walked to the end.
    void deepFoldersAreReadAsFarAsAPathReaches()
    {
        TestMachine pc(TwoFloppiesIni);
        insertFormattedDisk(pc, u'A', {}, false);
        const QString image = floppyImage(pc, u'A');
        constexpr int Levels = 2800;  // nearly every cluster of the disk
        QByteArray fat(9 * Sector, '\0');
        fat[0] = char(0xF0);
        fat[1] = char(0xFF);
        fat[2] = char(0xFF);
        QByteArray data(Levels * Sector, '\0');
        for (int level = 0; level < Levels; ++level) {
            const auto cluster = quint16(2 + level);
            setFat12(fat, cluster, 0xFFF);
            QByteArray folder = entry(".", 0x10, cluster) + entry("..", 0x10, level == 0 ? 0 : cluster - 1);
            if (level + 1 < Levels)
                folder += entry("D", 0x10, cluster + 1);
            data.replace(level * Sector, folder.size(), folder);
        }
        writeAt(image, FatStart, fat);
        writeAt(image, RootStart, entry("D", 0x10, 2));
        writeAt(image, DataStart, data);

        const auto volume = detail::fatVolume(*platform::machine().drive(u'A'));
        QCOMPARE(volume.error, dos::Ok);
        int depth = 0;
        for (const detail::FatEntry *folder = &volume.value->root; !folder->entries().value->isEmpty();
             folder = &folder->entries().value->first())
            ++depth;
        QVERIFY2(depth <= 130, qPrintable(QString::number(depth)));
        // 128 folders of one letter: 258 characters, a path Windows can still take.
        const QString deepest = QStringLiteral("A:\\D") + QStringLiteral("\\D").repeated(127);
        QVERIFY(directoryExists(deepest));
    }

    // Only a file of a floppy format's size is a disk; it is read where needed, not whole.
    void onlyFloppySizesAreDisks_data()
    {
        QTest::addColumn<QString>("format");  // mformat -f
        QTest::addColumn<qint64>("size");  // the image file's size afterwards; 0: as formatted
        QTest::addColumn<int>("error");
        QTest::newRow("1.44 MB") << "1440" << qint64(0) << int(dos::Ok);
        QTest::newRow("720 KB") << "720" << qint64(0) << int(dos::Ok);
        QTest::newRow("2.88 MB") << "2880" << qint64(0) << int(dos::Ok);
        QTest::newRow("a sector more") << "1440" << qint64(1474560 + 512) << int(dos::NotDosDisk);
        QTest::newRow("3 MB") << "1440" << qint64(3 << 20) << int(dos::NotDosDisk);
        QTest::newRow("6 GB, sparse") << "1440" << (qint64(6) << 30) << int(dos::NotDosDisk);
    }
    void onlyFloppySizesAreDisks()
    {
        QFETCH(QString, format);
        QFETCH(qint64, size);
        QFETCH(int, error);
        TestMachine pc(TwoFloppiesIni);
        const QString image = floppyImage(pc, u'A');
        QVERIFY(runsOnHost(QStringLiteral("mformat"), {QStringLiteral("-C"), QStringLiteral("-f"), format,
                                                       QStringLiteral("-i"), image, QStringLiteral("::")}));
        if (size)
            QVERIFY(QFile::resize(image, size));

        QCOMPARE(files(QStringLiteral("A:\\")).error, error);
        QCOMPARE(writeFile(QStringLiteral("A:\\Neu.txt"), "neu"), error);
        if (error == dos::Ok)
            QCOMPARE(readFile(QStringLiteral("A:\\NEU.TXT")).value, QByteArray("neu"));
        QCOMPARE(QFileInfo(image).size(), size ? size : QFileInfo(image).size());
    }
};

QTEST_GUILESS_MAIN(FatImageTest)
#include "FatImageTest.moc"
