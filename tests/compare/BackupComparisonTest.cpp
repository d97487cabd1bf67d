// A backup folder made by the backup run, compared with the files at their places.
#include "compare/core/BackupComparison.h"
#include "backup/core/RestoreScript.h"
#include "backup/core/Runner.h"
#include "platform/drives/Files.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

#include <sys/stat.h>

using namespace compare;

Q_DECLARE_METATYPE(compare::FileState)

namespace {

const QString Backup = QStringLiteral("D:\\Sicherung");

struct Quiet : backup::RunObserver {
    QStringList events;
    void missing(const backup::MarkedFile &file) override { events << "missing " + file.path; }
    void copyFailed(const backup::MarkedFile &file, const QString &, int error) override
    {
        events << QStringLiteral("copy failed %1 %2").arg(file.path).arg(error);
    }
    void folderFailed(int error) override { events << QStringLiteral("folder failed %1").arg(error); }
    void scriptFailed() override { events << "script failed"; }
    void pifFailed() override {}  // the test PC has no restore.pif to copy
    void progress(int, int) override {}
};

// Saves the sources into the destination as "&Sicherung starten !" does; false when a file failed.
bool backUp(const QStringList &sources, const QString &destination)
{
    backup::RunRequest request;
    int row = 0;
    for (const QString &source : sources)
        request.files.append({row++, source, platform::fileNamePart(source)});
    request.destination = destination;
    request.programDirectory = QStringLiteral("C:\\Programme\\Velko Save");
    request.windowsShort = QStringLiteral("C:\\WINDOWS");
    request.started = QDateTime(QDate(2026, 12, 10), QTime(9, 5, 7));
    Quiet observer;
    const backup::RunSummary summary = backup::runBackup(request, observer);
    if (!observer.events.isEmpty())
        qWarning("%s", qPrintable(observer.events.join(u'\n')));
    return summary.saved == sources.size();
}

const QByteArray SystemIni = "[boot]\r\n"
                             "shell=Explorer.exe\r\n"
                             "system.drv=system.drv\r\n"
                             "\r\n"
                             "[386Enh]\r\n"
                             "mouse=*vmouse\r\n"
                             "device=*vshare\r\n";

// Every file, folder and attribute record below the PC's folder with its size, time and bytes.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        QFile file(info.filePath());
        const QByteArray bytes =
            info.isFile() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        entries << QStringLiteral("%1 %2 %3 %4")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch())
                       .arg(QString::fromLatin1(bytes.toHex()));
    }
    entries.sort();
    return entries;
}

QStringList shown(const QList<DiffLine> &lines)
{
    QStringList result;
    for (const DiffLine &line : lines) {
        const char mark = line.kind == DiffLine::Kind::Removed   ? '-'
                          : line.kind == DiffLine::Kind::Added   ? '+'
                          : line.kind == DiffLine::Kind::Context ? ' '
                                                                 : '@';
        result << (mark == '@' ? line.text : QLatin1Char(mark) + line.text);
    }
    return result;
}

}  // namespace

class BackupComparisonTest : public QObject {
    Q_OBJECT

private slots:
    void eachState_data()
    {
        QTest::addColumn<QString>("change");  // what happens after the backup
        QTest::addColumn<FileState>("state");
        QTest::addColumn<bool>("copyExists");
        QTest::addColumn<bool>("originalExists");
        QTest::addColumn<QString>("stateText");
        QTest::newRow("nothing") << "" << FileState::Unchanged << true << true << "unverändert";
        QTest::newRow("a line of the original")
            << "write" << FileState::Changed << true << true << "geändert";
        QTest::newRow("original deleted")
            << "delete original" << FileState::OriginalMissing << true << false << "Original fehlt";
        QTest::newRow("copy deleted")
            << "delete copy" << FileState::CopyMissing << false << true << "Kopie fehlt";
        QTest::newRow("both deleted")
            << "delete both" << FileState::CopyMissing << false << false << "Kopie fehlt";
        QTest::newRow("attributes of the original")
            << "attributes" << FileState::AttributesChanged << true << true << "nur Attribute geändert";
        QTest::newRow("a folder in the original's place")
            << "folder" << FileState::OriginalMissing << true << false << "Original fehlt";
        QTest::newRow("a FIFO in the original's place")
            << "fifo" << FileState::Unreadable << true << true << "nicht lesbar";
    }

