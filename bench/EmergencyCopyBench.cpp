// Times the emergency disk's copy step for one large file (256-byte blocks through buffered
// streams, written under a temporary name and then put in place) against `cp` on the same disk,
// and prints the ratio.
#include "bench/BenchSupport.h"
#include "emergency/core/NotfallCopies.h"
#include "platform/drives/Files.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>

#include <unistd.h>

namespace {

using namespace bench;

const QString Source = QStringLiteral("C:\\WINDOWS\\USER.DAT");
const QString Copy = QStringLiteral("C:\\Notfall\\User.dat");

// Each side writes a new file; the one before is gone and synced, so no run pays for another.
double timeOurs()
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    try {
        emergency::copyInBlocks(Source, Copy);
    } catch (const platform::IoError &error) {
        throw Failure("copy step: DOS error " + std::to_string(error.code()));
    }
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (platform::deleteFile(Copy) != platform::dos::Ok)
        throw Failure("cannot remove the copy");
    return milliseconds;
}

double timeCp(const BenchPc &pc)
{
    const QString target = pc.host(QStringLiteral("cp/User.dat"));
    ::sync();
    QProcess cp;
    QElapsedTimer timer;
    timer.start();
    cp.start(QStringLiteral("cp"), {pc.host(QStringLiteral("drive_c/WINDOWS/USER.DAT")), target});
    const bool finished = cp.waitForFinished(-1);
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (!finished || cp.exitStatus() != QProcess::NormalExit || cp.exitCode() != 0)
        throw Failure("cp failed: " + cp.readAllStandardError().toStdString());
    if (!QFile::remove(target))
        throw Failure("cannot remove cp's copy");
    return milliseconds;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Times the emergency disk's copy step against cp."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Timed runs."),
                                        QStringLiteral("n"), QStringLiteral("5"));
    const QCommandLineOption sizeOption(QStringLiteral("mib"), QStringLiteral("Size of the file."),
                                        QStringLiteral("mib"), QStringLiteral("100"));
    options.addOptions({folderOption, runsOption, sizeOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const qint64 size = qMax(1, options.value(sizeOption).toInt()) * MiB;
    const QString folder = options.value(folderOption);
    if (isTmpfs(folder))
        std::fprintf(stderr, "warning: %s is on tmpfs; the figures say nothing about a disk\n",
                     qPrintable(folder));

    try {
        const BenchPc pc(folder, {"drive_c/WINDOWS", "drive_c/Notfall", "cp"}, "C=fixed,drive_c\n");
        writeRandomFile(pc.host(QStringLiteral("drive_c/WINDOWS/USER.DAT")), size);
        QList<double> ours;
        QList<double> cp;
        // One warm-up of each side (run 0), then the timed runs taking turns.
        for (int run = 0; run <= runs; ++run) {
            const double oursTime = timeOurs();
            const double cpTime = timeCp(pc);
            if (run > 0) {
                ours.append(oursTime);
                cp.append(cpTime);
            }
        }
        std::printf("Emergency copy step vs. cp, one file of %lld MiB, median of %d runs\n\n", size / MiB,
                    runs);
        std::printf("%12s %12s %10s\n", "ours (ms)", "cp (ms)", "ours/cp");
        std::printf("%12.1f %12.1f %10.2f\n", median(ours), median(cp), median(ours) / median(cp));
        std::printf("\nEach run (ms): ours %s\n               cp   %s\n", qPrintable(joined(ours)),
                    qPrintable(joined(cp)));
    } catch (const Failure &failure) {
        std::fprintf(stderr, "EmergencyCopyBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
