// A section read straight from a file's bytes gives what the document read from the same bytes
// gives: the same entries in the same order, the same keys and the same values.
#include "platform/files/Profile.h"
#include "platform/text/AnsiText.h"
#include "platform/text/ProfileSection.h"

#include <QtTest>

using namespace platform;

namespace {

const QStringList Sections{QStringLiteral("Sicherungsdateien"), QStringLiteral("Pfad"), QStringLiteral("Optionen"),
                           QStringLiteral("A"), QString()};

QByteArray withNul(const char *before, const char *after)
{
    return QByteArray(before) + '\0' + QByteArray(after);
}

QStringList documentEntries(const ProfileDocument &document, const QString &section)
{
    QStringList entries;
    document.forEachKeyValue(section, [&entries](QStringView key, QStringView value) {
        entries << key.toString() + u'=' + value.toString();
    });
    return entries;
}

QStringList straightEntries(const ProfileSection &section)
{
    QStringList entries;
    for (const ProfileSection::Entry &entry : section.entries)
        entries << entry.key + u'=' + fromAnsi(entry.value.toByteArray());
    return entries;
}

}  // namespace

class ProfileSectionTest : public QObject {
    Q_OBJECT

private slots:
    void readsAsTheDocument_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("saved file") << QByteArray(
            "[Sicherungsdateien]\r\nC:\\A.TXT=1\r\nD:\\B.TXT=0\r\n[Optionen]\r\nAutomatisch beenden=0\r\n"
            "Kurzhilfe=1\r\n[Pfad]\r\nPfad=D:\\\r\n");
        QTest::newRow("equal keys in other case")
            << QByteArray("[Sicherungsdateien]\r\nC:\\WINDOWS\\WIN.INI=0\r\nc:\\windows\\win.ini=1\r\n"
                          "C:\\Windows\\Win.ini=ja\r\n");
        QTest::newRow("umlauts and sharp s")
            << QByteArray("[Sicherungsdateien]\r\nC:\\Gr\xFC\xDF" "e\\\xC4.txt=1\r\nc:\\GR\xDC\xDF" "E\\\xE4.TXT=0\r\n"
                          "C:\\Ma\xDF" "e.ini=0\r\nC:\\MASSE.INI=1\r\n");
        QTest::newRow("bytes 0x80 to 0x9F")
            << QByteArray("[Sicherungsdateien]\r\nC:\\\x80\x8A.txt=1\r\nC:\\\x80\x9A.TXT=0\r\nC:\\\x81\x9F=\x85\r\n");
        QTest::newRow("blanks around keys and values")
            << QByteArray("[Sicherungsdateien]\r\n  C:\\A.TXT \t= 1 \r\n\xA0" "C:\\B.TXT\xA0=\xA0" "0\xA0\r\n"
                          "\x0B" "C:\\C.TXT\x0C=\x0C" "0\r\n");
        QTest::newRow("NUL bytes") << withNul("[Sicherungsdateien]\r\nC:\\A", "B.TXT=1\r\nC:\\C.TXT=0\r\n");
        QTest::newRow("NUL value") << withNul("[Sicherungsdateien]\r\nC:\\A.TXT=", "\r\nC:\\C.TXT=0\r\n");
        QTest::newRow("control bytes") << QByteArray("[Sicherungsdateien]\r\n\x01\x02=0\r\nC:\\\x1F.TXT=\x1B\r\n");
        QTest::newRow("lines that are no entries")
            << QByteArray("[Sicherungsdateien]\r\n=1\r\nnovalue\r\n = 0\r\nC:\\A.TXT=\r\n;C:\\B.TXT=1\r\n"
                          " ;C:\\C.TXT=1\r\n[C:\\D.TXT=1\r\nC:\\E.TXT=a=b\r\n\r\n   \r\n");
        QTest::newRow("line ends") << QByteArray("[Sicherungsdateien]\rC:\\A=1\nC:\\B=0\r\n\r\rC:\\C=1\n\rC:\\D=0");
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[Sicherungsdateien]\r\nC:\\A=1\r\n");
        QTest::newRow("UTF-8 mark only at the start")
            << QByteArray("[Sicherungsdateien]\r\n\xEF\xBB\xBF" "C:\\A=1\r\n");
        QTest::newRow("the first section of a name counts")
            << QByteArray("[Sicherungsdateien]\r\nC:\\A=1\r\n[Optionen]\r\nKurzhilfe=0\r\n[SICHERUNGSDATEIEN]\r\n"
                          "C:\\B=1\r\n[optionen]\r\nKurzhilfe=1\r\n");
        QTest::newRow("headers") << QByteArray(
            " [ Sicherungsdateien ] ; Liste\r\nC:\\A=1\r\n[Pfad\r\nPfad=C:\\\r\n[Pfad]]\r\nPfad=D:\\\r\n"
            "[ pfad ]\r\nPfad=E:\\\r\n[Optionen]x]\r\nKurzhilfe=0\r\n");
        QTest::newRow("empty section") << QByteArray("[Sicherungsdateien]\r\n[Pfad]\r\nPfad=C:\\\r\n");
        QTest::newRow("lines before the first header") << QByteArray("vorher=1\r\n[A]\r\nk=2\r\n[]\r\nk=3\r\n");
        QTest::newRow("blank line before the first header") << QByteArray("\r\n[]\r\nk=3\r\n[A]\r\nk=2\r\n");
        QTest::newRow("a header first") << QByteArray("[ ]\r\nk=3\r\n[a]\r\nK=2\r\nk=4\r\n");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("no header") << QByteArray("C:\\A=1");
        QTest::newRow("no line end at the end") << QByteArray("[Pfad]\r\nPfad=C:\\Sicherung M\xE4rz ");

