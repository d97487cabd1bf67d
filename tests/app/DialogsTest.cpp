// The program's dialogs as the main window's commands show them.
#include "backup/TForm6.h"
#include "controls/DriveComboBox.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/TitleButtons.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

Q_DECLARE_METATYPE(ProgramFixture::Dialogs)

namespace {

// Runs `inside` on each modal dialog the command opens, then closes it; returns their titles.
QStringList modalTitles(
    const std::function<void()> &command,
    const std::function<void(QWidget &)> &inside = [](QWidget &modal) { modal.close(); })
{
    QStringList titles;
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        // A dialog sets its caption when it is activated, which comes a moment after it shows.
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && QApplication::activeWindow() == modal) {
            titles << modal->windowTitle();
            inside(*modal);
        }
    });
    watcher.start();
    command();
    return titles;
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void commandsShowTheirDialogsModally_data();
    void commandsShowTheirDialogsModally();
    void floppyChoiceLeadsToTheEmergencyDialog_data();
    void floppyChoiceLeadsToTheEmergencyDialog();
    void createDirectoryDialogReopensWithTheNameFocused_data();
    void createDirectoryDialogReopensWithTheNameFocused();
    void floppyChoiceAndDriveBoxShareOneLetter();
    void floppyChoiceOpensOnWeiterAndTabsFromIt();
    void bootDrivePickerShowsVolumeNames();
    void dialogsShowWindowsTitleButtons_data();
    void dialogsShowWindowsTitleButtons();
};

void DialogsTest::commandsShowTheirDialogsModally_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<ProgramFixture::Dialogs>("dialogs");
    const struct {
        const char *name;
        ProgramFixture::Dialogs dialogs;
    } starts[] = {{"", ProgramFixture::Dialogs::AtStart},
                  // The program makes its dialogs after the main window's first paint; a command
                  // that comes first makes them itself.
                  {", dialogs not made yet", ProgramFixture::Dialogs::WhenNeeded}};
    for (const auto &start : starts) {
        QTest::addRow("F6%s", start.name) << "Button7Click"
                                          << "Velko Restore" << start.dialogs;
        QTest::addRow("create directory%s", start.name) << "NeuesVerzeichniserstellen1Click"
                                                        << "Verzeichnis anlegen" << start.dialogs;
        QTest::addRow("about box%s", start.name) << "Info1Click"
                                                 << "Info" << start.dialogs;
        QTest::addRow("emergency disk%s", start.name) << "Notfalldisketteanfertigen1Click"
                                                      << "Notfalldiskette anfertigen ..." << start.dialogs;
    }
}

void DialogsTest::commandsShowTheirDialogsModally()
{
    QFETCH(QString, command);
    QFETCH(QString, title);
    QFETCH(ProgramFixture::Dialogs, dialogs);
    ProgramFixture program;
    TForm1 &form = program.start(dialogs);
    const QStringList titles = modalTitles(
        [&] { QMetaObject::invokeMethod(&form, command.toLatin1().constData(), Qt::DirectConnection); });
    QCOMPARE(titles, QStringList({title}));
}

void DialogsTest::floppyChoiceLeadsToTheEmergencyDialog_data()
{
    QTest::addColumn<QString>("choice");  // the button pressed in the floppy-drive choice
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("drive A") << "A"
                             << QStringList{"Notfalldiskette anfertigen ...",
                                            "Notfalldiskette anfertigen (Laufwerk A:\\ )"};
    QTest::newRow("drive B") << "B"
                             << QStringList{"Notfalldiskette anfertigen ...",
                                            "Notfalldiskette anfertigen (Laufwerk B:\\ )"};
    QTest::newRow("cancelled") << "*" << QStringList{"Notfalldiskette anfertigen ..."};
    QTest::newRow("escape") << "Escape" << QStringList{"Notfalldiskette anfertigen ..."};
    // Closed by the system before any choice was made: there is no floppy to work on.
    QTest::newRow("closed before a choice") << "close" << QStringList{"Notfalldiskette anfertigen ..."};
}

