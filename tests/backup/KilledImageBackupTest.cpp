// A backup run into a folder of a FAT32 hard-disk image, killed between two of its mtools commands
// and while one of them runs: fsck.fat finds nothing, each copy under its real name is the earlier
// copy or the new one, and the next run clears away what the killed one left. And a run into an
// image that fills up on the way.
#include "backup/core/Runner.h"
#include "platform/drives/DiskSpace.h"
#include "platform/drives/Files.h"
#include "platform/files/FileRun.h"
#include "platform/machine/Clock.h"
#include "tests/support/DemoPc.h"
#include "tests/support/DiskImages.h"
#include "tests/support/TestMachine.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <cerrno>

#include <sys/prctl.h>
#include <sys/wait.h>

using namespace platform;

namespace {

const QStringList Sources = demoSystemFiles() + QStringList{LongUmlautName};
// Files from another drive go into the image one by one.
const QStringList FileByFile = {QStringLiteral("C:\\IO.SYS"), LongUmlautName,
                                QStringLiteral("D:\\Notiz vom Montag.txt")};
const QString Destination = QStringLiteral("C:\\Sicherung");
const QString Script = QStringLiteral("Restore.bat");

// A temporary file or folder of copies the killed run left.
bool isLeftoverName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^~VS[0-9A-F]{4}\\.(TMP|DIR)$"));
    return pattern.match(name).hasMatch();
}

// The mtools commands of the backup process go through a script that counts them and, at the
// command numbered killAt, kills that process with SIGKILL: at once, so that the command never
// runs, or after `delay` seconds while the command runs. A command the process started runs on
// to its end alone, as in the program.
class MtoolsTrap {
public:
    MtoolsTrap()
    {
        const QString real =
            QFileInfo(QStandardPaths::findExecutable(QStringLiteral("mcopy"))).absolutePath();
        QFile script(m_dir.filePath(QStringLiteral("trap")));
        if (real.isEmpty() || !script.open(QIODevice::WriteOnly))
            qFatal("no mtools, or no room for the trap");
        script.write(QStringLiteral("#!/bin/sh\n"
                                    "count=$(($(cat \"$TRAP_DIR/count\") + 1))\n"
                                    "echo \"$count\" > \"$TRAP_DIR/count\"\n"
                                    "if [ \"$count\" = \"$TRAP_KILL_AT\" ]; then\n"
                                    "    if [ -z \"$TRAP_DELAY\" ]; then kill -KILL \"$PPID\"; exit 1; fi\n"
                                    "    (sleep \"$TRAP_DELAY\"; kill -KILL \"$PPID\") &\n"
                                    "fi\n"
                                    "exec \"%1/$(basename \"$0\")\" \"$@\"\n")
                         .arg(real)
                         .toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const char *tool : {"mcopy", "mmove", "mattrib", "mdel", "mdeltree", "mmd", "mrd", "mren",
                                 "mtype", "mdir", "mlabel", "mformat", "minfo"})
            QFile::link(script.fileName(), m_dir.filePath(QLatin1String(tool)));
    }

    // Runs the backup in its own process; its exit code, or -1 when it was killed.
    int runBackup(const QString &machineFolder, const QStringList &sources, int killAt,
                  const QString &delay = {})
    {
        writeText(QStringLiteral("count"), "0");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PATH"),
                           m_dir.path() + u':' + environment.value(QStringLiteral("PATH")));
        environment.insert(QStringLiteral("TRAP_DIR"), m_dir.path());
        environment.insert(QStringLiteral("TRAP_KILL_AT"), QString::number(killAt));
        environment.insert(QStringLiteral("TRAP_DELAY"), delay);
        QProcess driver;
        driver.setProcessEnvironment(environment);
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(QStringLiteral(BACKUP_RUN_DRIVER), QStringList{machineFolder, Destination} + sources);
        if (!driver.waitForFinished(120000))
            qFatal("the backup run did not end");
        awaitOrphans();
        return driver.exitStatus() == QProcess::NormalExit ? driver.exitCode() : -1;
    }

    int calls() const { return readText(QStringLiteral("count")).trimmed().toInt(); }

