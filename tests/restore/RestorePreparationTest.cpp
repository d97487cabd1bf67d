#include "restore/core/RestorePreparation.h"
#include "platform/drives/Files.h"
#include "platform/shell/ShellLink.h"
#include "restore/core/AutostartShortcut.h"
#include "restore/core/TShellLink.h"
#include "tests/support/TestDesktop.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace platform;

Q_DECLARE_METATYPE(restore::ShortcutSpelling)

namespace {

const QString Autostart = QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart");

// Where the restore writes the autostart shortcut.
QString shortcut()
{
    return restore::autostartShortcutPath();
}

// A PC with a backup in D:\Sicherung, an empty D:\Leer and the autostart folder.
struct PreparationFixture {
    PreparationFixture()
    {
        pc.makeDirectory(Autostart);
        pc.makeDirectory(QStringLiteral("D:\\Sicherung"));
        pc.makeDirectory(QStringLiteral("D:\\Leer"));
        pc.writeFile(QStringLiteral("D:\\Sicherung\\Restore.bat"), "echo off\r\n");
        link.IconFile = QStringLiteral("C:\\windows\\system\\shell32.dll");
        link.IconIndex = 29;
    }
    TestMachine pc;
    TestDesktop desktop;
    TShellLink link;
    QObject owner;
};

}  // namespace

class RestorePreparationTest : public QObject {
    Q_OBJECT

private slots:
    // The one place the tests spell the shortcut's path out: each side's spelling, in the Windows
    // directory the machine names.
    void shortcutPathIsInTheAutostartFolder_data()
    {
        QTest::addColumn<QString>("windowsDirectory");
        QTest::addColumn<restore::ShortcutSpelling>("spelling");
        QTest::addColumn<QString>("path");
        QTest::newRow("written") << "C:\\WINDOWS" << restore::ShortcutSpelling::Written
                                 << "C:\\WINDOWS\\startmenü\\programme\\autostart\\Orvel.lnk";
        QTest::newRow("looked for") << "C:\\WINDOWS" << restore::ShortcutSpelling::LookedFor
                                    << "C:\\WINDOWS\\startmenü\\programme\\autostart\\orvel.lnk";
        QTest::newRow("other Windows directory") << "D:\\WIN98" << restore::ShortcutSpelling::Written
                                                 << "D:\\WIN98\\startmenü\\programme\\autostart\\Orvel.lnk";
    }

    void shortcutPathIsInTheAutostartFolder()
    {
        QFETCH(QString, windowsDirectory);
        QFETCH(restore::ShortcutSpelling, spelling);
        QFETCH(QString, path);
        TestMachine pc(QStringLiteral("[Windows]\nDirectory=") + windowsDirectory
                       + QStringLiteral("\n[Drives]\nC=fixed,drive_c\nD=fixed,drive_d\n"));
        QCOMPARE(restore::autostartShortcutPath(spelling), path);
    }

    void folderWithoutScriptIsLeftAlone_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::newRow("empty folder") << "D:\\Leer";
        QTest::newRow("missing folder") << "D:\\Fehlt";
    }

    void folderWithoutScriptIsLeftAlone()
    {
        QFETCH(QString, directory);
        PreparationFixture fixture;
        QCOMPARE(restore::prepareRestore(directory, QStringLiteral("C:\\Programme\\Velko Save"), fixture.link,
                                         &fixture.owner),
                 restore::Preparation::NoBackup);
        QVERIFY(!fileExists(shortcut()));
        QVERIFY(fixture.desktop.events.isEmpty());
    }

    void shortcutThenScript_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("programDirectory");
        QTest::addColumn<QString>("workingDirectory");
        QTest::newRow("folder") << "D:\\Sicherung"
                                << "D:\\Sicherung\\restore.bat"
                                << "C:\\Programme\\Velko Save"
                                << "C:\\Programme\\Velko Save\\";
        QTest::newRow("drive roots") << "D:\\"
                                     << "D:\\restore.bat"
                                     << "C:"
                                     << "C:\\";
    }

    void shortcutThenScript()
    {
        QFETCH(QString, directory);
        QFETCH(QString, script);
        QFETCH(QString, programDirectory);
        QFETCH(QString, workingDirectory);
        PreparationFixture fixture;
        fixture.pc.writeFile(QStringLiteral("D:\\Restore.bat"), "echo off\r\n");

        QCOMPARE(restore::prepareRestore(directory, programDirectory, fixture.link, &fixture.owner),
                 restore::Preparation::ScriptOpened);

        const auto written = readShellLink(shortcut());
        QCOMPARE(written.error, 0);
        QCOMPARE(written.value.targetPath, programDirectory + QStringLiteral("\\Orvel.exe"));
        QCOMPARE(written.value.workingDirectory, workingDirectory);
        QCOMPARE(written.value.iconLocation, QStringLiteral("C:\\windows\\system\\shell32.dll"));
        QCOMPARE(written.value.iconIndex, 29);
        QCOMPARE(written.value.showCommand, showCommand::Normal);

        QCOMPARE(fixture.desktop.events, QStringList(QStringLiteral("open: ") + script));
        const TestDesktop::ShellRequest &request = fixture.desktop.shellRequests.first();
        QCOMPARE(request.owner, &fixture.owner);
        QVERIFY(request.parameters.isEmpty() && request.directory.isEmpty());
        QCOMPARE(request.showCommand, 1);
    }
};

QTEST_GUILESS_MAIN(RestorePreparationTest)
#include "RestorePreparationTest.moc"
