// Times the least that copying many small files costs when every copy must survive a crash:
// open the source, fstat, create a temporary name in the target folder with O_EXCL, copy the
// bytes, fchmod if the umask took mode bits, futimens, close both, rename over the final name.
// The same copy written straight to the final name shows what the temporary and the rename cost
// alone. Both are plain POSIX, without the program's code, against `cp --preserve=mode,timestamps`
// of the same files that BackupCopyBench copies.
#include "bench/BenchSupport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace bench;

[[noreturn]] void fail(const std::string &what)
{
    throw Failure(what + ": " + std::strerror(errno));
}

// A file descriptor that is closed on every way out; close() reports what closing found.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Where a copy is written first.
enum class Landing { TemporaryThenRename, FinalName };

// The copy's inputs, made before the clock starts.
struct Job {
    std::vector<std::string> sources;  // full paths, as a backup list names them
    std::vector<std::string> names;    // each source's name in the target folder
    mode_t umask = 0;
};

Job makeJob(const QStringList &hostPaths)
{
    Job job;
    for (const QString &path : hostPaths) {
        job.sources.push_back(QFile::encodeName(path).toStdString());
        job.names.push_back(job.sources.back().substr(job.sources.back().rfind('/') + 1));
    }
    job.umask = ::umask(0);
    ::umask(job.umask);
    return job;
}

// Read and write for file systems that cannot copy within the kernel.
void readWrite(int from, int to, off_t left, const std::string &name)
{
    char buffer[64 * 1024];
    while (left > 0) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0)
            fail("reading " + name);
        if (got == 0)
            return;  // the source got shorter
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(to, buffer + written, size_t(got - written));
            if (put < 0)
                fail("writing " + name);
            written += put;
        }
        left -= got;
    }
}

void copyBytes(int from, int to, off_t size, const std::string &name)
{
    for (off_t left = size; left > 0;) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, size_t(left), 0);
        if (copied < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            return readWrite(from, to, left, name);
        if (copied < 0)
            fail("copying " + name);
        if (copied == 0)
            return;
        left -= copied;
    }
}

// Creates a name that is not there yet and keeps it open for the copy: the last one used, which
// its rename freed, else the next of ~VS0000.TMP to ~VSFFFF.TMP; -1 with EEXIST once all are taken.
int createTemporary(int folder, mode_t mode, unsigned &next, std::string &name)
{
    char text[16];
    for (unsigned tried = 0; tried <= 0xFFFFu; ++tried, ++next) {
        std::snprintf(text, sizeof text, "~VS%04X.TMP", next & 0xFFFFu);
        name = text;
        const int fd = ::openat(folder, text, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void copyOne(const Job &job, std::size_t index, int folder, Landing landing, unsigned &nextTemporary)
{
    const std::string &source = job.sources[index];
    const std::string &finalName = job.names[index];
    Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.valid())
        fail("opening " + source);
    struct stat info;
    if (::fstat(from.get(), &info) != 0)
        fail("fstat " + source);
    const mode_t mode = info.st_mode & 07777;
    std::string written = finalName;
    Descriptor to(landing == Landing::TemporaryThenRename
                      ? createTemporary(folder, mode, nextTemporary, written)
                      : ::openat(folder, finalName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode));
    if (!to.valid())
        fail("creating " + written);
    copyBytes(from.get(), to.get(), info.st_size, written);
    if ((mode & ~job.umask) != mode && ::fchmod(to.get(), mode) != 0)
        fail("fchmod " + written);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::futimens(to.get(), times) != 0)
        fail("futimens " + written);
    if (!from.close())
        fail("closing " + source);
    if (!to.close())
        fail("closing " + written);
    if (landing == Landing::TemporaryThenRename && ::renameat(folder, written.c_str(), folder, finalName.c_str()) != 0)
        fail("renaming " + written);
}

// Every source into the existing, synced folder `target`; milliseconds.
double timeFloor(const Job &job, const QString &target, Landing landing)
{
    if (!QDir().mkpath(target))
        throw Failure("cannot create " + target.toStdString());
    ::sync();
    const auto start = std::chrono::steady_clock::now();
    const std::string targetPath = QFile::encodeName(target).toStdString();
    Descriptor folder(::open(targetPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        fail("opening " + targetPath);
    unsigned nextTemporary = 0;
    for (std::size_t i = 0; i < job.sources.size(); ++i)
        copyOne(job, i, folder.get(), landing, nextTemporary);
    if (!folder.close())
        fail("closing " + targetPath);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

QString targetFolder(const BenchPc &pc, const QString &side, int run)
{
    return pc.host(QStringLiteral("drive_d/%1-%2").arg(side).arg(run));
}

// One warm-up of each side (run 0), then the timed runs taking turns. The copies stay until the
// case is done: on ext4, creating files right after many were deleted is slow for every side.
SideTimings measure(const BenchPc &pc, const SourceFiles &sources, int runs)
{
    const Job job = makeJob(sources.hostPaths);
    SideTimings result{sources.title, {{}, {}, {}}};
    for (int run = 0; run <= runs; ++run) {
        const double renamed = timeFloor(job, targetFolder(pc, QStringLiteral("rename"), run),
                                         Landing::TemporaryThenRename);
        const double direct = timeFloor(job, targetFolder(pc, QStringLiteral("direct"), run), Landing::FinalName);
        const double cp = timeCp(sources.hostPaths, targetFolder(pc, QStringLiteral("cp"), run));
        if (run > 0) {
            result.sides[0].append(renamed);
            result.sides[1].append(direct);
            result.sides[2].append(cp);
        }
    }
    for (int run = 0; run <= runs; ++run) {
        for (const QString &side : {QStringLiteral("rename"), QStringLiteral("direct"), QStringLiteral("cp")})
            removeHostFolder(targetFolder(pc, side, run));
    }
    return result;
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("Times a bare crash-safe copy of many small files against cp on the same disk."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption = runsPerCaseOption(QStringLiteral("5"));
    const QCommandLineOption filesOption = smallFilesOption();
    const QCommandLineOption tinyOption = tinyFilesOption();
    options.addOptions({folderOption, runsOption, filesOption, tinyOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const int fileCount = options.value(filesOption).toInt();
    const int tinyCount = options.value(tinyOption).toInt();
    const QString folder = options.value(folderOption);

    if (isTmpfs(folder))
        std::fprintf(stderr, "warning: %s is on tmpfs; the figures say nothing about a disk\n",
                     qPrintable(folder));
    try {
        const BenchPc pc(folder, {"drive_c/WINDOWS", "drive_c/Quelle", "drive_d"},
                         "C=fixed,drive_c\nD=fixed,drive_d\n");
        QList<SideTimings> results;
        if (fileCount > 0) {
            const SourceFiles small =
                makeSourceFiles(pc, QStringLiteral("%1 x 64 KiB").arg(fileCount), QStringLiteral("Klein"),
                                QStringLiteral("Startdatei %1.ini"), fileCount, 64 * KiB);
            results.append(measure(pc, small, runs));
        }
        if (tinyCount > 0) {
            const SourceFiles tiny =
                makeSourceFiles(pc, QStringLiteral("%1 x 1 byte").arg(tinyCount), QStringLiteral("Winzig"),
                                QStringLiteral("Kleine Datei %1.ini"), tinyCount, 1);
            results.append(measure(pc, tiny, runs));
        }
        printSides(QStringLiteral("Crash-safe copy floor vs. cp --preserve=mode,timestamps"),
                   {QStringLiteral("rename"), QStringLiteral("direct"), QStringLiteral("cp")}, results, runs);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "CopyFloorBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
