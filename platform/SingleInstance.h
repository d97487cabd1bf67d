#pragma once

#include <QString>

namespace platform {

// A named mutex per user session: a lock held by the process for its whole run.
class SingleInstance {
public:
    explicit SingleInstance(const QString &name);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // False when another process already holds the name.
    bool acquire();

private:
    QString m_name;
    int m_fd = -1;
};

}  // namespace platform
