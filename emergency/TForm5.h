#pragma once

#include "controls/FormDialog.h"

class QPushButton;
class QRadioButton;

// The floppy-drive choice: A: or B:, or "*" when cancelled.
class TForm5 : public controls::FormDialog {
    Q_OBJECT
public:
    // floppyLetter is the program's Floppy letter, which the choice sets.
    explicit TForm5(QChar &floppyLetter, QWidget *parent = nullptr);

    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *BitBtn1 = nullptr;

public slots:
    void FormActivate() override;
    void Button3Click();  // "&Weiter >>": takes the chosen drive
    void BitBtn1Click();  // "&Abbrechen": no drive ("*")

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QChar &m_floppyLetter;
};
