// The help menu's read-me, system information and addresses, and the about box.
#include "app/TAboutBox.h"
#include "tests/app/ProgramFixture.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString ToolPath =
    QStringLiteral(":\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\MSINFO\\MSINFO32.EXE");

// Windows on drive E:, a fixed disk of its own; C: holds the programs.
const QString WindowsOnE = QStringLiteral("[Windows]\nDirectory=E:\\WINDOWS\n[Drives]\n"
                                          "C=fixed,drive_c\nE=fixed,drive_d\n");

// Runs `inside` on the about box once it is the active window, then closes it.
void withAboutBox(TForm1 &form, const std::function<void(TAboutBox &)> &inside)
{
    QTimer watcher;
    watcher.setInterval(10);
    bool seen = false;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto *box = qobject_cast<TAboutBox *>(QApplication::activeModalWidget());
        if (!seen && box && QApplication::activeWindow() == box) {
            seen = true;
            inside(*box);
            box->close();
        }
    });
    watcher.start();
    form.Info1Click();
    QVERIFY(seen);
}

void moveMouseOver(QWidget *widget)
{
    const QPointF inside(2, 2);
    QMouseEvent move(QEvent::MouseMove, inside, widget->mapToGlobal(inside), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

}  // namespace

class HelpMenuTest : public QObject {
    Q_OBJECT
private slots:
    void readMeOpensThroughTheShell_data();
    void readMeOpensThroughTheShell();
    void systemInformationOnTheSystemDrive_data();
    void systemInformationOnTheSystemDrive();
    void addressesGoToTheShell_data();
    void addressesGoToTheShell();
    void aboutBoxLayout();
    void linksTurnRedUnderThePointer();
    void backButtonCursorFollowsShortHelp_data();
    void backButtonCursorFollowsShortHelp();
    void helpButtonWorksWithoutReadMeOrTool();
};

void HelpMenuTest::readMeOpensThroughTheShell_data()
{
    QTest::addColumn<QString>("workingDirectory");
    QTest::addColumn<bool>("readMePresent");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("warning");  // empty: none
    QTest::newRow("present") << ProgramDirectory << true << ProgramDirectory + "\\liesmich.txt"
                             << "";
    QTest::newRow("missing") << "C:\\Programme\\Tool" << false << "C:\\Programme\\Tool\\liesmich.txt"
                             << "C:\\Programme\\Tool\\Liesmich.txt wurde nicht gefunden !";
    QTest::newRow("drive root") << "D:\\" << false << "D:\\liesmich.txt"
                                << "D:\\Liesmich.txt wurde nicht gefunden !";
}

void HelpMenuTest::readMeOpensThroughTheShell()
{
    QFETCH(QString, workingDirectory);
    QFETCH(bool, readMePresent);
    QFETCH(QString, opened);
    QFETCH(QString, warning);
    ProgramFixture program(workingDirectory);
    if (readMePresent)
        program.machine.writeFile(opened, "Velko Save 1.3\r\n");
    TForm1 &form = program.start();
    program.user.events.clear();

    form.findChild<QAction *>(QStringLiteral("Liesmichtxt1"))->trigger();

    // The shell is asked first, also for a file that is not there.
    QStringList expected{"open: " + opened};
    if (!warning.isEmpty())
        expected << "beep"
                 << "message: " + warning;
    QCOMPARE(program.user.events, expected);
    const TestUser::ShellRequest &request = program.user.shellRequests.constFirst();
    QCOMPARE(request.owner, &form);
    QVERIFY(request.parameters.isEmpty() && request.directory.isEmpty());
    QCOMPARE(request.showCommand, 1);
    if (!warning.isEmpty()) {
        QCOMPARE(program.user.messages.constLast().type, controls::MessageType::Warning);
        QCOMPARE(program.user.messages.constLast().buttons,
                 controls::MessageButtons(controls::MessageButton::Ok));
        QCOMPARE(program.user.messages.constLast().helpTopic, 0);
    }
}

void HelpMenuTest::systemInformationOnTheSystemDrive_data()
{
    QTest::addColumn<QString>("machineIni");  // empty: Windows in C:\WINDOWS
    QTest::addColumn<QString>("toolOn");  // the drive the tool is installed on; empty: nowhere
    QTest::addColumn<QStringList>("events");
    const QString missing = ":\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\Msinfo\\Msinfo32.exe wurde "
                            "nicht gefunden!";
    QTest::newRow("installed") << ""
                               << "C" << QStringList{"open: C" + ToolPath};
    QTest::newRow("missing") << ""
                             << "" << QStringList{"beep", "message: C" + missing};
    QTest::newRow("Windows on E:, tool there") << WindowsOnE << "E" << QStringList{"open: E" + ToolPath};
    QTest::newRow("Windows on E:, tool only on C:")
        << WindowsOnE << "C" << QStringList{"beep", "message: E" + missing};
}

void HelpMenuTest::systemInformationOnTheSystemDrive()
{
    QFETCH(QString, machineIni);
    QFETCH(QString, toolOn);
    QFETCH(QStringList, events);
    std::optional<ProgramFixture> program;
    if (machineIni.isEmpty()) {
        program.emplace();
    } else {
        program.emplace(ProgramDirectory, machineIni);
        program->machine.makeDirectory(QStringLiteral("E:\\WINDOWS\\TEMP"));
    }
    if (!toolOn.isEmpty()) {
        program->machine.makeDirectory(toolOn + ":\\Programme\\Gemeinsame Dateien\\Microsoft Shared\\MSINFO");
        program->machine.writeFile(toolOn + ToolPath,
                                   "MSINFO32.EXE - stand-in for Microsoft Systeminfo.\r\n");
    }
    TForm1 &form = program->start();
    program->user.events.clear();

    form.findChild<QAction *>(QStringLiteral("Systeminfo1"))->trigger();

    QCOMPARE(program->user.events, events);
    if (!program->user.shellRequests.isEmpty())
        QCOMPARE(program->user.shellRequests.constFirst().owner, &form);
}

void HelpMenuTest::addressesGoToTheShell_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("ownedByAboutBox");  // else by the main window
    // The home page has the main window as owner wherever it is opened from; the e-mail has the
    // window whose command it is.
    QTest::newRow("menu home page") << "VelkoSaveHomepage1"
                                    << "" << TAboutBox::homePage() << false;
    QTest::newRow("menu e-mail") << "VelkoSaveEMail1"
                                 << "open"
                                 << "mailto:" + TAboutBox::mailAddress() << false;
    QTest::newRow("home page link") << "Label1"
                                    << "" << TAboutBox::homePage() << false;
    QTest::newRow("e-mail link") << "Label2"
                                 << "open"
                                 << "mailto:" + TAboutBox::mailAddress() << true;
}

