#pragma once

#include <QDialog>

namespace controls {

// A fixed-size dialog window of the program. Its FormActivate runs once each time it is shown,
// when it first becomes the active window; by then a window with a help context has the program's
// help file as its own.
class FormDialog : public QDialog {
    Q_OBJECT
public:
    enum class TitleButtons { Close, None };
    explicit FormDialog(TitleButtons buttons = TitleButtons::Close, QWidget *parent = nullptr);

public slots:
    virtual void FormActivate() = 0;

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;

private:
    bool m_activatedSinceShown = false;
};

// A fixed-size dialog's title bar as Windows shows it: the caption with the close box, or the
// caption alone; never minimise, maximise or help. Window managers get this as the Motif hints.
Qt::WindowFlags dialogWindowFlags(FormDialog::TitleButtons buttons);

}  // namespace controls
