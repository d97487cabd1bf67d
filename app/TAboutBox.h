#pragma once

#include "controls/FormDialog.h"

class QFrame;
class QLabel;
class QPushButton;

// The about box: program name, version, author and the author's addresses as links.
class TAboutBox : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    static QString homePage();
    static QString mailAddress();

    QFrame *Panel1 = nullptr;
    QLabel *Label1 = nullptr;  // home page link
    QLabel *Label2 = nullptr;  // e-mail link
    QPushButton *OKButton = nullptr;

public slots:
    void FormActivate() override;
    void Label1Click();
    void Label2Click();
    void Label1MouseMove();
    void Label2MouseMove();
    void Panel1MouseMove();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
