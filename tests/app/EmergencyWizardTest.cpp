// The emergency-disk wizard as the main window opens it: the floppy choice, the write test's
// refusals, the run with its commands, progress and final message.
#include "controls/DriveComboBox.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "platform/drives/Files.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/DosRecord.h"
#include "tests/support/FloppyImages.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Drive A: with a disk in it (see insertDisk).
const QString FloppyIni = QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n"
                                         "A=floppy,floppy-a.img\nC=fixed,drive_c\nD=fixed,drive_d\n");
const QString Notfall = ProgramDirectory + QStringLiteral("\\Notfall");
const QString Made = QStringLiteral("message: Die Notfalldiskette wurde soeben erstellt . Nehmen\n\r"
                                    "sie sie jetzt aus dem Laufwerk und beschriften sie sie.");

// A disk in drive A:, formatted by another PC.
void insertDisk(const TestMachine &pc)
{
    QProcess mformat;
    mformat.start(QStringLiteral("mformat"),
                  {QStringLiteral("-C"), QStringLiteral("-i"), pc.folder() + QStringLiteral("/floppy-a.img"),
                   QStringLiteral("-f"), QStringLiteral("1440"), QStringLiteral("::")});
    if (!mformat.waitForFinished() || mformat.exitCode() != 0)
        qFatal("mformat failed: %s", mformat.readAllStandardError().constData());
}

// recording-dos formats nothing and transfers no system: a disk on which FORMAT and SYS have
// done their work already, so that the run finds what a made disk holds.
void insertMadeDisk(TestMachine &pc)
{
    insertFormattedDisk(pc, u'A', QStringLiteral("NOTFALL"), false);
    for (const char *name : {"IO.SYS", "MSDOS.SYS", "COMMAND.COM"})
        pc.writeFile(QStringLiteral("A:\\") + QLatin1String(name), name, platform::attr::Hidden);
}

TForm1 &startProgram(ProgramFixture &program)
{
    program.machine.writeFile(QStringLiteral("C:\\IO.SYS"), "io", 7);
    program.machine.writeFile(QStringLiteral("C:\\WINDOWS\\WIN.INI"), "[windows]\r\n");
    TForm1 &form = program.start();
    program.user.events.clear();
    program.user.messages.clear();
    return form;
}

// Runs a command of the main window; whenever a dialog of the wizard becomes active, the matching
// function acts in it. TNotfall is closed afterwards if it is still open.
void whileOpen(const std::function<void()> &command, const std::function<void(TForm5 &)> &inForm5,
               const std::function<void(TNotfall &)> &inNotfall)
{
    QTimer watcher;
    watcher.setInterval(10);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || QApplication::activeWindow() != modal)
            return;
        if (auto *form5 = qobject_cast<TForm5 *>(modal)) {
            inForm5(*form5);
        } else if (auto *notfall = qobject_cast<TNotfall *>(modal)) {
            inNotfall(*notfall);
            if (notfall->isVisible())
                notfall->close();
        }
    });
    watcher.start();
    command();
}

void chooseFloppy(TForm5 &form5, QChar floppy)
{
    (floppy == u'A' ? form5.RadioButton1 : form5.RadioButton2)->setChecked(true);
    form5.Button3->click();
}

// What the dialog showed at each step of the progress bar.
struct RunTrace {
    QList<int> progress;
    QStringList captions;
    QList<bool> hourglass;
    QString captionAfter;
    bool progressShownAfter = true;
    bool hourglassAfter = true;
    bool openAfter = true;
};

RunTrace pressMakeDisk(TNotfall &notfall)
{
    RunTrace trace;
    const auto connection =
        QObject::connect(notfall.ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
            trace.progress << value;
            trace.captions << notfall.windowTitle();
            trace.hourglass << (QApplication::overrideCursor()
                                && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        });
    notfall.BitBtn1->click();
    QObject::disconnect(connection);
    trace.captionAfter = notfall.windowTitle();
    trace.progressShownAfter = notfall.ProgressBar1->isVisible();
    trace.hourglassAfter = QApplication::overrideCursor() != nullptr;
    trace.openAfter = notfall.isVisible();
    return trace;
}

