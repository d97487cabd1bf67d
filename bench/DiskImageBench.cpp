// Times the FAT reader and the backup run on a drive C: that is a FAT32 hard-disk image against
// mtools on the same image: listing a folder of 1,000 entries against mdir, backing up the 11
// system files from the image to a host folder against one mcopy of the same files, and into a
// folder of the image against one mcopy of the same files from the host. --folders adds the
// folders of a larger installation.
#include "backup/core/BackupFolder.h"
#include "backup/core/BackupRun.h"
#include "bench/BenchSupport.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <cstdio>
#include <functional>

namespace {

using namespace bench;

constexpr qint64 PartitionOffset = 2048 * 512;  // where tools/disk-image-from-folder puts it

void check(int dosError, const QString &what)
{
    if (dosError != platform::dos::Ok)
        throw Failure(QStringLiteral("%1: DOS error %2").arg(what).arg(dosError).toStdString());
}

// The 11 files with the sizes a Windows 98 installation gives them.
struct SystemFile {
    const char *path;  // below C:\ and in the staging folder
    qint64 size;
};
constexpr SystemFile SystemFiles[] = {
    {"AUTOEXEC.BAT", 230},        {"CONFIG.SYS", 120},        {"IO.SYS", 222390},
    {"MSDOS.SYS", 1676},          {"COMMAND.COM", 93890},     {"WINDOWS/SYSTEM.DAT", 2 * MiB},
    {"WINDOWS/USER.DAT", 256 * KiB}, {"WINDOWS/WIN.INI", 6 * KiB}, {"WINDOWS/SYSTEM.INI", 3 * KiB},
    {"WINDOWS/CONTROL.INI", 2 * KiB}, {"WINDOWS/PROTOCOL.INI", KiB}};

QString windowsPath(const char *path)
{
    return QStringLiteral("C:\\") + QString::fromLatin1(path).replace(u'/', u'\\');
}

QString imagePath(const char *path)
{
    return QStringLiteral("::/") + QString::fromLatin1(path);
}

void runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MTOOLSRC"), QStringLiteral("/dev/null"));
    environment.insert(QStringLiteral("MTOOLS_SKIP_CHECK"), QStringLiteral("1"));
    environment.insert(QStringLiteral("DEFAULT_CODEPAGE"), QStringLiteral("850"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw Failure(program.toStdString() + " failed: " + process.readAllStandardError().toStdString());
}

// A staging folder with WINDOWS holding the 1,000 files and the system files, and `folders`
// more folders of 30 files each as an installation has them, made into an image.
QString makeImage(const QString &folder, int entries, int folders)
{
    const QDir root(folder);
    if (!root.mkpath(QStringLiteral("staging/WINDOWS")))
        throw Failure("cannot create the staging folder");
    for (int number = 1; number <= entries; ++number)
        writeRandomFile(root.filePath(QStringLiteral("staging/WINDOWS/Eintrag Nummer %1.txt").arg(number)), 100);
    for (int number = 1; number <= folders; ++number) {
        const QString subfolder = QStringLiteral("staging/Programme/Ordner %1").arg(number);
        if (!root.mkpath(subfolder))
            throw Failure("cannot create the staging folder");
        for (int file = 1; file <= 30; ++file)
            writeRandomFile(root.filePath(subfolder + QStringLiteral("/Datei %1.dll").arg(file)), 100);
    }
    for (const SystemFile &file : SystemFiles)
        writeRandomFile(root.filePath(QStringLiteral("staging/") + QLatin1String(file.path)), file.size);
    const QString image = root.filePath(QStringLiteral("win98.img"));
    runTool(QStringLiteral(VELKO_SOURCE_DIR "/tools/disk-image-from-folder"),
            {QStringLiteral("--size"), QStringLiteral("128"), root.filePath(QStringLiteral("staging")), image});
    return image;
}

QString volumeOf(const QString &image)
{
    return image + QStringLiteral("@@%1").arg(PartitionOffset);
}

double timed(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// One untimed run of each side, then the timed runs taking turns.
Timings measure(const QString &title, int runs, const std::function<void(int)> &ours,
               const std::function<void(int)> &mtools)
{
    Timings result{title, {}, {}};
    for (int run = 0; run <= runs; ++run) {
        const double a = timed([&] { ours(run); });
        const double b = timed([&] { mtools(run); });
        if (run > 0) {
            result.ours.append(a);
            result.anchor.append(b);
        }
    }
    return result;
}

// As the backup run copies: all files at once where the folder's drive can, else one by one.
void backupInto(const QString &folder)
{
    check(platform::forceDirectories(folder), folder);
    platform::FileRun fileRun;
    QList<platform::ResolvedPath> sources;
    QStringList names;
    for (const SystemFile &file : SystemFiles) {
        const QString path = windowsPath(file.path);
        const auto source = platform::resolvePath(path);
        if (!source.ok() || !source.value.isFile())
            throw Failure("missing " + path.toStdString());
        sources.append(source.value);
        names.append(platform::fileNamePart(path));
    }
    if (!backup::copyAllIntoFolder(sources, names, folder)) {
        for (qsizetype at = 0; at < sources.size(); ++at)
            check(backup::copyIntoBackup(sources[at], backup::backupTarget(folder, names[at])).error, names[at]);
    }
    check(fileRun.finish(), folder);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Times a drive on a FAT32 disk image against mtools."));
    options.addHelpOption();
    const QCommandLineOption folderOption = testPcFolderOption();
    const QCommandLineOption runsOption = runsPerCaseOption(QStringLiteral("9"));
    const QCommandLineOption entriesOption(QStringLiteral("entries"), QStringLiteral("Files in C:\\WINDOWS."),
                                           QStringLiteral("n"), QStringLiteral("1000"));
    const QCommandLineOption foldersOption(QStringLiteral("folders"),
                                           QStringLiteral("Further folders of 30 files each on C:."),
                                           QStringLiteral("n"), QStringLiteral("0"));
    options.addOptions({folderOption, runsOption, entriesOption, foldersOption});
    options.process(app);
    const int runs = qMax(1, options.value(runsOption).toInt());
    const QString folder = options.value(folderOption);
    if (isTmpfs(folder))
        std::fprintf(stderr, "warning: %s is on tmpfs; the figures say nothing about a disk\n", qPrintable(folder));
    try {
        QTemporaryDir images(QDir(folder).filePath(QStringLiteral("velko-image-XXXXXX")));
        if (!images.isValid())
            throw Failure("no temporary folder in " + folder.toStdString());
        const QString image = makeImage(images.path(), options.value(entriesOption).toInt(),
                                        options.value(foldersOption).toInt());
        const BenchPc pc(folder, {"drive_d"}, "C=disk," + image.toUtf8() + "\nD=fixed,drive_d\n");
        QList<Timings> results;

        // The folder read afresh each time: the image's new time stamp says it changed.
        QFile imageFile(image);
        if (!imageFile.open(QIODevice::ReadWrite))
            throw Failure("cannot open " + image.toStdString());
        qint64 stamp = 0;
        results.append(measure(
            QStringLiteral("list C:\\WINDOWS (%1 entries)").arg(options.value(entriesOption)), runs,
            [&](int) {
                if (!imageFile.setFileTime(QDateTime::fromSecsSinceEpoch(1000000000 + ++stamp),
                                           QFileDevice::FileModificationTime))
                    throw Failure("cannot touch " + image.toStdString());
                const auto names = platform::files(QStringLiteral("C:\\WINDOWS"));
                check(names.error, QStringLiteral("C:\\WINDOWS"));
            },
            [&](int) { runTool(QStringLiteral("mdir"), {QStringLiteral("-i"), volumeOf(image), QStringLiteral("::/WINDOWS")}); }));

        QStringList sources;
        for (const SystemFile &file : SystemFiles)
            sources.append(imagePath(file.path));
        results.append(measure(
            QStringLiteral("backup of 11 files to D:"), runs,
            [&](int run) { backupInto(QStringLiteral("D:\\Ours%1").arg(run)); },
            [&](int run) {
                const QString target = pc.host(QStringLiteral("drive_d/mcopy%1").arg(run));
                QDir().mkpath(target);
                runTool(QStringLiteral("mcopy"),
                        QStringList{QStringLiteral("-m"), QStringLiteral("-o"), QStringLiteral("-i"), volumeOf(image)}
                            + sources + QStringList{target});
            }));

        QStringList hostSources;
        for (const SystemFile &file : SystemFiles)
            hostSources.append(images.filePath(QStringLiteral("staging/") + QLatin1String(file.path)));
        results.append(measure(
            QStringLiteral("backup of 11 files into the image"), runs,
            [&](int run) { backupInto(QStringLiteral("C:\\Ours%1").arg(run)); },
            [&](int run) {
                runTool(QStringLiteral("mmd"), {QStringLiteral("-i"), volumeOf(image), QStringLiteral("::/Mcopy%1").arg(run)});
                runTool(QStringLiteral("mcopy"), QStringList{QStringLiteral("-m"), QStringLiteral("-o"), QStringLiteral("-i"), volumeOf(image)}
                                                     + hostSources + QStringList{QStringLiteral("::/Mcopy%1").arg(run)});
            }));
        printTimings(QStringLiteral("Drive C: on a FAT32 image vs. mtools on the same image"),
                     QStringLiteral("mtools"), results, runs);
    } catch (const Failure &failure) {
        std::fprintf(stderr, "DiskImageBench: %s\n", failure.what());
        return 1;
    }
    return 0;
}
