// Text detection and the unified line diff between a saved copy and the file at its place.
#include "compare/core/TextDiff.h"

#include <QtTest>

using namespace compare;

namespace {

// "@@ ...", " context", "-removed", "+added", each with its line numbers as "copy/original".
QStringList shown(const QList<DiffLine> &lines)
{
    QStringList result;
    for (const DiffLine &line : lines) {
        switch (line.kind) {
        case DiffLine::Kind::Hunk:
            result << line.text;
            break;
        case DiffLine::Kind::Context:
            result << QStringLiteral(" %1 %2/%3").arg(line.text).arg(line.copyLine).arg(line.originalLine);
            break;
        case DiffLine::Kind::Removed:
            result << QStringLiteral("-%1 %2/-").arg(line.text).arg(line.copyLine);
            break;
        case DiffLine::Kind::Added:
            result << QStringLiteral("+%1 -/%2").arg(line.text).arg(line.originalLine);
            break;
        }
    }
    return result;
}

QStringList numbered(const QString &prefix, int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << prefix + QString::number(i);
    return lines;
}

}  // namespace

class TextDiffTest : public QObject {
    Q_OBJECT

private slots:
    void textByContent_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("text");
        QTest::newRow("ini with CR LF") << QByteArray("[boot]\r\nshell=Explorer.exe\r\n") << true;
        QTest::newRow("umlauts and the euro sign") << QByteArray("Gr\xfc\xdf\x65 \x80\r\n") << true;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("a NUL byte") << QByteArray("MZ\x90\0\x03", 5) << false;
        QTest::newRow("a byte Windows-1252 leaves unassigned") << QByteArray("abc\x81") << false;
        QTest::newRow("0x9D") << QByteArray("\x9d") << false;
    }

    void textByContent()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, text);
        QCOMPARE(isText(bytes), text);
    }

    void linesOfAText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF, last line without end") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("CR alone") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("empty lines stay") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("Windows-1252") << QByteArray("Gr\xfc\xdf\x65\r\n") << QStringList{"Grüße"};
        QTest::newRow("empty") << QByteArray() << QStringList{};
    }

    void linesOfAText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(textLines(bytes), lines);
    }

    void unified_data()
    {
        QTest::addColumn<QStringList>("copy");
        QTest::addColumn<QStringList>("original");
        QTest::addColumn<QStringList>("diff");

        QTest::newRow("same") << numbered("z", 5) << numbered("z", 5) << QStringList{};

        QStringList changed = numbered("z", 9);
        changed[4] = "neu";
        QTest::newRow("one line changed in the middle")
            << numbered("z", 9) << changed
            << QStringList{"@@ -2,7 +2,7 @@", " z2 2/2", " z3 3/3", " z4 4/4", "-z5 5/-",
                           "+neu -/5",        " z6 6/6", " z7 7/7", " z8 8/8"};

        // The original longer than the copy: the removed line still comes before its replacement.
        QTest::newRow("one line changed, one added")
            << QStringList{"a", "b", "c"} << QStringList{"a", "B", "c", "d"}
            << QStringList{"@@ -1,3 +1,4 @@", " a 1/1", "-b 2/-", "+B -/2", " c 3/3", "+d -/4"};

        QTest::newRow("lines added at the end")
            << numbered("z", 4) << numbered("z", 4) + QStringList{"x", "y"}
            << QStringList{"@@ -2,3 +2,5 @@", " z2 2/2", " z3 3/3", " z4 4/4", "+x -/5", "+y -/6"};

        QTest::newRow("first line removed")
            << numbered("z", 3) << numbered("z", 3).mid(1)
            << QStringList{"@@ -1,3 +1,2 @@", "-z1 1/-", " z2 2/1", " z3 3/2"};

        QTest::newRow("everything new in an empty file")
            << QStringList{} << QStringList{"a"} << QStringList{"@@ -0,0 +1,1 @@", "+a -/1"};

        QStringList twoApart = numbered("z", 20);
        twoApart[1] = "A";
        twoApart[17] = "B";
        QTest::newRow("changes far apart make two hunks")
            << numbered("z", 20) << twoApart
            << QStringList{"@@ -1,5 +1,5 @@", " z1 1/1",   "-z2 2/-",           "+A -/2",     " z3 3/3",
                           " z4 4/4",         " z5 5/5",   "@@ -15,6 +15,6 @@", " z15 15/15", " z16 16/16",
                           " z17 17/17",      "-z18 18/-", "+B -/18",           " z19 19/19", " z20 20/20"};

        QStringList close = numbered("z", 12);
        close[2] = "A";
        close[8] = "B";
        QTest::newRow("changes whose contexts meet make one hunk")
            << numbered("z", 12) << close
            << QStringList{"@@ -1,12 +1,12 @@", " z1 1/1", " z2 2/2",    "-z3 3/-",    "+A -/3",
                           " z4 4/4",           " z5 5/5", " z6 6/6",    " z7 7/7",    " z8 8/8",
                           "-z9 9/-",           "+B -/9",  " z10 10/10", " z11 11/11", " z12 12/12"};
    }

    void unified()
    {
        QFETCH(QStringList, copy);
        QFETCH(QStringList, original);
        QFETCH(QStringList, diff);
        QCOMPARE(shown(unifiedDiff(copy, original)), diff);
    }
};

QTEST_GUILESS_MAIN(TextDiffTest)
#include "TextDiffTest.moc"
