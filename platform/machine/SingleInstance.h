#pragma once

#include <QString>

#include <memory>

namespace platform {

namespace detail {
class HostFd;
}

// A named mutex of one simulated PC: a lock held by the process for its whole run. A simulated
// PC is one Windows session, so the same name on two machine folders names two locks.
class SingleInstance {
public:
    SingleInstance(const QString &name, const QString &machineFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process already holds the name on this machine.
    bool acquire();

private:
    QString m_name;
    QString m_machineFolder;
    std::unique_ptr<detail::HostFd> m_lock;
};

}  // namespace platform
