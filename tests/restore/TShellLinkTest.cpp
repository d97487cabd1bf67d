#include "restore/core/TShellLink.h"
#include "platform/drives/Files.h"
#include "platform/shell/ShellLink.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace platform;

namespace {

const QString LinkPath = QStringLiteral("C:\\WINDOWS\\Velko Save.lnk");

// The values the restore dialog's ShellLink1 carries.
void setRestoreDialogValues(TShellLink &link)
{
    link.IconFile = QStringLiteral("C:\\windows\\system\\shell32.dll");
    link.IconIndex = 29;
    link.ProgramFile = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe");
    link.LinkFile = LinkPath;
}

ShellLink written()
{
    const auto read = readShellLink(LinkPath);
    if (!read.ok())
        qFatal("no shortcut written");
    return read.value;
}

}  // namespace

class TShellLinkTest : public QObject {
    Q_OBJECT

private slots:
    void newInstanceDefaults()
    {
        TShellLink link;
        QVERIFY(link.Arguments.isEmpty() && link.Description.isEmpty() && link.IconFile.isEmpty()
                && link.ProgramFile.isEmpty() && link.LinkFile.isEmpty() && link.WorkingDirectory.isEmpty());
        QCOMPARE(link.IconIndex, 0u);
        QCOMPARE(link.HotKey, quint16(0));
        QCOMPARE(link.WindowState, TShellLink::TWindowState::wsNormal);
        // The properties can be set by name, as a stored layout does.
        QVERIFY(link.setProperty("IconIndex", 29u));
        QCOMPARE(link.IconIndex, 29u);
    }

    void restoreDialogValues()
    {
        TestMachine pc;
        TShellLink link;
        setRestoreDialogValues(link);
        link.Write();
        const ShellLink file = written();
        QCOMPARE(file.iconLocation, QStringLiteral("C:\\windows\\system\\shell32.dll"));
        QCOMPARE(file.iconIndex, 29);
        QCOMPARE(file.targetPath, link.ProgramFile);
        QCOMPARE(file.workingDirectory, QStringLiteral("C:\\Programme\\Velko Save\\"));
        QCOMPARE(file.showCommand, 1u);
        QVERIFY(file.arguments.isEmpty() && file.description.isEmpty());
    }

    void emptyIconFileWritesNoIconLocation()
    {
        TestMachine pc;
        TShellLink link;
        setRestoreDialogValues(link);
        link.IconFile.clear();
        link.Write();
        QVERIFY(written().iconLocation.isEmpty());
        QCOMPARE(written().iconIndex, 0);
    }

    void workingDirectoryDerivedAndKept_data()
    {
        QTest::addColumn<QString>("programFile");
        QTest::addColumn<QString>("workingDirectory");
        QTest::newRow("drive root") << QStringLiteral("C:\\Orvel.exe") << QStringLiteral("C:\\");
        QTest::newRow("folder") << QStringLiteral("D:\\Apps\\Orvel.exe") << QStringLiteral("D:\\Apps\\");
        QTest::newRow("drive only") << QStringLiteral("D:Orvel.exe") << QStringLiteral("D:");
        QTest::newRow("bare name") << QStringLiteral("Orvel.exe") << QString();
    }

    void workingDirectoryDerivedAndKept()
    {
        QFETCH(QString, programFile);
        QFETCH(QString, workingDirectory);
        TestMachine pc;
        TShellLink link;
        link.LinkFile = LinkPath;
        link.ProgramFile = programFile;
        link.Write();
        QCOMPARE(link.WorkingDirectory, workingDirectory);
        QCOMPARE(written().workingDirectory, workingDirectory);
        // A later Write reuses the derived directory although the program moved.
        if (!workingDirectory.isEmpty()) {
            link.ProgramFile = QStringLiteral("E:\\Anders\\Orvel.exe");
            link.Write();
            QCOMPARE(link.WorkingDirectory, workingDirectory);
        }
    }

