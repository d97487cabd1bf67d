#include "dos/DosScreen.h"
#include "dos/core/Interpreter.h"
#include "tests/support/TestMachine.h"

#include <QTest>

using dos::Key;

class DosScreenTest : public QObject {
    Q_OBJECT
private slots:
    void keysReachTheInterpreter();
    void windowShowsTheWholeScreen();
    void closedWindowEndsTheWait();
};

void DosScreenTest::keysReachTheInterpreter()
{
    dos::TextScreen screen;
    dos::DosScreen window(screen);
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_J);
    QTest::keyClick(&window, Qt::Key_Shift);  // no character: not a key for the interpreter
    QCOMPARE(window.waitForKey(), std::optional<Key>(Key{Key::CtrlC, {}}));
    QCOMPARE(window.waitForKey(), std::optional<Key>(Key{Key::Enter, {}}));
    QCOMPARE(window.waitForKey(), std::optional<Key>(Key{Key::Character, u'j'}));
}

void DosScreenTest::windowShowsTheWholeScreen()
{
    dos::TextScreen screen;
    dos::DosScreen window(screen);
    window.show();
    QVERIFY(window.width() >= window.sizeHint().width());
    QVERIFY(window.height() >= window.sizeHint().height());
    // 80 columns of a monospace font are wider than 25 lines are high.
    QVERIFY(window.sizeHint().width() > window.sizeHint().height());
}

void DosScreenTest::closedWindowEndsTheWait()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\X.BAT"), "@echo off\r\npause\r\necho danach\r\n");
    dos::WindowConsole console(QStringLiteral("Test"), false);
    dos::Interpreter shell(console);
    QTimer::singleShot(0, [] {
        for (QWidget *window : QApplication::topLevelWidgets())
            window->close();
    });
    QCOMPARE(shell.runBatch(QStringLiteral("C:\\X.BAT")), dos::Interpreter::Outcome::InputEnded);
    QVERIFY(!console.screen().transcript().contains(QStringLiteral("danach")));
}

QTEST_MAIN(DosScreenTest)
#include "DosScreenTest.moc"
