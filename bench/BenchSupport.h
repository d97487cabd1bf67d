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

// --dir: the folder the test PC is made in, on the disk to be measured (default: beside the program).
QCommandLineOption testPcFolderOption();

void writeRandomFile(const QString &hostPath, qint64 size);
double median(QList<double> values);
QString joined(const QList<double> &milliseconds);  // "12.3 45.6 ..."
bool isTmpfs(const QString &folder);

}  // namespace bench
