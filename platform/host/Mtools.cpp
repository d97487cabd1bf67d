#include "platform/host/detail/Mtools.h"

#include "platform/host/detail/ChildProcess.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/text/DosError.h"

#include <chrono>

namespace platform::detail {

namespace {

// A floppy holds at most 2.88 MB, and one command copies a file of a few megabytes at most into
// a hard-disk image: a command still running after a minute hangs.
constexpr std::chrono::minutes MtoolsTimeLimit{1};

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
