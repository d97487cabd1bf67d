#include "platform/text/AnsiText.h"

#include <QtTest>

using namespace platform;

class AnsiTextTest : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesTheRoundTrip()
    {
        QByteArray bytes;
        for (int byte = 0; byte < 256; ++byte)
            bytes.append(char(byte));
        const QString text = fromAnsi(bytes);
        QCOMPARE(text.size(), 256);
        const auto back = toAnsi(text);
        QVERIFY(back.has_value());
        QCOMPARE(*back, bytes);
    }

    void characters_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("character");
        QTest::newRow("A") << 0x41 << 0x41;
        QTest::newRow("euro") << 0x80 << 0x20AC;
        QTest::newRow("low quote") << 0x84 << 0x201E;
        QTest::newRow("ellipsis") << 0x85 << 0x2026;
        QTest::newRow("S caron") << 0x8A << 0x0160;
        QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
        QTest::newRow("unassigned 81") << 0x81 << 0x81;
        QTest::newRow("unassigned 8D") << 0x8D << 0x8D;
        QTest::newRow("unassigned 8F") << 0x8F << 0x8F;
        QTest::newRow("unassigned 90") << 0x90 << 0x90;
        QTest::newRow("unassigned 9D") << 0x9D << 0x9D;
        QTest::newRow("no-break space") << 0xA0 << 0xA0;
        QTest::newRow("a umlaut") << 0xE4 << 0xE4;
        QTest::newRow("sharp s") << 0xDF << 0xDF;
        QTest::newRow("y diaeresis") << 0xFF << 0xFF;
    }

    void characters()
    {
        QFETCH(int, byte);
        QFETCH(int, character);
        const QByteArray bytes(1, char(byte));
        const QString text{QChar(char16_t(character))};
        QCOMPARE(fromAnsi(bytes), text);
        QCOMPARE(toAnsi(text).value_or("refused"), bytes);
    }

    void refusesWhatTheCodePageLacks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("A macron") << QStringLiteral("Verzeichnis \u0100");
        QTest::newRow("control 80") << QString(QChar(0x80));
        QTest::newRow("control 98") << QString(QChar(0x98));
        QTest::newRow("CJK") << QStringLiteral("\u4E2D");
        QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U0001F600");
        QTest::newRow("Cyrillic") << QStringLiteral("\u0416");
    }

    void refusesWhatTheCodePageLacks()
    {
        QFETCH(QString, text);
        QVERIFY(!toAnsi(text).has_value());
        QVERIFY(!ansiLines({QStringLiteral("gut"), text}).has_value());
    }

    void linesEndWithCrLf()
    {
        QCOMPARE(ansiLines({QStringLiteral("echo off"), QString(), QStringLiteral("Größe")}).value(),
                 QByteArray("echo off\r\n\r\nGr\xF6\xDF"
                            "e\r\n"));
        QCOMPARE(ansiLines({}).value(), QByteArray());
    }
};

QTEST_GUILESS_MAIN(AnsiTextTest)
#include "AnsiTextTest.moc"
