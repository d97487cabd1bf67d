// Times the backup comparison against `cmp` over the same pairs of copy and original and prints
// the ratio. Our side reads Restore.bat and compares every file it names, with sizes, times and
// attributes; the cmp side is one shell that runs `cmp -s` on each pair. Each case is measured
// with every original equal to its copy and again with every original's last byte changed, so
// that both sides read every byte.
#include "backup/core/Runner.h"
#include "bench/BenchSupport.h"
#include "compare/core/BackupComparison.h"
#include "platform/drives/Files.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace {

using namespace bench;

const QString Backup = QStringLiteral("D:\\Ziel");

struct Quiet : backup::RunObserver {
    void missing(const backup::MarkedFile &file) override
    {
        throw Failure("missing " + file.path.toStdString());
    }
    void copyFailed(const backup::MarkedFile &file, const QString &, int) override
    {
        throw Failure("cannot copy " + file.path.toStdString());
    }
    void folderFailed(int error) override { throw Failure("backup folder failed: " + std::to_string(error)); }
    void scriptFailed() override { throw Failure("Restore.bat failed"); }
    void pifFailed() override {}  // no restore.pif on the bench PC; the comparison does not need it
    void progress(int, int) override {}
};

// Sources with long names that share their first letters, saved by the backup run.
void makeBackup(const BenchPc &pc, int count, qint64 size)
{
    backup::RunRequest request;
    const QString hostFolder = pc.host(QStringLiteral("drive_c/Quelle"));
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("Startdatei %1.ini").arg(i, 4, 10, QLatin1Char('0'));
        writeRandomFile(hostFolder + u'/' + name, size);
        request.files.append({i - 1, QStringLiteral("C:\\Quelle\\") + name, name});
    }
    request.destination = Backup;
    request.programDirectory = QStringLiteral("C:\\WINDOWS");
    request.windowsShort = QStringLiteral("C:\\WINDOWS");
    request.started = QDateTime::currentDateTime();
    Quiet observer;
    if (backup::runBackup(request, observer).saved != count)
        throw Failure("the backup run did not save every file");
}

compare::Comparison compared(compare::FileState expected)
{
    compare::Comparison comparison = compare::compareBackup(Backup);
    if (comparison.error != 0)
        throw Failure("Restore.bat: DOS error " + std::to_string(comparison.error));
    for (const compare::ComparedFile &file : comparison.files) {
        if (file.state != expected)
            throw Failure("unexpected state of " + file.name.toStdString());
    }
    return comparison;
}

// The host files of each pair, two lines per pair, for the shell's loop.
QString writePairs(const BenchPc &pc, const compare::Comparison &comparison)
{
    QByteArray list;
    for (const compare::ComparedFile &file : comparison.files) {
        for (const QString &path : {file.copy.path, file.original.path}) {
            const auto host = platform::hostPathOf(path);
            if (!host.ok())
                throw Failure("no host path for " + path.toStdString());
            list += QFile::encodeName(host.value) + '\n';
        }
    }
    const QString listFile = pc.host(QStringLiteral("pairs.txt"));
    QFile out(listFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(list) != list.size() || !out.flush())
        throw Failure("cannot write the list of pairs");
    return listFile;
}

// Changes the last byte of every original, or sets it back.
void flipLastBytes(const compare::Comparison &comparison)
{
    for (const compare::ComparedFile &file : comparison.files) {
        const auto host = platform::hostPathOf(file.original.path);
        QFile original(host.value);
        if (!host.ok() || !original.open(QIODevice::ReadWrite) || !original.seek(original.size() - 1))
            throw Failure("cannot change " + file.original.path.toStdString());
        char last = 0;
        if (!original.getChar(&last) || !original.seek(original.size() - 1)
            || !original.putChar(char(last ^ 0x5A)))
            throw Failure("cannot change " + file.original.path.toStdString());
    }
}

double timeOurs(compare::FileState expected)
{
    QElapsedTimer timer;
    timer.start();
    (void)compared(expected);
    return double(timer.nsecsElapsed()) / 1e6;
}

double timeCmp(const QString &listFile)
{
    // cmp exits 0 for equal files and 1 for different ones; anything else is a failure.
    const QString loop = QStringLiteral("while IFS= read -r a && IFS= read -r b; do cmp -s -- \"$a\" \"$b\"; "
                                        "[ $? -le 1 ] || exit 2; done < \"$1\"");
    QProcess shell;
    QElapsedTimer timer;
    timer.start();
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), loop, QStringLiteral("sh"), listFile});
    const bool finished = shell.waitForFinished(600000);
    const double milliseconds = double(timer.nsecsElapsed()) / 1e6;
    if (!finished || shell.exitStatus() != QProcess::NormalExit || shell.exitCode() != 0)
        throw Failure("cmp failed: " + shell.readAllStandardError().toStdString());
    return milliseconds;
}

// One untimed run of each side, then the timed runs taking turns.
Timings measure(const QString &title, const QString &listFile, compare::FileState expected, int runs)
{
    Timings result{title, {}, {}};
    for (int run = 0; run <= runs; ++run) {
        const double ours = timeOurs(expected);
        const double cmp = timeCmp(listFile);
        if (run > 0) {
            result.ours.append(ours);
            result.anchor.append(cmp);
        }
    }
    return result;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Times the backup comparison against cmp on the same pairs."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption = runsPerCaseOption(QStringLiteral("5"));
    const QCommandLineOption filesOption(QStringLiteral("files"), QStringLiteral("Number of files."),
                                         QStringLiteral("n"), QStringLiteral("1000"));
    const QCommandLineOption sizeOption(QStringLiteral("kib"), QStringLiteral("Size of each file in KiB."),
                                        QStringLiteral("kib"), QStringLiteral("64"));
    options.addOptions({folderOption, runsOption, filesOption, sizeOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const int files = qMax(1, options.value(filesOption).toInt());
    const qint64 size = qMax(1, options.value(sizeOption).toInt()) * KiB;
    const QString folder = options.value(folderOption);

    if (isTmpfs(folder))
        std::fprintf(stderr, "warning: %s is on tmpfs; the figures say nothing about a disk\n",
                     qPrintable(folder));
    try {
        const BenchPc pc(folder, {"drive_c/WINDOWS", "drive_c/Quelle", "drive_d/Ziel"},
                         "C=fixed,drive_c\nD=fixed,drive_d\n");
        makeBackup(pc, files, size);
        const compare::Comparison comparison = compared(compare::FileState::Unchanged);
        const QString listFile = writePairs(pc, comparison);
        const QString title = QStringLiteral("%1 x %2 KiB").arg(files).arg(size / KiB);
        QList<Timings> results;
        results.append(
            measure(title + QStringLiteral(", all equal"), listFile, compare::FileState::Unchanged, runs));
        flipLastBytes(comparison);
        results.append(measure(title + QStringLiteral(", last byte changed"), listFile,
                               compare::FileState::Changed, runs));
        printTimings(QStringLiteral("Backup comparison vs. cmp -s over the same pairs"),
                     QStringLiteral("cmp"), results, runs);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "CompareBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
