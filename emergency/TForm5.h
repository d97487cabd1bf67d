#pragma once

#include "controls/FormDialog.h"

class QPushButton;
class QRadioButton;

// The floppy-drive choice: A: or B:, or "*" when cancelled.
class TForm5 : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    // "A", "B", "*" after a cancel, or a null character before the first choice.
    QChar floppyLetter() const { return m_floppyLetter; }

    QRadioButton *RadioButton1 = nullptr;
    QRadioButton *RadioButton2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *BitBtn1 = nullptr;

public slots:
    void FormActivate() override;
    void Button3Click();
    void BitBtn1Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QChar m_floppyLetter;
};
