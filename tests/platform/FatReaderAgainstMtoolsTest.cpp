// The FAT reader against mtools on random volumes: every folder, name (long and 8.3), size,
// attribute and time the reader lists must be what mdir and mattrib list, the label and the free
// room too, and every file mcopy wrote whole must read back as written.
//
// VELKO_FAT_VOLUMES=N tries N volumes (a few by default); VELKO_FAT_SEED=S starts at seed S, so
// that `VELKO_FAT_SEED=S VELKO_FAT_VOLUMES=1` makes a failing volume again.
#include "platform/drives/detail/FatImage.h"
#include "tests/platform/RandomFatVolume.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

constexpr quint32 DefaultVolumes = 12;

quint32 settingOr(const char *name, quint32 fallback)
{
    bool ok = false;
    const uint value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// One entry as a line: its folder's path in upper case (mdir names a folder whose 8.3 name
// asks for lower case with its umlauts left in upper case, unlike its own entry lines: mtools'
// own quirk), the name shown, the 8.3 name in upper case, the size or <DIR>, the time to the
// minute and the attributes as mattrib shows them.
QString line(const QString &folder, const QString &name, const QString &shortName, const QString &size,
             const QDateTime &time, const QString &attributes)
{
    return QStringLiteral("%1 | %2 | %3 | %4 | %5 | %6")
        .arg(folder.toUpper(), name, shortName.toUpper(), size, time.toString(QStringLiteral("yyyy-MM-dd hh:mm")),
             attributes);
}

QString attributeLetters(quint8 attributes)
{
    QString letters;
    letters += attributes & 0x20 ? u'A' : u' ';
    letters += attributes & 0x04 ? u'S' : u' ';
    letters += attributes & 0x02 ? u'H' : u' ';
    letters += attributes & 0x01 ? u'R' : u' ';
    return letters;
}

// What mattrib -/ lists: "  A  SHR     ::/path" for every file and folder below the root, by
// the path in upper case (mattrib, too, leaves the umlauts of a lower-case 8.3 name in upper case).
QHash<QString, QString> mattribList(const QString &image)
{
    // mattrib -/ ends with exit code 1 when the last folder it goes into is empty ("File "::" not
    // found", mtools' own quirk); an entry it leaves out shows in the comparison.
    const MtoolsRun run = runMtools(QStringLiteral("mattrib"), image, {QStringLiteral("-/"), QStringLiteral("::")});
    if (run.exitCode < 0)
        qFatal("mattrib did not end: %s", qPrintable(run.errors));
    QHash<QString, QString> attributes;
    for (const QString &row : run.output.split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype at = row.indexOf(QStringLiteral("::/"));
        if (at != 13)
            qFatal("mattrib line not understood: %s", qPrintable(row));
        const QString path = row.mid(at + 3);
        if (!path.isEmpty())
            attributes.insert(path.toUpper(), row.mid(2, 1) + row.mid(5, 3));
    }
    return attributes;
}

struct MtoolsListing {
    QStringList lines;
    QString label;
    qint64 free = -1;
};

// What mdir -/ -a, mattrib -/ and mlabel -s list, folder by folder in the order of the entries.
MtoolsListing mdirListing(const QString &image)
{
    const MtoolsRun run = runMtools(QStringLiteral("mdir"), image, {QStringLiteral("-/"), QStringLiteral("-a"), QStringLiteral("::")});
    if (run.exitCode != 0)
        qFatal("mdir failed: %s", qPrintable(run.errors));
    const QHash<QString, QString> attributes = mattribList(image);
    static const QRegularExpression Entry(
        QStringLiteral("^(.{8}) (.{3}) +(<DIR>|\\d+) +(\\d{4})-(\\d\\d)-(\\d\\d) +(\\d+):(\\d\\d) (?: (.*))?$"));
    static const QRegularExpression Free(QStringLiteral("^ +([\\d ]+) bytes free$"));
    const QString folderPrefix = QStringLiteral("Directory for ::/");
    MtoolsListing listing;
    QString folder;
    for (const QString &row : run.output.split(u'\n')) {
        if (row.startsWith(folderPrefix)) {
            folder = row.mid(folderPrefix.size());
            continue;
        }
        if (const auto free = Free.match(row); free.hasMatch()) {
            listing.free = free.captured(1).remove(u' ').toLongLong();
            continue;
        }
        const auto entry = Entry.match(row);
        if (!entry.hasMatch())
            continue;
        const QString stem = entry.captured(1).trimmed();
        const QString extension = entry.captured(2).trimmed();
        if (stem == QStringLiteral(".") || stem == QStringLiteral(".."))
            continue;
        const QString shortName = extension.isEmpty() ? stem : stem + u'.' + extension;
        const QString shown = entry.captured(9).isEmpty() ? shortName : entry.captured(9);
        const QString path = folder.isEmpty() ? shown : folder + u'/' + shown;
        const QDateTime time(QDate(entry.captured(4).toInt(), entry.captured(5).toInt(), entry.captured(6).toInt()),
                             QTime(entry.captured(7).toInt(), entry.captured(8).toInt()));
        listing.lines << line(folder, shown, shortName, entry.captured(3), time,
                              attributes.value(path.toUpper(), QStringLiteral("not listed by mattrib")));
    }
    // mdir cuts a label with several umlauts short (mtools' own quirk); mlabel shows it whole.
    const MtoolsRun label = runMtools(QStringLiteral("mlabel"), image, {QStringLiteral("-s"), QStringLiteral("::")});
    const QString labelPrefix = QStringLiteral(" Volume label is ");
    if (label.exitCode != 0)
        qFatal("mlabel failed: %s", qPrintable(label.errors));
    if (label.output.startsWith(labelPrefix))
        listing.label = label.output.mid(labelPrefix.size()).trimmed();
    return listing;
}

struct ReaderListing {
    QStringList lines;
    QStringList faults;  // what the reader's own promises broke
};

void walk(const Drive &drive, const detail::FatEntry &folder, const QString &path, const RandomFatVolume &volume,
          ReaderListing &listing)
{
    const auto entries = folder.entries();
    if (!entries.ok()) {
        listing.faults << QStringLiteral("%1: folder not read (%2)").arg(path).arg(entries.error);
        return;
    }
    for (const detail::FatEntry &entry : *entries.value) {
        const QString entryPath = path.isEmpty() ? entry.name : path + u'/' + entry.name;
        const QString size = entry.isDirectory() ? QStringLiteral("<DIR>") : QString::number(entry.size);
        listing.lines << line(path, entry.name, entry.shortName, size, entry.lastWrite,
                              attributeLetters(entry.attributes));
        if (entry.isDirectory())
            continue;
        const auto bytes = detail::readFatFile(drive, entry);
        if (!bytes.ok() || bytes.value.size() != qsizetype(entry.size))
            listing.faults << QStringLiteral("%1: not read (%2)").arg(entryPath).arg(bytes.error);
        else if (volume.contents.contains(entryPath) && bytes.value != volume.contents.value(entryPath))
            listing.faults << QStringLiteral("%1: other bytes than written").arg(entryPath);
        const QDateTime written = volume.times.value(entryPath);
        if (written.isValid() && (entry.lastWrite.date() != written.date() || entry.lastWrite.time() != written.time()))
            listing.faults << QStringLiteral("%1: time %2, written %3")
                                  .arg(entryPath, entry.lastWrite.toString(Qt::ISODate),
                                       written.toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")));
    }
    // As mdir -/ goes: a folder's own entries first, then its folders one by one.
    for (const detail::FatEntry &entry : *entries.value) {
        if (entry.isDirectory())
            walk(drive, entry, path.isEmpty() ? entry.name : path + u'/' + entry.name, volume, listing);
    }
}

}  // namespace

class FatReaderAgainstMtoolsTest : public QObject {
    Q_OBJECT

private slots:
    void listsWhatMtoolsLists_data()
    {
        QTest::addColumn<quint32>("seed");
        const quint32 first = settingOr("VELKO_FAT_SEED", 1);
        const quint32 count = settingOr("VELKO_FAT_VOLUMES", DefaultVolumes);
        for (quint32 seed = first; seed < first + count; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void listsWhatMtoolsLists()
    {
        QFETCH(quint32, seed);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString image = scratch.filePath(QStringLiteral("volume.img"));
        const RandomFatVolume volume = makeRandomFatVolume(seed, image, scratch.path());
        const MtoolsListing expected = mdirListing(image);
        const QString context = QStringLiteral("seed %1, %2").arg(seed).arg(volume.description);

        Drive drive;
        drive.letter = u'A';
        if (volume.isFloppy) {
            drive.kind = DriveKind::Floppy;
        } else {
            drive.onDiskImage = true;
            drive.volumeBytes = QFileInfo(image).size();
        }
        drive.hostPath = image;
        detail::FatVolumeCache volumes;
        const auto read = volumes.volume(drive);
        QVERIFY2(read.ok(), qPrintable(QStringLiteral("%1: not read (%2)").arg(context).arg(read.error)));
        ReaderListing listed;
        walk(drive, read.value->root, {}, volume, listed);
        const auto space = detail::fatSpace(drive);

        QVERIFY2(listed.faults.isEmpty(), qPrintable(context + u'\n' + listed.faults.join(u'\n')));
        for (qsizetype i = 0; i < qMax(listed.lines.size(), expected.lines.size()); ++i) {
            const QString reader = listed.lines.value(i, QStringLiteral("(nothing)"));
            const QString mtools = expected.lines.value(i, QStringLiteral("(nothing)"));
            QVERIFY2(reader == mtools,
                     qPrintable(QStringLiteral("%1, entry %2\nreader: %3\nmtools: %4").arg(context).arg(i).arg(reader, mtools)));
        }
        QVERIFY2(read.value->label == expected.label, qPrintable(context + u' ' + read.value->label));
        QVERIFY2(space.ok() && space.value.free == expected.free,
                 qPrintable(QStringLiteral("%1: free %2, mdir %3").arg(context).arg(space.value.free).arg(expected.free)));
    }
};

QTEST_GUILESS_MAIN(FatReaderAgainstMtoolsTest)
#include "FatReaderAgainstMtoolsTest.moc"
