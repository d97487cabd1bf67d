// The settings file's plain logic: defaults, the first-line test, flags and the saved form.
#include "app/core/Settings.h"
#include "platform/drives/Files.h"
#include "platform/files/Profile.h"
#include "tests/support/TestMachine.h"

#include <QTest>

namespace {

QByteArray crlf(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

}  // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void defaultFileHoldsTheElevenFilesPathAndOptionsInOrder();
    void firstLineTest_data();
    void firstLineTest();
    void flags_data();
    void flags();
    void readingTakesDefaultsForMissingKeys();
    void bytesReadAsTheDocument_data();
    void bytesReadAsTheDocument();
    void savedFileHasOptionsBeforePathAndNoFilesSectionWhenEmpty();
    void unstorablePathsAreRefused_data();
    void unstorablePathsAreRefused();
    void longListComesBackWhole();
    void saveWritesRefusesOrFails_data();
    void saveWritesRefusesOrFails();
};

void SettingsTest::defaultFileHoldsTheElevenFilesPathAndOptionsInOrder()
{
    const QByteArray expected =
        crlf({"[Sicherungsdateien]", "C:\\Autoexec.bat=1", "C:\\Command.com=1", "C:\\Config.sys=1",
              "C:\\WINDOWS\\Control.ini=1", "C:\\Io.sys=1", "C:\\Msdos.sys=1", "C:\\WINDOWS\\Protocol.ini=1",
              "C:\\WINDOWS\\System.dat=1", "C:\\WINDOWS\\System.ini=1", "C:\\WINDOWS\\User.dat=1",
              "C:\\WINDOWS\\Win.ini=1", "[Pfad]", "Pfad=D:\\Tools\\Backups", "[Optionen]",
              "Automatisch beenden=0", "Kurzhilfe=1"});
    const auto document =
        settings::defaultDocument(QStringLiteral("D:\\Tools"), QStringLiteral("C:\\WINDOWS"));
    QCOMPARE(document.text().toLatin1(), expected);
}

void SettingsTest::firstLineTest_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("rejected");
    QTest::newRow("marker") << QByteArray("[VK]\r\nC:\\A.TXT=1\r\n") << true;
    QTest::newRow("zero") << QByteArray("0\r\n[Optionen]\r\n") << true;
    QTest::newRow("one without line end") << QByteArray("1") << true;
    QTest::newRow("zero ended by LF") << QByteArray("0\nx") << true;
    QTest::newRow("marker in lower case") << QByteArray("[vk]\r\n") << false;
    QTest::newRow("zero after a blank") << QByteArray(" 0\r\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("own file") << QByteArray("[Sicherungsdateien]\r\n") << false;
    QTest::newRow("ten") << QByteArray("10\r\n") << false;
    QTest::newRow("marker after a byte-order mark") << QByteArray("\xEF\xBB\xBF[VK]\r\n") << true;
    QTest::newRow("own file after a byte-order mark")
        << QByteArray("\xEF\xBB\xBF[Sicherungsdateien]\r\n") << false;
}

void SettingsTest::firstLineTest()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, rejected);
    QCOMPARE(settings::firstLineRejects(contents), rejected);
}

void SettingsTest::flags_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("on");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("2") << "2" << true;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("word") << "ja" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("hex zero") << "$0" << false;
    QTest::newRow("hex") << "$1F" << true;
    QTest::newRow("dollar alone") << "$" << true;
    QTest::newRow("zero between blanks") << " 0 " << false;
}

void SettingsTest::flags()
{
    QFETCH(QString, value);
    QFETCH(bool, on);
    QCOMPARE(settings::readFlag(value), on);
}

void SettingsTest::readingTakesDefaultsForMissingKeys()
{
    const auto document = platform::ProfileDocument::parse(
        QStringLiteral("[sicherungsdateien]\r\nC:\\A.TXT=0\r\nC:\\B.TXT=\r\nC:\\C.TXT=ja\r\n"));
    const settings::Settings read = settings::read(document);
    QCOMPARE(read.rows.size(), 3);
    QCOMPARE(read.rows[0].path, QStringLiteral("C:\\A.TXT"));
    QVERIFY(!read.rows[0].checked);
    QVERIFY(read.rows[1].checked);
    QVERIFY(read.rows[2].checked);
    QVERIFY(read.destination.isEmpty());
    QVERIFY(read.autoQuit);
    QVERIFY(read.shortHelp);
}

