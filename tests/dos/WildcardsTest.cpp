#include "dos/core/Wildcards.h"

#include <QTest>

class WildcardsTest : public QObject {
    Q_OBJECT
private slots:
    void matches_data();
    void matches();
    void appliedPattern_data();
    void appliedPattern();
};

void WildcardsTest::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("matches");

    QTest::newRow("*.* takes a name without extension") << "*.*"
                                                        << "README" << true;
    QTest::newRow("* takes everything") << "*"
                                        << "Eine lange Datei.txt" << true;
    QTest::newRow("extension") << "*.TXT"
                               << "brief.txt" << true;
    QTest::newRow("other extension") << "*.TXT"
                                     << "BRIEF.DOC" << false;
    QTest::newRow("? one letter") << "?.TXT"
                                  << "A.TXT" << true;
    QTest::newRow("? at a part's end may be none") << "BRIEF?.TXT"
                                                   << "BRIEF.TXT" << true;
    QTest::newRow("? inside needs a letter") << "B?IEF.TXT"
                                             << "BIEF.TXT" << false;
    QTest::newRow("*. only names without extension") << "*."
                                                     << "README" << true;
    QTest::newRow("*. not a name with one") << "*."
                                            << "README.TXT" << false;
    QTest::newRow("NAME.* also NAME") << "RESTORE.*"
                                      << "RESTORE" << true;
    QTest::newRow("umlauts without regard to case") << "GLÜCK*.TXT"
                                                    << "Glückwünsche.txt" << true;
    QTest::newRow("* inside a long name") << "Eine*Datei.txt"
                                          << "Eine lange Datei.txt" << true;
    QTest::newRow("no wildcard is the name itself") << "A.TXT"
                                                    << "AB.TXT" << false;
}

void WildcardsTest::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, matches);
    QCOMPARE(dos::matchesPattern(pattern, name), matches);
}

void WildcardsTest::appliedPattern_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("result");

    QTest::newRow("new extension") << "*.BAK"
                                   << "BRIEF.TXT"
                                   << "BRIEF.BAK";
    QTest::newRow("new name, old extension") << "NEU.*"
                                             << "BRIEF.TXT"
                                             << "NEU.TXT";
    QTest::newRow("? keeps the letter at its place") << "?X.*"
                                                     << "AB.TXT"
                                                     << "AX.TXT";
    QTest::newRow("? past the name's end adds nothing") << "????????.TXT"
                                                        << "AB.DOC"
                                                        << "AB.TXT";
    QTest::newRow("no extension left") << "*."
                                       << "BRIEF.TXT"
                                       << "BRIEF";
    QTest::newRow("plain name") << "Z.TXT"
                                << "A.TXT"
                                << "Z.TXT";
}

void WildcardsTest::appliedPattern()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(QString, result);
    QCOMPARE(dos::appliedPattern(pattern, name), result);
}

QTEST_GUILESS_MAIN(WildcardsTest)
#include "WildcardsTest.moc"
