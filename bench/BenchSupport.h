#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <stdexcept>

namespace platform {
class Pc;
}

// What the benchmarks share: a simulated PC on the disk to be measured, random files, medians.
namespace bench {

constexpr qint64 KiB = 1024;
constexpr qint64 MiB = 1024 * KiB;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A simulated PC in a temporary folder under `parent`, with `folders` made below it and the
// [Drives] lines of machine.ini; the current PC, removed with the object.
class BenchPc {
public:
    BenchPc(const QString &parent, const QStringList &folders, const QByteArray &drives);
    ~BenchPc();
    BenchPc(const BenchPc &) = delete;
    BenchPc &operator=(const BenchPc &) = delete;

    QString host(const QString &relative) const;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<platform::Pc> m_pc;  // current from construction; gone before the folder
};

// One case's timed runs of both sides: the program's and the tool it is measured against.
struct Timings {
    QString title;
    QList<double> ours;
    QList<double> anchor;
};
// The heading, then a table of the medians and their ratio ours/anchor, then every run.
void printTimings(const QString &heading, const QString &anchor, const QList<Timings> &results, int runs);

// One case's timed runs of several sides, in the order of the side names given to printSides.
struct SideTimings {
    QString title;
    QList<QList<double>> sides;
};
// As printTimings, for any number of sides: each is measured against the last one, the anchor.
void printSides(const QString &heading, const QStringList &sides, const QList<SideTimings> &results, int runs);

// Source files below drive C's folder Quelle, both as the program names them and as tools do.
struct SourceFiles {
    QString title;
    QStringList windowsPaths;
    QStringList hostPaths;
};
// `count` random files of `size` bytes in C:\Quelle\<folder>, named by `nameFormat` with the
// number as %1. Long names that share their first letters are the hard case for 8.3 aliases.
SourceFiles makeSourceFiles(const BenchPc &pc, const QString &title, const QString &folder,
                            const QString &nameFormat, int count, qint64 size);

// `cp --preserve=mode,timestamps` of the files into `target`, made and synced first; milliseconds.
double timeCp(const QStringList &hostPaths, const QString &target);
// Removes a host folder with everything in it, then syncs, so that the next run does not pay
// for writing back what this one left in the cache.
void removeHostFolder(const QString &folder);

// --dir: the folder the test PC is made in, on the disk to be measured (default: beside the program).
QCommandLineOption testPcFolderOption();
// --runs: timed runs per case.
QCommandLineOption runsPerCaseOption(const QString &defaultRuns);
// --files and --tiny-files: how many files of 64 KiB and of one byte the two many-file cases copy.
QCommandLineOption smallFilesOption();
QCommandLineOption tinyFilesOption();

void writeRandomFile(const QString &hostPath, qint64 size);
double median(QList<double> values);
QString joined(const QList<double> &milliseconds);  // "12.3 45.6 ..."
bool isTmpfs(const QString &folder);

}  // namespace bench