void HelpMenuTest::addressesGoToTheShell()
{
    QFETCH(QString, way);
    QFETCH(QString, verb);
    QFETCH(QString, address);
    QFETCH(bool, ownedByAboutBox);
    ProgramFixture program;
    TForm1 &form = program.start();
    const QObject *aboutBox = nullptr;
    if (way.startsWith(QLatin1String("Label"))) {
        withAboutBox(form, [&](TAboutBox &box) {
            aboutBox = &box;
            QTest::mouseClick(box.findChild<QLabel *>(way), Qt::LeftButton);
        });
    } else {
        form.findChild<QAction *>(way)->trigger();
    }

    QCOMPARE(program.user.shellRequests.size(), 1);
    const TestUser::ShellRequest &request = program.user.shellRequests.constFirst();
    QCOMPARE(request.verb, verb);
    QCOMPARE(request.file, address);
    QVERIFY(request.parameters.isEmpty() && request.directory.isEmpty());
    QCOMPARE(request.showCommand, 1);
    QCOMPARE(request.owner, ownedByAboutBox ? aboutBox : &form);
}

void HelpMenuTest::aboutBoxLayout()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    withAboutBox(form, [&](TAboutBox &box) {
        QCOMPARE(box.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(box.size(), QSize(315, 204));
        const auto label = [&](const char *name) { return box.findChild<QLabel *>(QLatin1String(name)); };
        QCOMPARE(label("ProductName")->text(), QStringLiteral("Velko"));
        QCOMPARE(textColour(label("ProductName")), QColor(Qt::blue));
        QCOMPARE(label("Label5")->text(), QStringLiteral("Save"));
        QCOMPARE(textColour(label("Label5")), QColor(Qt::red));
        QVERIFY(label("ProductName")->font().bold() && label("Label5")->font().bold());
        QCOMPARE(label("Version")->text(), QStringLiteral("Version 1.3"));
        QVERIFY(label("Version")->font().bold());
        QCOMPARE(label("Label3")->text(), QStringLiteral("Homepage:"));
        QCOMPARE(label("Label4")->text(), QStringLiteral("E- Mail:"));
        for (QLabel *link : {box.Label1, box.Label2}) {
            QCOMPARE(textColour(link), QColor(Qt::blue));
            QVERIFY(link->font().underline());
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
        }
        QCOMPARE(box.Label1->text(), TAboutBox::homePage());
        QCOMPARE(box.Label2->text(), TAboutBox::mailAddress());
        QCOMPARE(box.OKButton->text(), QStringLiteral("Zurück"));
        QVERIFY(box.OKButton->isDefault());
        // The about box has no help: F1 shows nothing.
        program.user.helpRequests.clear();  // the first start's help
        QTest::keyClick(&box, Qt::Key_F1);
        QVERIFY(program.user.helpRequests.isEmpty());
    });
    QCOMPARE(form.findChild<TAboutBox *>(), nullptr);  // a window of its own, not a child
}

