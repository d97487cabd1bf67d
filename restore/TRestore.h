#pragma once

#include "controls/FormDialog.h"

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace controls {
class DirectoryListBox;
class DriveComboBox;
class StatusBar;
}  // namespace controls

// The restore dialog: pick a backup directory and restore it in MS-DOS mode.
class TRestore : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TRestore(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    controls::DriveComboBox *DriveComboBox1 = nullptr;
    controls::DirectoryListBox *DirectoryListBox1 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QLabel *Label2 = nullptr;
    controls::StatusBar *StatusBar1 = nullptr;
    QPlainTextEdit *Memo2 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;

public slots:
    void FormActivate() override;
    void BitBtn1Click();
    void Button2Click();
    void BitBtn3Click();
    void StatusBar1MouseMove();
};
