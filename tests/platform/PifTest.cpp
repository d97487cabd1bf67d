#include "platform/shell/Pif.h"

#include <QFile>
#include <QtTest>

using namespace platform;

namespace {

QByteArray shippedPif()
{
    QFile file(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/program/restore.pif"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("shipped restore.pif missing");
    return file.readAll();
}

// The MS-DOS-mode bit: offset 0x10 of the "WINDOWS 386 3.0" data, which starts at 0x19D here.
constexpr qsizetype MsDosModeByte = 0x19D + 0x10 + 2;

}  // namespace

class PifTest : public QObject {
    Q_OBJECT

private slots:
    void msDosMode_data()
    {
        QTest::addColumn<QByteArray>("pif");
        QTest::addColumn<bool>("msDosMode");
        const QByteArray shipped = shippedPif();
        QTest::newRow("shipped restore.pif") << shipped << true;
        QByteArray windowed = shipped;
        windowed[MsDosModeByte] = char(windowed[MsDosModeByte] & ~0x80);
        QTest::newRow("flag cleared") << windowed << false;
        QTest::newRow("cut before the section") << shipped.left(0x190) << false;
        QTest::newRow("cut inside the section") << shipped.left(0x1A0) << false;
        QByteArray looping = shipped;
        looping[0x171 + 16] = char(0x71);  // first heading names itself as the next
        looping[0x171 + 17] = char(0x01);
        looping[0x187] = 'X';  // and the Windows 386 heading is no longer found by name
        QTest::newRow("heading chain loops") << looping << false;
        QTest::newRow("empty") << QByteArray() << false;
    }

    void msDosMode()
    {
        QFETCH(QByteArray, pif);
        QFETCH(bool, msDosMode);
        QCOMPARE(pifAsksForMsDosMode(pif), msDosMode);
    }
};

QTEST_GUILESS_MAIN(PifTest)
#include "PifTest.moc"
