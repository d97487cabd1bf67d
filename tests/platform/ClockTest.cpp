#include "platform/machine/Clock.h"

#include <QtTest>

using namespace platform;

class ClockTest : public QObject {
    Q_OBJECT

private slots:
    void germanFormats_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("single digits") << QDateTime(QDate(1999, 12, 7), QTime(4, 5, 3))
                                       << QStringLiteral("07.12.99") << QStringLiteral("04:05:03");
        QTest::newRow("afternoon") << QDateTime(QDate(2001, 1, 31), QTime(23, 59, 59))
                                   << QStringLiteral("31.01.01") << QStringLiteral("23:59:59");
    }

    void germanFormats()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, date);
        QFETCH(QString, time);
        QCOMPARE(shortDate(moment), date);
        QCOMPARE(longTime(moment), time);
    }

    void fixedNowUntilCleared()
    {
        const QDateTime fixed(QDate(1999, 12, 7), QTime(14, 5, 33));
        setFixedNow(fixed);
        QCOMPARE(now(), fixed);
        setFixedNow(QDateTime());
        QVERIFY(now().date().year() > 2000);
    }
};

QTEST_GUILESS_MAIN(ClockTest)
#include "ClockTest.moc"
