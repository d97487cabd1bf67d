#include "restore/TRestore.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/StatusBar.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"
#include "platform/shell/ShellLink.h"
#include "restore/core/AutostartShortcut.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace platform;

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

// Where the restore writes the autostart shortcut.
QString shortcut()
{
    return restore::autostartShortcutPath();
}

const QString Blue = QStringLiteral("#0000ff");
const QString Black = QStringLiteral("#000000");

// A PC with the program installed, a backup in D:\Sicherung and the dialog opened on it.
struct RestoreFixture {
    RestoreFixture(const QString &destination = QStringLiteral("D:\\Sicherung"))
    {
        pc.makeDirectory(ProgramDirectory);
        pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart"));
        pc.makeDirectory(QStringLiteral("D:\\Sicherung"));
        pc.makeDirectory(QStringLiteral("D:\\Leer"));
        pc.writeFile(QStringLiteral("D:\\Sicherung\\Restore.bat"), "echo off\r\n");
        dialog.setMainWindowState(QLatin1Char('D'), destination, ProgramDirectory);
        dialog.FormActivate();
    }
    TestMachine pc;
    TestUser user;
    TRestore dialog;
};

}  // namespace

class TRestoreTest : public QObject {
    Q_OBJECT

private slots:
    void backupStateOfTheDestination_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("colour");
        QTest::addColumn<bool>("timeShown");
        QTest::newRow("with backup") << "D:\\Sicherung" << Blue << true;
        QTest::newRow("without backup") << "D:\\Leer" << Black << false;
    }

    void backupStateOfTheDestination()
    {
        QFETCH(QString, destination);
        QFETCH(QString, colour);
        QFETCH(bool, timeShown);
        RestoreFixture restore(destination);
        QCOMPARE(restore.dialog.DirectoryListBox1->directory(), destination);
        QCOMPARE(restore.dialog.DirectoryListBox1->textColor().name(), colour);
        QCOMPARE(restore.dialog.StatusBar1->panelText(), QStringLiteral("Quellpfad: ") + destination);
        const auto written = lastWriteTime(QStringLiteral("D:\\Sicherung\\Restore.bat")).value;
        QCOMPARE(restore.dialog.Label2->text(),
                 timeShown ? shortDate(written) + QStringLiteral(";  ") + longTime(written) : QString());
        QVERIFY(restore.user.events.isEmpty());
    }

    void refusedDrivesGoBackToTheProgramDirectory_data()
    {
        QTest::addColumn<QChar>("drive");
        QTest::addColumn<QString>("warning");
        const QString other = QStringLiteral("\n\rBitte wählen sie ein anderes Laufwerk !");
        QTest::newRow("floppy A") << QChar(u'A')
                                  << "Velko Save kann nicht von Diskette restaurieren !" + other;
        QTest::newRow("CD without medium")
            << QChar(u'E') << "Von Laufwerk E:\\ kann nicht restauriert werden !" + other;
        QTest::newRow("read-only CD")
            << QChar(u'F') << "Von Laufwerk F:\\ kann nicht restauriert werden !" + other;
    }

    void refusedDrivesGoBackToTheProgramDirectory()
    {
        QFETCH(QChar, drive);
        QFETCH(QString, warning);
        RestoreFixture restore;
        restore.dialog.DriveComboBox1->setDrive(drive);
        QCOMPARE(restore.user.events,
                 QStringList({QStringLiteral("beep"), QStringLiteral("message: ") + warning}));
        QCOMPARE(restore.dialog.DriveComboBox1->drive(), QChar(u'C'));
        QCOMPARE(restore.dialog.DirectoryListBox1->directory(), ProgramDirectory);
    }

    void writableDriveIsTaken()
    {
        RestoreFixture restore;
        restore.pc.writeFile(QStringLiteral("C:\\Test"), "nicht anfassen");
        restore.dialog.DriveComboBox1->setDrive(QLatin1Char('C'));
        QVERIFY(restore.user.events.isEmpty());
        QCOMPARE(restore.dialog.DriveComboBox1->drive(), QChar(u'C'));
        QCOMPARE(restore.pc.readFile(QStringLiteral("C:\\Test")), QByteArray("nicht anfassen"));
    }

    void directoryWithoutBackupIsRefused()
    {
        RestoreFixture restore(QStringLiteral("D:\\Leer"));
        restore.dialog.BitBtn1->click();
        QCOMPARE(
            restore.user.events,
            QStringList({QStringLiteral("beep"),
                         QStringLiteral("message: In diesem Verzeichnis befinden sich keine "
                                        "Sicherungskopien !\n\rBitte wählen sie ein anderes Verzeichnis.")}));
        QVERIFY(!fileExists(shortcut()));
        QVERIFY(restore.dialog.Memo2->isHidden());
    }

    void startWritesTheShortcutThenOpensTheScript_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("script");
        QTest::newRow("folder") << "D:\\Sicherung"
                                << "D:\\Sicherung\\restore.bat";
        QTest::newRow("drive root") << "D:\\"
                                    << "D:\\restore.bat";
    }

    void startWritesTheShortcutThenOpensTheScript()
    {
        QFETCH(QString, destination);
        QFETCH(QString, script);
        RestoreFixture restore(destination);
        restore.pc.writeFile(QStringLiteral("D:\\Restore.bat"), "echo off\r\n");
        restore.dialog.FormActivate();
        restore.dialog.BitBtn1->click();

        QCOMPARE(restore.user.events, QStringList(QStringLiteral("open: ") + script));
        const TestUser::ShellRequest &request = restore.user.shellRequests.first();
        QCOMPARE(request.owner, &restore.dialog);
        QVERIFY(request.parameters.isEmpty() && request.directory.isEmpty());
        QCOMPARE(request.showCommand, 1);
        QVERIFY(!restore.dialog.Memo2->isHidden());

        const auto link = readShellLink(shortcut());
        QCOMPARE(link.error, 0);
        QCOMPARE(link.value.targetPath, ProgramDirectory + QStringLiteral("\\Orvel.exe"));
        QCOMPARE(link.value.workingDirectory, ProgramDirectory + QStringLiteral("\\"));
        QCOMPARE(link.value.iconLocation, QStringLiteral("C:\\windows\\system\\shell32.dll"));
        QCOMPARE(link.value.iconIndex, 29);

        restore.dialog.BitBtn2->click();
        QVERIFY(restore.dialog.Memo2->isHidden());
    }

    // Escape is "&Abbrechen": the notice is hidden before the dialog closes.
    void escapeHidesTheNoticeAndCloses()
    {
        RestoreFixture restore;
        restore.dialog.show();
        restore.dialog.BitBtn1->click();
        QVERIFY(!restore.dialog.Memo2->isHidden());

        QTest::keyClick(&restore.dialog, Qt::Key_Escape);

        QVERIFY(restore.dialog.Memo2->isHidden());
        QVERIFY(!restore.dialog.isVisible());
    }

    // The client area is 519 by 338 with the status bar along its bottom; no control reaches
    // into the bar or out of the area.
    void clientAreaHoldsTheStatusBar()
    {
        RestoreFixture restore;
        QCOMPARE(restore.dialog.size(), QSize(519, 338));
        QCOMPARE(restore.dialog.minimumSize(), restore.dialog.maximumSize());
        const QRect bar = restore.dialog.StatusBar1->geometry();
        QCOMPARE(bar.bottom(), 337);
        QCOMPARE(bar.width(), 519);
        const QRect client = restore.dialog.rect();
        for (QWidget *control : restore.dialog.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (control == restore.dialog.StatusBar1 || control->isWindow())
                continue;
            QVERIFY2(client.contains(control->geometry()), qPrintable(control->objectName()));
            QVERIFY2(!control->geometry().intersects(bar), qPrintable(control->objectName()));
        }
    }
};

QTEST_MAIN(TRestoreTest)
#include "TRestoreTest.moc"
