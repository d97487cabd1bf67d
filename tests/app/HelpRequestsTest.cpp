// Which help each window asks for: the file, the window it is shown for, the command and the topic,
// by F1 and by the window's "Hilfe" button.
#include "controls/WindowHelp.h"
#include "platform/shell/Desktop.h"
#include "tests/app/ProgramFixture.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

void press(QWidget *dialog, const QString &button)
{
    dialog->findChild<QPushButton *>(button)->click();
}

// F1, then the dialog's "Hilfe" button (when it has one), then closing it.
DialogStep askForHelp(const QString &helpButton, const QString &closeButton)
{
    return [=](QWidget *dialog) {
        QTest::keyClick(dialog, Qt::Key_F1);
        if (!helpButton.isEmpty())
            press(dialog, helpButton);
        press(dialog, closeButton);
    };
}

}  // namespace

class HelpRequestsTest : public QObject {
    Q_OBJECT

private slots:
    void eachWindowAsksForItsTopic_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("owner");  // object name of the window the help is shown for
        QTest::addColumn<QStringList>("events");
        QTest::newRow("main window: F1, Hilfe, Hilfethemen")
            << "main"
            << "Form1" << QStringList{"help: 5", "help: 5", "contents"};
        QTest::newRow("restore dialog") << "restore"
                                        << "Restore" << QStringList{"help: 6", "help: 6"};
        QTest::newRow("floppy choice, then emergency-disk dialog")
            << "emergency"
            << "Notfall" << QStringList{"help: 7", "help: 7"};
        QTest::newRow("create-directory dialog") << "directory"
                                                 << "Form6" << QStringList{"help: 8", "help: 8"};
        QTest::newRow("about box") << "about"
                                   << "" << QStringList{};
    }

    void eachWindowAsksForItsTopic()
    {
        QFETCH(QString, window);
        QFETCH(QString, owner);
        QFETCH(QStringList, events);
        ProgramFixture program;
        program.machine.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.ini"), {});
        TForm1 &form = program.start();
        program.user.events.clear();
        program.user.helpRequests.clear();

        if (window == u"main") {
            QTest::keyClick(&form, Qt::Key_F1);
            form.BitBtn4->click();
            form.findChild<QAction *>(QStringLiteral("Hilfe2"))->trigger();
        } else if (window == u"restore") {
            inDialogs([&] { form.Button7Click(); }, {askForHelp("BitBtn3", "BitBtn2")});
        } else if (window == u"emergency") {
            inDialogs([&] { form.Notfalldisketteanfertigen1Click(); },
                      {[](QWidget *choice) {
                           QTest::keyClick(choice, Qt::Key_F1);  // the floppy choice has no help
                           press(choice, QStringLiteral("Button3"));
                       },
                       askForHelp("BitBtn3", "BitBtn2")});
        } else if (window == u"directory") {
            inDialogs([&] { form.Verzeichnisanlegen1Click(); }, {askForHelp("BitBtn3", "BitBtn2")});
        } else if (window == u"about") {
            inDialogs([&] { form.findChild<QAction *>(QStringLiteral("Info1"))->trigger(); },
                      {askForHelp(QString(), "OKButton")});
        }

        QCOMPARE(program.user.events, events);
        for (const TestUser::HelpRequest &request : program.user.helpRequests) {
            // Outside the simulated PC the program file's folder is unknown: the bare name.
            QCOMPARE(request.helpFile, controls::executableDirectory() + QStringLiteral("Orvel.hlp"));
            QVERIFY(request.owner);
            QCOMPARE(request.owner->objectName(), owner);
        }
        const int contents = int(events.contains(QStringLiteral("contents")));
        QCOMPARE(program.user.helpRequests.size(), events.size());
        for (qsizetype index = 0; index < events.size() - contents; ++index)
            QCOMPARE(program.user.helpRequests.at(index).command, platform::help::ShowTopic);
        if (contents)
            QCOMPARE(program.user.helpRequests.last().command, platform::help::ShowContents);
    }

    // The about box and the floppy-drive choice have no help file of their own: a help request
    // made while one of them is active goes to the program's default help file, for the main
    // window.
    void windowsWithoutHelpUseTheDefaultHelpFile_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("closeButton");
        QTest::newRow("about box") << "Info1"
                                   << "OKButton";
        QTest::newRow("floppy choice") << "Notfalldisketteanfertigen1"
                                       << "BitBtn1";
    }

    void windowsWithoutHelpUseTheDefaultHelpFile()
    {
        QFETCH(QString, window);
        QFETCH(QString, closeButton);
        ProgramFixture program;
        TForm1 &form = program.start();
        program.user.helpRequests.clear();

        QString shownFor;
        inDialogs([&] { form.findChild<QAction *>(window)->trigger(); }, {[&](QWidget *dialog) {
                      shownFor = dialog->objectName();
                      controls::requestHelp(platform::help::ShowContents);
                      press(dialog, closeButton);
                  }});

        QVERIFY(!shownFor.isEmpty());
        QCOMPARE(program.user.helpRequests.size(), 1);
        QCOMPARE(program.user.helpRequests.first().helpFile, QStringLiteral("Orvel.hlp"));
        QCOMPARE(program.user.helpRequests.first().owner, &form);
    }
};

QTEST_MAIN(HelpRequestsTest)
#include "HelpRequestsTest.moc"
