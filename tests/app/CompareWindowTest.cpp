// "Sicherung &vergleichen ..." (F7): the comparison window on the destination's backup.
#include "compare/TVergleich.h"
#include "controls/DirectoryListBox.h"
#include "controls/StatusBar.h"
#include "platform/drives/Files.h"
#include "restore/TRestore.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/DemoPc.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

namespace {

const QString Backups = QStringLiteral("C:\\Programme\\Velko Save\\Backups");

// Runs `inside` on each modal window the command opens, once it is active.
void whileModal(const std::function<void()> &command, const std::function<void(QWidget &)> &inside)
{
    QTimer watcher;
    watcher.setInterval(10);
    QPointer<QWidget> seen;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != seen && modal->isVisible() && QApplication::activeWindow() == modal) {
            seen = modal;
            inside(*modal);
        }
    });
    watcher.start();
    command();
}

// "file | place | state" of each row.
QStringList rows(const QTreeWidget &list)
{
    QStringList result;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = list.topLevelItem(row);
        result << item->text(0) + " | " + item->text(1) + " | " + item->text(2);
    }
    return result;
}

// The demo PC's eleven files saved into the default destination, then SYSTEM.INI given a driver
// and USER.DAT deleted.
TForm1 &startWithAChangedBackup(ProgramFixture &program)
{
    seedDemoPc(program.machine);
    TForm1 &form = program.start();
    form.BitBtn1Click();
    const QString systemIni = QStringLiteral("C:\\WINDOWS\\SYSTEM.INI");
    const QByteArray saved = program.machine.readFile(systemIni);
    program.machine.writeFile(
        systemIni, QByteArray(saved).replace("[386Enh]\r\n", "[386Enh]\r\ndevice=C:\\TREIBER\\NEU.386\r\n"));
    if (platform::setFileAttributes(QStringLiteral("C:\\WINDOWS\\USER.DAT"), 0) != 0
        || platform::deleteFile(QStringLiteral("C:\\WINDOWS\\USER.DAT")) != 0)
        qFatal("cannot delete USER.DAT");
    return form;
}

}  // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT
private slots:
    void menuEntryBelowTheRestore();
    void shortHelpSwitchesTheEntrysHint();
    void openedOnTheDestination_data();
    void openedOnTheDestination();
    void folderWithoutBackupGetsTheRestoreWarning_data();
    void folderWithoutBackupGetsTheRestoreWarning();
};

void CompareWindowTest::menuEntryBelowTheRestore()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    const QList<QAction *> entries = form.menuBar()->actions().at(0)->menu()->actions();
    QCOMPARE(entries.at(1)->text(), QStringLiteral("Sicherungsdateien &wiederherstellen\tF6"));
    QCOMPARE(entries.at(2)->text(), QStringLiteral("Sicherung &vergleichen ...\tF7"));
    QCOMPARE(entries.at(2), form.Sicherungvergleichen1);
}

void CompareWindowTest::shortHelpSwitchesTheEntrysHint()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    const QString hint = QStringLiteral("Gesicherte Dateien werden mit den aktuellen Dateien verglichen");
    QCOMPARE(form.Sicherungvergleichen1->toolTip(), hint);
    form.findChild<QAction *>(QStringLiteral("Kurzhinweise1"))->trigger();
    QVERIFY(form.Sicherungvergleichen1->toolTip() != hint);
    form.findChild<QAction *>(QStringLiteral("Kurzhinweise1"))->trigger();
    QCOMPARE(form.Sicherungvergleichen1->toolTip(), hint);
}

void CompareWindowTest::openedOnTheDestination_data()
{
    QTest::addColumn<QString>("how");  // how the window is opened
    QTest::addColumn<QString>("leave");  // how it is left
    QTest::addColumn<QStringList>("titles");  // the modal windows that came up
    QTest::newRow("F7, closed") << "F7"
                                << "BitBtn2" << QStringList{"Vergleich mit der Sicherung"};
    QTest::newRow("menu entry, Esc") << "menu"
                                     << "Escape" << QStringList{"Vergleich mit der Sicherung"};
    QTest::newRow("F7, restore") << "F7"
                                 << "BitBtn1" << QStringList{"Vergleich mit der Sicherung", "Velko Restore"};
}