private:
    // The commands (and the trap's killer) that outlived the backup process became this process's
    // children (a subreaper), with whatever they started: all are waited for, so that the image is
    // checked only once nothing writes it any more. A command the killed process had just started
    // counts too.
    void awaitOrphans()
    {
        const QDeadlineTimer deadline(60000);
        for (;;) {
            const pid_t pid = ::waitpid(-1, nullptr, WNOHANG);
            if (pid < 0 && errno == ECHILD)
                return;
            if (pid > 0)
                continue;
            if (deadline.hasExpired())
                qFatal("a command of the killed run does not end");
            QThread::msleep(5);
        }
    }

    void writeText(const QString &name, const QByteArray &text)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            qFatal("cannot write the trap's %s", qPrintable(name));
    }
    QString readText(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    QTemporaryDir m_dir;
};

QString targetOf(const QString &source)
{
    return Destination + u'\\' + fileNamePart(source);
}

QByteArray newContent(const QString &source)
{
    return "neu: " + source.toUtf8() + "\r\n";
}

// The sources of a run that lie on the host folder drive D:, which a new PC has empty.
void writeHostSources(const QStringList &sources)
{
    for (const QString &source : sources) {
        if (source.startsWith(u'D'))
            QCOMPARE(writeFile(source, newContent(source)), dos::Ok);
    }
}

QStringList namesOf(const QStringList &paths)
{
    QStringList names;
    for (const QString &path : paths) {
        if (!names.contains(fileNamePart(path), Qt::CaseInsensitive))
            names.append(fileNamePart(path));
    }
    return names;
}

}  // namespace

class KilledImageBackupTest : public QObject {
    Q_OBJECT

private slots:
    // An image with a backup in C:\Sicherung and every source changed since, and the number of
    // mtools commands the next run takes.
    void initTestCase()
    {
        QVERIFY(::prctl(PR_SET_CHILD_SUBREAPER, 1) == 0);
        m_template = m_images.filePath(QStringLiteral("template.img"));
        makeDemoDiskImage(m_template, DiskFormat::Fat32);
        TestMachine pc(diskImageIni(m_template));
        QCOMPARE(createDirectory(Destination), dos::Ok);
        QCOMPARE(m_trap.runBackup(pc.folder(), Sources, 0), 0);
        for (const QString &source : Sources) {
            m_earlier.insert(source, readFile(targetOf(source)).value);
            const quint8 attributes = fileAttributes(source).value;
            QCOMPARE(setFileAttributes(source, attr::Archive), dos::Ok);
            QCOMPARE(writeFile(source, newContent(source)), dos::Ok);
            QCOMPARE(setFileAttributes(source, attributes), dos::Ok);
        }
        for (const QStringList &sources : {Sources, FileByFile}) {
            const QString image = m_images.filePath(QStringLiteral("count.img"));
            QFile::remove(image);
            QVERIFY(QFile::copy(m_template, image));
            TestMachine counting(diskImageIni(image));
            writeHostSources(sources);
            QCOMPARE(m_trap.runBackup(counting.folder(), sources, 0), 0);
            m_calls.append(m_trap.calls());
            QVERIFY(m_calls.last() > 0);
        }
    }

