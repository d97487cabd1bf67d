#include "emergency/TForm5.h"

#include "controls/WindowHelp.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

TForm5::TForm5(QWidget *parent)
    : controls::FormDialog(TitleButtons::None, parent)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Notfalldiskette anfertigen ..."));
    setFixedSize(330, 132);

    auto *label1 = new QLabel(QStringLiteral("Bitte wählen sie zunächst den Laufwerksbuchstaben"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(12, 8, 306, 16);
    auto *label2 = new QLabel(QStringLiteral("ihres Diskettenlaufwerks aus !"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(12, 24, 306, 16);

    // The frame of the buttons comes first in the tab order: "&Weiter >>" has the focus at first.
    auto *buttons = new QGroupBox(this);
    buttons->setObjectName(QStringLiteral("GroupBox2"));
    buttons->setGeometry(170, 48, 148, 72);
    Button3 = new QPushButton(QStringLiteral("&Weiter >>"), buttons);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setGeometry(10, 10, 128, 26);
    Button3->setDefault(true);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Abbrechen"), buttons);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(10, 38, 128, 26);

    auto *drives = new QGroupBox(this);
    drives->setObjectName(QStringLiteral("GroupBox1"));
    drives->setGeometry(12, 48, 150, 72);
    RadioButton1 = new QRadioButton(QStringLiteral("Laufwerk A:\\"), drives);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setGeometry(12, 14, 130, 20);
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(QStringLiteral("Laufwerk B:\\"), drives);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton2->setGeometry(12, 40, 130, 20);

    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm5::BitBtn1Click);
}

void TForm5::keyPressEvent(QKeyEvent *event)
{
    // "&Abbrechen" is the cancel button: Escape presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn1->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

std::optional<QChar> TForm5::choose()
{
    m_choice.reset();
    exec();
    return m_choice;
}

void TForm5::FormActivate()
{
    controls::showHandCursor({RadioButton1, RadioButton2, Button3, BitBtn1}, controls::shortHelpOn());
}

void TForm5::Button3Click()
{
    if (RadioButton1->isChecked())
        m_choice = QLatin1Char('A');
    else if (RadioButton2->isChecked())
        m_choice = QLatin1Char('B');
    accept();
}

void TForm5::BitBtn1Click()
{
    m_choice = QLatin1Char('*');
    reject();
}