    void eachState()
    {
        QFETCH(QString, change);
        QFETCH(FileState, state);
        QFETCH(bool, copyExists);
        QFETCH(bool, originalExists);
        QFETCH(QString, stateText);
        TestMachine pc;
        const QString original = QStringLiteral("C:\\WINDOWS\\SYSTEM.INI");
        const QString copy = Backup + QStringLiteral("\\SYSTEM.INI");
        pc.writeFile(original, SystemIni, platform::attr::Archive | platform::attr::ReadOnly);
        pc.makeDirectory(Backup);
        QVERIFY(backUp({original}, Backup));

        if (change == "write")
            pc.writeFile(original, QByteArray(SystemIni).replace("*vmouse", "C:\\MAUS.VXD"));
        if (change == "attributes")
            QCOMPARE(platform::setFileAttributes(original, platform::attr::Archive), 0);
        if (change == "delete original" || change == "delete both" || change == "folder") {
            QCOMPARE(platform::setFileAttributes(original, 0), 0);
            QCOMPARE(platform::deleteFile(original), 0);
        }
        if (change == "folder")
            pc.makeDirectory(original);
        if (change == "delete copy" || change == "delete both") {
            QCOMPARE(platform::setFileAttributes(copy, 0), 0);
            QCOMPARE(platform::deleteFile(copy), 0);
        }
        if (change == "fifo") {
            const QString host = pc.host(original);
            QVERIFY(QFile::remove(host));
            QCOMPARE(::mkfifo(QFile::encodeName(host).constData(), 0600), 0);
        }

        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.error, 0);
        QCOMPARE(comparison.scriptPath, QStringLiteral("D:\\Sicherung\\Restore.bat"));
        QVERIFY(comparison.scriptWritten.isValid());
        QCOMPARE(comparison.files.size(), 1);
        const ComparedFile &row = comparison.files.first();
        QCOMPARE(row.state, state);
        QCOMPARE(compare::stateText(row.state), stateText);
        QCOMPARE(row.name, QStringLiteral("SYSTEM.INI"));
        QCOMPARE(row.place, QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(row.copy.path, copy);
        QCOMPARE(row.original.path, original);
        QCOMPARE(row.copy.exists, copyExists);
        QCOMPARE(row.original.exists, originalExists);
        QCOMPARE(row.savedAttributes, quint8(platform::attr::Archive | platform::attr::ReadOnly));
        if (copyExists)
            QCOMPARE(row.copy.size, SystemIni.size());
        if (state == FileState::Unchanged) {
            QCOMPARE(row.original.size, SystemIni.size());
            QCOMPARE(row.original.written, row.copy.written);  // the copy keeps the time
        }
        if (state == FileState::Changed)
            QCOMPARE(row.original.size, SystemIni.size() + 4);
        if (state == FileState::Unreadable)
            QCOMPARE(row.readError, int(platform::dos::AccessDenied));
    }

