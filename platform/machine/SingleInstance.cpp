#include "platform/machine/SingleInstance.h"

#include "platform/host/detail/HostFiles.h"

#include <unistd.h>

namespace platform {

namespace {

// In the user's runtime folder where there is one, else in /tmp with the user id. The machine
// folder counts by its identity on the host, so every spelling of its path finds the same lock.
QString lockPath(const QString &name, const struct stat &machine)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const auto runtime = detail::statHost(folder);
    if (folder.isEmpty() || !runtime || !S_ISDIR(runtime->st_mode))
        folder = QStringLiteral("/tmp");
    return QStringLiteral("%1/%2-%3-%4-%5.lock")
        .arg(folder, name)
        .arg(::getuid())
        .arg(quint64(machine.st_dev))
        .arg(quint64(machine.st_ino));
}

}  // namespace

SingleInstance::SingleInstance(const QString &name, const QString &machineFolder)
    : m_name(name),
      m_machineFolder(machineFolder),
      m_lock(std::make_unique<detail::HostFd>())
{}

SingleInstance::~SingleInstance() = default;

// A lock that cannot be taken for any reason but another holder shows no other copy: the program
// then goes on without it, and says so.
bool SingleInstance::acquire()
{
    if (m_lock->isOpen())
        return true;
    const auto machine = detail::statHost(m_machineFolder);
    if (!machine) {
        qWarning("cannot examine the machine folder %s", qPrintable(m_machineFolder));
        return true;
    }
    QString problem;
    switch (detail::lockHostFile(lockPath(m_name, *machine), m_lock.get(), &problem)) {
    case detail::LockOutcome::Taken:
        return true;
    case detail::LockOutcome::HeldElsewhere:
        return false;
    case detail::LockOutcome::Failed:
        qWarning("%s", qPrintable(problem));
        return true;
    }
    return true;
}

}  // namespace platform