void SettingsTest::bytesReadAsTheDocument_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("rows");
    QTest::newRow("saved file") << crlf({"[Sicherungsdateien]", "C:\\A.TXT=1", "D:\\B.TXT=0", "[Optionen]",
                                         "Automatisch beenden=0", "Kurzhilfe=0", "[Pfad]", "Pfad=D:\\Ziel"})
                                << 2;
    QTest::newRow("equal keys in other case: the first value")
        << crlf({"[Sicherungsdateien]", "C:\\WINDOWS\\WIN.INI=0", "c:\\windows\\win.ini=1"}) << 2;
    QTest::newRow("flags that are no 0 or 1")
        << crlf({"[sicherungsdateien]", "C:\\A=ja", "C:\\B=", "C:\\C= 0 ", "C:\\D=$0", "C:\\E=$1F", "C:\\F=-1",
                 "C:\\G=00", "C:\\H=\t0", "[OPTIONEN]", "kurzhilfe=$0", "AUTOMATISCH BEENDEN= nein"})
        << 8;
    QTest::newRow("umlauts, blanks and equal keys")
        << QByteArray("[Sicherungsdateien]\r\n C:\\M\xE4rz.txt = 0 \r\nC:\\M\xC4RZ.TXT=1\r\nC:\\Ma\xDF" "e=0\r\n"
                      "[ Pfad ]\r\nPFAD = D:\\Gr\xFC\xDF" "e \r\nPfad=E:\\\r\n")
        << 3;
    QTest::newRow("entries of other sections and before the first header")
        << crlf({"C:\\Vorher=1", "[Liste]", "C:\\A=1", "[Sicherungsdateien]", "C:\\B=0", "[Sicherungsdateien]",
                 "C:\\C=1"})
        << 1;
    QTest::newRow("no files section") << crlf({"[Optionen]", "Kurzhilfe=0"}) << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
}

// The start reads the file's bytes straight; the rows, destination and flags are those of the
// document read from the same bytes.
void SettingsTest::bytesReadAsTheDocument()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, rows);
    const settings::Settings straight = settings::read(bytes);
    const settings::Settings document = settings::read(platform::profileOfBytes(bytes));
    QCOMPARE(straight.rows.size(), rows);
    QCOMPARE(straight.rows.size(), document.rows.size());
    for (qsizetype row = 0; row < rows; ++row) {
        QCOMPARE(straight.rows[row].path, document.rows[row].path);
        QCOMPARE(straight.rows[row].checked, document.rows[row].checked);
    }
    QCOMPARE(straight.destination, document.destination);
    QCOMPARE(straight.autoQuit, document.autoQuit);
    QCOMPARE(straight.shortHelp, document.shortHelp);
}

void SettingsTest::savedFileHasOptionsBeforePathAndNoFilesSectionWhenEmpty()
{
    const auto withRows = settings::savedDocument(
        {{QStringLiteral("C:\\A.TXT"), true}, {QStringLiteral("D:\\Daten\\Brief.doc"), false}}, false, true,
        QStringLiteral("D:\\"));
    QCOMPARE(withRows.text().toLatin1(),
             crlf({"[Sicherungsdateien]", "C:\\A.TXT=1", "D:\\Daten\\Brief.doc=0", "[Optionen]",
                   "Automatisch beenden=0", "Kurzhilfe=1", "[Pfad]", "Pfad=D:\\"}));
    const auto empty = settings::savedDocument({}, true, false, QStringLiteral("C:\\Backups"));
    QCOMPARE(empty.text().toLatin1(),
             crlf({"[Optionen]", "Automatisch beenden=1", "Kurzhilfe=0", "[Pfad]", "Pfad=C:\\Backups"}));
}

void SettingsTest::unstorablePathsAreRefused_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QString>("destination");
    QTest::addColumn<bool>("refused");
    QTest::newRow("ordinary") << QStringList{"C:\\Win.ini", "D:\\Grüße\\Brief.doc"} << "C:\\Backups" << false;
    QTest::newRow("equals sign") << QStringList{"C:\\a=b.txt"} << "C:\\" << true;
    QTest::newRow("not in Windows-1252")
        << QStringList{QString::fromUtf8("C:\\\u0416.txt")} << "C:\\" << true;
    QTest::newRow("trailing blank") << QStringList{"C:\\a.txt "} << "C:\\" << true;
    QTest::newRow("same path twice in other case") << QStringList{"C:\\A.TXT", "c:\\a.txt"} << "C:\\" << true;
    QTest::newRow("names differing in sharp s")
        << QStringList{"C:\\Maße.ini", "C:\\MASSE.INI"} << "C:\\" << false;
    QTest::newRow("destination not in Windows-1252")
        << QStringList{} << QString::fromUtf8("C:\\\u4e2d") << true;
}

