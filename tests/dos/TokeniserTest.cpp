#include "dos/core/Tokeniser.h"

#include <QTest>

using dos::CommandLine;
using dos::Quotes;
using dos::Token;

namespace {

const QStringList Glued = {"echo", "cd", "copy"};

// A switch shows its '/', a grouped quoted word its quotes as «»; "Word:" or "Switch:" marks a
// token of the wrong kind.
QStringList shown(const QList<Token> &tokens)
{
    QStringList texts;
    for (const Token &token : tokens) {
        QString text = token.quoted ? "«" + token.text + "»" : token.text;
        if (token.kind == Token::Switch && !token.text.startsWith(u'/'))
            text.prepend("Switch:");
        if (token.kind == Token::Word && token.text.startsWith(u'/'))
            text.prepend("Word:");
        texts.append(text);
    }
    return texts;
}

}  // namespace

class TokeniserTest : public QObject {
    Q_OBJECT
private slots:
    void commandLines_data();
    void commandLines();
    void aMissingInputFileIsNoCommandLine_data();
    void aMissingInputFileIsNoCommandLine();
};

// Line, how quotes read -> name, what follows it as typed, arguments, input file.
void TokeniserTest::commandLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Quotes>("quotes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("rest");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("inputFile");

    const Quotes plain = Quotes::Plain;
    const Quotes grouped = Quotes::Grouped;
    QTest::newRow("empty") << "" << plain << ""
                           << "" << QStringList() << "";
    QTest::newRow("blanks only") << "  \t " << plain << ""
                                 << "" << QStringList() << "";
    QTest::newRow("words") << "copy  A.TXT B.TXT" << plain << "copy"
                           << "  A.TXT B.TXT" << QStringList{"A.TXT", "B.TXT"} << "";
    QTest::newRow("separators") << "attrib +r,A.TXT;B.TXT=C.TXT" << plain << "attrib"
                                << " +r,A.TXT;B.TXT=C.TXT" << QStringList{"+r", "A.TXT", "B.TXT", "C.TXT"}
                                << "";
    QTest::newRow("switch glued to the name") << "dir/w" << plain << "dir"
                                              << "/w" << QStringList{"/w"} << "";
    QTest::newRow("switch glued to a word") << "copy C:\\X D:\\Y/v" << plain << "copy"
                                            << " C:\\X D:\\Y/v" << QStringList{"C:\\X", "D:\\Y", "/v"} << "";
    QTest::newRow("switches one after another")
        << "format A:/V:Notfall/Q" << plain << "format"
        << " A:/V:Notfall/Q" << QStringList{"A:", "/V:Notfall", "/Q"} << "";
    QTest::newRow("lone slash") << "copy A /" << plain << "copy"
                                << " A /" << QStringList{"A", "/"} << "";
    QTest::newRow("internal name glued") << "echo.Text" << plain << "echo"
                                         << ".Text" << QStringList{".Text"} << "";
    QTest::newRow("cd glued to a path") << "cd..\\..\\DATA" << plain << "cd"
                                        << "..\\..\\DATA" << QStringList{"..\\..\\DATA"} << "";
    QTest::newRow("other name not split") << "ATTRIB.EXE A.TXT" << plain << "ATTRIB.EXE"
                                          << " A.TXT" << QStringList{"A.TXT"} << "";
    QTest::newRow("longer name not split") << "cdrom.exe" << plain << "cdrom.exe"
                                           << "" << QStringList() << "";
    QTest::newRow("drive") << "D:" << plain << "D:"
                           << "" << QStringList() << "";
    QTest::newRow("input with blanks") << "format A: < C:\\X.TMP" << plain << "format"
                                       << " A:" << QStringList{"A:"} << "C:\\X.TMP";
    QTest::newRow("input without blanks") << "pause<TASTE.TXT" << plain << "pause"
                                          << "" << QStringList() << "TASTE.TXT";
    QTest::newRow("input amid the arguments") << "format A: <IN.TXT /Q" << plain << "format"
                                              << " A:  /Q" << QStringList{"A:", "/Q"} << "IN.TXT";
    QTest::newRow("input name ends at >") << "sort <IN.TXT>OUT.TXT" << plain << "sort"
                                          << " >OUT.TXT" << QStringList{">OUT.TXT"} << "IN.TXT";
    QTest::newRow("last input counts") << "pause < A.TXT < B.TXT" << plain << "pause"
                                       << "" << QStringList() << "B.TXT";
    QTest::newRow("input only") << "< A.TXT" << plain << ""
                                << "" << QStringList() << "A.TXT";
    QTest::newRow("quotes plain") << "copy \"Lange Namen.txt\" A:" << plain << "copy"
                                  << " \"Lange Namen.txt\" A:" << QStringList{"\"Lange", "Namen.txt\"", "A:"}
                                  << "";
    QTest::newRow("quotes grouped") << "copy \"Lange Namen.txt\" A:" << grouped << "copy"
                                    << " \"Lange Namen.txt\" A:" << QStringList{"«Lange Namen.txt»", "A:"}
                                    << "";
    QTest::newRow("quoted part of a word")
        << "copy C:\\\"Eigene Dateien\"\\A.TXT/v" << grouped << "copy"
        << " C:\\\"Eigene Dateien\"\\A.TXT/v" << QStringList{"«C:\\Eigene Dateien\\A.TXT»", "/v"} << "";
    QTest::newRow("quoted name") << "\"C:\\Eigene Programme\\X.EXE\" /q" << grouped
                                 << "C:\\Eigene Programme\\X.EXE"
                                 << " /q" << QStringList{"/q"} << "";
    QTest::newRow("quoted separators and slash") << "echo \"a,b;c=d/e\"" << grouped << "echo"
                                                 << " \"a,b;c=d/e\"" << QStringList{"«a,b;c=d/e»"} << "";
    QTest::newRow("quoted <") << "echo \"a < b\"" << grouped << "echo"
                              << " \"a < b\"" << QStringList{"«a < b»"} << "";
    QTest::newRow("quoted input file") << "pause < \"Eine Taste.txt\"" << grouped << "pause"
                                       << "" << QStringList() << "Eine Taste.txt";
    QTest::newRow("quote not closed") << "type \"Ohne Ende" << grouped << "type"
                                      << " \"Ohne Ende" << QStringList{"«Ohne Ende»"} << "";
}

void TokeniserTest::commandLines()
{
    QFETCH(QString, text);
    QFETCH(Quotes, quotes);
    QFETCH(QString, name);
    QFETCH(QString, rest);
    QFETCH(QStringList, arguments);
    QFETCH(QString, inputFile);
    const CommandLine line = dos::parseCommandLine(text, Glued, quotes);
    QVERIFY(line.valid);
    QCOMPARE(line.name, name);
    QCOMPARE(line.rest, rest);
    QCOMPARE(shown(line.arguments), arguments);
    QCOMPARE(line.inputFile, inputFile);
    QCOMPARE(shown(dos::tokenise(rest, quotes)), arguments);
}

void TokeniserTest::aMissingInputFileIsNoCommandLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("at the end") << "pause <";
    QTest::newRow("blanks after it") << "pause <   ";
    QTest::newRow("another sign after it") << "pause < >OUT.TXT";
    QTest::newRow("after a good one") << "pause < A.TXT <";
}

void TokeniserTest::aMissingInputFileIsNoCommandLine()
{
    QFETCH(QString, text);
    QVERIFY(!dos::parseCommandLine(text, Glued).valid);
}

QTEST_GUILESS_MAIN(TokeniserTest)
#include "TokeniserTest.moc"
