#include "platform/files/Profile.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace platform;

namespace {

const QString Settings = QStringLiteral("; Kopf\n"
                                        "vorher=1\n"
                                        "[Sicherungsdateien]\n"
                                        "C:\\Autoexec.bat=1\n"
                                        "C:\\WINDOWS\\Win.ini=0\n"
                                        "\n"
                                        "[ Pfad ]\n"
                                        " Pfad = C:\\Programme\\Velko Save\\Backups \n"
                                        "[Optionen]\n"
                                        "Kurzhilfe=\n"
                                        "Übersicht=7\n"
                                        "Automatisch beenden=1\n"
                                        "AUTOMATISCH BEENDEN=0\n"
                                        ";Kommentar=9\n");

QString crLf(const QString &lines)
{
    QString text = lines;
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("exact") << "Sicherungsdateien"
                               << "C:\\Autoexec.bat"
                               << "1";
        QTest::newRow("other case") << "SICHERUNGSDATEIEN"
                                    << "c:\\windows\\WIN.INI"
                                    << "0";
        QTest::newRow("blanks trimmed") << "Pfad"
                                        << "Pfad"
                                        << "C:\\Programme\\Velko Save\\Backups";
        QTest::newRow("empty value is no default") << "Optionen"
                                                   << "Kurzhilfe"
                                                   << "";
        QTest::newRow("first of two equal keys") << "optionen"
                                                 << "Automatisch beenden"
                                                 << "1";
        QTest::newRow("umlaut in other case") << "Optionen"
                                              << "üBERSICHT"
                                              << "7";
        QTest::newRow("missing key") << "Optionen"
                                     << "Fehlt"
                                     << "Vorgabe";
        QTest::newRow("missing section") << "Fehlt"
                                         << "Pfad"
                                         << "Vorgabe";
        QTest::newRow("comment is no key") << "Optionen"
                                           << ";Kommentar"
                                           << "Vorgabe";
        QTest::newRow("before the first header") << ""
                                                 << "vorher"
                                                 << "1";
    }

