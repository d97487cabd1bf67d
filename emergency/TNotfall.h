#pragma once

#include "controls/FormDialog.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace controls {
class DriveComboBox;
}

namespace emergency {
struct DiskOutcome;
}

// The emergency-disk dialog: explains the function and lets the user pick the boot drive.
class TNotfall : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TNotfall(QWidget *parent = nullptr);

    // What the main window hands over before showing the dialog: the Program directory, which
    // holds the Notfall folder, and the program's Floppy letter ('A' or 'B').
    void setMainWindowState(const QString &programDirectory, QChar floppyLetter)
    {
        m_programDirectory = programDirectory;
        m_floppyLetter = floppyLetter;
    }

    QPlainTextEdit *Memo1 = nullptr;
    controls::DriveComboBox *DriveComboBox1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

public slots:
    void FormActivate() override;
    void BitBtn1Click();  // "&Notfalldiskette anfertigen": makes the emergency disk
    void BitBtn3Click();  // "&Hilfe": help topic 7
    void Button1Click();  // "&Abbrechen": closes the dialog

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString driveCaption() const;
    void setProgress(int position);
    void makeEmergencyDisk();
    void refuseFloppy(const emergency::DiskOutcome &outcome);

    QChar m_floppyLetter;
    QString m_programDirectory;
};
