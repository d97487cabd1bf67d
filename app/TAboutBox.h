#pragma once

#include "controls/FormDialog.h"

class QFrame;
class QLabel;
class QPushButton;

// The about box: program name, version, author and the author's addresses as links.
class TAboutBox : public controls::FormDialog {
    Q_OBJECT
public:
    // The home page opens with the main window as owner, also from the box's link.
    explicit TAboutBox(const QObject *mainWindow, QWidget *parent = nullptr);

    static QString homePage();
    static QString mailAddress();
    // The shell opens the home page in the browser, or a new e-mail to the author; owner is the
    // window whose command it is.
    static void openHomePage(const QObject *owner);
    static void writeMail(const QObject *owner);

    QFrame *Panel1 = nullptr;
    QLabel *Label1 = nullptr;  // home page link
    QLabel *Label2 = nullptr;  // e-mail link
    QPushButton *OKButton = nullptr;

public slots:
    void FormActivate() override;
    void Label1Click();  // the home page link
    void Label2Click();  // the e-mail link
    void Label1MouseMove();
    void Label2MouseMove();
    void Panel1MouseMove();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const QObject *m_mainWindow;
};