RunTrace makeDisk(TForm1 &form, QChar floppy)
{
    RunTrace trace;
    whileOpen([&] { form.Notfalldisketteanfertigen1Click(); },
              [&](TForm5 &form5) { chooseFloppy(form5, floppy); },
              [&](TNotfall &notfall) { trace = pressMakeDisk(notfall); });
    return trace;
}

}  // namespace

class EmergencyWizardTest : public QObject {
    Q_OBJECT
private slots:
    void writeTestRefusesTheFloppy_data();
    void writeTestRefusesTheFloppy();
    void makesTheDisk();
    void withoutCommandComTheDiskIsReportedUnableToStart();
    void fileErrorEndsTheRunWithAReport();
    void choicesAreKeptForTheNextOpening();
    void floppyPickedInTheMainWindowsDriveBox();
    void shortHelp_data();
    void shortHelp();
};

void EmergencyWizardTest::writeTestRefusesTheFloppy_data()
{
    QTest::addColumn<QString>("machineIni");  // empty: A: is a floppy drive without a disk, no B:
    QTest::addColumn<bool>("diskInserted");
    QTest::addColumn<QChar>("floppy");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("staysOpen");
    QTest::newRow("write-protected")
        << "[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nA=floppy,floppy-a.img,readonly\nC=fixed,drive_c\n"
        << true << QChar(u'A')
        << QStringList{"beep",
                       "message: Der eingelegte Datenträger ist schreibgeschützt ! Legen sie eine andere\r\n"
                       "Diskette in das Laufwerk oder entfernen sie die Schreibschutzmarke !\r\n"
                       "Wiederholen sie anschließend den Vorgang."}
        << "Notfalldiskette anfertigen (Laufwerk A:\\ )" << true;
    QTest::newRow("no disk") << QString() << false << QChar(u'A')
                             << QStringList{"beep",
                                            "message: Bitte legen sie eine formatierte Diskette in das "
                                            "Laufwerk !\r\nWiederholen sie anschließend den Vorgang."}
                             << "Notfalldiskette anfertigen (Laufwerk A:\\ )" << true;
    QTest::newRow("no drive B:") << QString() << false << QChar(u'B')
                                 << QStringList{"beep",
                                                "message: Laufwerk B:\\ ist ungültig ! Bitte wählen sie ein "
                                                "anderes Laufwerk.\r\nWiederholen sie anschließend den "
                                                "Vorgang."}
                                 << "Notfalldiskette anfertigen" << false;
}

void EmergencyWizardTest::writeTestRefusesTheFloppy()
{
    QFETCH(QString, machineIni);
    QFETCH(bool, diskInserted);
    QFETCH(QChar, floppy);
    QFETCH(QStringList, events);
    QFETCH(QString, caption);
    QFETCH(bool, staysOpen);
    ProgramFixture program(ProgramDirectory, machineIni);
    if (diskInserted)
        insertDisk(program.machine);
    program.machine.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    TForm1 &form = startProgram(program);
    const DosRecord record;

    const RunTrace trace = makeDisk(form, floppy);

    QCOMPARE(program.user.events, events);
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QCOMPARE(trace.captionAfter, caption);
    QCOMPARE(trace.openAfter, staysOpen);
    QVERIFY(trace.progress.isEmpty());
    QVERIFY(!trace.hourglassAfter);
    QVERIFY(record.commands().isEmpty());  // nothing formatted
    QVERIFY(!platform::directoryExists(Notfall));
}

