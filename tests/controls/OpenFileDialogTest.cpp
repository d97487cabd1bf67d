#include "controls/OpenFileDialog.h"
#include "controls/DriveComboBox.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "platform/shell/Desktop.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using controls::FileFilter;
using controls::OpenFileDialog;

namespace {

const QList<FileFilter> ProgramFilters = {
    {"Alle Dateien (*.*)", "*.*"},
    {"Initialisierungsdateien (*.ini)", "*.ini"},
    {"Systemdateien (*.sys)", "*.sys"},
    {"Programme (*.exe; *.com)", "*.exe; *.com"},
    {"Programmbibliotheken (*.dll)", "*.dll"},
    {"Worddateien (*.doc)", "*.doc"},
};

// The files of C:\Daten in the order the folder lists them.
const QStringList DatenFiles = {"archiv.tar.gz", "Autoexec.bat", "Brief.doc", "Command.com", "Config.sys",
                                "Io.sys",        "Liesmich.txt", "Msdos.sys", "Notepad.exe", "README",
                                "Shell32.dll",   "System.INI",   "Win.ini"};

QStringList rowsOf(const QListWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

QListWidgetItem *rowNamed(QListWidget *list, const QString &name)
{
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

void clickRow(QListWidget *list, const QString &name, Qt::KeyboardModifiers modifiers = {})
{
    list->scrollToItem(rowNamed(list, name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(rowNamed(list, name)).center());
}

// Counts how often a window is shown, and cancels it each time so that nothing waits for a person.
class ShowWatch : public QObject {
public:
    explicit ShowWatch(QDialog *dialog)
        : m_dialog(dialog)
    {
        dialog->installEventFilter(this);
    }
    int shows = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_dialog && event->type() == QEvent::Show) {
            ++shows;
            QMetaObject::invokeMethod(m_dialog, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QDialog *m_dialog;
};

}  // namespace

// A machine with C:\Daten (the files above and a folder Unter with Tief.txt), C:\WINDOWS\System.ini,
// D:\x.txt and D:\Archiv. The dialog carries the program's six filters; the current directory is
// C:\Daten.
class OpenFileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_machine = std::make_unique<TestMachine>();
        m_machine->makeDirectory("C:\\Daten");
        for (const QString &name : DatenFiles)
            m_machine->writeFile("C:\\Daten\\" + name, name.toLatin1());
        m_machine->makeDirectory("C:\\Daten\\Unter");
        m_machine->writeFile("C:\\Daten\\Unter\\Tief.txt", "tief");
        m_machine->writeFile("C:\\WINDOWS\\System.ini", "[boot]");
        m_machine->writeFile("D:\\x.txt", "x");
        m_machine->makeDirectory("D:\\Archiv");
        QCOMPARE(platform::setCurrentDirectory("C:\\Daten"), 0);
        m_dialog = std::make_unique<OpenFileDialog>();
        m_dialog->setWindowTitle("Sicherungsdatei(en) hinzufügen");
        m_dialog->setFilters(ProgramFilters);
    }
    void cleanup()
    {
        m_dialog.reset();
        m_machine.reset();
    }

    void filtersShowTheirFiles_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("Alle Dateien, the default") << 0 << DatenFiles;
        QTest::newRow("Initialisierungsdateien") << 1 << QStringList{"System.INI", "Win.ini"};
        QTest::newRow("Systemdateien") << 2 << QStringList{"Config.sys", "Io.sys", "Msdos.sys"};
        QTest::newRow("Programme") << 3 << QStringList{"Command.com", "Notepad.exe"};
        QTest::newRow("Programmbibliotheken") << 4 << QStringList{"Shell32.dll"};
        QTest::newRow("Worddateien") << 5 << QStringList{"Brief.doc"};
    }

    void filtersShowTheirFiles()
    {
        QFETCH(int, filter);
        QFETCH(QStringList, shown);
        QStringList captions;
        QStringList rows;

        executeWith([&] {
            captions = comboItems(filterBox());
            filterBox()->setCurrentIndex(filter);
            rows = rowsOf(fileList());
        });

        QCOMPARE(captions.at(filter), ProgramFilters.at(filter).caption);
        QCOMPARE(rows, shown);
    }

    void patternsFollowWindowsRules_data()
    {
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("letter case disregarded")
            << "*.SYS" << QStringList{"Config.sys", "Io.sys", "Msdos.sys"};
        QTest::newRow("blanks around patterns")
            << "  *.dll ;*.doc;; " << QStringList{"Brief.doc", "Shell32.dll"};
        QTest::newRow("star-dot: names without extension") << "*." << QStringList{"README"};
        QTest::newRow("plain star") << "*" << DatenFiles;
        QTest::newRow("question mark is one character") << "??.sys" << QStringList{"Io.sys"};
        QTest::newRow("star inside a name") << "*e*.*x*" << QStringList{"Liesmich.txt", "Notepad.exe"};
        QTest::newRow("last extension counts") << "*.gz" << QStringList{"archiv.tar.gz"};
        QTest::newRow("whole name") << "readme" << QStringList{"README"};
        QTest::newRow("nothing matches") << "*.xls" << QStringList{};
    }

    void patternsFollowWindowsRules()
    {
        QFETCH(QString, patterns);
        QFETCH(QStringList, shown);
        m_dialog->setFilters({{"Probe", patterns}});
        QStringList rows;

        executeWith([&] { rows = rowsOf(fileList()); });

        QCOMPARE(rows, shown);
    }

    void opensInTheCurrentDirectory()
    {
        QCOMPARE(platform::setCurrentDirectory("C:\\Daten\\Unter"), 0);
        QString folder;
        QChar drive;
        QStringList rows;

        executeWith([&] {
            folder = m_dialog->findChild<QLabel *>("FolderLabel")->text();
            drive = driveBox()->drive();
            rows = rowsOf(fileList());
        });

        QCOMPARE(folder, QStringLiteral("C:\\Daten\\Unter"));
        QCOMPARE(drive, QChar(u'C'));
        QCOMPARE(rows, QStringList{"Tief.txt"});
    }

    void severalSelectedFilesComeInFolderOrder()
    {
        QString shownNames;
        const QStringList chosen = executeWith([&] {
            clickRow(fileList(), "Win.ini");
            clickRow(fileList(), "Autoexec.bat", Qt::ControlModifier);
            clickRow(fileList(), "Config.sys", Qt::ControlModifier);
            shownNames = fileNameEdit()->text();
            openButton()->click();
        });

        QCOMPARE(shownNames, QStringLiteral("\"Autoexec.bat\" \"Config.sys\" \"Win.ini\""));
        QCOMPARE(chosen,
                 QStringList({"C:\\Daten\\Autoexec.bat", "C:\\Daten\\Config.sys", "C:\\Daten\\Win.ini"}));
    }

    void shiftClickSelectsARange()
    {
        const QStringList chosen = executeWith([&] {
            clickRow(fileList(), "Io.sys");
            clickRow(fileList(), "Command.com", Qt::ShiftModifier);
            openButton()->click();
        });

        QCOMPARE(chosen,
                 QStringList({"C:\\Daten\\Command.com", "C:\\Daten\\Config.sys", "C:\\Daten\\Io.sys"}));
    }

    void oneSelectedFileIsShownWithoutQuotes()
    {
        QString shownNames;
        executeWith([&] {
            rowNamed(fileList(), "Win.ini")->setSelected(true);
            shownNames = fileNameEdit()->text();
        });

        QCOMPARE(shownNames, QStringLiteral("Win.ini"));
    }

    void doubleClickOpensAFile()
    {
        const QStringList chosen = executeWith([&] {
            QListWidget *list = fileList();
            const QPoint brief = list->visualItemRect(rowNamed(list, "Brief.doc")).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, brief);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, brief);
        });

