#include "controls/FormDialog.h"

#include "controls/WindowHelp.h"

#include <QEvent>

namespace controls {

FormDialog::FormDialog(TitleButtons buttons, QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | (buttons == TitleButtons::Close ? Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                                    : Qt::WindowFlags()))
{}

void FormDialog::showEvent(QShowEvent *event)
{
    m_activatedSinceShown = false;
    QDialog::showEvent(event);
}

bool FormDialog::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_activatedSinceShown) {
        m_activatedSinceShown = true;
        setProgramHelpFile(this);
        FormActivate();
    }
    return QDialog::event(event);
}

}  // namespace controls
