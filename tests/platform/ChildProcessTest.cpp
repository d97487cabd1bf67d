// Helper programs run with a time limit, in a process group of their own.
#include "platform/host/detail/ChildProcess.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/host/detail/Mtools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform::detail;

namespace {

ChildCommand shell(const QString &script, std::chrono::milliseconds limit = std::chrono::minutes(1))
{
    ChildCommand command;
    command.program = QStringLiteral("/bin/sh");
    command.arguments = {QStringLiteral("-c"), script};
    command.timeLimit = limit;
    return command;
}

// The process is gone (a zombie that init has still to reap counts as gone).
bool isGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// The start of a script that first writes its process id to `pidFile`, whole at once.
QString recordingPid(const QString &pidFile)
{
    return QStringLiteral("echo $$ > '%1.new' && mv '%1.new' '%1'; ").arg(pidFile);
}

// Runs `command` from a starter process of its own and kills that starter with SIGKILL once the
// command has begun (its script starts with recordingPid). The command's process id, or 0 when
// it did not begin.
pid_t killStarterOf(const ChildCommand &command, const QString &pidFile)
{
    const pid_t starter = ::fork();
    if (starter < 0)
        return 0;
    if (starter == 0) {
        (void)runChild(command);
        ::_exit(0);
    }
    const bool begun = QTest::qWaitFor([&pidFile] { return QFile::exists(pidFile); }, 10000);
    QFile file(pidFile);
    const pid_t helper = begun && file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toInt() : 0;
    (void)::kill(starter, SIGKILL);
    (void)::waitpid(starter, nullptr, 0);
    return helper;
}

}  // namespace

class ChildProcessTest : public QObject {
    Q_OBJECT

private slots:
    void runsToItsEnd()
    {
        const ChildRun run = runChild(shell(QStringLiteral("echo aus; echo fehler >&2; exit 3")));
        QCOMPARE(run.outcome, ChildRun::Outcome::Finished);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.output, QByteArray("aus\n"));
        QCOMPARE(run.errors, QByteArray("fehler\n"));
        QVERIFY(!run.succeeded());
    }

    void runsInAGroupOfItsOwn()
    {
        // Field 5 of /proc/PID/stat is the process group.
        const ChildRun run = runChild(shell(QStringLiteral("echo $$; cut -d' ' -f5 /proc/$$/stat")));
        QVERIFY(run.succeeded());
        const QList<QByteArray> lines = run.output.trimmed().split('\n');
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[1], lines[0]);
    }

    // What it started goes with it when the time is up.
    void timeLimitEndsTheWholeGroup()
    {
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        const ChildRun run = runChild(shell(QStringLiteral("sleep 600 & echo $! > '%1'; wait").arg(pidFile),
                                            std::chrono::milliseconds(500)));
        QCOMPARE(run.outcome, ChildRun::Outcome::TimedOut);
        QFile file(pidFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const pid_t sleeper = file.readAll().trimmed().toInt();
        QVERIFY(sleeper > 0);
        QTRY_VERIFY(isGone(sleeper));
    }

    // A starter that is killed takes its helper with it: no orphan keeps running.
    void endsWithItsStarter()
    {
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        const pid_t helper =
            killStarterOf(shell(recordingPid(pidFile) + QStringLiteral("exec sleep 600"), std::chrono::minutes(10)),
                          pidFile);
        QVERIFY(helper > 0);
        QTRY_VERIFY(isGone(helper));
    }

    // A command that must not be cut short (it changes a disk image) runs on to its end when its
    // starter is killed, also when it writes to the output its starter no longer reads.
    void finishesAfterItsStarterIsKilled_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("silent") << QStringLiteral("sleep 0.5; echo fertig > '%1'");
        QTest::newRow("writing output") << QStringLiteral("sleep 0.5; echo aus; echo fehler >&2; echo fertig > '%1'");
    }
    void finishesAfterItsStarterIsKilled()
    {
        QFETCH(QString, script);
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        const QString done = dir.filePath(QStringLiteral("done"));
        ChildCommand command = shell(recordingPid(pidFile) + script.arg(done));
        command.outlivesStarter = true;
        QVERIFY(killStarterOf(command, pidFile) > 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(done), 10000);
        QFile file(done);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("fertig\n"));
    }

    // Even alone it keeps to its time limit.
    void outlivingCommandKeepsToItsTimeLimit()
    {
        QTemporaryDir dir;
        const QString pidFile = dir.filePath(QStringLiteral("pid"));
        ChildCommand command =
            shell(recordingPid(pidFile) + QStringLiteral("exec sleep 600"), std::chrono::milliseconds(500));
        command.outlivesStarter = true;
        const pid_t helper = killStarterOf(command, pidFile);
        QVERIFY(helper > 0);
        QVERIFY(!isGone(helper));
        QTRY_VERIFY_WITH_TIMEOUT(isGone(helper), 10000);
    }

    // An mtools command waits while another process still holds the image (a command left
    // running by a program that was killed) instead of writing beside it.
    void mtoolsCommandWaitsForTheImage()
    {
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("Diskette.img"));
        {
            QFile file(image);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(1440 * 1024));
        }
        QCOMPARE(runMtools(QStringLiteral("mformat"), image, 0, {QStringLiteral("-f"), QStringLiteral("1440"),
                                                                 QStringLiteral("::")})
                     .error,
                 0);
        const QByteArray held = QFile::encodeName(dir.filePath(QStringLiteral("held")));
        const QByteArray released = QFile::encodeName(dir.filePath(QStringLiteral("released")));
        const QByteArray imageName = QFile::encodeName(image);
        const pid_t holder = ::fork();
        QVERIFY(holder >= 0);
        if (holder == 0) {
            const int fd = ::open(imageName.constData(), O_RDWR | O_CLOEXEC);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
                ::_exit(1);
            ::close(::open(held.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
            ::usleep(500 * 1000);
            ::close(::open(released.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
            ::_exit(0);
        }
        QTRY_VERIFY(QFile::exists(QFile::decodeName(held)));
        const MtoolsRun run = runMtools(QStringLiteral("mmd"), image, 0, {QStringLiteral("::/NEU")});
        QVERIFY2(QFile::exists(QFile::decodeName(released)), "the command did not wait for the image");
        QCOMPARE(run.error, 0);
        int status = 0;
        QCOMPARE(::waitpid(holder, &status, 0), holder);
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void getsTheDescriptorsPassed()
    {
        const auto content = memoryFile("im Speicher");
        QVERIFY(content.ok());
        ChildCommand command = shell(QStringLiteral("cat ") + descriptorPath(content.value));
        command.passedDescriptors = {content.value.get()};
        const ChildRun run = runChild(command);
        QVERIFY(run.succeeded());
        QCOMPARE(run.output, QByteArray("im Speicher"));
        // Without passing it, the child has no such descriptor.
        QVERIFY(!runChild(shell(QStringLiteral("cat ") + descriptorPath(content.value))).succeeded());
    }

    void aProgramThatIsMissingDoesNotStart()
    {
        ChildCommand command;
        command.program = QStringLiteral("/nonexistent/program");
        QCOMPARE(runChild(command).outcome, ChildRun::Outcome::NotStarted);
    }
};

QTEST_GUILESS_MAIN(ChildProcessTest)
#include "ChildProcessTest.moc"
