#include "bench/BenchSupport.h"

#include "platform/drives/Pc.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdio>

#include <algorithm>

#include <linux/magic.h>
#include <sys/vfs.h>

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

void printTimings(const QString &heading, const QString &anchor, const QList<Timings> &results, int runs)
{
    int width = 4;
    for (const Timings &result : results)
        width = qMax(width, int(result.title.size()));
    const QByteArray ours = QByteArrayLiteral("ours");
    const QByteArray theirs = anchor.toLocal8Bit();
    std::printf("%s, median of %d runs\n\n", qPrintable(heading), runs);
    const QByteArray anchorColumn = theirs + QByteArrayLiteral(" (ms)");
    const QByteArray ratioColumn = QByteArrayLiteral("ours/") + theirs;
    std::printf("%-*s %12s %12s %12s\n", width, "case", "ours (ms)", anchorColumn.constData(),
                ratioColumn.constData());
    for (const Timings &result : results) {
        const double oursMedian = median(result.ours);
        const double anchorMedian = median(result.anchor);
        std::printf("%-*s %12.1f %12.1f %12.2f\n", width, qPrintable(result.title), oursMedian, anchorMedian,
                    oursMedian / anchorMedian);
    }
    std::printf("\nEach run (ms), in the order taken:\n");
    const int label = int(qMax(ours.size(), theirs.size()));
    for (const Timings &result : results) {
        std::printf("%-*s %-*s %s\n", width, qPrintable(result.title), label, ours.constData(),
                    qPrintable(joined(result.ours)));
        std::printf("%-*s %-*s %s\n", width, "", label, theirs.constData(), qPrintable(joined(result.anchor)));
    }
}

}  // namespace bench
