#include "platform/host/detail/Mtools.h"

#include "platform/host/detail/ChildProcess.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/text/DosError.h"

#include <chrono>
#include <thread>

#include <cerrno>

#include <sys/file.h>

namespace platform::detail {

namespace {

// A floppy holds at most 2.88 MB, and one command copies a file of a few megabytes at most into
// a hard-disk image: a command still running after a minute hangs.
constexpr std::chrono::minutes MtoolsTimeLimit{1};

// A command left running by a program that was killed may still be writing the image: the next
// one waits for it, within the time a command may take, rather than write beside it. The lock goes
// with the descriptor the command gets, so it is held for as long as the command runs.
int lockForCommand(const HostFd &image)
{
    const auto deadline = std::chrono::steady_clock::now() + MtoolsTimeLimit;
    while (::flock(image.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return dos::Ok;  // a file system without such locks: as before, unguarded
        if (std::chrono::steady_clock::now() >= deadline)
            return dos::TimedOut;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return dos::Ok;
}

int failureOf(const QByteArray &errors)
{
    if (errors.contains("Disk full") || errors.contains("No free clusters"))
        return dos::DiskFull;
    if (errors.contains("not found"))
        return dos::FileNotFound;
    return dos::GeneralFailure;
}

}  // namespace

QProcessEnvironment mtoolsEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MTOOLSRC"), QStringLiteral("/dev/null"));
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));  // no ~/.mtoolsrc
    environment.insert(QStringLiteral("MTOOLS_SKIP_CHECK"), QStringLiteral("1"));
    environment.insert(QStringLiteral("MTOOLS_NO_VFAT"), QStringLiteral("0"));
    environment.insert(QStringLiteral("MTOOLS_LOWER_CASE"), QStringLiteral("0"));
    environment.insert(QStringLiteral("MTOOLS_NAME_NUMERIC_TAIL"), QStringLiteral("1"));
    environment.insert(QStringLiteral("DEFAULT_CODEPAGE"), QStringLiteral("850"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

MtoolsRun runMtools(const QString &command, const QString &image, qint64 offset, const QStringList &arguments,
                    const QList<int> &passed)
{
    const auto opened = openImage(image);
    if (!opened.ok())
        return {opened.error, {}};
    return runMtools(command, opened.value, offset, arguments, passed);
}

MtoolsRun runMtools(const QString &command, const HostFd &image, qint64 offset, const QStringList &arguments,
                    const QList<int> &passed)
{
    if (const int error = lockForCommand(image))
        return {error, {}};
    QString volume = descriptorPath(image);
    if (offset != 0)
        volume += QStringLiteral("@@%1").arg(offset);
    ChildCommand child;
    child.program = command;
    child.arguments = QStringList{QStringLiteral("-i"), volume} + arguments;
    child.environment = mtoolsEnvironment();
    child.timeLimit = MtoolsTimeLimit;
    // Each command changes the image; cut short by the program's end, it would leave clusters
    // taken that no entry holds.
    child.outlivesStarter = true;
    child.passedDescriptors = passed;
    child.passedDescriptors.append(image.get());
    const ChildRun run = runChild(child);
    switch (run.outcome) {
    case ChildRun::Outcome::Finished:
        if (run.exitCode != 0)
            return {failureOf(run.errors), run.output};
        return {dos::Ok, run.output};
    case ChildRun::Outcome::TimedOut:
        return {dos::TimedOut, {}};
    case ChildRun::Outcome::Crashed:
    case ChildRun::Outcome::NotStarted:
        break;
    }
    return {dos::GeneralFailure, {}};
}

QString pathInImage(const QStringList &names)
{
    return QStringLiteral("::/") + names.join(u'/');
}

}  // namespace platform::detail
