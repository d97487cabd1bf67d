#include "controls/FormDialog.h"

#include "controls/WindowHelp.h"

#include <QEvent>

namespace controls {

Qt::WindowFlags dialogWindowFlags(FormDialog::TitleButtons buttons)
{
    const Qt::WindowFlags closeBox = buttons == FormDialog::TitleButtons::Close
                                         ? Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                                         : Qt::WindowFlags();
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | closeBox;
}

FormDialog::FormDialog(TitleButtons buttons, QWidget *parent)
    : QDialog(parent, dialogWindowFlags(buttons))
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
        // Only a window with help has a help file; the others' requests go to the program's
        // default help file.
        if (hasWindowHelpContext(this))
            setProgramHelpFile(this);
        FormActivate();
    }
    return QDialog::event(event);
}

}  // namespace controls
