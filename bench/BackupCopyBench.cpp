// Times the backup run's copying against `cp --preserve=mode,timestamps` on the same disk and
// prints the ratio. The backup side is the backup run without the window (backup::runBackup):
// the copies into the backup folder, then Restore.bat with a block for every saved file. Both
// sides copy into a fresh folder each time and see equally warm caches.
#include "backup/core/Runner.h"
#include "bench/BenchSupport.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Clock.h"
#include "platform/machine/Machine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace bench;

void check(int dosError, const QString &what)
{
    if (dosError != platform::dos::Ok)
        throw Failure(QStringLiteral("%1: DOS error %2").arg(what).arg(dosError).toStdString());
}

// When a run's copies go. On ext4 without a journal, creating files right after many were
// deleted is slow (for cp as for us), so many small copies stay until the case is done. A large
// copy goes right after its run, so that the next run reuses its memory: memory that is new to a
// virtual machine is slow to touch the first time.
enum class Removal { AfterEachRun, AfterAllRuns };

// Every report of a run is a failure of the benchmark, except the missing Restore.pif: the
// benchmark PC has no program installed.
class FailingObserver : public backup::RunObserver {
public:
    void missing(const backup::MarkedFile &file) override { fail("missing " + file.path); }
    void copyFailed(const backup::MarkedFile &file, const QString &, int error) override
    {
        fail(QStringLiteral("copying %1: DOS error %2").arg(file.path).arg(error));
    }
    void folderFailed(int error) override { fail(QStringLiteral("backup folder: DOS error %1").arg(error)); }
    void scriptFailed() override { fail(QStringLiteral("Restore.bat not written")); }
    void pifFailed() override {}
    void progress(int, int) override {}

private:
    [[noreturn]] static void fail(const QString &what) { throw Failure(what.toStdString()); }
};

// The backup run itself, as the window starts it, for all sources into an existing folder.
void backupRun(const QStringList &sources, const QString &destination)
{
    const QString windowsDirectory = platform::windowsDirectory();
    const auto windowsShort = platform::shortPathName(windowsDirectory);
    check(windowsShort.error, windowsDirectory);
    QList<backup::MarkedFile> files;
    files.reserve(sources.size());
    for (const QString &source : sources)
        files.append({int(files.size()), source, platform::fileNamePart(source)});

    platform::FileRun fileRun;
    FailingObserver observer;
    (void)backup::runBackup({files, destination, windowsDirectory, windowsShort.value, platform::now()},
                            observer);
    check(fileRun.finish(), QStringLiteral("records of ") + destination);
}

QString oursFolder(int run)
{
    return QStringLiteral("D:\\Ziel\\Lauf%1").arg(run);
}

QString cpFolder(const BenchPc &pc, int run)
{
    return pc.host(QStringLiteral("drive_d/cp-%1").arg(run));
}

void removeOurs(int run)
{
    check(platform::removeDirectoryTree(oursFolder(run)), oursFolder(run));
    ::sync();
}

void removeCp(const BenchPc &pc, int run)
{
    removeHostFolder(cpFolder(pc, run));
}

// The processor time this process has taken so far, in milliseconds: on a shared machine it
// shows the program's own work where the wall-clock time also holds others' waits.
struct ProcessorTime {
    double user = 0;
    double system = 0;
};

ProcessorTime processorTime()
{
    rusage usage{};
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        throw Failure("getrusage failed");
    const auto ms = [](const timeval &time) { return double(time.tv_sec) * 1e3 + double(time.tv_usec) / 1e3; };
    return {ms(usage.ru_utime), ms(usage.ru_stime)};
}

struct OursRun {
    double wall = 0;
    ProcessorTime processor;
};

// Each run copies into a fresh folder, synced first so that no run pays for writing back what
// an earlier one left in the cache.
OursRun timeOurs(const SourceFiles &sources, int run)
{
    const QString base = oursFolder(run);
    check(platform::forceDirectories(base), base);
    ::sync();
    const ProcessorTime before = processorTime();
    QElapsedTimer timer;
    timer.start();
    backupRun(sources.windowsPaths, base);
    const double wall = timer.nsecsElapsed() / 1e6;
    const ProcessorTime after = processorTime();
    return {wall, {after.user - before.user, after.system - before.system}};
}