void HelpMenuTest::linksTurnRedUnderThePointer()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    withAboutBox(form, [&](TAboutBox &box) {
        moveMouseOver(box.Label1);
        QCOMPARE(textColour(box.Label1), QColor(Qt::red));
        QCOMPARE(textColour(box.Label2), QColor(Qt::blue));
        // From one link straight to the other: the first stays red until the pointer crosses the panel.
        moveMouseOver(box.Label2);
        QCOMPARE(textColour(box.Label1), QColor(Qt::red));
        QCOMPARE(textColour(box.Label2), QColor(Qt::red));
        moveMouseOver(box.Panel1);
        QCOMPARE(textColour(box.Label1), QColor(Qt::blue));
        QCOMPARE(textColour(box.Label2), QColor(Qt::blue));
    });
}

void HelpMenuTest::backButtonCursorFollowsShortHelp_data()
{
    QTest::addColumn<bool>("shortHelp");
    QTest::addColumn<Qt::CursorShape>("cursor");
    QTest::newRow("short help on") << true << Qt::PointingHandCursor;
    QTest::newRow("short help off") << false << Qt::ArrowCursor;
}

void HelpMenuTest::backButtonCursorFollowsShortHelp()
{
    QFETCH(bool, shortHelp);
    QFETCH(Qt::CursorShape, cursor);
    ProgramFixture program;
    TForm1 &form = program.start();
    // Opened once before the switch: the box asks again each time it is shown.
    withAboutBox(form, [](TAboutBox &) {});
    if (!shortHelp)
        form.Kurzhinweise1->trigger();
    withAboutBox(form, [&](TAboutBox &box) {
        QCOMPARE(box.OKButton->cursor().shape(), cursor);
        // The links keep their hand whatever short help says.
        QCOMPARE(box.Label1->cursor().shape(), Qt::PointingHandCursor);
    });
}

void HelpMenuTest::helpButtonWorksWithoutReadMeOrTool()
{
    ProgramFixture program(QStringLiteral("C:\\Programme\\Tool"));
    program.machine.writeFile(QStringLiteral("C:\\Programme\\Tool\\Orvel.ini"),
                              "[Optionen]\r\nKurzhilfe=1\r\n");
    TForm1 &form = program.start();
    program.user.events.clear();
    form.BitBtn4->click();
    form.findChild<QAction *>(QStringLiteral("Hilfe2"))->trigger();
    QCOMPARE(program.user.events, QStringList({"help: 5", "contents"}));
}

QTEST_MAIN(HelpMenuTest)
#include "HelpMenuTest.moc"
