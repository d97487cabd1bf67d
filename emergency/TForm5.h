#pragma once

#include "controls/FormDialog.h"

#include <optional>

class QPushButton;
class QRadioButton;

// The floppy-drive choice: A: or B:, or "*" when cancelled.
class TForm5 : public controls::FormDialog {
    Q_OBJECT
public:
    explicit TForm5(QWidget *parent = nullptr);

    // Shows the choice and returns 'A', 'B', or '*' when cancelled; nothing when the dialog was
    // closed otherwise, which leaves the program's Floppy letter as it was.
    std::optional<QChar> choose();

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
    std::optional<QChar> m_choice;
};
