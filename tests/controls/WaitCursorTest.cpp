#include "controls/WaitCursor.h"

#include <QApplication>
#include <QTest>

#include <stdexcept>

using controls::WaitCursor;

class WaitCursorTest : public QObject {
    Q_OBJECT
private slots:
    void hourglassLastsAsLongAsTheWork_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("scope ends") << "scope";
        QTest::newRow("ended early, then scope ends") << "early";
        QTest::newRow("work throws") << "throw";
    }

    void hourglassLastsAsLongAsTheWork()
    {
        QFETCH(QString, ending);
        // An outer hourglass must survive the inner one's end, whichever way it comes.
        WaitCursor outer;
        try {
            WaitCursor inner;
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
            if (ending == QLatin1String("early")) {
                inner.end();
                QVERIFY(QApplication::overrideCursor());
            }
            if (ending == QLatin1String("throw"))
                throw std::runtime_error("file error");
        } catch (const std::runtime_error &) {
        }
        QVERIFY(QApplication::overrideCursor());
        outer.end();
        QVERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(WaitCursorTest)
#include "WaitCursorTest.moc"
