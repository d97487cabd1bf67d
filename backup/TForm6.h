#pragma once

#include "controls/FormDialog.h"

class QLineEdit;
class QPushButton;

namespace controls {
class DirectoryListBox;
}

// The create-directory dialog: a new directory below the one selected in the main window's tree.
class TForm6 : public controls::FormDialog {
    Q_OBJECT
public:
    // tree is the main window's directory tree, which the new directory is created in and selects.
    explicit TForm6(controls::DirectoryListBox *tree, QWidget *parent = nullptr);

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;

    // The tree's directory, a drive root without its backslash.
    QString baseDirectory() const;

public slots:
    void FormActivate() override;
    void BitBtn1Click();
    void BitBtn1MouseMove();
    void BitBtn3Click();
    void Button1Click();
    void FormClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void done(int result) override;

private:
    controls::DirectoryListBox *m_tree;
};