void DialogsTest::floppyChoiceLeadsToTheEmergencyDialog()
{
    QFETCH(QString, choice);
    QFETCH(QStringList, titles);
    ProgramFixture program;
    TForm1 &form = program.start();
    const auto answer = [&](QWidget &modal) {
        auto *form5 = qobject_cast<TForm5 *>(&modal);
        if (!form5) {
            modal.close();
            return;
        }
        if (choice == QLatin1String("Escape")) {
            QTest::keyClick(form5, Qt::Key_Escape);
        } else if (choice == QLatin1String("close")) {
            form5->close();
        } else if (choice == QLatin1String("*")) {
            form5->BitBtn1->click();
        } else {
            (choice == QLatin1String("A") ? form5->RadioButton1 : form5->RadioButton2)->setChecked(true);
            form5->Button3->click();
        }
    };
    QCOMPARE(modalTitles([&] { form.Notfalldisketteanfertigen1Click(); }, answer), titles);
}

// The drive box and the floppy-drive choice set the same letter: a choice closed by the system
// leaves the one the drive box set last.
void DialogsTest::floppyChoiceAndDriveBoxShareOneLetter()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    QChar choice;
    const auto answer = [&](QWidget &modal) {
        auto *form5 = qobject_cast<TForm5 *>(&modal);
        if (!form5) {
            modal.close();
        } else if (choice.isNull()) {
            form5->close();
        } else {
            (choice == u'A' ? form5->RadioButton1 : form5->RadioButton2)->setChecked(true);
            form5->Button3->click();
        }
    };
    const QString chooser = QStringLiteral("Notfalldiskette anfertigen ...");

    choice = u'B';
    QCOMPARE(modalTitles([&] { form.Notfalldisketteanfertigen1Click(); }, answer),
             QStringList({chooser, "Notfalldiskette anfertigen (Laufwerk B:\\ )"}));
    QCOMPARE(form.FloppyLetter, QChar(u'B'));

    QCOMPARE(modalTitles([&] { form.DriveComboBox1->setDrive(u'A'); }, answer),
             QStringList({"Notfalldiskette anfertigen (Laufwerk A:\\ )"}));
    QCOMPARE(form.FloppyLetter, QChar(u'A'));

    choice = QChar();
    QCOMPARE(modalTitles([&] { form.Notfalldisketteanfertigen1Click(); }, answer),
             QStringList({chooser, "Notfalldiskette anfertigen (Laufwerk A:\\ )"}));

    const auto cancel = [](QWidget &modal) {
        if (auto *form5 = qobject_cast<TForm5 *>(&modal))
            form5->BitBtn1->click();
        else
            modal.close();
    };
    QCOMPARE(modalTitles([&] { form.Notfalldisketteanfertigen1Click(); }, cancel), QStringList({chooser}));
    QCOMPARE(form.FloppyLetter, QChar(u'*'));
}

// "&Weiter >>" is first in the tab order: it has the focus, so Enter goes on at once.
void DialogsTest::floppyChoiceOpensOnWeiterAndTabsFromIt()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    QStringList focused;
    const auto tabAround = [&](QWidget &modal) {
        auto *form5 = qobject_cast<TForm5 *>(&modal);
        if (!form5) {
            modal.close();
            return;
        }
        for (int step = 0; step < 4; ++step) {
            QWidget *focus = QApplication::focusWidget();
            focused << (focus ? focus->objectName() : QString());
            QTest::keyClick(focus ? focus : form5, Qt::Key_Tab);
        }
        form5->BitBtn1->click();
    };
    modalTitles([&] { form.Notfalldisketteanfertigen1Click(); }, tabAround);
    // The unchecked radio button of the pair takes no tab stop, as on Windows.
    QCOMPARE(focused, QStringList({"Button3", "BitBtn1", "RadioButton1", "Button3"}));
}

