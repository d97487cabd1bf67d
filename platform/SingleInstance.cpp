#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// Per user session: the session's runtime folder where there is one, else /tmp with the user id.
QString lockPath(const QString &name)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QStringLiteral("/tmp");
    return QStringLiteral("%1/%2-%3.lock").arg(folder, name).arg(::getuid());
}

}  // namespace

SingleInstance::SingleInstance(const QString &name) : m_name(name) {}

SingleInstance::~SingleInstance()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

// A lock file that cannot be opened proves no other copy runs: the program then goes on without
// the lock, and says so.
bool SingleInstance::acquire()
{
    if (m_fd >= 0)
        return true;
    const QString path = lockPath(m_name);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
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
