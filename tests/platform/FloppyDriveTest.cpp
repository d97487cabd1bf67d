#include "platform/Files.h"
#include "platform/Floppy.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace platform;

namespace {

// Floppy A: with an image, B: write-protected with an image, no drive Z:.
const QString FloppyIni = QStringLiteral("[Windows]\n"
                                         "Directory=C:\\WINDOWS\n"
                                         "[Drives]\n"
                                         "A=floppy,floppy-a.img\n"
                                         "B=floppy,floppy-b.img,readonly\n"
                                         "C=fixed,drive_c\n"
                                         "D=fixed,drive_d\n");

QString imageOf(const TestMachine &pc, QChar letter)
{
    return pc.folder() + QStringLiteral("/floppy-%1.img").arg(letter.toLower());
}

void writeHost(const QString &hostPath, const QByteArray &bytes)
{
    QFile file(hostPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

bool runs(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished() && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

// A disk formatted as another PC formats it.
void insertDisk(const TestMachine &pc, QChar letter, const QString &label = QStringLiteral("DISK"))
{
    const QString image = imageOf(pc, letter);
    QFile::remove(image);
    QVERIFY(runs(QStringLiteral("mformat"),
                 {QStringLiteral("-C"), QStringLiteral("-i"), image, QStringLiteral("-f"),
                  QStringLiteral("1440"), QStringLiteral("-v"), label, QStringLiteral("::")}));
}

// A file put on the disk by another PC.
void putOnDisk(const TestMachine &pc, QChar letter, const QString &name, const QByteArray &bytes)
{
    const QString source = pc.folder() + QStringLiteral("/on-disk");
    writeHost(source, bytes);
    QVERIFY(runs(QStringLiteral("mcopy"), {QStringLiteral("-o"), QStringLiteral("-i"), imageOf(pc, letter),
                                           source, QStringLiteral("::/") + name}));
}

bool fileSystemIsSound(const QString &image)
{
    return runs(QStringLiteral("fsck.fat"), {QStringLiteral("-n"), image});
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
    }
    void formatGivesAnEmptyLabelledDisk()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, label);
        QFETCH(QString, stored);
        TestMachine pc(FloppyIni);
        insertDisk(pc, u'A', QStringLiteral("ALT"));
        if (before.isEmpty())
            putOnDisk(pc, u'A', QStringLiteral("Alt.txt"), "alt");
        else
            writeHost(imageOf(pc, u'A'), before);

        QCOMPARE(formatFloppy(u'a', label), dos::Ok);
        const auto read = volumeLabel(u'A');
        QCOMPARE(read.error, dos::Ok);
        QCOMPARE(read.value, stored);
        QCOMPARE(QFileInfo(imageOf(pc, u'A')).size(), 1474560);
        QVERIFY(fileSystemIsSound(imageOf(pc, u'A')));
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
    }
    void formatRefuses()
    {
        QFETCH(QChar, letter);
        QFETCH(QString, label);
        QFETCH(int, error);
        TestMachine pc(FloppyIni);
        insertDisk(pc, u'B');
        if (error != dos::NotReady)
            insertDisk(pc, u'A');
        QCOMPARE(formatFloppy(letter, label), error);
    }
};

QTEST_GUILESS_MAIN(FloppyDriveTest)
#include "FloppyDriveTest.moc"
