#include "tests/support/DiskImages.h"

#include "platform/host/detail/Mtools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The program's own mtools environment, with the folders of mkfs.fat and sfdisk.
QProcessEnvironment toolEnvironment()
{
    QProcessEnvironment environment = platform::detail::mtoolsEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       environment.value(QStringLiteral("PATH")) + QStringLiteral(":/usr/sbin:/sbin"));
    return environment;
}

// Runs a host tool to its end; its output, or nothing and *ok false when it fails.
QByteArray run(const QString &program, const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.setProcessEnvironment(toolEnvironment());
    process.start(program, arguments);
    *ok = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit
          && process.exitCode() == 0;
    if (!*ok)
        qWarning("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return process.readAllStandardOutput() + process.readAllStandardError();
}

}  // namespace

void makeDiskImage(const QString &folder, const QString &image, DiskFormat format)
{
    QStringList arguments;
    if (format == DiskFormat::Fat16)
        arguments << QStringLiteral("--fat16");
    arguments << folder << image;
    bool ok = false;
    run(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/tools/disk-image-from-folder"), arguments, &ok);
    if (!ok)
        qFatal("disk-image-from-folder failed for %s", qPrintable(image));
}

void makeDemoDiskImage(const QString &image, DiskFormat format)
{
    QTemporaryDir staging;
    const QString driveC = staging.filePath(QStringLiteral("drive_c"));
    bool ok = false;
    run(QStringLiteral("cp"),
        {QStringLiteral("-R"), qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/demo-pc/drive_c"),
         driveC},
        &ok);
    QDir folder(driveC);
    QFile letter(driveC + QStringLiteral("/Eigene Dateien/Glückwünsche zum Geburtstag.txt"));
    if (!ok || !folder.mkdir(QStringLiteral("Eigene Dateien")) || !letter.open(QIODevice::WriteOnly)
        || letter.write("Alles Gute zum Geburtstag!\r\n") < 0)
        qFatal("cannot stage the demo PC's drive C:");
    letter.close();
    makeDiskImage(driveC, image, format);
}

QString diskImageIni(const QString &image, const QString &options)
{
    return QStringLiteral("[Windows]\n"
                          "Directory=C:\\WINDOWS\n"
                          "[Drives]\n"
                          "A=floppy,floppy-a.img\n"
                          "C=disk,%1%2\n"
                          "D=fixed,drive_d\n")
        .arg(image, options);
}

QString mtoolsOnDisk(const QString &command, const QString &image, const QStringList &arguments)
{
    bool ok = false;
    const QByteArray output = run(
        command, QStringList{QStringLiteral("-i"), image + QStringLiteral("@@%1").arg(PartitionOffset)} + arguments,
        &ok);
    if (!ok)
        qFatal("%s failed on %s", qPrintable(command), qPrintable(image));
    return QString::fromUtf8(output);
}

QString mattribOf(const QString &image, const QString &pathInImage)
{
    const QString line = mtoolsOnDisk(QStringLiteral("mattrib"), image, {pathInImage}).trimmed();
    // "  A  SHR  ::/IO.SYS": the letters before the path.
    return line.left(line.indexOf(QStringLiteral("::/"))).remove(u' ');
}

QString partitionProblems(const QString &image)
{
    QTemporaryDir folder;
    const QString partition = folder.filePath(QStringLiteral("partition.img"));
    QFile from(image);
    QFile to(partition);
    if (!from.open(QIODevice::ReadOnly) || !from.seek(PartitionOffset) || !to.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot copy the partition");
    while (!from.atEnd()) {
        const QByteArray block = from.read(1 << 20);
        if (block.isEmpty() || to.write(block) != block.size())
            return QStringLiteral("cannot copy the partition");
    }
    to.close();
    bool ok = false;
    const QByteArray output = run(QStringLiteral("fsck.fat"), {QStringLiteral("-n"), partition}, &ok);
    return ok ? QString() : QString::fromUtf8(output);
}
