// The backup run without a window: what it copies, reports, counts and leaves as script.
#include "backup/core/RestoreScript.h"
#include "backup/core/Runner.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "tests/support/FullDisk.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

#include <optional>

using namespace backup;

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");
const QString Destination = QStringLiteral("D:\\Ziel");
const QDateTime Started(QDate(2026, 12, 10), QTime(9, 5, 7));

// Writes down every report in the order it comes.
struct Recorder : RunObserver {
    QStringList events;
    void missing(const MarkedFile &file) override { events << QStringLiteral("missing %1").arg(file.row); }
    void copyFailed(const MarkedFile &file, const QString &target, int error) override
    {
        events << QStringLiteral("copy failed %1 %2 %3").arg(file.row).arg(target).arg(error);
    }
    void folderFailed(int error) override { events << QStringLiteral("folder failed %1").arg(error); }
    void scriptFailed() override { events << QStringLiteral("script failed"); }
    void pifFailed() override { events << QStringLiteral("pif failed"); }
    void progress(int done, int total) override { events << QStringLiteral("%1/%2").arg(done).arg(total); }
};

}  // namespace

class BackupRunnerTest : public QObject {
    Q_OBJECT

private slots:
    // Sources: C:\Config.sys (20 bytes), C:\Gross.dat (5000 bytes), C:\WINDOWS\Win.ini; C:\Fehlt.txt
    // does not exist. The destination holds the Restore.bat and Restore.pif of an earlier run.
    void run_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("missing");
        QTest::addColumn<bool>("folderFailed");
        QTest::addColumn<QStringList>("inScript");  // rows of the saved files; empty: earlier script
        QTest::addColumn<bool>("holdsScript");
        QTest::addColumn<QString>("status");