void EmergencyWizardTest::makesTheDisk()
{
    ProgramFixture program(ProgramDirectory, FloppyIni);
    insertMadeDisk(program.machine);
    program.machine.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    TForm1 &form = startProgram(program);
    const DosRecord record;

    const RunTrace trace = makeDisk(form, u'A');

    QCOMPARE(trace.progress, QList<int>({5, 20, 50, 55, 59, 64, 68, 72, 76, 80, 84, 88, 92, 96, 100, 0}));
    QCOMPARE(trace.captions.first(), QStringLiteral("Die Notfalldiskette wird erstellt ..."));
    QCOMPARE(trace.captions.count(trace.captions.first()), trace.progress.size() - 1);
    QCOMPARE(trace.hourglass.count(true), trace.progress.size() - 1);  // back to the arrow before 0
    QCOMPARE(trace.captionAfter, QStringLiteral("Notfalldiskette anfertigen"));
    QVERIFY(!trace.progressShownAfter);
    QVERIFY(!trace.hourglassAfter);
    QVERIFY(!trace.openAfter);
    QCOMPARE(program.user.events, QStringList{Made});
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Information);

    const QList<QStringList> commands = record.commands();
    QCOMPARE(commands.size(), 2);
    const QString format = commands.at(0).last();
    QVERIFY2(format.startsWith(QStringLiteral("format A: /v:Notfall /Q < C:\\WINDOWS\\TEMP\\TMP")),
             qPrintable(format));
    QCOMPARE(commands.at(0), hiddenDosArguments(format));
    QCOMPARE(commands.at(1), hiddenDosArguments(QStringLiteral("sys A:")));
    QCOMPARE(record.input(1), QByteArray("\r\n\r\nn\r\n\r\n"));
    QCOMPARE(platform::files(QStringLiteral("C:\\WINDOWS\\TEMP")).value, QStringList());

    QVERIFY(program.machine.readFile(QStringLiteral("A:\\Autoexec.bat")).startsWith("echo off\r\n"));
    QCOMPARE(platform::files(Notfall).value, QStringList({"Io.sys", "Win.ini"}));
    QCOMPARE(program.machine.readFile(Notfall + QStringLiteral("\\Io.sys")), QByteArray("io"));
}

// Nothing formats the disk or makes it bootable: the run goes on, and at its end says so.
void EmergencyWizardTest::withoutCommandComTheDiskIsReportedUnableToStart()
{
    ProgramFixture program(ProgramDirectory, FloppyIni);
    insertDisk(program.machine);
    TForm1 &form = startProgram(program);
    const DosRecord record;

    const RunTrace trace = makeDisk(form, u'A');

    QVERIFY(record.commands().isEmpty());
    QCOMPARE(trace.progress.size(), 16);
    QVERIFY(!trace.openAfter);
    QCOMPARE(
        program.user.events,
        QStringList({"beep", "message: Die Notfalldiskette ist nicht startfähig !\n\rAuf der Diskette in "
                             "Laufwerk A:\\ fehlen IO.SYS, MSDOS.SYS, COMMAND.COM und die "
                             "Datenträgerbezeichnung \"Notfall\".\n\rMit dieser Diskette kann der PC nicht "
                             "gestartet werden.\n\rDas Formatieren oder die Systemübertragung ist "
                             "fehlgeschlagen. Wiederholen sie den Vorgang, gegebenenfalls mit einer anderen "
                             "Diskette."}));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QVERIFY(program.machine.readFile(QStringLiteral("A:\\Autoexec.bat")).startsWith("echo off\r\n"));
    QCOMPARE(platform::files(Notfall).value, QStringList({"Io.sys", "Win.ini"}));
    QCOMPARE(platform::files(QStringLiteral("C:\\WINDOWS\\TEMP")).value, QStringList());
}

void EmergencyWizardTest::fileErrorEndsTheRunWithAReport()
{
    ProgramFixture program(ProgramDirectory, FloppyIni);
    insertDisk(program.machine);
    // A file in the folder's place: the copies have nowhere to go.
    program.machine.writeFile(Notfall, "kein Ordner");
    TForm1 &form = startProgram(program);

    const RunTrace trace = makeDisk(form, u'A');

    QCOMPARE(program.user.events.size(), 1);
    QVERIFY2(program.user.events.first().startsWith(QStringLiteral("error: ")),
             qPrintable(program.user.events.first()));
    QVERIFY(program.user.events.first().contains(QStringLiteral("Win.ini")));
    // The run ends; the dialog is idle again and usable, with the arrow.
    QCOMPARE(trace.progress.last(), 0);
    QVERIFY(!trace.progressShownAfter);
    QVERIFY(!trace.hourglassAfter);
    QVERIFY(trace.openAfter);
    QCOMPARE(trace.captionAfter, QStringLiteral("Notfalldiskette anfertigen (Laufwerk A:\\ )"));
}