void SettingsTest::unstorablePathsAreRefused()
{
    QFETCH(QStringList, paths);
    QFETCH(QString, destination);
    QFETCH(bool, refused);
    QList<settings::ListRow> rows;
    for (const QString &path : paths)
        rows.append({path, true});
    const auto refusal = settings::saveRefusal(rows, destination);
    QCOMPARE(refusal.has_value(), refused);
    if (refused && !paths.isEmpty())
        QVERIFY(refusal->contains(paths.last()) || refusal->contains(paths.first()));
}

void SettingsTest::longListComesBackWhole()
{
    // Far more than the 16384 bytes a fixed listing buffer would hold.
    TestMachine machine;
    QList<settings::ListRow> rows;
    for (int i = 0; i < 600; ++i) {
        rows.append(
            {QStringLiteral("D:\\Ein ziemlich langes Verzeichnis\\Unterordner %1\\Datei Nummer %1.txt")
                 .arg(i),
             i % 3 != 0});
    }
    const QString file = QStringLiteral("C:\\Orvel.ini");
    QCOMPARE(platform::writeProfile(file, settings::savedDocument(rows, false, true, QStringLiteral("C:\\"))),
             platform::dos::Ok);
    const auto document = platform::readProfile(file);
    QCOMPARE(document.error, platform::dos::Ok);
    const settings::Settings read = settings::read(document.value);
    QCOMPARE(read.rows.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        QCOMPARE(read.rows[i].path, rows[i].path);
        QCOMPARE(read.rows[i].checked, rows[i].checked);
    }
}

void SettingsTest::saveWritesRefusesOrFails_data()
{
    QTest::addColumn<QString>("programDirectory");
    QTest::addColumn<bool>("unreadableAtStart");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("error");
    QTest::newRow("written") << "C:\\Tools" << false << "C:\\Mine.txt" << false << 0;
    QTest::newRow("refused: '=' in a path") << "C:\\Tools" << false << "C:\\A=B.txt" << true << 0;
    QTest::newRow("on a CD") << "F:" << false << "C:\\Mine.txt" << false << platform::dos::AccessDenied;
    // Either would write over what the user has: the root's file, or one not read at start.
    QTest::newRow("refused: program directory unknown") << "" << false << "C:\\Mine.txt" << true << 0;
    QTest::newRow("refused: unreadable at start") << "C:\\Tools" << true << "C:\\Mine.txt" << true << 0;
}

void SettingsTest::saveWritesRefusesOrFails()
{
    QFETCH(QString, programDirectory);
    QFETCH(bool, unreadableAtStart);
    QFETCH(QString, path);
    QFETCH(bool, refused);
    QFETCH(int, error);
    TestMachine machine;
    const QString file = settings::filePath(programDirectory);
    if (programDirectory.startsWith(QLatin1Char('C'))) {
        machine.makeDirectory(programDirectory);
        machine.writeFile(file, "[Sicherungsdateien]\r\nC:\\Old.txt=1\r\n");
    }

    const settings::SaveResult saved = settings::save(programDirectory, unreadableAtStart, {{path, false}},
                                                      true, false, QStringLiteral("D:\\"));

    QCOMPARE(saved.refusal.has_value(), refused);
    QCOMPARE(saved.error, error);
    if (refused || error != platform::dos::Ok) {
        if (programDirectory.startsWith(QLatin1Char('C')))
            QCOMPARE(machine.readFile(file), QByteArray("[Sicherungsdateien]\r\nC:\\Old.txt=1\r\n"));
        return;
    }
    const auto document = platform::readProfile(file);
    QVERIFY(document.ok());
    const settings::Settings back = settings::read(document.value);
    QCOMPARE(back.rows.size(), 1);
    QCOMPARE(back.rows.first().path, path);
    QVERIFY(!back.rows.first().checked);
    QCOMPARE(back.destination, QStringLiteral("D:\\"));
    QVERIFY(back.autoQuit);
    QVERIFY(!back.shortHelp);
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
