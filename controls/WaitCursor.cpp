#include "controls/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

#include <utility>

namespace controls {

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    end();
}

void WaitCursor::end()
{
    if (std::exchange(m_on, false))
        QGuiApplication::restoreOverrideCursor();
}

}  // namespace controls
