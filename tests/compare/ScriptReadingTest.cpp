// Restore.bat read back: the values it was composed from, and nothing from a script the backup
// run did not write.
#include "backup/core/RestoreScript.h"
#include "platform/drives/Files.h"
#include "platform/text/OemText.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace backup;

Q_DECLARE_METATYPE(QList<backup::ScriptFile>)

namespace {

bool operator==(const ScriptFile &a, const ScriptFile &b)
{
    return a.shortSourcePath == b.shortSourcePath && a.copyDosName == b.copyDosName
           && a.displayName == b.displayName && a.attributes == b.attributes;
}

const ScriptFile ConfigSys{"C:\\CONFIG.SYS", "CONFIG.SYS", "CONFIG.SYS", 32};
const ScriptFile LongName{"C:\\PROGRA~1\\EINELA~1.TXT", "EINELA~2.TXT", "Eine lange Datei.txt", 0};
const ScriptFile Umlaut{"C:\\WINDOWS\\ÜBERSI~1.INI", "ÜBERSI~1.INI", "Übersicht.ini", 39};
const ScriptFile OnD{"D:\\DATEN\\NOTIZEN.TXT", "NOTIZEN.TXT", "Notizen.txt", 1};

QStringList fixtureLines()
{
    return composeRestoreScript("C:\\WINDOWS", "07.12.99", "14:05:33", {ConfigSys, LongName, Umlaut});
}

}  // namespace

class ScriptReadingTest : public QObject {
    Q_OBJECT

private slots:
    void composedLinesReadBack_data()
    {
        QTest::addColumn<QString>("windowsShort");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QList<ScriptFile>>("files");
        QTest::newRow("no file") << "C:\\WINDOWS"
                                 << "07.12.99" << QList<ScriptFile>{};
        QTest::newRow("8.3 name, long name, umlaut, D: file")
            << "C:\\WINDOWS"
            << "07.12.99" << QList<ScriptFile>{ConfigSys, LongName, Umlaut, OnD};
        QTest::newRow("ten-character date, Windows elsewhere") << "E:\\WIN98"
                                                               << "07.12.1999" << QList<ScriptFile>{OnD};
        QList<ScriptFile> everyValue;
        for (const int value : {0, 1, 2, 3, 4, 5, 6, 7, 32, 33, 34, 35, 36, 37, 38, 39})
            everyValue.append({QStringLiteral("C:\\F%1.INI").arg(value), QStringLiteral("F%1.INI").arg(value),
                               QStringLiteral("f%1.ini").arg(value), quint8(value)});
        QTest::newRow("every attribute value the script sets") << "C:\\WINDOWS"
                                                               << "07.12.99" << everyValue;
    }

    void composedLinesReadBack()
    {
        QFETCH(QString, windowsShort);
        QFETCH(QString, date);
        QFETCH(QList<ScriptFile>, files);
        const auto script = parseRestoreScript(composeRestoreScript(windowsShort, date, "14:05:33", files));
        QVERIFY(script);
        QCOMPARE(script->windowsShort, windowsShort);
        QCOMPARE(script->date, date);
        QCOMPARE(script->time, QStringLiteral("14:05:33"));
        QCOMPARE(script->files.size(), files.size());
        for (qsizetype i = 0; i < files.size(); ++i)
            QVERIFY2(script->files[i] == files[i], qPrintable(files[i].displayName));
    }

    void attributesOutsideTheTableReadAsNone()
    {
        // 16 and 48 give no suffix, so the restore sets no attribute: that is what is read.
        const ScriptFile folderBit{"C:\\A.INI", "A.INI", "A.ini", 48};
        const auto script =
            parseRestoreScript(composeRestoreScript("C:\\WINDOWS", "07.12.99", "14:05:33", {folderBit}));
        QVERIFY(script);
        QCOMPARE(script->files.value(0).attributes, quint8(0));
    }

    void otherLinesAreRefused_data()
    {
        QTest::addColumn<QStringList>("lines");
        const QStringList fixture = fixtureLines();
        QStringList extraLine = fixture;
        extraLine.insert(30, "del C:\\CONFIG.SYS");
        QTest::newRow("a line added by hand") << extraLine;
        QTest::newRow("a block of other lines")
            << fixture.mid(0, 22) + QStringList(8, "rem") + fixture.mid(22);
        QStringList copyElsewhere = fixture;
        copyElsewhere[24] = "copy CONFIG.SYS C:\\AUTOEXEC.BAT";
        QTest::newRow("copy line changed") << copyElsewhere;
        QStringList banner = fixture;
        banner[4] = "echo * anders *";
        QTest::newRow("banner changed") << banner;
        QTest::newRow("tail cut off") << fixture.mid(0, fixture.size() - 1);
        QTest::newRow("head only") << fixture.mid(0, 22);
        QTest::newRow("empty") << QStringList{};
        QStringList doubled = fixture;
        doubled[22] = "if exist C:\\CONFIG.SYS attrib C:\\AUTOEXEC.BAT -r -h -s -a";
        QTest::newRow("line a names two files") << doubled;
    }

    void otherLinesAreRefused()
    {
        QFETCH(QStringList, lines);
        QVERIFY(!parseRestoreScript(lines));
    }

    void readFromTheFolder_data()
    {
        QTest::addColumn<QByteArray>("bytes");  // null: no Restore.bat
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("files");
        const QByteArray written = *platform::oemLines(fixtureLines());
        QTest::newRow("as the backup run writes it") << written << 0 << 3;
        QTest::newRow("no Restore.bat") << QByteArray() << int(platform::dos::FileNotFound) << 0;
        QTest::newRow("last line end missing") << written.chopped(2) << ScriptNotRecognised << 0;
        QTest::newRow("LF line ends")
            << QByteArray(written).replace("\r\n", "\n") << ScriptNotRecognised << 0;
        QTest::newRow("empty file") << QByteArray("") << ScriptNotRecognised << 0;
    }

    void readFromTheFolder()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, error);
        QFETCH(int, files);
        TestMachine pc;
        pc.makeDirectory("D:\\Sicherung");
        if (!bytes.isNull())
            pc.writeFile("D:\\Sicherung\\Restore.bat", bytes);
        const auto script = readRestoreScript("D:\\Sicherung");
        QCOMPARE(script.error, error);
        QCOMPARE(script.value.files.size(), files);
        if (files > 0)
            QVERIFY(script.value.files[2] == Umlaut);
    }
};

QTEST_GUILESS_MAIN(ScriptReadingTest)
#include "ScriptReadingTest.moc"
