#include "dos/DosScreen.h"
#include "dos/Session.h"
#include "dos/core/Interpreter.h"
#include "platform/drives/Files.h"
#include "tests/support/DemoPc.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

// Types keys one by one, each from the event loop, where a person's keys go: to the window that
// holds the keyboard, else to the active window, else to the window behind.
class Typist : public QObject {
public:
    Typist(QString keys, QWidget *behind)
        : m_keys(std::move(keys)),
          m_behind(behind)
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { typeNext(); });
        m_timer.start(0);
    }
    bool done() const { return m_keys.isEmpty(); }

private:
    void typeNext()
    {
        if (m_keys.isEmpty()) {
            m_timer.stop();
            return;
        }
        QWidget *target = QWidget::keyboardGrabber();
        if (!target)
            target = QApplication::activeWindow() ? QApplication::activeWindow() : m_behind;
        if (QWidget *focus = target->focusWidget())
            target = focus;
        const QChar c = m_keys.at(0);
        m_keys.remove(0, 1);
        if (c == u'\n')
            QTest::keyClick(target, Qt::Key_Return);
        else
            QTest::keyClicks(target, QString(c));
    }

    QString m_keys;
    QWidget *m_behind;
    QTimer m_timer;
};

}  // namespace

using dos::Key;

class DosScreenTest : public QObject {
    Q_OBJECT
private slots:
    void keysReachTheInterpreter();
    void windowShowsTheWholeScreen();
    void closedWindowEndsTheWait();
    void keyWithoutCharacterKeepsWaiting();
    void keysThatAreNoCharacters_data();
    void keysThatAreNoCharacters();
    void bootFloppyPromptKeepsEveryKey();
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

// Shift alone, or a dead key, is no key for MS-DOS: the wait goes on to the next real one.
void DosScreenTest::keyWithoutCharacterKeepsWaiting()
{
    dos::TextScreen screen;
    dos::DosScreen window(screen);
    window.show();
    QTimer::singleShot(0, &window, [&window] {
        QTest::keyClick(&window, Qt::Key_Shift);
        QTimer::singleShot(0, &window, [&window] { QTest::keyClick(&window, Qt::Key_X); });
    });
    QCOMPARE(window.waitForKey(), std::optional<Key>(Key{Key::Character, u'x'}));
}

void DosScreenTest::keysThatAreNoCharacters_data()
{
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("kind");

    QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << int(Key::Backspace);
    QTest::newRow("esc") << int(Qt::Key_Escape) << 0 << int(Key::Escape);
    QTest::newRow("f3") << int(Qt::Key_F3) << 0 << int(Key::F3);
    QTest::newRow("f8") << int(Qt::Key_F8) << 0 << int(Key::F8);
    QTest::newRow("up") << int(Qt::Key_Up) << 0 << int(Key::Up);
    QTest::newRow("down") << int(Qt::Key_Down) << 0 << int(Key::Down);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << int(Key::Enter);
    QTest::newRow("ctrl+alt+del") << int(Qt::Key_Delete) << int(Qt::ControlModifier | Qt::AltModifier)
                                  << int(Key::CtrlAltDel);
}

void DosScreenTest::keysThatAreNoCharacters()
{
    QFETCH(int, qtKey);
    QFETCH(int, modifiers);
    QFETCH(int, kind);
    dos::TextScreen screen;
    dos::DosScreen window(screen);
    QTest::keyClick(&window, Qt::Key(qtKey), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window.waitForKey(), std::optional<Key>(Key{Key::Kind(kind), {}}));
}

// Started from the emergency disk, the DOS screen takes commands at its prompt until EXIT, and
// no key typed there reaches the program's window behind it.
void DosScreenTest::bootFloppyPromptKeepsEveryKey()
{
    TestMachine pc;
    seedDemoPc(pc);
    insertFormattedDisk(pc, u'A', QStringLiteral("NOTFALL"), false);
    for (const QString name : {"IO.SYS", "MSDOS.SYS", "COMMAND.COM"})
        QCOMPARE(platform::copyFile(QStringLiteral("C:\\") + name, QStringLiteral("A:\\") + name), 0);
    QCOMPARE(platform::writeFile(QStringLiteral("A:\\AUTOEXEC.BAT"), "@echo off\r\necho Notfall\r\n"), 0);

    QLineEdit mainWindow;
    mainWindow.show();
    mainWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));

    dos::Options options;
    options.action = dos::Options::Action::BootFloppy;
    options.target = QStringLiteral("A");
    Typist typist(QStringLiteral("dir c:\\\nmd C:\\NEU\nexit\n"), &mainWindow);
    QCOMPARE(dos::run(options), 0);
    QTRY_VERIFY(typist.done());
    QCOMPARE(mainWindow.text(), QString());
    QVERIFY(platform::directoryExists(QStringLiteral("C:\\NEU")));
}

QTEST_MAIN(DosScreenTest)
#include "DosScreenTest.moc"