    void killedRun_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<int>("killAt");
        QTest::addColumn<QString>("delay");  // empty: before the command starts
        const QList<std::pair<const char *, QStringList>> runs{{"at once", Sources},
                                                               {"file by file", FileByFile}};
        for (qsizetype run = 0; run < runs.size(); ++run) {
            for (int call = 1; call <= m_calls[run]; ++call) {
                QTest::addRow("%s, before command %d", runs[run].first, call)
                    << runs[run].second << call << QString();
                QTest::addRow("%s, while command %d runs", runs[run].first, call)
                    << runs[run].second << call << QStringLiteral("0.002");
            }
        }
    }
    void killedRun()
    {
        QFETCH(QStringList, sources);
        QFETCH(int, killAt);
        QFETCH(QString, delay);
        QTemporaryDir folder;
        const QString image = folder.filePath(QStringLiteral("win98.img"));
        QVERIFY(QFile::copy(m_template, image));
        TestMachine pc(diskImageIni(image));
        writeHostSources(sources);

        m_trap.runBackup(pc.folder(), sources, killAt, delay);
        QString problems = partitionProblems(image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        const auto names = files(Destination);
        QCOMPARE(names.error, dos::Ok);
        const QStringList all = Sources + sources;
        for (const QString &name : names.value) {
            const auto source = std::find_if(all.begin(), all.end(), [&name](const QString &path) {
                return fileNamePart(path).compare(name, Qt::CaseInsensitive) == 0;
            });
            if (source == all.end()) {
                QVERIFY2(name == Script || isLeftoverName(name), qPrintable(name));
                continue;
            }
            const QByteArray content = readFile(targetOf(*source)).value;
            QVERIFY2(content == m_earlier.value(*source) || content == newContent(*source), qPrintable(name));
        }
        for (const QString &source : Sources)
            QVERIFY2(fileExists(targetOf(source)), qPrintable(source));  // nothing lost
        for (const QString &name : subdirectories(Destination).value)
            QVERIFY2(isLeftoverName(name), qPrintable(name));

        // The next run saves everything and leaves nothing of the killed one.
        QCOMPARE(m_trap.runBackup(pc.folder(), sources, 0), 0);
        problems = partitionProblems(image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        for (const QString &source : sources) {
            QCOMPARE(readFile(targetOf(source)).value, newContent(source));
            QCOMPARE(fileAttributes(targetOf(source)).value, fileAttributes(source).value);
            if (source.startsWith(u'C'))  // a host file's time is finer than FAT's two seconds
                QCOMPARE(lastWriteTime(targetOf(source)).value, lastWriteTime(source).value);
        }
        QStringList expected = namesOf(all) << Script;
        expected.sort(Qt::CaseInsensitive);
        QCOMPARE(files(Destination).value, expected);
        QCOMPARE(subdirectories(Destination).value, QStringList());
    }

    // A volume that fills up during the run: the run says so, the earlier copies and the volume
    // stay sound, and nothing half-written stands under a real name.
    void volumeFillsUp()
    {
        QTemporaryDir folder;
        const QString image = folder.filePath(QStringLiteral("win98.img"));
        QVERIFY(QFile::copy(m_template, image));
        TestMachine pc(diskImageIni(image));
        QCOMPARE(setFileAttributes(Sources[6], attr::Archive), dos::Ok);
        QCOMPARE(writeFile(Sources[6], QByteArray(256 * 1024, 'b')),
                 dos::Ok);  // a copy of USER.DAT will not fit
        const qint64 free = diskSpace(u'C').value.free;
        QCOMPARE(writeFile(QStringLiteral("C:\\FUELLER.BIN"), QByteArray(free - 64 * 1024, 'x')), dos::Ok);

        class Failures : public backup::RunObserver {
        public:
            void missing(const backup::MarkedFile &) override { ++others; }
            void copyFailed(const backup::MarkedFile &, const QString &, int) override { ++others; }
            void folderFailed(int error) override { folderError = error; }
            void scriptFailed() override { ++others; }
            void pifFailed() override {}
            void progress(int, int) override {}
            int folderError = dos::Ok;
            int others = 0;
        } failures;
        backup::RunRequest request;
        for (const QString &source : Sources)
            request.files.append({int(request.files.size()), source, source});
        request.destination = Destination;
        request.programDirectory = QStringLiteral("D:\\");
        request.windowsShort = QStringLiteral("C:\\WINDOWS");
        request.started = now();
        FileRun run;
        const backup::RunSummary summary = backup::runBackup(request, failures);
        QCOMPARE(run.finish(), dos::Ok);

        QCOMPARE(failures.folderError, dos::DiskFull);
        QVERIFY(summary.folderFailed);
        QCOMPARE(failures.others, 0);
        const QString problems = partitionProblems(image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        for (const QString &source : Sources) {
            const QByteArray content = readFile(targetOf(source)).value;
            QVERIFY2(content == m_earlier.value(source) || content == readFile(source).value,
                     qPrintable(source));
        }
        QCOMPARE(readFile(targetOf(Sources[6])).value, m_earlier.value(Sources[6]));
        for (const QString &name : files(Destination).value + subdirectories(Destination).value)
            QVERIFY2(!isLeftoverName(name), qPrintable(name));
    }

private:
    QTemporaryDir m_images;
    QString m_template;
    MtoolsTrap m_trap;
    QHash<QString, QByteArray> m_earlier;  // by source: the copy the template's backup holds
    QList<int> m_calls;  // of a whole run at once, and file by file
};

QTEST_GUILESS_MAIN(KilledImageBackupTest)
#include "KilledImageBackupTest.moc"
