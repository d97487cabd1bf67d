// Times the main window's work on a long Backup list against the same program with a short one:
// the start until the list is painted, "Alle Dateien markieren", removing a row and the list
// counter. Each case is the program's own handler followed by the paint it causes.
#include "app/ProgramWindows.h"
#include "app/core/Settings.h"
#include "backup/core/ListCommands.h"
#include "bench/BenchSupport.h"
#include "controls/CheckListBox.h"
#include "controls/HostDesktop.h"
#include "controls/Look.h"
#include "controls/StatusBar.h"
#include "platform/drives/Files.h"
#include "platform/shell/Desktop.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QEvent>

#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {

using namespace bench;

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

// Notes each paint of the watched widget.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    int paints = 0;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Handles what is pending, the paints it causes included.
void settle()
{
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents(QEventLoop::AllEvents);
}

// Orvel.ini with `rows` files, as the program saves it.
QByteArray savedSettings(int rows)
{
    QList<settings::ListRow> list;
    list.reserve(rows);
    for (int i = 1; i <= rows; ++i)
        list.append({QStringLiteral("C:\\Startdateien\\Datei %1.ini").arg(i, 5, 10, QLatin1Char('0')), true});
    const auto saved = settings::save(ProgramDirectory, false, list, false, true, ProgramDirectory);
    const auto bytes = platform::readFile(settings::filePath(ProgramDirectory));
    if (saved.refusal || saved.error != 0 || !bytes.ok())
        throw Failure("cannot write Orvel.ini");
    return bytes.value;
}

// Each start begins as in a new process, with nothing of another list to tidy away: the files are
// saved once beforehand, and the memory that a closed program gave back is returned to the system
// before the clock starts. Otherwise the short list's start would pay for the long list freed
// just before it, and the long list's start for saving the long file.
void prepareStart(const QByteArray &settingsFile)
{
    if (platform::writeFile(settings::filePath(ProgramDirectory), settingsFile) != platform::dos::Ok)
        throw Failure("cannot write Orvel.ini");
    settle();
    malloc_trim(0);
}

// A started program: its windows shown, its start-up work done and its list painted.
struct Started {
    ProgramWindows windows;
    double milliseconds = 0;
};

Started start()
{
    QElapsedTimer timer;
    timer.start();
    // As the program starts: its dialogs are made once the main window has been painted.
    Started started{createMainWindow(), 0};
    TForm1 &form = *started.windows.form1;
    PaintCounter painted;
    form.CheckListBox2->viewport()->installEventFilter(&painted);
    form.show();
    QElapsedTimer limit;
    limit.start();
    while (!form.startupDone() || painted.paints == 0) {
        QApplication::processEvents(QEventLoop::AllEvents);
        if (limit.elapsed() > 60000)
            throw Failure("the main window did not start");
    }
    settle();
    started.milliseconds = timer.nsecsElapsed() / 1e6;
    form.CheckListBox2->viewport()->removeEventFilter(&painted);
    createDialogs(started.windows);
    return started;
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    settle();
    return timer.nsecsElapsed() / 1e6;
}

struct Figures {
    QList<double> start;
    QList<double> markAll;
    QList<double> removeRow;
    QList<double> counter;
};

// One run of every case on a program started with the settings file `contents`, which lists
// `rows` files.
void runOnce(const QByteArray &contents, int rows, Figures &figures)
{
    prepareStart(contents);
    Started started = start();
    TForm1 &form = *started.windows.form1;
    if (form.CheckListBox2->rowCount() != rows)
        throw Failure("the list was not loaded");
    figures.start.append(started.milliseconds);

    form.Button2Click();
    settle();
    figures.markAll.append(timed([&form] { form.Button1Click(); }));

    form.CheckListBox2->setCurrentRow(rows / 2);
    settle();
    figures.removeRow.append(timed([&form] { form.BitBtn5Click(); }));

    // The counter as the program shows it, with a number other than the one it shows now.
    figures.counter.append(
        timed([&form, rows] { form.StatusBar2->setPanelText(backup::counterText(rows)); }));
}

void printLine(const char *title, const QList<double> &few, const QList<double> &many)
{
    const double shortList = median(few);
    const double longList = median(many);
    std::printf("%-26s %12.2f %12.2f %10.2f\n", title, shortList, longList, longList / shortList);
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Times the main window's work on a long Backup list against a short one."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs per list."),
                                        QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption fewOption(QStringLiteral("few"), QStringLiteral("Files in the short list."),
                                       QStringLiteral("n"), QStringLiteral("11"));
    const QCommandLineOption manyOption(QStringLiteral("many"), QStringLiteral("Files in the long list."),
                                        QStringLiteral("n"), QStringLiteral("10000"));
    options.addOptions({folderOption, runsOption, fewOption, manyOption});
    options.process(application);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const int few = qMax(2, options.value(fewOption).toInt());
    const int many = qMax(2, options.value(manyOption).toInt());

    try {
        const BenchPc pc(options.value(folderOption),
                         {"drive_c/WINDOWS", "drive_c/Startdateien", "drive_c/Programme/Velko Save/Backups"},
                         "C=fixed,drive_c\nD=fixed,drive_d\n");
        if (platform::setCurrentDirectory(ProgramDirectory) != platform::dos::Ok)
            throw Failure("cannot enter the program directory");
        controls::applyClassicLook(application);
        controls::HostDesktop hostDesktop;
        platform::setDesktop(&hostDesktop);

        const QByteArray fewFiles = savedSettings(few);
        const QByteArray manyFiles = savedSettings(many);
        // One untimed run of each, then the two lists take turns.
        Figures warmUp;
        runOnce(fewFiles, few, warmUp);
        runOnce(manyFiles, many, warmUp);
        Figures shortList;
        Figures longList;
        for (int run = 0; run < runs; ++run) {
            runOnce(fewFiles, few, shortList);
            runOnce(manyFiles, many, longList);
        }
        std::printf("Backup list of %d files against %d files, median of %d runs\n\n", many, few, runs);
        std::printf("%-26s %12s %12s %10s\n", "case", "short (ms)", "long (ms)", "long/short");
        printLine("start, list painted", shortList.start, longList.start);
        printLine("Alle Dateien markieren", shortList.markAll, longList.markAll);
        printLine("remove a row", shortList.removeRow, longList.removeRow);
        printLine("list counter", shortList.counter, longList.counter);
        platform::setDesktop(nullptr);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "ListBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