    void readsValues()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const ProfileDocument document = ProfileDocument::parse(Settings);
        QCOMPARE(document.value(section, key, QStringLiteral("Vorgabe")), expected);
        QCOMPARE(ProfileDocument::parse(crLf(Settings)).value(section, key, QStringLiteral("Vorgabe")),
                 expected);
    }

    // For machine.ini, which refuses what Windows passes over and names the line.
    void numbersEntriesAndStrayLines()
    {
        ProfileDocument document = ProfileDocument::parse(
            QStringLiteral("x\n[A]\r\nk=1\n; c=0\nstray\n[a]\nK=2\n[B]\nj=3\n[offen\n\n"));
        const auto entries = document.entries(QStringLiteral(" a "));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].number, 3);
        QCOMPARE(entries[0].key + u'=' + entries[0].value, QStringLiteral("k=1"));
        QCOMPARE(entries[1].number, 7);
        QCOMPARE(entries[1].key + u'=' + entries[1].value, QStringLiteral("K=2"));

        QStringList stray;
        for (const auto &line : document.strayLines())
            stray.append(QString::number(line.number) + u':' + line.value);
        QCOMPARE(stray, QStringList(
                            {QStringLiteral("1:x"), QStringLiteral("5:stray"), QStringLiteral("10:[offen")}));

        document.setValue(QStringLiteral("B"), QStringLiteral("neu"), QStringLiteral("4"));
        QCOMPARE(document.entries(QStringLiteral("B")).last().number, 0);
    }

    void listsKeysInFileOrder()
    {
        const ProfileDocument document = ProfileDocument::parse(Settings);
        QCOMPARE(document.keys(QStringLiteral("sicherungsdateien")),
                 (QStringList{QStringLiteral("C:\\Autoexec.bat"), QStringLiteral("C:\\WINDOWS\\Win.ini")}));
        QCOMPARE(document.keys(QStringLiteral("Fehlt")), QStringList());
    }

    // Its lines refer into the text parsed: neither the caller's buffer nor the first copy may be
    // needed later.
    void outlivesTheTextItWasParsedFrom()
    {
        QString buffer = QStringLiteral("[A]\r\nk=alt\r\n");
        std::optional<ProfileDocument> original = ProfileDocument::parse(QString::fromRawData(buffer.constData(), buffer.size()));
        buffer.fill(u'x');
        const ProfileDocument copy = *original;
        original.reset();
        QCOMPARE(copy.value(QStringLiteral("a"), QStringLiteral("K"), QString()), QStringLiteral("alt"));
        QCOMPARE(copy.text(), QStringLiteral("[A]\r\nk=alt\r\n"));
    }

    // Keys of every length match without regard to case, and only equal ones do.
    void equalKeysReadTheFirstValue()
    {
        const ProfileDocument document = ProfileDocument::parse(QStringLiteral(
            "[S]\nabcd=1\nABCD=2\nabcde=3\nabc=4\n ABCDE =5\nÄbcdefgh=6\näBCDEFGH=7\nabcdefgh=8\n"
            // The long s folds to s: a key with it equals one in plain ASCII, Z to A and the signs
            // beside them in the code table included.
            "ſtuvwxyz@[`{=9\nSTUVWXYZ@[`{=10\nstuvwxyz@[`{=11\nSTUVWXYZ`{@[=12\n"));
        QStringList read;
        document.forEachKeyValue(QStringLiteral("s"), [&read](QStringView key, QStringView value) {
            read << key.toString() + u'=' + value.toString();
        });
        QCOMPARE(read, QStringList({"abcd=1", "ABCD=1", "abcde=3", "abc=4", "ABCDE=3", "Äbcdefgh=6",
                                    "äBCDEFGH=6", "abcdefgh=8", "ſtuvwxyz@[`{=9", "STUVWXYZ@[`{=9",
                                    "stuvwxyz@[`{=9", "STUVWXYZ`{@[=12"}));
        QCOMPARE(document.value(QStringLiteral("S"), QStringLiteral("ABCDEFGH"), QString()), QStringLiteral("8"));
        QCOMPARE(document.value(QStringLiteral("S"), QStringLiteral("äbcdefgh"), QString()), QStringLiteral("6"));
    }

    // Each key with what value() reads for it, equal keys included.
    void listsKeyValuesAsRead()
    {
        ProfileDocument document = ProfileDocument::parse(Settings + QStringLiteral("[optionen]\nZweite=1\n"));
        document.setValue(QStringLiteral("Optionen"), QStringLiteral("Neu"), QStringLiteral(" 5 "));
        for (const QString &section :
             {QStringLiteral("Optionen"), QStringLiteral("Sicherungsdateien"), QStringLiteral("Fehlt")}) {
            QStringList read;
            for (const QString &key : document.keys(section))
                read << key + u'=' + document.value(section, key, QStringLiteral("Vorgabe"));
            QStringList listed;
            document.forEachKeyValue(section, [&listed](QStringView key, QStringView value) {
                listed << key.toString() + u'=' + value.toString();
            });
            QCOMPARE(listed, read);
        }
        QStringList options;
        document.forEachKeyValue(QStringLiteral("optionen"),
                                 [&options](QStringView, QStringView value) { options << value.toString(); });
        QCOMPARE(options.at(3), QStringLiteral("1"));
    }

    void writes_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("writes");  // section|key|value
        QTest::addColumn<QString>("after");
        QTest::newRow("replaces in place, keeps the key's spelling")
            << "[A]\nSchluessel=1\nb=2\n"
            << QStringList{"a|SCHLUESSEL|9"} << "[A]\nSchluessel=9\nb=2\n";
        QTest::newRow("new key at the end of its section")
            << "[A]\na=1\n[B]\nb=2\n"
            << QStringList{"a|c|3"} << "[A]\na=1\nc=3\n[B]\nb=2\n";
        QTest::newRow("new key before the blank line")
            << "[A]\na=1\n\n[B]\nb=2\n"
            << QStringList{"A|c|3"} << "[A]\na=1\nc=3\n\n[B]\nb=2\n";
        QTest::newRow("new key after a comment") << "[A]\na=1\n;Ende\n\n"
                                                 << QStringList{"A|b|2"} << "[A]\na=1\n;Ende\nb=2\n\n";
        QTest::newRow("new section at the end") << "[A]\na=1\n"
                                                << QStringList{"Neu|k|v"} << "[A]\na=1\n[Neu]\nk=v\n";
        QTest::newRow("keys in the order written")
            << "" << QStringList{"S|c|1", "S|a|2", "s|b|3", "S|A|4"} << "[S]\nc=1\na=4\nb=3\n";
        QTest::newRow("the default settings")
            << ""
            << QStringList{"Sicherungsdateien|C:\\Autoexec.bat|1", "Sicherungsdateien|C:\\Io.sys|1",
                           "Pfad|Pfad|D:\\Backups", "Optionen|Automatisch beenden|0", "Optionen|Kurzhilfe|1"}
            << "[Sicherungsdateien]\nC:\\Autoexec.bat=1\nC:\\Io.sys=1\n[Pfad]\nPfad=D:\\Backups\n"
               "[Optionen]\nAutomatisch beenden=0\nKurzhilfe=1\n";
        QTest::newRow("comments and other lines stay")
            << "; Kopf\n[A]\n  ; eingerückt\nkein Eintrag\na=1\n"
            << QStringList{"A|a|2"} << "; Kopf\n[A]\n  ; eingerückt\nkein Eintrag\na=2\n";
        QTest::newRow("untouched lines keep their blanks")
            << "[ A ] ; Kopf\n a = 1 \n b = 2\n"
            << QStringList{"a|b|3"} << "[ A ] ; Kopf\n a = 1 \nb=3\n";
        QTest::newRow("first of two equal keys is replaced") << "[A]\na=1\nA=2\n"
                                                             << QStringList{"A|a|9"} << "[A]\na=9\nA=2\n";
        QTest::newRow("lines before the first header stay first")
            << "x=1\n[A]\n"
            << QStringList{"A|a|1", "|x|2"} << "x=2\n[A]\na=1\n";
        QTest::newRow("a value with blanks reads as the file gives it")
            << "[A]\na=1\n" << QStringList{"A|a| mit Blanks ", "A|b| "} << "[A]\na= mit Blanks \nb= \n";
    }

    void writes()
    {
        QFETCH(QString, before);
        QFETCH(QStringList, writes);
        QFETCH(QString, after);
        ProfileDocument document = ProfileDocument::parse(crLf(before));
        for (const QString &write : writes) {
            const QStringList parts = write.split(u'|');
            document.setValue(parts[0], parts[1], parts[2]);
        }
        QCOMPARE(document.text(), crLf(after));
        // What the document reads is what the file it writes reads, as with Windows.
        const ProfileDocument again = ProfileDocument::parse(document.text());
        for (const QString &write : writes) {
            const QStringList parts = write.split(u'|');
            QCOMPARE(document.value(parts[0], parts[1], "-"), again.value(parts[0], parts[1], "-"));
        }
    }

    void keepsLineEnds_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("each line its own end") << "[A]\na=1\r\nb=2\rc=3\n"
                                               << "[A]\na=1\r\nb=9\rc=3\n";
        QTest::newRow("last line without end stays so") << "[A]\r\nb=2"
                                                        << "[A]\r\nb=9";
        QTest::newRow("new key after a last line without end") << "[A]\r\na=1"
                                                               << "[A]\r\na=1\r\nb=9\r\n";
    }

    void keepsLineEnds()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        ProfileDocument document = ProfileDocument::parse(before);
        document.setValue(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("9"));
        QCOMPARE(document.text(), after);
    }

    // What Windows takes from a file: its line ends, its headers, a leading UTF-8 mark.
    void readsFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("UTF-8 mark") << QByteArray(
            "\xEF\xBB\xBF[Sicherungsdateien]\r\nC:\\Io.sys=1\r\nC:\\M\xE4rz.txt=0\r\n")
                                    << "Sicherungsdateien" << QStringList{"C:\\Io.sys", "C:\\März.txt"}
                                    << QStringList{"1", "0"};
        QTest::newRow("CR only") << QByteArray("[A]\ra=1\rb=0\r") << "A" << QStringList{"a", "b"}
                                 << QStringList{"1", "0"};
        QTest::newRow("stray CR in CR LF")
            << QByteArray("[A]\r\na=1\rb=0\r\n") << "A" << QStringList{"a", "b"} << QStringList{"1", "0"};
        QTest::newRow("LF only") << QByteArray("[A]\na=1\nb=0") << "A" << QStringList{"a", "b"}
                                 << QStringList{"1", "0"};
        QTest::newRow("header without ] is no header") << QByteArray("[A]\r\na=1\r\n[B\r\nb=0\r\n") << "A"
                                                       << QStringList{"a", "b"} << QStringList{"1", "0"};
        QTest::newRow("no section from a header without ]")
            << QByteArray("[A]\r\na=1\r\n[B\r\nb=0\r\n") << "B" << QStringList{} << QStringList{};
        QTest::newRow("name runs to the last ]")
            << QByteArray("[A]]\r\na=1\r\n[A]\r\nb=0\r\n") << "A]" << QStringList{"a"} << QStringList{"1"};
        QTest::newRow("text after the last ]")
            << QByteArray("[A] ; Liste\r\na=1\r\n") << "A" << QStringList{"a"} << QStringList{"1"};
    }

    void readsFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, section);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, values);
        TestMachine pc;
        const QString path = QStringLiteral("D:\\Orvel.ini");
        pc.writeFile(path, bytes);
        const auto document = readProfile(path);
        QCOMPARE(document.error, 0);
        QCOMPARE(document.value.keys(section), keys);
        for (qsizetype index = 0; index < keys.size(); ++index)
            QCOMPARE(profileString(path, section, keys[index], QStringLiteral("Vorgabe")), values[index]);
    }

    // Only the key written changes; every other byte of the file stays.
    void writingOneKeyKeepsTheRest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("blanks, comments, blank lines")
            << QByteArray("; Velko\r\n[Sicherungsdateien] ; Liste\r\nC:\\Io.sys = 1\r\n\r\n"
                          "[ Pfad ]\r\n Pfad = C:\\Alt \r\n\r\n[Optionen]\r\nKurzhilfe =1")
            << QByteArray("; Velko\r\n[Sicherungsdateien] ; Liste\r\nC:\\Io.sys = 1\r\n\r\n"
                          "[ Pfad ]\r\nPfad=D:\\Neu\r\n\r\n[Optionen]\r\nKurzhilfe =1");
        QTest::newRow("LF line ends") << QByteArray("[Pfad]\nPfad=C:\\Alt\n[Optionen]\nKurzhilfe=1\n")
                                      << QByteArray("[Pfad]\nPfad=D:\\Neu\n[Optionen]\nKurzhilfe=1\n");
        QTest::newRow("UTF-8 mark stays") << QByteArray("\xEF\xBB\xBF[Pfad]\r\nPfad=C:\\Alt\r\n")
                                          << QByteArray("\xEF\xBB\xBF[Pfad]\r\nPfad=D:\\Neu\r\n");
        QTest::newRow("new section after a last line without end")
            << QByteArray("[A]\r\na = 1") << QByteArray("[A]\r\na = 1\r\n[Pfad]\r\nPfad=D:\\Neu\r\n");
        QTest::newRow("lost entries come back")
            << QByteArray(
                   "[Sicherungsdateien]\r\nC:\\Io.sys=1\rC:\\Msdos.sys=0\r\n[Pfad]\r\nPfad=C:\\Alt\r\n")
            << QByteArray(
                   "[Sicherungsdateien]\r\nC:\\Io.sys=1\rC:\\Msdos.sys=0\r\n[Pfad]\r\nPfad=D:\\Neu\r\n");
    }

    void writingOneKeyKeepsTheRest()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        TestMachine pc;
        const QString path = QStringLiteral("D:\\Orvel.ini");
        pc.writeFile(path, before);
        QCOMPARE(writeProfileString(path, QStringLiteral("Pfad"), QStringLiteral("Pfad"),
                                    QStringLiteral("D:\\Neu")),
                 0);
        QCOMPARE(pc.readFile(path), after);
    }

    void emptiness()
    {
        QVERIFY(ProfileDocument().isEmpty());
        QVERIFY(ProfileDocument::parse(QString()).isEmpty());
        QVERIFY(!ProfileDocument::parse(QStringLiteral("[A]")).isEmpty());
        QVERIFY(!ProfileDocument::parse(QStringLiteral("; nur ein Kommentar")).isEmpty());
        ProfileDocument document;
        document.setValue(QStringLiteral("A"), QStringLiteral("a"), QString());
        QVERIFY(!document.isEmpty());
    }

    void longListsStayInOrder()
    {
        ProfileDocument document = ProfileDocument::parse(QStringLiteral("[Liste]\n\n[Pfad]\nPfad=C:\\\n"));
        QStringList written;
        for (int index = 0; index < 3000; ++index) {
            const QString key = QStringLiteral("C:\\Ordner %1\\Datei.txt").arg(index);
            document.setValue(QStringLiteral("Liste"), key, QString::number(index % 2));
            written << key;
        }
        document.setValue(QStringLiteral("Liste"), QStringLiteral("c:\\ordner 7\\datei.txt"),
                          QStringLiteral("x"));
        const ProfileDocument reread = ProfileDocument::parse(document.text());
        QCOMPARE(reread.keys(QStringLiteral("Liste")), written);
        QCOMPARE(reread.value(QStringLiteral("Liste"), written[2999], QString()), QStringLiteral("1"));
        QCOMPARE(reread.value(QStringLiteral("Liste"), written[7], QString()), QStringLiteral("x"));
        QCOMPARE(reread.value(QStringLiteral("Pfad"), QStringLiteral("Pfad"), QString()),
                 QStringLiteral("C:\\"));
    }

    void filesAreWindows1252()
    {
        TestMachine pc;
        const QString path = QStringLiteral("D:\\Orvel.ini");
        QCOMPARE(writeProfileString(path, QStringLiteral("Pfad"), QStringLiteral("Pfad"),
                                    QStringLiteral("D:\\Sicherung März")),
                 0);
        QCOMPARE(writeProfileString(path, QStringLiteral("Optionen"), QStringLiteral("Kurzhilfe"),
                                    QStringLiteral("1")),
                 0);
        QCOMPARE(pc.readFile(path),
                 QByteArray("[Pfad]\r\nPfad=D:\\Sicherung M\xE4rz\r\n[Optionen]\r\nKurzhilfe=1\r\n"));
        QCOMPARE(profileString(QStringLiteral("d:\\orvel.ini"), QStringLiteral("PFAD"),
                               QStringLiteral("pfad"), QString()),
                 QStringLiteral("D:\\Sicherung März"));
    }

    void missingFilesReadAsEmpty()
    {
        TestMachine pc;
        for (const QString &path :
             {QStringLiteral("D:\\Fehlt.ini"), QStringLiteral("D:\\Fehlt\\Fehlt.ini")}) {
            const auto document = readProfile(path);
            QCOMPARE(document.error, 0);
            QVERIFY(document.value.isEmpty());
            QCOMPARE(profileString(path, QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("v")),
                     QStringLiteral("v"));
        }
        QCOMPARE(readProfile(QStringLiteral("E:\\Orvel.ini")).error, dos::NotReady);
        QCOMPARE(profileString(QStringLiteral("E:\\Orvel.ini"), QStringLiteral("A"), QStringLiteral("a"),
                               QStringLiteral("v")),
                 QStringLiteral("v"));
    }

    void failedWritesLeaveTheFileAlone_data()
    {
        QTest::addColumn<quint8>("attributes");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("unencodable value") << quint8(attr::Archive) << QStringLiteral("\u0416") << 87;
        QTest::newRow("read-only file")
            << quint8(attr::ReadOnly) << QStringLiteral("2") << int(dos::AccessDenied);
    }

    void failedWritesLeaveTheFileAlone()
    {
        QFETCH(quint8, attributes);
        QFETCH(QString, value);
        QFETCH(int, error);
        TestMachine pc;
        const QString path = QStringLiteral("D:\\Orvel.ini");
        pc.writeFile(path, "[A]\r\na=1\r\n", attributes);
        QCOMPARE(writeProfileString(path, QStringLiteral("A"), QStringLiteral("a"), value), error);
        QCOMPARE(pc.readFile(path), QByteArray("[A]\r\na=1\r\n"));
        QCOMPARE(writeProfileString(QStringLiteral("G:\\Orvel.ini"), QStringLiteral("A"), QStringLiteral("a"),
                                    QStringLiteral("1")),
                 dos::InvalidDrive);
    }
};

QTEST_GUILESS_MAIN(ProfileTest)
#include "ProfileTest.moc"
