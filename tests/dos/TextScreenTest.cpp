#include "dos/core/TextScreen.h"
#include "dos/core/Console.h"

#include <QTest>

using dos::TextScreen;

class TextScreenTest : public QObject {
    Q_OBJECT
private slots:
    void writesAtTheCursor();
    void longLineWrapsAtColumn80();
    void bottomLineScrollsTheScreenUp();
    void clearKeepsTheLinesInTheTranscript();
    void controlCharacters_data();
    void controlCharacters();
    void keysGivenInAdvance_data();
    void keysGivenInAdvance();
    void historyKeepsTheLatestLines();
    void typedAheadKeyIsTakenOnlyFirst();
};

void TextScreenTest::writesAtTheCursor()
{
    TextScreen screen;
    screen.write(QStringLiteral("C:\\>"));
    QCOMPARE(screen.cursorRow(), 0);
    QCOMPARE(screen.cursorColumn(), 4);
    screen.writeLine(QStringLiteral("echo"));
    QCOMPARE(screen.line(0), QStringLiteral("C:\\>echo"));
    QCOMPARE(screen.cursorRow(), 1);
    QCOMPARE(screen.cursorColumn(), 0);
}

void TextScreenTest::longLineWrapsAtColumn80()
{
    TextScreen screen;
    screen.writeLine(QString(85, u'x'));
    QCOMPARE(screen.line(0), QString(80, u'x'));
    QCOMPARE(screen.line(1), QString(5, u'x'));
    QCOMPARE(screen.cursorRow(), 2);

    // Exactly 80 characters and a line end take one line, not one and an empty one.
    TextScreen exact;
    exact.writeLine(QString(80, u'y'));
    QCOMPARE(exact.cursorRow(), 1);
    QCOMPARE(exact.line(1), QString());
}

void TextScreenTest::bottomLineScrollsTheScreenUp()
{
    TextScreen screen;
    for (int number = 1; number <= 30; ++number)
        screen.writeLine(QString::number(number));
    // 30 lines and the cursor's empty line: 6 lines went off the top.
    QCOMPARE(screen.history(), QStringList({"1", "2", "3", "4", "5", "6"}));
    QCOMPARE(screen.line(0), QStringLiteral("7"));
    QCOMPARE(screen.line(23), QStringLiteral("30"));
    QCOMPARE(screen.cursorRow(), TextScreen::Rows - 1);
    QVERIFY(screen.transcript().startsWith(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n")));
    QCOMPARE(screen.transcript().split(u'\n').size(), 6 + TextScreen::Rows);
}

void TextScreenTest::clearKeepsTheLinesInTheTranscript()
{
    TextScreen screen;
    screen.writeLine(QStringLiteral("Banner"));
    screen.writeLine();
    screen.writeLine(QStringLiteral("Weiter"));
    screen.clear();
    QCOMPARE(screen.line(0), QString());
    QCOMPARE(screen.cursorRow(), 0);
    QCOMPARE(screen.history(), QStringList({"Banner", "", "Weiter"}));
    screen.writeLine(QStringLiteral("kopieren"));
    QVERIFY(screen.transcript().startsWith(QStringLiteral("Banner\n\nWeiter\nkopieren\n")));
}

void TextScreenTest::controlCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a       b") << 9;
    QTest::newRow("carriage return") << QStringLiteral("abc\rX") << QStringLiteral("Xbc") << 1;
    QTest::newRow("backspace") << QStringLiteral("ab\bX") << QStringLiteral("aX") << 2;
    QTest::newRow("backspace at the start") << QStringLiteral("\bX") << QStringLiteral("X") << 1;
}

void TextScreenTest::controlCharacters()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QFETCH(int, column);
    TextScreen screen;
    screen.write(text);
    QCOMPARE(screen.line(0), line);
    QCOMPARE(screen.cursorColumn(), column);
}

void TextScreenTest::keysGivenInAdvance_data()
{
    using dos::Key;
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QList<Key>>("parsed");
    QTest::newRow("letters") << QStringLiteral("xN")
                             << QList<Key>{{Key::Character, u'x'}, {Key::Character, u'N'}};
    QTest::newRow("enter") << QStringLiteral("a\n\\n")
                           << QList<Key>{{Key::Character, u'a'}, {Key::Enter, {}}, {Key::Enter, {}}};
    QTest::newRow("ctrl+c") << QStringLiteral("^Cj") << QList<Key>{{Key::CtrlC, {}}, {Key::Character, u'j'}};
    QTest::newRow("none") << QString() << QList<Key>{};
    QTest::newRow("named keys") << QStringLiteral("{F8}{up}{Down}{Esc}{F3}{Backspace}{Ctrl+Alt+Del}")
                                << QList<Key>{{Key::F8, {}},        {Key::Up, {}}, {Key::Down, {}},
                                              {Key::Escape, {}},    {Key::F3, {}}, {Key::Backspace, {}},
                                              {Key::CtrlAltDel, {}}};
    QTest::newRow("braces without a key name")
        << QStringLiteral("{x}{F9")
        << QList<Key>{{Key::Character, u'{'}, {Key::Character, u'x'}, {Key::Character, u'}'},
                      {Key::Character, u'{'}, {Key::Character, u'F'}, {Key::Character, u'9'}};
}

void TextScreenTest::keysGivenInAdvance()
{
    QFETCH(QString, keys);
    QFETCH(QList<dos::Key>, parsed);
    QVERIFY(dos::parseKeys(keys) == parsed);
}

// A script that never ends must not fill the memory with what scrolled off.
void TextScreenTest::historyKeepsTheLatestLines()
{
    TextScreen screen;
    const int lines = TextScreen::HistoryLines * 2;
    for (int index = 0; index < lines; ++index)
        screen.writeLine(QString::number(index));
    QCOMPARE(screen.history().size(), TextScreen::HistoryLines);
    // The newest line that scrolled off sits just above the 24 written lines on the screen.
    QCOMPARE(screen.history().last(), QString::number(lines - TextScreen::Rows));
    QCOMPARE(screen.line(TextScreen::Rows - 2), QString::number(lines - 1));
}

void TextScreenTest::typedAheadKeyIsTakenOnlyFirst()
{
    dos::HeadlessConsole console(QStringLiteral("x^C"));
    QVERIFY(!console.takeTypedAhead(dos::Key::CtrlC));
    QCOMPARE(console.readKey(), std::optional<dos::Key>(dos::Key{dos::Key::Character, u'x'}));
    QVERIFY(console.takeTypedAhead(dos::Key::CtrlC));
    QCOMPARE(console.readKey(), std::nullopt);
}

QTEST_GUILESS_MAIN(TextScreenTest)
#include "TextScreenTest.moc"
