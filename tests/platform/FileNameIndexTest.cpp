#include "platform/text/detail/FileNameIndex.h"
#include "platform/text/detail/FileNames.h"

#include <QHash>
#include <QRandomGenerator>
#include <QtTest>

using namespace platform::detail;

class FileNameIndexTest : public QObject {
    Q_OBJECT

private slots:
    // Equal exactly where the upper-cased names are, and then with one hash, whether a name's
    // letters are taken four at a time (plain ASCII) or one by one.
    void namesMatchAsUpperCased_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::newRow("ASCII") << QStringLiteral("Kleine Datei 1.ini") << QStringLiteral("KLEINE DATEI 1.INI");
        QTest::newRow("letters around the alphabet's ends")
            << QStringLiteral("@[`{azAZ") << QStringLiteral("@[`{AZaz");
        QTest::newRow("short") << QStringLiteral("a") << QStringLiteral("A");
        QTest::newRow("umlaut in a group of four") << QStringLiteral("abcä.txt") << QStringLiteral("ABCÄ.TXT");
        QTest::newRow("umlaut in the rest") << QStringLiteral("abcdä") << QStringLiteral("ABCDÄ");
        QTest::newRow("sharp s against SS") << QStringLiteral("Maße.ini") << QStringLiteral("MASSE.INI");
        QTest::newRow("sharp s against itself") << QStringLiteral("Maße.ini") << QStringLiteral("MAßE.INI");
        QTest::newRow("ligature") << QStringLiteral("ﬁx.txt") << QStringLiteral("FIX.TXT");
        QTest::newRow("other lengths") << QStringLiteral("abcd") << QStringLiteral("ABCDE");
        QTest::newRow("one letter apart") << QStringLiteral("VELKOS~1") << QStringLiteral("velkos~2");
        QTest::newRow("surrogates") << QStringLiteral("\U0001D400x") << QStringLiteral("\U0001D400X");
        QTest::newRow("empty") << QString() << QString();
    }

    void namesMatchAsUpperCased()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        const bool same = upperCaseName(a) == upperCaseName(b);
        QCOMPARE(sameFileName(a, b), same);
        QCOMPARE(sameFileName(b, a), same);
        if (same)
            QCOMPARE(fileNameHash(a), fileNameHash(b));
    }

    // Many names put in, renumbered and taken out at random (a table of 16 slots and more, so
    // that they collide in its low bits) are always found as a plain hash of their upper-cased
    // forms finds them.
    void keepsUpWithAPlainHash()
    {
        QRandomGenerator random(20261211);
        FileNameIndex index;
        QHash<qsizetype, QString> listed;  // what the index compares with, by number
        const auto nameAt = [&listed](qsizetype number) { return QStringView(listed[number]); };
        QHash<QString, qsizetype> expected;  // by upper-cased name
        const auto nameOf = [&random](int number) {
            QString name = QStringLiteral("Kleine Datei %1.ini").arg(number);
            for (QChar &c : name) {
                if (random.bounded(2) == 0)
                    c = c.toLower();
            }
            return name;
        };
        for (int step = 0; step < 20000; ++step) {
            const QString name = nameOf(random.bounded(600));
            const QString key = upperCaseName(name);
            switch (random.bounded(3)) {
            case 0:
                if (!expected.contains(key)) {
                    listed.insert(step, name);
                    index.insert(name, step, nameAt);
                    expected.insert(key, step);
                }
                break;
            case 1:
                index.renumber(name, step, nameAt);
                if (expected.contains(key)) {
                    listed.insert(step, listed.take(expected[key]));
                    expected[key] = step;
                }
                break;
            default:
                index.remove(name, nameAt);
                if (expected.contains(key))
                    listed.remove(expected.take(key));
            }
            QCOMPARE(index.size(), expected.size());
        }
        for (int number = 0; number < 600; ++number) {
            const QString name = nameOf(number);
            QCOMPARE(index.find(name, nameAt), expected.value(upperCaseName(name), -1));
        }
    }

    void anEmptyIndexFindsNothing()
    {
        FileNameIndex index;
        const auto nameAt = [](qsizetype) { return QStringView(u"WIN.INI"); };
        QCOMPARE(index.find(u"WIN.INI", nameAt), -1);
        index.remove(u"WIN.INI", nameAt);
        index.renumber(u"WIN.INI", 3, nameAt);
        QCOMPARE(index.size(), 0);
    }
};

QTEST_GUILESS_MAIN(FileNameIndexTest)
#include "FileNameIndexTest.moc"
