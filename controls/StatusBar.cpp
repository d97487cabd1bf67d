#include "controls/StatusBar.h"

#include <QEvent>
#include <QLabel>

namespace controls {

StatusBar::StatusBar(QWidget *parent)
    : QStatusBar(parent),
      m_panel(new QLabel(this))
{
    setSizeGripEnabled(false);
    m_panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_panel->setTextFormat(Qt::PlainText);
    m_panel->setMinimumWidth(1);  // long texts are cut, not widening the window
    addWidget(m_panel, 1);
    setMouseTracking(true);
    m_panel->setMouseTracking(true);
    m_panel->installEventFilter(this);
}

QString StatusBar::panelText() const
{
    return m_panel->text();
}

void StatusBar::setPanelText(const QString &text)
{
    m_panel->setText(text);
}

bool StatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::MouseMove)
        emit mouseMoved();
    return QStatusBar::eventFilter(watched, event);
}

}  // namespace controls