        QByteArray longList("[Sicherungsdateien]\r\n");
        for (int index = 0; index < 3000; ++index)
            longList += "C:\\Ordner " + QByteArray::number(index) + "\\Datei.txt=" + QByteArray::number(index % 2) + "\r\n";
        longList += "c:\\ORDNER 1\\datei.TXT=0\r\n[Pfad]\r\nPfad=C:\\\r\n";
        QTest::newRow("long list, a key again at its end") << longList;
    }

    void readsAsTheDocument()
    {
        QFETCH(QByteArray, bytes);
        const ProfileDocument document = profileOfBytes(bytes);
        const QList<ProfileSection> sections = readProfileSections(bytes, Sections);
        QCOMPARE(sections.size(), Sections.size());
        for (qsizetype at = 0; at < Sections.size(); ++at) {
            const QString &name = Sections[at];
            QCOMPARE(straightEntries(sections[at]), documentEntries(document, name));
            const QStringList keys = document.keys(name) << QStringLiteral("Fehlt") << QStringLiteral("pfad");
            for (const QString &key : keys)
                QCOMPARE(sections[at].value(key, QStringLiteral("Vorgabe")), document.value(name, key, QStringLiteral("Vorgabe")));
        }
    }

    // Every byte but the line ends, around a key and its value: blanks are trimmed as the document
    // trims the decoded text, and any other byte stays.
    void everyByteAsTheDocument()
    {
        for (int code = 0; code < 256; ++code) {
            if (code == '\r' || code == '\n')
                continue;
            const QByteArray byte(1, char(code));
            const QByteArray bytes = "[A]\r\n" + byte + "k" + byte + "=" + byte + "v" + byte + "\r\n" + byte + "\r\n";
            const ProfileDocument document = profileOfBytes(bytes);
            const QList<ProfileSection> sections = readProfileSections(bytes, {QStringLiteral("A")});
            QVERIFY2(straightEntries(sections[0]) == documentEntries(document, QStringLiteral("A")),
                     qPrintable(QStringLiteral("byte %1").arg(code)));
        }
    }

    void namesAskedForTwice()
    {
        const QByteArray bytes("[Pfad]\r\nPfad=C:\\\r\n[PFAD]\r\nPfad=D:\\\r\n");
        const QList<ProfileSection> sections =
            readProfileSections(bytes, {QStringLiteral("Pfad"), QStringLiteral("pfad "), QStringLiteral("Fehlt")});
        QCOMPARE(straightEntries(sections[0]), QStringList{"Pfad=C:\\"});
        QCOMPARE(straightEntries(sections[1]), QStringList{"Pfad=C:\\"});
        QVERIFY(sections[2].entries.isEmpty());
        QCOMPARE(sections[2].value(QStringLiteral("Pfad"), QStringLiteral("Vorgabe")), QStringLiteral("Vorgabe"));
    }
};

QTEST_GUILESS_MAIN(ProfileSectionTest)
#include "ProfileSectionTest.moc"
