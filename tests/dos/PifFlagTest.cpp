#include "platform/drives/Files.h"
#include "platform/shell/Pif.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

namespace {

QByteArray shippedPif()
{
    QFile file(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/program/restore.pif"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read the shipped restore.pif");
    return file.readAll();
}

constexpr qsizetype W386Heading = 0x187;
constexpr qsizetype FlagByte = 0x1AF;  // bit 7: the MS-DOS mode flag where the shipped file has it

}  // namespace

class PifFlagTest : public QObject {
    Q_OBJECT
private slots:
    void flagIsFoundThroughTheHeadingChain();
    void scriptUsesThePifBesideIt();
};

void PifFlagTest::flagIsFoundThroughTheHeadingChain()
{
    // The "WINDOWS 386 3.0" data moved to the end of the file: a reader that relied on the fixed
    // offset would miss the flag there and find a cleared byte in its old place.
    QByteArray pif = shippedPif();
    const quint16 oldData = qFromLittleEndian<quint16>(pif.constData() + W386Heading + 18);
    const QByteArray section = pif.mid(oldData, 0x68);
    qToLittleEndian<quint16>(quint16(pif.size() + 16), pif.data() + W386Heading + 18);
    pif.append(QByteArray(16, '\0'));
    pif.append(section);
    pif[FlagByte] = 0;
    QVERIFY(platform::pifAsksForMsDosMode(pif));
}

void PifFlagTest::scriptUsesThePifBesideIt()
{
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("D:\\BACKUP"));
    pc.writeFile(QStringLiteral("D:\\BACKUP\\Restore.bat"), "echo off\r\n");
    using platform::BatchStart;
    QCOMPARE(platform::batchStartOf(QStringLiteral("D:\\BACKUP\\Restore.bat")), BatchStart::DosWindow);

    QByteArray windowed = shippedPif();
    windowed[FlagByte] = char(uchar(windowed[FlagByte]) & ~0x80);
    pc.writeFile(QStringLiteral("D:\\BACKUP\\Restore.pif"), windowed);
    QCOMPARE(platform::batchStartOf(QStringLiteral("D:\\BACKUP\\Restore.bat")), BatchStart::DosWindow);

    QCOMPARE(platform::writeFile(QStringLiteral("D:\\BACKUP\\Restore.pif"), shippedPif()), 0);
    QCOMPARE(platform::batchStartOf(QStringLiteral("D:\\BACKUP\\RESTORE.BAT")), BatchStart::MsDosMode);
    QCOMPARE(platform::batchStartOf(QStringLiteral("D:\\BACKUP\\ANDERE.BAT")), BatchStart::DosWindow);
}

QTEST_GUILESS_MAIN(PifFlagTest)
#include "PifFlagTest.moc"