        QCOMPARE(chosen, QStringList{"C:\\Daten\\Brief.doc"});
    }

    void typedNamesAreFound_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("chosen");
        QTest::newRow("one name, other letter case") << "win.INI" << QStringList{"C:\\Daten\\Win.ini"};
        QTest::newRow("several quoted names, folder order")
            << "\"win.ini\" \"AUTOEXEC.BAT\"  \"win.ini\""
            << QStringList{"C:\\Daten\\Autoexec.bat", "C:\\Daten\\Win.ini"};
        QTest::newRow("below the folder") << "unter\\tief.txt" << QStringList{"C:\\Daten\\Unter\\Tief.txt"};
        QTest::newRow("absolute path") << "c:\\windows\\system.ini" << QStringList{"C:\\WINDOWS\\System.ini"};
        QTest::newRow("from the root") << "\\WINDOWS\\SYSTEM.INI" << QStringList{"C:\\WINDOWS\\System.ini"};
        QTest::newRow("other drive's root") << "d:\\X.TXT" << QStringList{"D:\\x.txt"};
        QTest::newRow("name without extension") << "readme" << QStringList{"C:\\Daten\\README"};
    }

    void typedNamesAreFound()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, chosen);
        TestUser user;

        const QStringList result = executeWith([&] {
            fileNameEdit()->setText(typed);
            QTest::keyClick(fileNameEdit(), Qt::Key_Return);
        });

        QCOMPARE(result, chosen);
        QCOMPARE(user.events, QStringList());
    }

    void aMissingNameIsReportedAndTheDialogStays_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("reported");
        QTest::newRow("missing file") << "fehlt.txt"
                                      << "fehlt.txt";
        QTest::newRow("one of several missing") << "\"Win.ini\" \"fehlt.txt\""
                                                << "fehlt.txt";
        QTest::newRow("missing folder") << "Weg\\Win.ini"
                                        << "Weg\\Win.ini";
        QTest::newRow("a folder among several names") << "\"Unter\" \"Win.ini\""
                                                      << "Unter";
    }

    void aMissingNameIsReportedAndTheDialogStays()
    {
        QFETCH(QString, typed);
        QFETCH(QString, reported);
        TestUser user;
        bool stillShown = false;

        const QStringList result = executeWith([&] {
            fileNameEdit()->setText(typed);
            openButton()->click();
            stillShown = m_dialog->isVisible();
        });

        QVERIFY(stillShown);
        QVERIFY(result.isEmpty());
        QCOMPARE(user.events,
                 QStringList({"beep", "message: " + reported
                                          + "\n\rDie Datei wurde nicht gefunden.\n\r"
                                            "Überprüfen Sie, ob Pfad und Dateiname richtig sind."}));
        QCOMPARE(user.messages.at(0).type, controls::MessageType::Warning);
    }

    void aTypedFolderIsOpened_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QChar>("drive");
        QTest::newRow("subfolder") << "unter"
                                   << "C:\\Daten\\Unter" << QChar(u'C');
        QTest::newRow("parent") << ".."
                                << "C:\\" << QChar(u'C');
        QTest::newRow("other drive") << "D:\\archiv"
                                     << "D:\\Archiv" << QChar(u'D');
    }

    void aTypedFolderIsOpened()
    {
        QFETCH(QString, typed);
        QFETCH(QString, folder);
        QFETCH(QChar, drive);
        QString shownFolder;
        QChar shownDrive;
        QString nameLine;
        bool stillShown = false;

        executeWith([&] {
            fileNameEdit()->setText(typed);
            openButton()->click();
            stillShown = m_dialog->isVisible();
            shownFolder = m_dialog->findChild<QLabel *>("FolderLabel")->text();
            shownDrive = driveBox()->drive();
            nameLine = fileNameEdit()->text();
        });

        QVERIFY(stillShown);
        QCOMPARE(shownFolder, folder);
        QCOMPARE(shownDrive, drive);
        QCOMPARE(nameLine, QString());
    }

    void aTypedWildcardFiltersTheList()
    {
        QStringList rows;
        QString nameLine;
        QStringList rowsBelow;
        QStringList rowsAfterFilterChange;

        executeWith([&] {
            fileNameEdit()->setText("*.ini;*.txt");
            openButton()->click();
            rows = rowsOf(fileList());
            nameLine = fileNameEdit()->text();
            fileNameEdit()->setText("Unter");
            openButton()->click();
            rowsBelow = rowsOf(fileList());
            filterBox()->setCurrentIndex(3);
            rowsAfterFilterChange = rowsOf(fileList());
        });

        QCOMPARE(rows, QStringList({"Liesmich.txt", "System.INI", "Win.ini"}));
        QCOMPARE(nameLine, QStringLiteral("*.ini;*.txt"));
        QCOMPARE(rowsBelow, QStringList{"Tief.txt"});
        QCOMPARE(rowsAfterFilterChange, QStringList());
    }

    void cancelReturnsNothing()
    {
        const QStringList chosen = executeWith([&] {
            rowNamed(fileList(), "Win.ini")->setSelected(true);
            m_dialog->findChild<QPushButton *>("CancelButton")->click();
        });

        QVERIFY(chosen.isEmpty());
    }

    void aFileInARootFolder()
    {
        QCOMPARE(platform::setCurrentDirectory("D:\\"), 0);

        const QStringList chosen = executeWith([&] {
            rowNamed(fileList(), "x.txt")->setSelected(true);
            openButton()->click();
        });

        QCOMPARE(chosen, QStringList{"D:\\x.txt"});
    }

    void theCurrentDirectoriesAreRestored_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("after Öffnen") << true;
        QTest::newRow("after Abbrechen") << false;
    }

    void theCurrentDirectoriesAreRestored()
    {
        QFETCH(bool, open);
        QCOMPARE(platform::setCurrentDirectory("C:\\WINDOWS"), 0);
        QString whileBrowsing;

        const QStringList chosen = executeWith([&] {
            driveBox()->setDrive(u'D');
            fileNameEdit()->setText("Archiv");
            openButton()->click();
            fileNameEdit()->setText("C:\\Daten");
            openButton()->click();
            whileBrowsing = platform::currentDirectory();
            rowNamed(fileList(), "Win.ini")->setSelected(true);
            if (open)
                openButton()->click();
        });

        QCOMPARE(whileBrowsing, QStringLiteral("C:\\Daten"));
        QCOMPARE(chosen, open ? QStringList{"C:\\Daten\\Win.ini"} : QStringList());
        QCOMPARE(platform::currentDirectory(), QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(platform::driveCurrentDirectory(u'D').value, QStringLiteral("D:\\"));
        QCOMPARE(platform::driveCurrentDirectory(u'C').value, QStringLiteral("C:\\WINDOWS"));
    }

    void aDriveThatIsNotReadyIsReported_data()
    {
        QTest::addColumn<QChar>("drive");
        QTest::newRow("cd drive without medium") << QChar(u'E');
        QTest::newRow("floppy without disk") << QChar(u'A');
    }

    void aDriveThatIsNotReadyIsReported()
    {
        QFETCH(QChar, drive);
        TestUser user;
        QChar shownDrive;
        QString folder;
        QStringList rows;

        executeWith([&] {
            driveBox()->setDrive(drive);
            shownDrive = driveBox()->drive();
            folder = m_dialog->findChild<QLabel *>("FolderLabel")->text();
            rows = rowsOf(fileList());
        });

        QCOMPARE(user.events,
                 QStringList({"beep", QStringLiteral("message: Laufwerk %1: ist nicht bereit.").arg(drive)}));
        QCOMPARE(user.messages.at(0).type, controls::MessageType::Warning);
        QCOMPARE(user.messages.at(0).buttons, controls::MessageButtons(controls::MessageButton::Ok));
        QCOMPARE(shownDrive, QChar(u'C'));
        QCOMPARE(folder, QStringLiteral("C:\\Daten"));
        QCOMPARE(rows, DatenFiles);
    }

    void theNextSelectionIsUsedOnce_data()
    {
        QTest::addColumn<QStringList>("next");
        QTest::newRow("files chosen") << QStringList{"C:\\Daten\\Win.ini", "D:\\x.txt"};
        QTest::newRow("cancelled") << QStringList();
    }

    void theNextSelectionIsUsedOnce()
    {
        QFETCH(QStringList, next);
        OpenFileDialog::setNextSelection(next);
        QStringList first;
        {
            ShowWatch watch(m_dialog.get());
            first = m_dialog->execute();
            QCOMPARE(watch.shows, 0);
        }

        bool shownSecond = false;
        const QStringList second = executeWith([&] {
            shownSecond = m_dialog->isVisible();
            rowNamed(fileList(), "Io.sys")->setSelected(true);
            openButton()->click();
        });

        QCOMPARE(first, next);
        QVERIFY(shownSecond);
        QCOMPARE(second, QStringList{"C:\\Daten\\Io.sys"});
    }

    void helpButtonShowsItsTopic()
    {
        TestUser user;
        controls::setApplicationHelpFile("C:\\Programme\\Velko Save\\Orvel.hlp", nullptr);
        m_dialog->setHelpTopic(9);
        bool helpShown = false;

        executeWith([&] {
            QPushButton *help = m_dialog->findChild<QPushButton *>("HelpButton");
            helpShown = help->isVisible();
            help->click();
        });
        controls::setApplicationHelpFile({}, nullptr);

        QVERIFY(helpShown);
        QCOMPARE(user.events, QStringList{"help: 9"});
        QCOMPARE(user.helpRequests.at(0).command, platform::help::ShowTopic);
    }

    void noHelpButtonWithoutTopic()
    {
        m_dialog->setHelpTopic(9);
        m_dialog->setHelpTopic(0);
        bool helpShown = true;

        executeWith([&] { helpShown = m_dialog->findChild<QPushButton *>("HelpButton")->isVisible(); });

        QVERIFY(!helpShown);
    }

private:
    // Shows the dialog and does the person's part inside it; a dialog still open afterwards is
    // cancelled, so that a failed step cannot leave the test waiting.
    QStringList executeWith(const std::function<void()> &actions)
    {
        QTimer::singleShot(0, m_dialog.get(), [&] {
            actions();
            if (m_dialog->isVisible())
                m_dialog->reject();
        });
        return m_dialog->execute();
    }

    static QStringList comboItems(const QComboBox *box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }

    QListWidget *fileList() const { return m_dialog->findChild<QListWidget *>("FileListBox"); }
    QLineEdit *fileNameEdit() const { return m_dialog->findChild<QLineEdit *>("FileNameEdit"); }
    QComboBox *filterBox() const { return m_dialog->findChild<QComboBox *>("FilterComboBox"); }
    controls::DriveComboBox *driveBox() const
    {
        return m_dialog->findChild<controls::DriveComboBox *>("DriveComboBox");
    }
    QPushButton *openButton() const { return m_dialog->findChild<QPushButton *>("OpenButton"); }

    std::unique_ptr<TestMachine> m_machine;
    std::unique_ptr<OpenFileDialog> m_dialog;
};

QTEST_MAIN(OpenFileDialogTest)
#include "OpenFileDialogTest.moc"