    void windowStates_data()
    {
        QTest::addColumn<TShellLink::TWindowState>("state");
        QTest::addColumn<quint32>("showCommand");
        QTest::newRow("normal") << TShellLink::TWindowState::wsNormal << 1u;
        QTest::newRow("minimised") << TShellLink::TWindowState::wsMinimized << 6u;
        QTest::newRow("maximised") << TShellLink::TWindowState::wsMaximized << 3u;
    }

    void windowStates()
    {
        QFETCH(TShellLink::TWindowState, state);
        QFETCH(quint32, showCommand);
        TestMachine pc;
        TShellLink link;
        setRestoreDialogValues(link);
        link.WindowState = state;
        link.Write();
        QCOMPARE(written().showCommand, showCommand);

        TShellLink reader;
        reader.LinkFile = LinkPath;
        reader.WindowState = state == TShellLink::TWindowState::wsNormal
                                 ? TShellLink::TWindowState::wsMaximized
                                 : TShellLink::TWindowState::wsNormal;
        reader.Read();
        QCOMPARE(reader.WindowState, state);
    }

    void otherShowCommandLeavesStateAsItWas()
    {
        TestMachine pc;
        ShellLink file;
        file.targetPath = QStringLiteral("C:\\Orvel.exe");
        file.showCommand = 7;
        QCOMPARE(writeShellLink(LinkPath, file), 0);
        TShellLink link;
        link.LinkFile = LinkPath;
        link.WindowState = TShellLink::TWindowState::wsMaximized;
        link.Read();
        QCOMPARE(link.WindowState, TShellLink::TWindowState::wsMaximized);
        QCOMPARE(link.ProgramFile, QStringLiteral("C:\\Orvel.exe"));
    }

    void readAfterWrite()
    {
        TestMachine pc;
        TShellLink link;
        setRestoreDialogValues(link);
        link.Arguments = QStringLiteral("/neu");
        link.Description = QStringLiteral("Velko Save nach der Wiederherstellung");
        link.HotKey = 0x0653;
        link.Write();
        TShellLink read;
        read.LinkFile = LinkPath;
        read.Read();
        for (const char *name : {"Arguments", "Description", "IconFile", "IconIndex", "HotKey", "ProgramFile",
                                 "WindowState", "WorkingDirectory"})
            QCOMPARE(read.property(name), link.property(name));
    }

    void readKeeps255Characters()
    {
        TestMachine pc;
        ShellLink file;
        file.targetPath = QStringLiteral("C:\\Orvel.exe");
        file.arguments = QString(300, u'x');
        file.description = QString(255, u'y');
        QCOMPARE(writeShellLink(LinkPath, file), 0);
        TShellLink link;
        link.LinkFile = LinkPath;
        link.Read();
        QCOMPARE(link.Arguments, QString(255, u'x'));
        QCOMPARE(link.Description, QString(255, u'y'));
    }

    void missingFolderWritesNothingAndRaisesNothing()
    {
        TestMachine pc;
        TShellLink link;
        setRestoreDialogValues(link);
        link.LinkFile = QStringLiteral("C:\\Fehlt\\Velko Save.lnk");
        link.Write();
        QVERIFY(!fileExists(link.LinkFile));
    }

    void unreadableFileGivesAnEmptyLink()
    {
        TestMachine pc;
        pc.writeFile(LinkPath, "kein Verweis");
        TShellLink link;
        link.LinkFile = LinkPath;
        link.Arguments = QStringLiteral("alt");
        link.IconIndex = 3;
        link.WindowState = TShellLink::TWindowState::wsMinimized;
        link.Read();
        QVERIFY(link.Arguments.isEmpty() && link.ProgramFile.isEmpty());
        QCOMPARE(link.IconIndex, 0u);
        QCOMPARE(link.WindowState, TShellLink::TWindowState::wsNormal);
        QCOMPARE(link.LinkFile, LinkPath);
    }
};

QTEST_GUILESS_MAIN(TShellLinkTest)
#include "TShellLinkTest.moc"
