#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <optional>

using namespace platform;

class PathResolutionTest : public QObject {
    Q_OBJECT

private:
    static void writeHostFile(const QString &hostPath, const QByteArray &bytes = "x")
    {
        QFile file(hostPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static void seed(TestMachine &pc)
    {
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\Win.ini"), "[windows]\r\n");
        pc.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.ini"), "[Optionen]\r\n");
    }

private slots:
    void resolvesWindowsPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("canonical");
        const QString winIni = QStringLiteral("C:\\WINDOWS\\Win.ini");
        const QString orvelIni = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.ini");
        QTest::newRow("exact") << winIni << 0 << winIni;
        QTest::newRow("other case") << QStringLiteral("c:\\windows\\WIN.INI") << 0 << winIni;
        QTest::newRow("forward slashes") << QStringLiteral("C:/Windows/win.ini") << 0 << winIni;
        QTest::newRow("8.3 aliases") << QStringLiteral("C:\\PROGRA~1\\VELKOS~1\\ORVEL.INI") << 0 << orvelIni;
        QTest::newRow("aliases in lower case")
            << QStringLiteral("c:\\progra~1\\velkos~1\\orvel.ini") << 0 << orvelIni;
        QTest::newRow("dot and dot-dot")
            << QStringLiteral("C:\\WINDOWS\\.\\..\\Programme\\..\\WINDOWS\\Win.ini") << 0 << winIni;
        QTest::newRow("dot-dot above the root")
            << QStringLiteral("C:\\..\\..\\WINDOWS") << 0 << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("trailing dot dropped") << QStringLiteral("C:\\WINDOWS\\Win.ini.") << 0 << winIni;
        QTest::newRow("root with backslash") << QStringLiteral("c:\\") << 0 << QStringLiteral("C:\\");
        QTest::newRow("root without backslash") << QStringLiteral("C:") << 0 << QStringLiteral("C:\\");
        QTest::newRow("directory with backslash")
            << QStringLiteral("C:\\windows\\") << 0 << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("relative to C:\\") << QStringLiteral("windows\\win.ini") << 0 << winIni;
        QTest::newRow("from the current root")
            << QStringLiteral("\\WINDOWS") << 0 << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("missing file") << QStringLiteral("C:\\WINDOWS\\Missing.ini") << 2 << QString();
        QTest::newRow("missing directory on the way")
            << QStringLiteral("C:\\Missing\\Win.ini") << 3 << QString();
        QTest::newRow("file on the way") << QStringLiteral("C:\\WINDOWS\\Win.ini\\x") << 3 << QString();
        QTest::newRow("invalid name") << QStringLiteral("C:\\WINDOWS\\W?n.ini") << 3 << QString();
        QTest::newRow("network path") << QStringLiteral("\\\\server\\share") << 3 << QString();
        QTest::newRow("empty") << QString() << 3 << QString();
        QTest::newRow("drive not listed") << QStringLiteral("G:\\x") << 15 << QString();
        QTest::newRow("no drive letter") << QStringLiteral("1:\\x") << 15 << QString();
        QTest::newRow("cd drive without disc") << QStringLiteral("E:\\x") << 21 << QString();
        QTest::newRow("floppy without disk") << QStringLiteral("A:\\") << 21 << QString();
        QTest::newRow("record file") << QStringLiteral("C:\\WINDOWS\\.dosattr") << 3 << QString();
    }

    void resolvesWindowsPaths()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        QFETCH(QString, canonical);
        TestMachine pc;
        seed(pc);
        QVERIFY(setFileAttributes(QStringLiteral("C:\\WINDOWS\\Win.ini"), attr::Hidden) == 0);
        const auto found = canonicalPath(path);
        QCOMPARE(found.error, error);
        QCOMPARE(found.value, canonical);
    }

