#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include <cstdio>

namespace bench {

// Tells the start-up benchmark on stdout that the watched window is about to paint for the first
// time, with its size, then ends the event loop: the time to this line is the start-up the user
// waits for.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            const auto *window = static_cast<QWidget *>(watched);
            std::printf("painted %d %d\n", window->width(), window->height());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

}  // namespace bench
