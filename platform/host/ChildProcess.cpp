#include "platform/host/detail/ChildProcess.h"

#include <QProcess>

#include <csignal>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace platform::detail {

namespace {

// A killed group has nothing left to wait for but the kernel's clean-up.
constexpr int ReapMilliseconds = 10000;

}  // namespace

ChildRun runChild(const ChildCommand &command)
{
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
    process.setProcessEnvironment(command.environment);
    if (!command.workingDirectory.isEmpty())
        process.setWorkingDirectory(command.workingDirectory);
    process.setStandardInputFile(QProcess::nullDevice());
    if (!command.keepOutput) {
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
    }
    const pid_t parent = ::getpid();
    const QList<int> passed = command.passedDescriptors;
    const bool outlives = command.outlivesStarter;
    // Alone, it ends a second after the time its starter would have ended it.
    const auto aloneSeconds = unsigned(std::chrono::ceil<std::chrono::seconds>(command.timeLimit).count() + 1);
    // Runs in the child between fork and exec: only async-signal-safe calls.
    process.setChildProcessModifier([parent, passed, outlives, aloneSeconds] {
        (void)::setpgid(0, 0);
        if (outlives) {
            // Output to a starter that is gone must not end it halfway; the alarm survives exec.
            struct sigaction ignore {};
            ignore.sa_handler = SIG_IGN;
            (void)::sigaction(SIGPIPE, &ignore, nullptr);
            (void)::alarm(aloneSeconds);
        } else {
            (void)::prctl(PR_SET_PDEATHSIG, SIGKILL);
        }
        if (::getppid() != parent)
            ::_exit(127);  // the starter is gone already: nobody would take what it does
        for (const int descriptor : passed)
            (void)::fcntl(descriptor, F_SETFD, 0);
    });
    process.start();
    const auto limit = int(command.timeLimit.count());
    if (!process.waitForStarted(limit))
        return {};
    ChildRun run;
    if (!process.waitForFinished(limit)) {
        const auto pid = pid_t(process.processId());
        if (pid > 0) {
            (void)::kill(-pid, SIGKILL);
            (void)::kill(pid, SIGKILL);
        }
        (void)process.waitForFinished(ReapMilliseconds);
        run.outcome = ChildRun::Outcome::TimedOut;
        return run;
    }
    run.outcome = process.exitStatus() == QProcess::NormalExit ? ChildRun::Outcome::Finished
                                                               : ChildRun::Outcome::Crashed;
    run.exitCode = process.exitCode();
    if (command.keepOutput) {
        run.output = process.readAllStandardOutput();
        run.errors = process.readAllStandardError();
    }
    return run;
}

}  // namespace platform::detail
