#include "bench/BenchSupport.h"

#include "platform/drives/Pc.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <cstdio>

#include <algorithm>

#include <linux/magic.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace bench {

BenchPc::BenchPc(const QString &parent, const QStringList &folders, const QByteArray &drives)
    : m_dir(QDir(parent).filePath(QStringLiteral("velko-bench-XXXXXX")))
{
    if (!m_dir.isValid())
        throw Failure("no temporary folder in " + parent.toStdString());
    const QDir root(m_dir.path());
    for (const QString &folder : folders) {
        if (!root.mkpath(folder))
            throw Failure("cannot create " + folder.toStdString());
    }
    QFile ini(root.filePath(QStringLiteral("machine.ini")));
    if (!ini.open(QIODevice::WriteOnly)
        || ini.write("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n" + drives) < 0 || !ini.flush())
        throw Failure("cannot write machine.ini");
    ini.close();
    QString error;
    auto machine = platform::Machine::load(m_dir.path(), &error);
    if (!machine)
        throw Failure(error.toStdString());
    m_pc = std::make_unique<platform::Pc>(std::move(machine));
    m_pc->makeCurrent();
}

BenchPc::~BenchPc() = default;

QString BenchPc::host(const QString &relative) const
{
    return QDir(m_dir.path()).filePath(relative);
}

void writeRandomFile(const QString &hostPath, qint64 size)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure("cannot create " + hostPath.toStdString());
    QByteArray chunk(qMin(size, MiB), Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= chunk.size()) {
        chunk.resize(qMin(left, MiB));
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(chunk.data()),
                                              chunk.size() / sizeof(quint32));
        if (file.write(chunk) != chunk.size())
            throw Failure("cannot write " + hostPath.toStdString());
    }
    if (!file.flush())
        throw Failure("cannot write " + hostPath.toStdString());
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString joined(const QList<double> &milliseconds)
{
    QStringList texts;
    for (const double value : milliseconds)
        texts.append(QString::number(value, 'f', 1));
    return texts.join(u' ');
}

bool isTmpfs(const QString &folder)
{
    struct statfs info;
    return ::statfs(QFile::encodeName(folder).constData(), &info) == 0 && info.f_type == TMPFS_MAGIC;
}

QCommandLineOption testPcFolderOption()
{
    return QCommandLineOption(QStringLiteral("dir"),
                              QStringLiteral("Folder for the test PC (default: beside the program)."),
                              QStringLiteral("folder"), QCoreApplication::applicationDirPath());
}

QCommandLineOption runsPerCaseOption(const QString &defaultRuns)
{
    return QCommandLineOption(QStringLiteral("runs"), QStringLiteral("Timed runs per case."), QStringLiteral("n"),
                              defaultRuns);
}

QCommandLineOption smallFilesOption()
{
    return QCommandLineOption(QStringLiteral("files"), QStringLiteral("Number of 64 KiB files; 0 skips the case."),
                              QStringLiteral("n"), QStringLiteral("1000"));
}

QCommandLineOption tinyFilesOption()
{
    return QCommandLineOption(QStringLiteral("tiny-files"),
                              QStringLiteral("Number of 1-byte files; 0 skips the case."), QStringLiteral("n"),
                              QStringLiteral("10000"));
}

void printTimings(const QString &heading, const QString &anchor, const QList<Timings> &results, int runs)
{
    QList<SideTimings> sides;
    for (const Timings &result : results)
        sides.append({result.title, {result.ours, result.anchor}});
    printSides(heading, {QStringLiteral("ours"), anchor}, sides, runs);
}

void printSides(const QString &heading, const QStringList &sides, const QList<SideTimings> &results, int runs)
{
    int width = 4;
    for (const SideTimings &result : results)
        width = qMax(width, int(result.title.size()));
    const QString anchor = sides.last();
    std::printf("%s, median of %d runs\n\n", qPrintable(heading), runs);
    std::printf("%-*s", width, "case");
    for (const QString &side : sides)
        std::printf(" %12s", qPrintable(side + QStringLiteral(" (ms)")));
    for (const QString &side : sides.first(sides.size() - 1))
        std::printf(" %12s", qPrintable(side + u'/' + anchor));
    std::printf("\n");
    for (const SideTimings &result : results) {
        std::printf("%-*s", width, qPrintable(result.title));
        for (const QList<double> &side : result.sides)
            std::printf(" %12.1f", median(side));
        const double anchorMedian = median(result.sides.last());
        for (const QList<double> &side : result.sides.first(result.sides.size() - 1))
            std::printf(" %12.2f", median(side) / anchorMedian);
        std::printf("\n");
    }
    std::printf("\nEach run (ms), in the order taken:\n");
    int label = 0;
    for (const QString &side : sides)
        label = qMax(label, int(side.size()));
    for (const SideTimings &result : results) {
        for (qsizetype i = 0; i < sides.size(); ++i)
            std::printf("%-*s %-*s %s\n", width, i == 0 ? qPrintable(result.title) : "", label,
                        qPrintable(sides[i]), qPrintable(joined(result.sides[i])));
    }
}

SourceFiles makeSourceFiles(const BenchPc &pc, const QString &title, const QString &folder,
                            const QString &nameFormat, int count, qint64 size)
{
    SourceFiles result{title, {}, {}};
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

// Far beyond any case's cp, but not forever.
constexpr int cpTimeLimitMs = 10 * 60 * 1000;

double timeCp(const QStringList &hostPaths, const QString &target)
{
    if (!QDir().mkpath(target))
        throw Failure("cannot create " + target.toStdString());
    ::sync();
    QProcess cp;
    QElapsedTimer timer;
    timer.start();
    cp.start(QStringLiteral("cp"),
             QStringList{QStringLiteral("--preserve=mode,timestamps")} + hostPaths + QStringList{target});
    const bool finished = cp.waitForFinished(cpTimeLimitMs);
    const double milliseconds = timer.nsecsElapsed() / 1e6;
    if (!finished) {
        cp.kill();
        cp.waitForFinished(cpTimeLimitMs);
        throw Failure("cp took longer than ten minutes");
    }
    if ( cp.exitStatus() != QProcess::NormalExit || cp.exitCode() != 0)
        throw Failure("cp failed: " + cp.readAllStandardError().toStdString());
    return milliseconds;
}

void removeHostFolder(const QString &folder)
{
    if (!QDir(folder).removeRecursively())
        throw Failure("cannot remove " + folder.toStdString());
    ::sync();
}

}  // namespace bench
