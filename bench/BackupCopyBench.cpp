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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstdio>

#include <unistd.h>

namespace {

using namespace bench;

void check(int dosError, const QString &what)
{
    if (dosError != platform::dos::Ok)
        throw Failure(QStringLiteral("%1: DOS error %2").arg(what).arg(dosError).toStdString());
}

// One set of source files, both as the program names them and as cp does.
struct Case {
    QString title;
    QStringList windowsPaths;
    QStringList hostPaths;
};

// When a run's copies go. On ext4 without a journal, creating files right after many were
// deleted is slow (for cp as for us), so many small copies stay until the case is done. A large
// copy goes right after its run, so that the next run reuses its memory: memory that is new to a
// virtual machine is slow to touch the first time.
enum class Removal { AfterEachRun, AfterAllRuns };

// Long names that share their first letters are the hard case for the 8.3 aliases.
Case makeCase(const BenchPc &pc, const QString &title, const QString &folder, const QString &nameFormat,
              int count, qint64 size)
{
    Case result{title, {}, {}};
    const QString hostFolder = pc.host(QStringLiteral("drive_c/Quelle/") + folder);
    if (!QDir().mkpath(hostFolder))
        throw Failure("cannot create " + hostFolder.toStdString());
    for (int i = 1; i <= count; ++i) {
        const QString name = nameFormat.arg(i, 4, 10, QLatin1Char('0'));
        result.windowsPaths.append(QStringLiteral("C:\\Quelle\\") + folder + u'\\' + name);
        result.hostPaths.append(hostFolder + u'/' + name);
        writeRandomFile(result.hostPaths.last(), size);
    }
    return result;
}

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
    if (!QDir(cpFolder(pc, run)).removeRecursively())
        throw Failure("cannot remove " + cpFolder(pc, run).toStdString());
    ::sync();
}

// Each run copies into a fresh folder, synced first so that no run pays for writing back what
// an earlier one left in the cache.
double timeOurs(const Case &sources, int run)
{
    const QString base = oursFolder(run);
    check(platform::forceDirectories(base), base);
    ::sync();
    QElapsedTimer timer;
    timer.start();
    backupRun(sources.windowsPaths, base);
    return timer.nsecsElapsed() / 1e6;
}

double timeCp(const BenchPc &pc, const Case &sources, int run)
{
    const QString target = cpFolder(pc, run);
    if (!QDir().mkpath(target))
        throw Failure("cannot create " + target.toStdString());
    ::sync();
    QProcess cp;
    QElapsedTimer timer;
    timer.start();
    cp.start(QStringLiteral("cp"), QStringList{QStringLiteral("--preserve=mode,timestamps")}
                                       + sources.hostPaths + QStringList{target});
    const bool finished = cp.waitForFinished(-1);
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (!finished || cp.exitStatus() != QProcess::NormalExit || cp.exitCode() != 0)
        throw Failure("cp failed: " + cp.readAllStandardError().toStdString());
    return milliseconds;
}

// One warm-up of each side (run 0), then the timed runs taking turns.
Timings measure(const BenchPc &pc, const Case &sources, int runs, Removal removal)
{
    Timings result{sources.title, {}, {}};
    const bool eachRun = removal == Removal::AfterEachRun;
    for (int run = 0; run <= runs; ++run) {
        const double ours = timeOurs(sources, run);
        if (eachRun)
            removeOurs(run);
        const double cp = timeCp(pc, sources, run);
        if (eachRun)
            removeCp(pc, run);
        if (run > 0) {
            result.ours.append(ours);
            result.anchor.append(cp);
        }
    }
    for (int run = 0; !eachRun && run <= runs; ++run) {
        removeOurs(run);
        removeCp(pc, run);
    }
    return result;
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
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed runs per case."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption filesOption(QStringLiteral("files"),
                                         QStringLiteral("Number of 64 KiB files; 0 skips the case."),
                                         QStringLiteral("n"), QStringLiteral("1000"));
    const QCommandLineOption tinyOption(QStringLiteral("tiny-files"),
                                        QStringLiteral("Number of 1-byte files; 0 skips the case."),
                                        QStringLiteral("n"), QStringLiteral("10000"));
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
        if (fileCount > 0) {
            const Case small =
                makeCase(pc, QStringLiteral("%1 x 64 KiB").arg(fileCount), QStringLiteral("Klein"),
                         QStringLiteral("Startdatei %1.ini"), fileCount, 64 * KiB);
            results.append(measure(pc, small, runs, Removal::AfterAllRuns));
        }
        // Many tiny files show what each file costs beyond its bytes.
        if (tinyCount > 0) {
            const Case tiny =
                makeCase(pc, QStringLiteral("%1 x 1 byte").arg(tinyCount), QStringLiteral("Winzig"),
                         QStringLiteral("Kleine Datei %1.ini"), tinyCount, 1);
            results.append(measure(pc, tiny, runs, Removal::AfterAllRuns));
        }
        if (largeMib > 0) {
            const Case large =
                makeCase(pc, QStringLiteral("1 x %1 MiB").arg(largeMib), QStringLiteral("Gross"),
                         QStringLiteral("Grosse Datei %1.bin"), 1, largeMib * MiB);
            results.append(measure(pc, large, runs, Removal::AfterEachRun));
        }
        printTimings(QStringLiteral("Backup copy vs. cp --preserve=mode,timestamps"),
                     QStringLiteral("cp"), results, runs);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "BackupCopyBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
