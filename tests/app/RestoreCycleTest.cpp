// The whole restore cycle on a demo PC: a backup, damage to the system, the restore dialog, MS-DOS
// mode running Restore.bat, and the program's next start through the autostart shortcut.
#include "controls/OpenFileDialog.h"
#include "platform/drives/Files.h"
#include "platform/shell/Shell.h"
#include "restore/core/AutostartShortcut.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/DemoPc.h"
#include "tests/support/FileState.h"
#include "tests/support/HeadlessDos.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace platform;

namespace {

const QString Backups = QStringLiteral("C:\\Programme\\Velko Save\\Backups");

// Where the restore writes the autostart shortcut.
QString shortcut()
{
    return restore::autostartShortcutPath();
}

const QString AfterRestore = QStringLiteral("message: 'Velko Restore' wurde ausgeführt !");

void overwrite(const QString &path, const QByteArray &bytes, quint8 attributes)
{
    QCOMPARE(setFileAttributes(path, attr::Archive), 0);
    QCOMPARE(writeFile(path, bytes), 0);
    QCOMPARE(setFileAttributes(path, attributes), 0);
}

// Presses "Sicherungsdateien wiederherstellen" in the restore dialog that F6 opens.
void startRestoreFromTheDialog(TForm1 &form)
{
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // The dialog takes the main window's directory when it is activated.
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && QApplication::activeWindow() == modal) {
            watcher.stop();
            modal->findChild<QPushButton *>(QStringLiteral("BitBtn1"))->click();
            modal->close();
        }
    });
    watcher.start();
    form.Button7Click();
}

}  // namespace

class RestoreCycleTest : public QObject {
    Q_OBJECT

private slots:
    void backupDamageRestoreAndRestart()
    {
        ProgramFixture program;
        seedDemoPc(program.machine);
        QFile pif(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/program/restore.pif"));
        QVERIFY(pif.open(QIODevice::ReadOnly));
        program.machine.writeFile(ProgramDirectory + QStringLiteral("\\restore.pif"), pif.readAll());
        const QStringList userFiles = {QStringLiteral("D:\\Daten\\Glückwünsche.txt"),
                                       QStringLiteral("D:\\Daten\\Büro.txt")};
        program.machine.writeFile(userFiles[0], "Alles Gute zum Geburtstag!\r\n");
        program.machine.writeFile(userFiles[1], "Schlüssel liegt im Büro.\r\n",
                                  attr::ReadOnly | attr::Archive);
        TForm1 &form = program.start();
        controls::OpenFileDialog::setNextSelection(userFiles);
        form.BitBtn2Click();
        form.BitBtn1Click();
        QVERIFY2(fileExists(Backups + QStringLiteral("\\Restore.bat")),
                 qPrintable(program.user.events.join(u'\n')));

        const QStringList saved = demoSystemFiles() + userFiles;
        QHash<QString, FileState> before;
        for (const QString &path : saved)
            before.insert(path, stateOf(path));
        QCOMPARE(before[QStringLiteral("C:\\IO.SYS")].attributes,
                 attr::ReadOnly | attr::Hidden | attr::System);

        // Windows no longer starts: system files changed, IO.SYS gone, a user file damaged.
        overwrite(QStringLiteral("C:\\WINDOWS\\SYSTEM.INI"), "[boot]\r\nkaputt\r\n", attr::Archive);
        overwrite(QStringLiteral("C:\\WINDOWS\\USER.DAT"), "verdorben", attr::Archive);
        overwrite(QStringLiteral("C:\\MSDOS.SYS"), "[Options]\r\n", attr::Archive);
        overwrite(userFiles[0], "", attr::Hidden);
        QCOMPARE(setFileAttributes(QStringLiteral("C:\\IO.SYS"), attr::Archive), 0);
        QCOMPARE(deleteFile(QStringLiteral("C:\\IO.SYS")), 0);

        program.user.events.clear();
        startRestoreFromTheDialog(form);
        const QString script = Backups + QStringLiteral("\\restore.bat");
        QCOMPARE(program.user.events.join(u"\n"), QStringLiteral("open: ") + script);
        QVERIFY(fileExists(shortcut()));
        QCOMPARE(batchStartOf(script), BatchStart::MsDosMode);

        const QString autostart = runDosHeadless(program.machine.folder(), QStringLiteral(" "),
                                                 {QStringLiteral("--msdos-mode"), script});
        QVERIFY2(autostart.contains(QStringLiteral("AUTOSTART C:\\Programme\\Velko Save\\Orvel.exe|"
                                                   "C:\\Programme\\Velko Save\\")),
                 qPrintable(autostart));
        for (const QString &path : saved)
            QVERIFY2(stateOf(path) == before[path], qPrintable(path));

        // Windows starts again: the shortcut starts the program, which reports the restore once.
        program.user.events.clear();
        program.start();
        QCOMPARE(program.user.events.count(AfterRestore), 1);
        QVERIFY(!fileExists(shortcut()));
        program.user.events.clear();
        program.start();
        QVERIFY(!program.user.events.contains(AfterRestore));
    }

    void restoreThatDidNotRunToItsEndIsReported_data()
    {
        QTest::addColumn<bool>("missing");  // else cut within a line
        QTest::addColumn<QString>("warning");
        const QString script = Backups + QStringLiteral("\\restore.bat");
        QTest::newRow("missing") << true
                                 << "'Velko Restore' wurde nicht ausgeführt !\n\rDas Skript " + script
                                        + " wurde nicht gefunden.\n\r";
        QTest::newRow("cut within a line")
            << false
            << "'Velko Restore' wurde nicht vollständig ausgeführt !\n\rDas Skript " + script
                   + " ist unvollständig: Es endet mitten in einer Zeile.\n\r";
    }

    void restoreThatDidNotRunToItsEndIsReported()
    {
        QFETCH(bool, missing);
        QFETCH(QString, warning);
        ProgramFixture program;
        seedDemoPc(program.machine);
        TForm1 &form = program.start();
        form.BitBtn1Click();
        const QString script = Backups + QStringLiteral("\\restore.bat");
        QVERIFY2(fileExists(script), qPrintable(program.user.events.join(u'\n')));
        startRestoreFromTheDialog(form);
        QVERIFY(fileExists(shortcut()));

        const QByteArray whole = program.machine.readFile(script);
        QCOMPARE(missing ? deleteFile(script) : writeFile(script, whole.left(whole.indexOf("copy ") + 3)), 0);
        const QString autostart = runDosHeadless(program.machine.folder(), QStringLiteral(" "),
                                                 {QStringLiteral("--msdos-mode"), script});
        QVERIFY2(autostart.contains(QStringLiteral("AUTOSTART C:\\Programme\\Velko Save\\Orvel.exe|")),
                 qPrintable(autostart));

        program.user.events.clear();
        program.user.messages.clear();
        program.start();
        QCOMPARE(program.user.events.size(), 2);
        QCOMPARE(program.user.events.first(), QStringLiteral("beep"));
        QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
        QVERIFY2(program.user.messages.first().text.startsWith(warning),
                 qPrintable(program.user.messages.first().text));
        QVERIFY(!fileExists(shortcut()));
        QVERIFY(files(QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart")).value.isEmpty());

        program.user.events.clear();
        program.start();
        QVERIFY(program.user.events.isEmpty());
    }
};

QTEST_MAIN(RestoreCycleTest)
#include "RestoreCycleTest.moc"