        const QStringList two = {"C:\\Config.sys", "C:\\WINDOWS\\Win.ini"};
        QTest::newRow("all saved") << two << "" << QStringList{"1/2", "2/2"} << 2 << 0 << false
                                   << QStringList{"CONFIG.SYS", "WIN.INI"} << true
                                   << "Status: Es wurden alle 2 markierten Dateien gesichert !";
        QTest::newRow("one missing") << QStringList{"C:\\Fehlt.txt", "C:\\Config.sys"} << ""
                                     << QStringList{"missing 0", "1/2", "2/2"} << 1 << 1 << false
                                     << QStringList{"CONFIG.SYS"} << true
                                     << "Status: Es wurde 1 Datei von 2 markierten gesichert !";
        QTest::newRow("all missing removes the earlier script")
            << QStringList{"C:\\Fehlt.txt"} << "" << QStringList{"missing 0", "1/1"} << 0 << 1 << false
            << QStringList{} << false << "Status: Es konnte keine Datei gesichert werden !";
        QTest::newRow("copy failed") << two << "folder of the copy's name"
                                     << QStringList{"1/2", "copy failed 1 D:\\Ziel\\Win.ini 5", "2/2"} << 1
                                     << 0 << false << QStringList{"CONFIG.SYS"} << true
                                     << "Status: Es wurde 1 Datei von 2 markierten gesichert !";
        QTest::newRow("every copy failed keeps the earlier script")
            << QStringList{"C:\\WINDOWS\\Win.ini"} << "folder of the copy's name"
            << QStringList{"copy failed 0 D:\\Ziel\\Win.ini 5", "1/1"} << 0 << 0 << false << QStringList{}
            << true
            << "Status: Es konnte keine Datei gesichert werden ! Die Restore.bat der früheren Sicherung "
               "bleibt erhalten.";
        QTest::newRow("disk full stops the run")
            << QStringList{"C:\\Config.sys", "C:\\Gross.dat", "C:\\WINDOWS\\Win.ini"} << "disk full"
            << QStringList{"1/3", "folder failed 101"} << 1 << 0 << true << QStringList{} << true
            << "Status: Es wurde 1 Datei von 3 markierten gesichert !";
        QTest::newRow("folder gone") << two << "folder gone" << QStringList{"folder failed 3"} << 0 << 0
                                     << true << QStringList{} << false
                                     << "Status: Es konnte keine Datei gesichert werden !";
        QTest::newRow("no restore.pif supplied")
            << QStringList{"C:\\Config.sys"} << "no pif" << QStringList{"1/1", "pif failed"} << 1 << 0
            << false << QStringList{"CONFIG.SYS"} << true << "Status: Es wurde 1 markierte Datei gesichert !";
        QTest::newRow("script cannot be written")
            << QStringList{"C:\\Config.sys"} << "script is a folder" << QStringList{"1/1", "script failed"}
            << 1 << 0 << false << QStringList{} << false << "Status: Es wurde 1 markierte Datei gesichert !";
    }

    void run()
    {
        QFETCH(QStringList, sources);
        QFETCH(QString, fault);
        QFETCH(QStringList, events);
        QFETCH(int, saved);
        QFETCH(int, missing);
        QFETCH(bool, folderFailed);
        QFETCH(QStringList, inScript);
        QFETCH(bool, holdsScript);
        QFETCH(QString, status);

        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Config.sys"), QByteArray("device=himem.sys\r\n"));
        pc.writeFile(QStringLiteral("C:\\Gross.dat"), QByteArray(5000, 'x'));
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\Win.ini"), QByteArray("[windows]\r\n"));
        if (fault != QLatin1String("no pif"))
            pc.writeFile(ProgramDirectory + QStringLiteral("\\restore.pif"), QByteArray(545, '\x01'));
        const QByteArray earlierScript = "rem earlier\r\n";
        if (fault != QLatin1String("folder gone"))
            pc.makeDirectory(Destination);
        if (fault == QLatin1String("script is a folder")) {
            pc.makeDirectory(Destination + QStringLiteral("\\Restore.bat"));
        } else if (fault != QLatin1String("folder gone")) {
            pc.writeFile(Destination + QStringLiteral("\\Restore.bat"), earlierScript);
            pc.writeFile(Destination + QStringLiteral("\\Restore.pif"), QByteArray(545, '\x02'));
        }
        if (fault == QLatin1String("folder of the copy's name"))
            pc.makeDirectory(Destination + QStringLiteral("\\Win.ini"));

        RunRequest request{{}, Destination, ProgramDirectory, QStringLiteral("C:\\WINDOWS"), Started};
        for (const QString &source : sources)
            request.files.append({int(request.files.size()), source, platform::fileNamePart(source)});
        Recorder recorder;
        RunSummary summary;
        {
            std::optional<FullDisk> full;
            if (fault == QLatin1String("disk full"))
                full.emplace(1000);
            summary = runBackup(request, recorder);
        }

        QCOMPARE(recorder.events, events);
        QCOMPARE(summary.saved, saved);
        QCOMPARE(summary.missing, missing);
        QCOMPARE(summary.folderFailed, folderFailed);
        QCOMPARE(summary.statusText, status);
        QCOMPARE(summary.holdsScript, holdsScript);
        const QString script = Destination + QStringLiteral("\\Restore.bat");
        QCOMPARE(platform::fileExists(script), holdsScript);
        if (!holdsScript)
            return;
        const QByteArray written = pc.readFile(script);
        if (inScript.isEmpty()) {
            QCOMPARE(written, earlierScript);
            return;
        }
        QList<ScriptFile> files;
        for (const QString &name : inScript) {
            const MarkedFile *file = nullptr;
            for (const MarkedFile &candidate : request.files) {
                if (platform::upperCaseFileName(candidate.displayName) == name)
                    file = &candidate;
            }
            QVERIFY(file);
            const auto described = scriptFileFor(
                file->path, Destination + QLatin1Char('\\') + file->displayName, file->displayName);
            QCOMPARE(described.error, platform::dos::Ok);
            files.append(described.value);
        }
        QCOMPARE(written, composeRestoreScript(QStringLiteral("C:\\WINDOWS"), QStringLiteral("10.12.26"),
                                               QStringLiteral("09:05:07"), files)
                                  .join(QStringLiteral("\r\n"))
                                  .toLatin1()
                              + "\r\n");
        // Without a supplied restore.pif the earlier run's stays.
        const char pif = fault == QLatin1String("no pif") ? '\x02' : '\x01';
        QCOMPARE(pc.readFile(Destination + QStringLiteral("\\Restore.pif")), QByteArray(545, pif));
    }

    // A file run finds sources and copies through the folders it holds: it reports and writes
    // the same as a run without one, however the paths are spelt.
    void aFileRunFindsTheSameFiles()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Config.sys"), QByteArray("device=himem.sys\r\n"));
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\Win.ini"), QByteArray("[windows]\r\n"));
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\System.ini"), QByteArray("[boot]\r\n"));
        pc.writeFile(QStringLiteral("C:\\Programme\\Eine lange Datei.txt"), QByteArray("lang"));
        pc.writeFile(QStringLiteral("C:\\Programme\\Eine lange Datei 2.txt"), QByteArray("lang 2"));
        const QStringList sources = {
            QStringLiteral("C:\\Config.sys"),
            QStringLiteral("c:\\windows\\WIN.INI"),
            QStringLiteral("C:\\WINDOWS\\Fehlt.ini"),
            QStringLiteral("C:\\WINDOWS\\..\\WINDOWS\\System.ini."),
            QStringLiteral("C:\\PROGRA~1\\EINELA~2.TXT"),
            QStringLiteral("C:\\Programme\\Eine lange Datei.txt"),
            QStringLiteral("C:\\Fehlt\\Config.sys"),
            QStringLiteral("C:\\Config.sys\\x"),
        };
        QMap<QString, QStringList> events;
        QMap<QString, QByteArray> scripts;
        for (const QString &folder : {QStringLiteral("D:\\Ohne"), QStringLiteral("D:\\Mit")}) {
            pc.makeDirectory(folder);
            RunRequest request{{}, folder, ProgramDirectory, QStringLiteral("C:\\WINDOWS"), Started};
            for (const QString &source : sources)
                request.files.append({int(request.files.size()), source, platform::fileNamePart(source)});
            Recorder recorder;
            std::optional<platform::FileRun> run;
            if (folder.endsWith(QStringLiteral("Mit")))
                run.emplace();
            (void)runBackup(request, recorder);
            if (run)
                QCOMPARE(run->finish(), 0);
            events[folder] = recorder.events.replaceInStrings(folder, QStringLiteral("X:"));
            scripts[folder] = pc.readFile(folder + QStringLiteral("\\Restore.bat"));
        }
        QCOMPARE(events[QStringLiteral("D:\\Mit")], events[QStringLiteral("D:\\Ohne")]);
        QCOMPARE(scripts[QStringLiteral("D:\\Mit")], scripts[QStringLiteral("D:\\Ohne")]);
        QVERIFY(scripts[QStringLiteral("D:\\Mit")].contains("copy EINELA~2.TXT C:\\PROGRA~1\\EINELA~2.TXT\r\n"));
        QCOMPARE(events[QStringLiteral("D:\\Mit")].count(QStringLiteral("missing 2")), 1);
    }

    // A marked path is read as a whole, as Windows reads it, also where sources of one folder are
    // found in it: C:'s current directory is C:\WINDOWS, so a name read from there goes astray.
    void sourcesAreReadAsWholePaths_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("from the drive's current directory") << "C:Win.ini";
        QTest::newRow("from the current drive's root") << "\\WINDOWS\\Win.ini";
        QTest::newRow("up and down again") << "C:\\Programme\\..\\WINDOWS\\Win.ini";
        QTest::newRow("trailing dot") << "C:\\WINDOWS\\Win.ini.";
    }

    void sourcesAreReadAsWholePaths()
    {
        QFETCH(QString, source);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\Win.ini"), QByteArray("[windows]\r\n"));
        pc.writeFile(QStringLiteral("C:\\Programme\\Win.ini"), QByteArray("anderes"));
        QCOMPARE(platform::setDriveCurrentDirectory(QStringLiteral("C:\\WINDOWS")), 0);
        for (const bool inFileRun : {false, true}) {
            const QString folder = inFileRun ? QStringLiteral("D:\\Mit") : QStringLiteral("D:\\Ohne");
            pc.makeDirectory(folder);
            RunRequest request{{}, folder, ProgramDirectory, QStringLiteral("C:\\WINDOWS"), Started};
            request.files.append({0, source, QStringLiteral("Win.ini")});
            Recorder recorder;
            std::optional<platform::FileRun> run;
            if (inFileRun)
                run.emplace();
            QCOMPARE(runBackup(request, recorder).saved, 1);
            if (run)
                QCOMPARE(run->finish(), 0);
            QCOMPARE(pc.readFile(folder + QStringLiteral("\\Win.ini")), QByteArray("[windows]\r\n"));
            QVERIFY(pc.readFile(folder + QStringLiteral("\\Restore.bat"))
                        .contains("copy WIN.INI C:\\WINDOWS\\WIN.INI\r\n"));
        }
    }

    // The script sets back on the restored file and on the copy what the source carried when
    // it was copied; a second source shows each file gets its own.
    void scriptSetsBackEachSourcesAttributes_data()
    {
        QTest::addColumn<int>("attributes");
        QTest::addColumn<QByteArray>("suffix");
        QTest::newRow("none") << 0 << QByteArray();
        QTest::newRow("archive") << 32 << QByteArray(" +a");
        QTest::newRow("read-only") << 1 << QByteArray(" +r");
        QTest::newRow("system file") << 39 << QByteArray(" +r +h +s +a");
    }

    void scriptSetsBackEachSourcesAttributes()
    {
        QFETCH(int, attributes);
        QFETCH(QByteArray, suffix);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Io.sys"), "io", quint8(attributes));
        pc.writeFile(QStringLiteral("C:\\Msdos.sys"), "msdos", 6);
        pc.makeDirectory(Destination);
        RunRequest request{{}, Destination, ProgramDirectory, QStringLiteral("C:\\WINDOWS"), Started};
        for (const QString &source : {QStringLiteral("C:\\Io.sys"), QStringLiteral("C:\\Msdos.sys")})
            request.files.append({int(request.files.size()), source, platform::fileNamePart(source)});
        Recorder recorder;
        QCOMPARE(runBackup(request, recorder).saved, 2);

        const QByteArray script = pc.readFile(Destination + QStringLiteral("\\Restore.bat"));
        const QByteArray lines = "\r\nattrib C:\\IO.SYS" + suffix + "\r\nattrib IO.SYS" + suffix + "\r\n";
        QVERIFY(script.contains(lines));
        QVERIFY(script.contains("\r\nattrib C:\\MSDOS.SYS +h +s\r\nattrib MSDOS.SYS +h +s\r\n"));
    }
};

QTEST_GUILESS_MAIN(BackupRunnerTest)
#include "BackupRunnerTest.moc"