void CompareWindowTest::openedOnTheDestination()
{
    QFETCH(QString, how);
    QFETCH(QString, leave);
    QFETCH(QStringList, titles);
    ProgramFixture program;
    TForm1 &form = startWithAChangedBackup(program);
    QCOMPARE(form.DirectoryListBox1->directory(), Backups);

    QStringList seenTitles;
    QStringList seenRows;
    QString summary;
    QString difference;
    QString folder;
    QString restoreFolder;
    int helpTopic = 0;
    bool resizable = false;
    whileModal(
        [&] {
            if (how == "F7")
                QTest::keyClick(&form, Qt::Key_F7);
            else
                form.Sicherungvergleichen1->trigger();
        },
        [&](QWidget &modal) {
            seenTitles << modal.windowTitle();
            if (auto *restore = qobject_cast<TRestore *>(&modal)) {
                restoreFolder = restore->DirectoryListBox1->directory();
                restore->close();
                return;
            }
            auto *window = qobject_cast<TVergleich *>(&modal);
            if (!window) {
                modal.close();
                return;
            }
            seenRows = rows(*window->ListView1);
            summary = window->Label3->text();
            folder = window->Label1->text();
            difference = window->Memo1->toPlainText();
            resizable = window->isSizeGripEnabled() && window->minimumSize() != window->maximumSize();
            window->BitBtn3->click();
            helpTopic = program.user.helpRequests.value(program.user.helpRequests.size() - 1).topic;
            if (leave == "Escape")
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->findChild<QPushButton *>(leave)->click();
        });

    QCOMPARE(seenTitles, titles);
    QCOMPARE(folder, Backups);
    QCOMPARE(seenRows.size(), 11);
    QVERIFY2(seenRows.contains("SYSTEM.INI | C:\\WINDOWS | geändert"), qPrintable(seenRows.join(u'\n')));
    // A file that is gone is named as the Backup list showed it.
    QVERIFY2(seenRows.contains("User.dat | C:\\WINDOWS | Original fehlt"), qPrintable(seenRows.join(u'\n')));
    QVERIFY2(seenRows.contains("CONFIG.SYS | C:\\ | unverändert"), qPrintable(seenRows.join(u'\n')));
    QCOMPARE(summary, QStringLiteral("9 Dateien unverändert, 1 geändert, 1 fehlen"));
    // The first row that differs is chosen at once: SYSTEM.INI with its new line.
    QVERIFY2(difference.contains("\n+device=C:\\TREIBER\\NEU.386\n"), qPrintable(difference));
    QCOMPARE(
        form.StatusBar1->panelText(),
        QStringLiteral("Status: Vergleich mit der Sicherung: 9 Dateien unverändert, 1 geändert, 1 fehlen"));
    QCOMPARE(helpTopic, 10);
    QVERIFY(resizable);
    if (titles.size() > 1)
        QCOMPARE(restoreFolder, Backups);
}

void CompareWindowTest::folderWithoutBackupGetsTheRestoreWarning_data()
{
    QTest::addColumn<QByteArray>("script");  // null: no Restore.bat
    QTest::addColumn<QString>("warning");
    QTest::newRow("no Restore.bat") << QByteArray()
                                    << "In diesem Verzeichnis befinden sich keine Sicherungskopien !\n\r"
                                       "Bitte wählen sie ein anderes Verzeichnis.";
    QTest::newRow("a Restore.bat written by hand") << QByteArray("copy CONFIG.SYS C:\\CONFIG.SYS\r\n")
                                                   << "C:\\WINDOWS\\TEMP\\Restore.bat wurde nicht von Velko "
                                                      "Save geschrieben oder nachträglich verändert !\n\r"
                                                      "Die Sicherung kann daher nicht verglichen werden.";
}

void CompareWindowTest::folderWithoutBackupGetsTheRestoreWarning()
{
    QFETCH(QByteArray, script);
    QFETCH(QString, warning);
    ProgramFixture program;
    if (!script.isNull())
        program.machine.writeFile(QStringLiteral("C:\\WINDOWS\\TEMP\\Restore.bat"), script);
    TForm1 &form = program.start();
    QCOMPARE(form.DirectoryListBox1->setDirectory(QStringLiteral("C:\\WINDOWS\\TEMP")), platform::dos::Ok);
    program.user.events.clear();
    QStringList seenTitles;
    whileModal([&] { QTest::keyClick(&form, Qt::Key_F7); },
               [&](QWidget &modal) {
                   seenTitles << modal.windowTitle();
                   modal.close();
               });
    QVERIFY(seenTitles.isEmpty());
    QCOMPARE(program.user.events, QStringList({"beep", "message: " + warning}));
}

QTEST_MAIN(CompareWindowTest)
#include "CompareWindowTest.moc"