void EmergencyWizardTest::choicesAreKeptForTheNextOpening()
{
    ProgramFixture program;
    TForm1 &form = startProgram(program);
    QChar initialBootDrive;
    int listedDrives = 0;
    whileOpen([&] { form.Notfalldisketteanfertigen1Click(); },
              [](TForm5 &form5) { chooseFloppy(form5, u'B'); },
              [&](TNotfall &notfall) {
                  initialBootDrive = notfall.DriveComboBox1->drive();
                  listedDrives = notfall.DriveComboBox1->count();
                  notfall.DriveComboBox1->setDrive(u'D');
                  notfall.BitBtn2->click();
              });
    QCOMPARE(initialBootDrive, QChar(u'C'));
    QCOMPARE(listedDrives, 5);  // A:, C:, D:, E:, F:

    bool secondChecked = false;
    QChar bootDrive;
    QString caption;
    whileOpen([&] { form.Notfalldisketteanfertigen1Click(); },
              [&](TForm5 &form5) {
                  secondChecked = form5.RadioButton2->isChecked();
                  form5.Button3->click();
              },
              [&](TNotfall &notfall) {
                  bootDrive = notfall.DriveComboBox1->drive();
                  caption = notfall.windowTitle();
              });
    QVERIFY(secondChecked);
    QCOMPARE(bootDrive, QChar(u'D'));
    QCOMPARE(caption, QStringLiteral("Notfalldiskette anfertigen (Laufwerk B:\\ )"));
    QVERIFY(program.user.events.isEmpty());
}

void EmergencyWizardTest::floppyPickedInTheMainWindowsDriveBox()
{
    ProgramFixture program(ProgramDirectory, FloppyIni);
    insertMadeDisk(program.machine);
    TForm1 &form = startProgram(program);
    RunTrace trace;
    whileOpen([&] { form.DriveComboBox1->setDrive(u'A'); },
              [](TForm5 &) { QFAIL("the floppy choice was shown"); },
              [&](TNotfall &notfall) { trace = pressMakeDisk(notfall); });

    QCOMPARE(program.user.events, QStringList{Made});
    QVERIFY(program.machine.readFile(QStringLiteral("A:\\Autoexec.bat")).startsWith("echo off\r\n"));
    QCOMPARE(platform::files(Notfall).value, QStringList({"Io.sys", "Win.ini"}));
    QCOMPARE(form.DriveComboBox1->drive(), QChar(u'C'));
}

void EmergencyWizardTest::shortHelp_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

// Both dialogs follow the main window's "&Kurzhilfe" each time they open.
void EmergencyWizardTest::shortHelp()
{
    QFETCH(bool, on);
    ProgramFixture program;
    TForm1 &form = startProgram(program);
    if (!on)
        form.Kurzhinweise1->trigger();
    const Qt::CursorShape expected = on ? Qt::PointingHandCursor : Qt::ArrowCursor;
    QList<Qt::CursorShape> cursors;
    QString hint;
    whileOpen([&] { form.Notfalldisketteanfertigen1Click(); },
              [&](TForm5 &form5) {
                  for (QWidget *control :
                       QList<QWidget *>{form5.RadioButton1, form5.RadioButton2, form5.Button3, form5.BitBtn1})
                      cursors << control->cursor().shape();
                  chooseFloppy(form5, u'A');
              },
              [&](TNotfall &notfall) {
                  for (QWidget *control : QList<QWidget *>{notfall.DriveComboBox1, notfall.BitBtn1,
                                                           notfall.BitBtn2, notfall.BitBtn3})
                      cursors << control->cursor().shape();
                  hint = notfall.DriveComboBox1->toolTip();
              });
    QCOMPARE(cursors, QList<Qt::CursorShape>(8, expected));
    QCOMPARE(hint,
             on ? QStringLiteral("Laufwerk, auf dem 'Io.sys' & 'Msdos.sys' gespeichert sind") : QString());
}

QTEST_MAIN(EmergencyWizardTest)
#include "EmergencyWizardTest.moc"