// The emergency-disk dialog's boot-drive picker names each drive's volume, in upper case; the
// main window's drive box shows the letters only.
void DialogsTest::bootDrivePickerShowsVolumeNames()
{
    ProgramFixture program(
        ProgramDirectory, QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nA=floppy,floppy-a.img\n"
                                         "C=fixed,drive_c\nD=fixed,drive_d\n[Labels]\nC=Win98\n"));
    TForm1 &form = program.start();
    const auto items = [](const QComboBox &box) {
        QStringList texts;
        for (int i = 0; i < box.count(); ++i)
            texts << box.itemText(i);
        return texts;
    };
    QStringList picker;
    modalTitles([&] { form.DriveComboBox1->setDrive(u'A'); },
                [&](QWidget &modal) {
                    picker = items(*qobject_cast<TNotfall *>(&modal)->DriveComboBox1);
                    modal.close();
                });
    QCOMPARE(picker, QStringList({"A:", "C: [WIN98]", "D:"}));
    QCOMPARE(items(*form.DriveComboBox1), QStringList({"A:", "C:", "D:"}));
}

void DialogsTest::dialogsShowWindowsTitleButtons_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("restore dialog") << "Button7Click" << true;
    QTest::newRow("create-directory dialog") << "NeuesVerzeichniserstellen1Click" << true;
    QTest::newRow("about box") << "Info1Click" << true;
    QTest::newRow("floppy-drive choice") << "Notfalldisketteanfertigen1Click" << false;
    QTest::newRow("emergency-disk dialog") << "drive box A:" << true;
}

void DialogsTest::dialogsShowWindowsTitleButtons()
{
    QFETCH(QString, command);
    QFETCH(bool, closeBox);
    ProgramFixture program;
    TForm1 &form = program.start();
    int checked = 0;
    const auto inspect = [&](QWidget &modal) {
        if (checked++ == 0)
            verifyTitleButtons(modal, closeBox);
        modal.close();
    };
    modalTitles(
        [&] {
            if (command == u"drive box A:")
                form.DriveComboBox1->setDrive(u'A');
            else
                QMetaObject::invokeMethod(&form, command.toLatin1().constData(), Qt::DirectConnection);
        },
        inspect);
    QVERIFY(checked > 0);
}

void DialogsTest::createDirectoryDialogReopensWithTheNameFocused_data()
{
    QTest::addColumn<QString>("way");  // how the dialog is closed with the focus on "&OK"
    QTest::newRow("Esc") << "Escape";
    QTest::newRow("Abbrechen") << "Abbrechen";
    QTest::newRow("close box") << "close";
    QTest::newRow("OK") << "OK";
}

void DialogsTest::createDirectoryDialogReopensWithTheNameFocused()
{
    QFETCH(QString, way);
    ProgramFixture program;
    TForm1 &form = program.start();
    // Each step waits until the dialog is the active window, as a person would.
    const auto closeFromOk = [&](QWidget &modal) {
        auto *form6 = qobject_cast<TForm6 *>(&modal);
        if (!form6->isActiveWindow())
            return;
        form6->Edit1->setText(QStringLiteral("Neu"));
        form6->BitBtn1->setFocus();
        if (way == QLatin1String("Escape"))
            QTest::keyClick(form6->BitBtn1, Qt::Key_Escape);
        else if (way == QLatin1String("Abbrechen"))
            form6->BitBtn2->click();
        else if (way == QLatin1String("close"))
            form6->close();
        else
            form6->BitBtn1->click();
    };
    modalTitles([&] { form.NeuesVerzeichniserstellen1Click(); }, closeFromOk);

    QString focused;
    const auto lookAndClose = [&](QWidget &modal) {
        if (!modal.isActiveWindow())
            return;
        focused = modal.focusWidget() ? modal.focusWidget()->objectName() : QString();
        modal.close();
    };
    modalTitles([&] { form.NeuesVerzeichniserstellen1Click(); }, lookAndClose);
    QCOMPARE(focused, QStringLiteral("Edit1"));
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