double timeCp(const BenchPc &pc, const SourceFiles &sources, int run)
{
    return bench::timeCp(sources.hostPaths, cpFolder(pc, run));
}

// Our side's processor time in each timed run.
struct ProcessorTimings {
    QString title;
    QList<double> user;
    QList<double> system;
};

// One warm-up of each side (run 0), then the timed runs taking turns.
Timings measure(const BenchPc &pc, const SourceFiles &sources, int runs, Removal removal,
                QList<ProcessorTimings> &processor)
{
    Timings result{sources.title, {}, {}};
    ProcessorTimings ownWork{sources.title, {}, {}};
    const bool eachRun = removal == Removal::AfterEachRun;
    for (int run = 0; run <= runs; ++run) {
        const OursRun ours = timeOurs(sources, run);
        if (eachRun)
            removeOurs(run);
        const double cp = timeCp(pc, sources, run);
        if (eachRun)
            removeCp(pc, run);
        if (run > 0) {
            result.ours.append(ours.wall);
            result.anchor.append(cp);
            ownWork.user.append(ours.processor.user);
            ownWork.system.append(ours.processor.system);
        }
    }
    processor.append(ownWork);
    for (int run = 0; !eachRun && run <= runs; ++run) {
        removeOurs(run);
        removeCp(pc, run);
    }
    return result;
}

void printProcessorTimes(const QList<ProcessorTimings> &processor)
{
    std::printf("\nOur side's processor time per run (median, ms):\n");
    for (const ProcessorTimings &times : processor) {
        std::printf("%-16s user %7.1f   system %7.1f\n", qPrintable(times.title), median(times.user),
                    median(times.system));
    }
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Times the backup run's copying against cp on the same disk."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption = runsPerCaseOption(QStringLiteral("5"));
    const QCommandLineOption filesOption = smallFilesOption();
    const QCommandLineOption tinyOption = tinyFilesOption();
    const QCommandLineOption largeOption(QStringLiteral("large-mib"),
                                         QStringLiteral("Size of the single large file; 0 skips it."),
                                         QStringLiteral("mib"), QStringLiteral("256"));
    options.addOptions({folderOption, runsOption, filesOption, tinyOption, largeOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const int fileCount = options.value(filesOption).toInt();
    const int tinyCount = options.value(tinyOption).toInt();
    const int largeMib = options.value(largeOption).toInt();
    const QString folder = options.value(folderOption);

    if (isTmpfs(folder))
        std::fprintf(stderr, "warning: %s is on tmpfs; the figures say nothing about a disk\n",
                     qPrintable(folder));
    try {
        // Drive C holds the sources, drive D the backups.
        const BenchPc pc(folder, {"drive_c/WINDOWS", "drive_c/Quelle", "drive_d/Ziel"},
                         "C=fixed,drive_c\nD=fixed,drive_d\n");
        QList<Timings> results;
        QList<ProcessorTimings> processor;
        if (fileCount > 0) {
            const SourceFiles small =
                makeSourceFiles(pc, QStringLiteral("%1 x 64 KiB").arg(fileCount), QStringLiteral("Klein"),
                         QStringLiteral("Startdatei %1.ini"), fileCount, 64 * KiB);
            results.append(measure(pc, small, runs, Removal::AfterAllRuns, processor));
        }
        // Many tiny files show what each file costs beyond its bytes.
        if (tinyCount > 0) {
            const SourceFiles tiny =
                makeSourceFiles(pc, QStringLiteral("%1 x 1 byte").arg(tinyCount), QStringLiteral("Winzig"),
                         QStringLiteral("Kleine Datei %1.ini"), tinyCount, 1);
            results.append(measure(pc, tiny, runs, Removal::AfterAllRuns, processor));
        }
        if (largeMib > 0) {
            const SourceFiles large =
                makeSourceFiles(pc, QStringLiteral("1 x %1 MiB").arg(largeMib), QStringLiteral("Gross"),
                         QStringLiteral("Grosse Datei %1.bin"), 1, largeMib * MiB);
            results.append(measure(pc, large, runs, Removal::AfterEachRun, processor));
        }
        printTimings(QStringLiteral("Backup copy vs. cp --preserve=mode,timestamps"),
                     QStringLiteral("cp"), results, runs);
        printProcessorTimes(processor);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "BackupCopyBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
