#pragma once

#include "controls/FormDialog.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace controls {
class DriveComboBox;
}

// The emergency-disk dialog: explains the function and lets the user pick the boot drive.
class TNotfall : public controls::FormDialog {
    Q_OBJECT
public:
    // floppyLetter is the program's Floppy letter ('A' or 'B' whenever the dialog is shown).
    explicit TNotfall(const QChar &floppyLetter, QWidget *parent = nullptr);

    // What the main window hands over before showing the dialog: the Program directory, which
    // holds the Notfall folder.
    void setMainWindowState(const QString &programDirectory) { m_programDirectory = programDirectory; }

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
    void refuseFloppy(int writeTest, const QString &warning);

    const QChar &m_floppyLetter;
    QString m_programDirectory;
};