    void oneFileOfEachStateAndTheSummary()
    {
        TestMachine pc;
        const QStringList sources = {"C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT", "C:\\WINDOWS\\WIN.INI",
                                     "C:\\WINDOWS\\SYSTEM.INI", "C:\\MSDOS.SYS"};
        for (const QString &source : sources)
            pc.writeFile(source, source.toLatin1() + "\r\n", source == "C:\\MSDOS.SYS" ? 7 : 32);
        pc.makeDirectory(Backup);
        QVERIFY(backUp(sources, Backup));
        QCOMPARE(platform::deleteFile("C:\\AUTOEXEC.BAT"), 0);
        QCOMPARE(platform::deleteFile("D:\\Sicherung\\WIN.INI"), 0);
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", "[boot]\r\n");
        QCOMPARE(platform::setFileAttributes("C:\\MSDOS.SYS", 39), 0);

        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.error, 0);
        QStringList rows;
        for (const ComparedFile &file : comparison.files)
            rows << file.place + u' ' + file.name + u' ' + compare::stateText(file.state);
        QCOMPARE(rows, QStringList({"C:\\ CONFIG.SYS unverändert", "C:\\ AUTOEXEC.BAT Original fehlt",
                                    "C:\\WINDOWS WIN.INI Kopie fehlt", "C:\\WINDOWS SYSTEM.INI geändert",
                                    "C:\\ MSDOS.SYS nur Attribute geändert"}));
        QCOMPARE(summaryText(summarize(comparison.files)),
                 QStringLiteral("1 Dateien unverändert, 2 geändert, 2 fehlen"));
    }

    void summaryNamesUnreadableFilesOnlyWhenThereAreSome_data()
    {
        QTest::addColumn<QList<FileState>>("states");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QList<FileState>{} << "0 Dateien unverändert, 0 geändert, 0 fehlen";
        QTest::newRow("unreadable") << QList<FileState>{FileState::Unreadable, FileState::Unchanged}
                                    << "1 Dateien unverändert, 0 geändert, 0 fehlen, 1 nicht lesbar";
    }

    void summaryNamesUnreadableFilesOnlyWhenThereAreSome()
    {
        QFETCH(QList<FileState>, states);
        QFETCH(QString, text);
        QList<ComparedFile> files;
        for (const FileState state : states)
            files.append(ComparedFile{{}, {}, state, {}, {}, 0, 0});
        QCOMPARE(summaryText(summarize(files)), text);
    }

    // The pairs of copy and target come from the script exactly as the backup run wrote them.
    void scriptPairs_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("earlierCopy");  // a file in the destination before the run
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("copy");
        QTest::newRow("8.3 name") << "C:\\CONFIG.SYS" << Backup << ""
                                  << "CONFIG.SYS"
                                  << "C:\\"
                                  << "D:\\Sicherung\\CONFIG.SYS";
        QTest::newRow("long name") << "C:\\Programme\\Eine lange Datei.txt" << Backup << ""
                                   << "Eine lange Datei.txt"
                                   << "C:\\Programme"
                                   << "D:\\Sicherung\\EINELA~1.TXT";
        QTest::newRow("the copy's alias differs from the source's")
            << "C:\\Programme\\Eine lange Datei.txt" << Backup << "Eine lange Andere.txt"
            << "Eine lange Datei.txt"
            << "C:\\Programme"
            << "D:\\Sicherung\\EINELA~2.TXT";
        QTest::newRow("umlaut in code page 850") << "C:\\WINDOWS\\Übersicht.ini" << Backup << ""
                                                 << "Übersicht.ini"
                                                 << "C:\\WINDOWS"
                                                 << "D:\\Sicherung\\ÜBERSI~1.INI";
        QTest::newRow("backup at a drive root") << "C:\\CONFIG.SYS"
                                                << "D:\\"
                                                << ""
                                                << "CONFIG.SYS"
                                                << "C:\\"
                                                << "D:\\CONFIG.SYS";
        QTest::newRow("a file on D:") << "D:\\Daten\\Notizen für später.txt" << Backup << ""
                                      << "Notizen für später.txt"
                                      << "D:\\Daten"
                                      << "D:\\Sicherung\\NOTIZE~1.TXT";
    }

    void scriptPairs()
    {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(QString, earlierCopy);
        QFETCH(QString, name);
        QFETCH(QString, place);
        QFETCH(QString, copy);
        TestMachine pc;
        pc.writeFile(source, "Inhalt\r\n");
        pc.makeDirectory(destination);
        if (!earlierCopy.isEmpty())
            pc.writeFile(platform::withoutRootBackslash(destination) + u'\\' + earlierCopy, "alt\r\n");
        QVERIFY(backUp({source}, destination));

        const Comparison comparison = compareBackup(destination);
        QCOMPARE(comparison.error, 0);
        QCOMPARE(comparison.files.size(), 1);
        const ComparedFile &row = comparison.files.first();
        QCOMPARE(row.name, name);
        QCOMPARE(row.place, place);
        QCOMPARE(row.copy.path, copy);
        QCOMPARE(row.state, FileState::Unchanged);
    }

    void backupOnAFloppy_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("copy");
        QTest::newRow("folder") << "A:\\SICHER"
                                << "A:\\SICHER\\EINELA~1.TXT";
        QTest::newRow("root") << "A:\\"
                              << "A:\\EINELA~1.TXT";
    }

    void backupOnAFloppy()
    {
        QFETCH(QString, folder);
        QFETCH(QString, copy);
        TestMachine pc(TwoFloppiesIni);
        insertFormattedDisk(pc, u'A', QString(), false);
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", SystemIni);
        pc.writeFile("C:\\Programme\\Eine lange Datei.txt", "Inhalt\r\n");
        QCOMPARE(platform::forceDirectories(folder), 0);
        QVERIFY(backUp({"C:\\WINDOWS\\SYSTEM.INI", "C:\\Programme\\Eine lange Datei.txt"}, folder));
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", "[boot]\r\n");

        const Comparison comparison = compareBackup(folder);
        QCOMPARE(comparison.error, 0);
        QCOMPARE(comparison.files.size(), 2);
        QCOMPARE(comparison.files[0].state, FileState::Changed);
        QCOMPARE(comparison.files[0].copy.size, SystemIni.size());
        QCOMPARE(comparison.files[1].state, FileState::Unchanged);
        QCOMPARE(comparison.files[1].copy.path, copy);
    }

    void changedSystemIniShowsTheChangedLine()
    {
        TestMachine pc;
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", SystemIni);
        pc.makeDirectory(Backup);
        QVERIFY(backUp({"C:\\WINDOWS\\SYSTEM.INI"}, Backup));
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI",
                     QByteArray(SystemIni).replace("*vmouse", "C:\\MAUS\\MAUS.VXD"));

        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.files.value(0).state, FileState::Changed);
        const FileDifference difference = differenceOf(comparison.files.first());
        QCOMPARE(difference.error, 0);
        QVERIFY(difference.text);
        QCOMPARE(shown(difference.lines),
                 QStringList({"@@ -3,5 +3,5 @@", " system.drv=system.drv", " ", " [386Enh]", "-mouse=*vmouse",
                              "+mouse=C:\\MAUS\\MAUS.VXD", " device=*vshare"}));
    }

    void binaryFileIsComparedByItsBytes()
    {
        TestMachine pc;
        const QByteArray saved("REGEDIT\0\x01\x02", 10);
        pc.writeFile("C:\\WINDOWS\\SYSTEM.DAT", saved, 7);
        pc.makeDirectory(Backup);
        QVERIFY(backUp({"C:\\WINDOWS\\SYSTEM.DAT"}, Backup));
        pc.writeFile("C:\\WINDOWS\\SYSTEM.DAT", saved + QByteArray("\0\x03\x04", 3), 7);

        const Comparison comparison = compareBackup(Backup);
        const ComparedFile &row = comparison.files.value(0);
        QCOMPARE(row.state, FileState::Changed);
        QCOMPARE(row.copy.size, 10);
        QCOMPARE(row.original.size, 13);
        const FileDifference difference = differenceOf(row);
        QCOMPARE(difference.error, 0);
        QVERIFY(!difference.text);
        QVERIFY(difference.lines.isEmpty());
    }

    // A script from a PC with other drives: the place cannot be looked at, which the row says.
    void placeOnADriveThatCannotBeRead_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<int>("error");
        QTest::newRow("no such drive") << "G:\\X.INI" << int(platform::dos::InvalidDrive);
        QTest::newRow("CD drive without a disc") << "E:\\X.INI" << int(platform::dos::NotReady);
    }

    void placeOnADriveThatCannotBeRead()
    {
        QFETCH(QString, original);
        QFETCH(int, error);
        TestMachine pc;
        pc.writeFile("D:\\Sicherung\\X.INI", "Kopie\r\n");
        const backup::ScriptFile file{original, "X.INI", "X.ini", 32};
        QCOMPARE(backup::writeRestoreScript(
                     "D:\\Sicherung\\Restore.bat",
                     backup::composeRestoreScript("C:\\WINDOWS", "10.12.26", "09:05:07", {file})),
                 0);
        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.error, 0);
        const ComparedFile &row = comparison.files.value(0);
        QCOMPARE(row.state, FileState::Unreadable);
        QCOMPARE(row.readError, error);
        QCOMPARE(row.name, QStringLiteral("X.ini"));
        QVERIFY(row.copy.exists);
    }

    void folderWithoutAReadableScript_data()
    {
        QTest::addColumn<QByteArray>("script");  // null: none
        QTest::addColumn<int>("error");
        QTest::newRow("no Restore.bat") << QByteArray() << int(platform::dos::FileNotFound);
        QTest::newRow("a Restore.bat written by hand")
            << QByteArray("@echo off\r\ncopy CONFIG.SYS C:\\CONFIG.SYS\r\n") << backup::ScriptNotRecognised;
    }

    void folderWithoutAReadableScript()
    {
        QFETCH(QByteArray, script);
        QFETCH(int, error);
        TestMachine pc;
        pc.writeFile("D:\\Sicherung\\CONFIG.SYS", "Kopie\r\n");
        if (!script.isNull())
            pc.writeFile("D:\\Sicherung\\Restore.bat", script);
        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.error, error);
        QVERIFY(comparison.files.isEmpty());
    }

    void comparingWritesNothing()
    {
        TestMachine pc;
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", SystemIni, 33);
        pc.writeFile("C:\\Programme\\Eine lange Datei.txt", "Inhalt\r\n", 0);
        pc.writeFile("C:\\IO.SYS", "IO\r\n", 7);
        pc.makeDirectory(Backup);
        QVERIFY(
            backUp({"C:\\WINDOWS\\SYSTEM.INI", "C:\\Programme\\Eine lange Datei.txt", "C:\\IO.SYS"}, Backup));
        pc.writeFile("C:\\WINDOWS\\SYSTEM.INI", "[boot]\r\n", 32);
        QCOMPARE(platform::deleteFile("D:\\Sicherung\\IO.SYS"), int(platform::dos::AccessDenied));
        QCOMPARE(platform::setFileAttributes("D:\\Sicherung\\IO.SYS", 0), 0);
        QCOMPARE(platform::deleteFile("D:\\Sicherung\\IO.SYS"), 0);

        const QStringList before = snapshot(pc.folder());
        const Comparison comparison = compareBackup(Backup);
        QCOMPARE(comparison.files.size(), 3);
        for (const ComparedFile &file : comparison.files)
            (void)differenceOf(file);
        QCOMPARE(snapshot(pc.folder()), before);
    }
};

QTEST_GUILESS_MAIN(BackupComparisonTest)
#include "BackupComparisonTest.moc"
