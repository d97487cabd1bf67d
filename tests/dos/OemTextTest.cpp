#include "platform/text/OemText.h"

#include <QTest>

class OemTextTest : public QObject {
    Q_OBJECT
private slots:
    void germanLettersHaveTheirMsDosBytes_data();
    void germanLettersHaveTheirMsDosBytes();
    void everyByteComesBackUnchanged();
    void characterOutsideTheCodePageIsRefused();
    void linesEndInCrLf();
};

void OemTextTest::germanLettersHaveTheirMsDosBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("COPY A.TXT C:\\") << QByteArray("COPY A.TXT C:\\");
    QTest::newRow("umlauts") << QStringLiteral("äöüÄÖÜß") << QByteArray("\x84\x94\x81\x8E\x99\x9A\xE1");
    QTest::newRow("short name") << QStringLiteral("GLÜCKW~1.TXT")
                                << QByteArray("GL\x9A"
                                              "CKW~1.TXT");
    QTest::newRow("box and accents") << QStringLiteral("é═§") << QByteArray("\x82\xCD\xF5");
}

void OemTextTest::germanLettersHaveTheirMsDosBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(platform::toOem(text), std::optional<QByteArray>(bytes));
    QCOMPARE(platform::fromOem(bytes), text);
}

void OemTextTest::everyByteComesBackUnchanged()
{
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString text = platform::fromOem(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(platform::toOem(text), std::optional<QByteArray>(all));
}

void OemTextTest::characterOutsideTheCodePageIsRefused()
{
    // The euro sign and curly quotes are Windows-1252 letters that code page 850 lacks.
    QVERIFY(!platform::toOem(QStringLiteral("Preis 5 €")));
    QVERIFY(!platform::toOem(QStringLiteral("„Brief“")));
    QVERIFY(!platform::isOemCharacter(QChar(0x20AC)));
    QVERIFY(platform::isOemCharacter(QChar(u'Ü')));
}

void OemTextTest::linesEndInCrLf()
{
    QCOMPARE(platform::oemLines({QStringLiteral("echo off"), QStringLiteral("copy BÜRO.TXT D:\\")}),
             std::optional<QByteArray>(QByteArray("echo off\r\ncopy B\x9aRO.TXT D:\\\r\n")));
    QVERIFY(!platform::oemLines({QStringLiteral("ok"), QStringLiteral("€")}));
}

QTEST_GUILESS_MAIN(OemTextTest)
#include "OemTextTest.moc"
