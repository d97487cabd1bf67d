#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// In the user's runtime folder where there is one, else in /tmp with the user id. The machine
// folder counts by its identity on the host, so every spelling of its path finds the same lock.
QString lockPath(const QString &name, const struct stat &machine)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStringLiteral("/tmp");
    return QStringLiteral("%1/%2-%3-%4-%5.lock")
        .arg(folder, name)
        .arg(::getuid())
        .arg(quint64(machine.st_dev))
        .arg(quint64(machine.st_ino));
}

}  // namespace

SingleInstance::SingleInstance(const QString &name, const QString &machineFolder)
    : m_name(name), m_machineFolder(machineFolder)
{
}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

// A lock that cannot be taken for any reason but another holder shows no other copy: the program
// then goes on without it, and says so.
bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    struct stat machine;
    if (::stat(QFile::encodeName(m_machineFolder).constData(), &machine) != 0) {
        qWarning("cannot examine the machine folder %s: %s", qPrintable(m_machineFolder),
                 strerror(errno));
        return true;
    }
    const QString path = lockPath(m_name, machine);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        qWarning("cannot open the lock file %s: %s", qPrintable(path), strerror(errno));
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        if (!heldElsewhere)
            qWarning("cannot lock %s: %s", qPrintable(path), strerror(errno));
        ::close(fd);
        return !heldElsewhere;
    }
    m_fd = fd;
    return true;
}

}  // namespace platform