    void existenceTests_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("isFile");
        QTest::addColumn<bool>("isDirectory");
        QTest::newRow("file") << QStringLiteral("c:\\windows\\win.ini") << true << false;
        QTest::newRow("directory") << QStringLiteral("C:\\Programme") << false << true;
        QTest::newRow("alias of a directory") << QStringLiteral("C:\\PROGRA~1\\VELKOS~1") << false << true;
        QTest::newRow("root") << QStringLiteral("C:\\") << false << true;
        QTest::newRow("empty cd drive with folder") << QStringLiteral("F:\\") << false << true;
        QTest::newRow("missing") << QStringLiteral("C:\\Nichts") << false << false;
        QTest::newRow("missing drive") << QStringLiteral("G:\\") << false << false;
        QTest::newRow("drive not ready") << QStringLiteral("E:\\") << false << false;
    }

    void existenceTests()
    {
        QFETCH(QString, path);
        QFETCH(bool, isFile);
        QFETCH(bool, isDirectory);
        TestMachine pc;
        seed(pc);
        QCOMPARE(fileExists(path), isFile);
        QCOMPARE(directoryExists(path), isDirectory);
    }

    // A name looked up in a folder found before is the whole path looked up, in a file run (where
    // the folder's listing finds it) as outside one.
    void namesInAFolderAsTheWholePath_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        const QString programme = QStringLiteral("C:\\Programme\\Velko Save");
        for (const bool inFileRun : {false, true}) {
            const char *suffix = inFileRun ? ", file run" : "";
            const auto row = [suffix](const char *what) -> QTestData & {
                return QTest::addRow("%s%s", what, suffix);
            };
            row("exact") << programme << QStringLiteral("Orvel.ini");
            row("other case") << programme << QStringLiteral("ORVEL.INI");
            row("alias") << QStringLiteral("C:\\") << QStringLiteral("progra~1");
            row("new name") << programme << QStringLiteral("Neue Datei.txt");
            row("trailing dot") << programme << QStringLiteral("Orvel.ini.");
            row("parent") << programme << QStringLiteral("..");
            row("below") << QStringLiteral("C:\\Programme") << QStringLiteral("velko save\\orvel.ini");
            row("invalid") << programme << QStringLiteral("a?b");
            row("in the root") << QStringLiteral("C:") << QStringLiteral("windows");
            row("missing folder") << QStringLiteral("C:\\Fehlt") << QStringLiteral("Orvel.ini");
            row("a file as folder") << QStringLiteral("C:\\WINDOWS\\Win.ini") << QStringLiteral("x");
        }
    }

    void namesInAFolderAsTheWholePath()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        TestMachine pc;
        seed(pc);
        std::optional<FileRun> run;
        if (QString::fromLatin1(QTest::currentDataTag()).endsWith(QStringLiteral("file run")))
            run.emplace();
        const auto resolvedFolder = resolvePath(folder);
        QVERIFY(resolvedFolder.ok());
        // A run holds the folders it lists.
        if (run)
            (void)files(folder);
        for (int look = 0; look < 2; ++look) {
            const auto inFolder = resolvePath(resolvedFolder.value, name);
            const auto whole = resolvePath(resolvedFolder.value.path() + u'\\' + name);
            QCOMPARE(inFolder.error, whole.error);
            if (!whole.ok())
                continue;
            QCOMPARE(inFolder.value.path(), whole.value.path());
            QCOMPARE(inFolder.value.exists(), whole.value.exists());
            QCOMPARE(inFolder.value.isFile(), whole.value.isFile());
        }
        if (run)
            QCOMPARE(run->finish(), 0);
    }

    // A name found in a held folder spells its path as the disk does, with one backslash after
    // the folder, a root's too; a new name keeps its own spelling.
    void pathsOfNamesInAHeldFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        const QString programme = QStringLiteral("c:\\programme\\velko save");
        QTest::newRow("file") << programme << QStringLiteral("ORVEL.INI")
                              << QStringLiteral("C:\\Programme\\Velko Save\\Orvel.ini");
        QTest::newRow("new file") << programme << QStringLiteral("Neue Datei.txt")
                                  << QStringLiteral("C:\\Programme\\Velko Save\\Neue Datei.txt");
        QTest::newRow("file in the root")
            << QStringLiteral("C:") << QStringLiteral("io.sys") << QStringLiteral("C:\\Io.sys");
        QTest::newRow("new file in the root")
            << QStringLiteral("C:\\") << QStringLiteral("Neu.txt") << QStringLiteral("C:\\Neu.txt");
        QTest::newRow("folder in the root")
            << QStringLiteral("C:") << QStringLiteral("windows") << QStringLiteral("C:\\WINDOWS");
    }

    void pathsOfNamesInAHeldFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        TestMachine pc;
        seed(pc);
        pc.writeFile(QStringLiteral("C:\\Io.sys"), "io");
        FileRun run;
        const auto resolvedFolder = resolvePath(folder);
        QVERIFY(resolvedFolder.ok());
        (void)files(folder);  // the run holds the folder it lists
        const auto inFolder = resolvePath(resolvedFolder.value, name);
        QVERIFY(inFolder.ok());
        QCOMPARE(inFolder.value.path(), path);
        const auto whole = resolvePath(folder + u'\\' + name);
        QVERIFY(whole.ok());
        QCOMPARE(whole.value.path(), path);
        QCOMPARE(run.finish(), 0);
    }

    void fixedDriveWithoutFolderIsNotReady()
    {
        TestMachine pc(QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n"
                                      "C=fixed,drive_c\nG=fixed,gone\nH=cdrom,gone\n"));
        QCOMPARE(canonicalPath(QStringLiteral("G:\\")).error, dos::NotReady);
        QCOMPARE(writeFile(QStringLiteral("G:\\x.txt"), "x"), dos::NotReady);
        QCOMPARE(canonicalPath(QStringLiteral("H:\\")).error, dos::NotReady);
    }

    // A drive's folder that is removed or put in another's place while the PC runs is seen as
    // it is now, both outside a file run and at the start of one.
    void driveFolderChangedWhileRunning_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("inFileRun");
        QTest::addColumn<int>("readOld");
        QTest::addColumn<int>("readNew");
        QTest::addColumn<int>("write");
        for (const bool inFileRun : {false, true}) {
            const char *suffix = inFileRun ? ", file run" : "";
            QTest::addRow("removed%s", suffix)
                << "removed" << inFileRun << int(dos::NotReady) << int(dos::NotReady) << int(dos::NotReady);
            QTest::addRow("replaced%s", suffix)
                << "replaced" << inFileRun << int(dos::FileNotFound) << 0 << 0;
            QTest::addRow("link to another%s", suffix)
                << "link to another" << inFileRun << int(dos::FileNotFound) << 0 << 0;
        }
    }

    void driveFolderChangedWhileRunning()
    {
        QFETCH(QString, change);
        QFETCH(bool, inFileRun);
        QFETCH(int, readOld);
        QFETCH(int, readNew);
        QFETCH(int, write);
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Alt.txt"), "alt");
        QCOMPARE(readFile(QStringLiteral("D:\\Alt.txt")).value, QByteArray("alt"));

        const QString drive = pc.folder() + QStringLiteral("/drive_d");
        const QString moved = pc.folder() + QStringLiteral("/drive_d_alt");
        const QString other = pc.folder() + QStringLiteral("/drive_d_neu");
        QVERIFY(QDir().rename(drive, moved));
        if (change != u"removed") {
            QVERIFY(QDir().mkdir(other));
            writeHostFile(other + QStringLiteral("/Neu.txt"), "neu");
            if (change == u"replaced")
                QVERIFY(QDir().rename(other, drive));
            else
                QVERIFY(QFile::link(other, drive));
        }

        std::optional<FileRun> run;
        if (inFileRun)
            run.emplace();
        QCOMPARE(readFile(QStringLiteral("D:\\Alt.txt")).error, readOld);
        QCOMPARE(readFile(QStringLiteral("D:\\Neu.txt")).error, readNew);
        QCOMPARE(writeFile(QStringLiteral("D:\\Geschrieben.txt"), "x"), write);
        if (run)
            QCOMPARE(run->finish(), 0);
        QCOMPARE(QFile::exists(drive + QStringLiteral("/Geschrieben.txt")), write == 0);
        QVERIFY(!QFile::exists(moved + QStringLiteral("/Geschrieben.txt")));
    }

    void hostPathLiesInTheDriveFolder()
    {
        TestMachine pc;
        seed(pc);
        const auto host = hostPathOf(QStringLiteral("C:\\PROGRA~1\\VELKOS~1\\ORVEL.INI"));
        QCOMPARE(host.error, 0);
        QCOMPARE(host.value, pc.folder() + QStringLiteral("/drive_c/Programme/Velko Save/Orvel.ini"));
        QCOMPARE(hostPathOf(QStringLiteral("C:\\")).value, pc.folder() + QStringLiteral("/drive_c"));
        QCOMPARE(hostPathOf(QStringLiteral("C:\\Missing")).error, dos::FileNotFound);
    }

    void newNamesKeepTheirCase()
    {
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("C:\\Neue Datei.TXT"), "1"), 0);
        QCOMPARE(createDirectory(QStringLiteral("C:\\Sicherung Juni")), 0);
        QVERIFY(QFile::exists(pc.folder() + QStringLiteral("/drive_c/Neue Datei.TXT")));
        QVERIFY(QDir(pc.folder() + QStringLiteral("/drive_c/Sicherung Juni")).exists());
    }

    void writingUnderAnotherCaseHitsTheSameFile()
    {
        TestMachine pc;
        seed(pc);
        QCOMPARE(writeFile(QStringLiteral("C:\\windows\\WIN.INI"), "neu"), 0);
        QCOMPARE(pc.readFile(QStringLiteral("C:\\WINDOWS\\Win.ini")), QByteArray("neu"));
        const QStringList onHost =
            QDir(pc.folder() + QStringLiteral("/drive_c/WINDOWS")).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(onHost, QStringList{QStringLiteral("Win.ini")});
    }

    void refusesInvalidNames_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", "a:b", "a\tb", "..."})
            QTest::newRow(name) << QString::fromLatin1(name);
        QTest::newRow("record file") << QStringLiteral(".DOSATTR");
    }

    void refusesInvalidNames()
    {
        QFETCH(QString, name);
        TestMachine pc;
        QCOMPARE(writeFile(QStringLiteral("C:\\") + name, "x"), dos::PathNotFound);
        QCOMPARE(createDirectory(QStringLiteral("C:\\WINDOWS\\") + name), dos::PathNotFound);
        QVERIFY(QDir(pc.folder() + QStringLiteral("/drive_c"))
                    .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden)
                == QStringList{QStringLiteral("WINDOWS")});
    }

    void cdDriveIsReadOnly()
    {
        TestMachine pc;
        QVERIFY(QDir().mkpath(pc.folder() + QStringLiteral("/cd-f/Treiber")));
        writeHostFile(pc.folder() + QStringLiteral("/cd-f/Treiber/Liesmich.txt"), "cd");
        QCOMPARE(pc.readFile(QStringLiteral("F:\\TREIBER\\LIESMICH.TXT")), QByteArray("cd"));
        QCOMPARE(writeFile(QStringLiteral("F:\\Neu.txt"), "x"), dos::AccessDenied);
        QCOMPARE(writeFile(QStringLiteral("F:\\Treiber\\Liesmich.txt"), "x"), dos::AccessDenied);
        QCOMPARE(replaceFile(QStringLiteral("F:\\Treiber\\Liesmich.txt"), "x"), dos::AccessDenied);
        QCOMPARE(deleteFile(QStringLiteral("F:\\Treiber\\Liesmich.txt")), dos::AccessDenied);
        QCOMPARE(setFileAttributes(QStringLiteral("F:\\Treiber\\Liesmich.txt"), 0), dos::AccessDenied);
        QCOMPARE(createDirectory(QStringLiteral("F:\\Neu")), dos::AccessDenied);
        QCOMPARE(removeDirectoryTree(QStringLiteral("F:\\Treiber")), dos::AccessDenied);
        QCOMPARE(copyFile(QStringLiteral("F:\\Treiber\\Liesmich.txt"), QStringLiteral("C:\\L.txt")), 0);
        QCOMPARE(pc.readFile(QStringLiteral("C:\\L.txt")), QByteArray("cd"));
    }

    void changesMadeOutsideAreNoticed()
    {
        TestMachine pc;
        QVERIFY(!fileExists(QStringLiteral("C:\\windows\\extern.txt")));
        const QString host = pc.folder() + QStringLiteral("/drive_c/WINDOWS/Extern.TXT");
        writeHostFile(host);
        QVERIFY(fileExists(QStringLiteral("C:\\windows\\extern.txt")));
        QCOMPARE(files(QStringLiteral("C:\\WINDOWS")).value, QStringList{QStringLiteral("Extern.TXT")});
        QVERIFY(QFile::remove(host));
        QVERIFY(!fileExists(QStringLiteral("C:\\windows\\extern.txt")));
        QCOMPARE(files(QStringLiteral("C:\\WINDOWS")).value, QStringList());
    }

    void pathParts_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("name");
        QTest::newRow("file in a directory")
            << QStringLiteral("C:\\A\\B.TXT") << QStringLiteral("C:\\A") << QStringLiteral("B.TXT");
        QTest::newRow("file in a root")
            << QStringLiteral("C:\\B.TXT") << QStringLiteral("C:\\") << QStringLiteral("B.TXT");
        QTest::newRow("drive relative")
            << QStringLiteral("C:B.TXT") << QStringLiteral("C:") << QStringLiteral("B.TXT");
        QTest::newRow("bare name") << QStringLiteral("B.TXT") << QString() << QStringLiteral("B.TXT");
        QTest::newRow("directory with backslash")
            << QStringLiteral("C:\\A\\") << QStringLiteral("C:\\A") << QString();
        QTest::newRow("long names") << QStringLiteral("D:\\Velko Save\\Meine Datei.txt")
                                    << QStringLiteral("D:\\Velko Save") << QStringLiteral("Meine Datei.txt");
    }

    void pathParts()
    {
        QFETCH(QString, path);
        QFETCH(QString, directory);
        QFETCH(QString, name);
        QCOMPARE(directoryPart(path), directory);
        QCOMPARE(fileNamePart(path), name);
    }

    void rootRule_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("held");
        QTest::newRow("C root") << QStringLiteral("C:\\") << QStringLiteral("C:");
        QTest::newRow("Z root") << QStringLiteral("Z:\\") << QStringLiteral("Z:");
        QTest::newRow("A root stays") << QStringLiteral("A:\\") << QStringLiteral("A:\\");
        QTest::newRow("B root stays") << QStringLiteral("B:\\") << QStringLiteral("B:\\");
        QTest::newRow("lower case stays") << QStringLiteral("d:\\") << QStringLiteral("d:\\");
        QTest::newRow("directory") << QStringLiteral("C:\\WINDOWS") << QStringLiteral("C:\\WINDOWS");
        QTest::newRow("already held") << QStringLiteral("D:") << QStringLiteral("D:");
    }

    void rootRule()
    {
        QFETCH(QString, directory);
        QFETCH(QString, held);
        QCOMPARE(withoutRootBackslash(directory), held);
    }
};

QTEST_GUILESS_MAIN(PathResolutionTest)
#include "PathResolutionTest.moc"
