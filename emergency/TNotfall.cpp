#include "emergency/TNotfall.h"

#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/WaitCursor.h"
#include "controls/WindowHelp.h"
#include "emergency/core/EmergencyDisk.h"
#include "platform/shell/Desktop.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int HelpContext = 7;

const QStringList InfoLines = {
    QStringLiteral("An dieser Stelle kann eine bootfähige Notfalldiskette erstellt  werden. Die"),
    QStringLiteral("wichtigsten Systemdateien werden hierbei gesichert. Wenn sich Windows "),
    QStringLiteral("nicht mehr starten läßt, starten sie den Rechner mit eingelegter Notfall-"),
    QStringLiteral("diskette und die Systemdateien werden aus dem \"Notfallordner\" heraus "),
    QStringLiteral("restauriert. Wählen sie an dieser Stelle ggf. auch ihr Boot/- Rootlaufwerk "),
    QStringLiteral("aus. Normalerweise sind jedoch keine Modifikationen notwendig, da ihr "),
    QStringLiteral("System in der Regel von Laufwerk 'C:' bootet."),
    QStringLiteral("ACHTUNG: Alle auf der Diskette sich befindenden Dateien werden bei "),
    QStringLiteral("der Erstellung der Notfalldiskette unwiderruflich gelöscht !"),
    QStringLiteral("Legen sie nun eine formatierte Diskette in ihr Laufwerk."),
};

const QString IdleCaption = QStringLiteral("Notfalldiskette anfertigen");

}  // namespace

TNotfall::TNotfall(QWidget *parent)
    : controls::FormDialog(TitleButtons::Close, parent)
{
    setObjectName(QStringLiteral("Notfall"));
    setWindowTitle(QStringLiteral("Notfalldiskette anfertigen"));
    setFixedSize(470, 270);

    auto *info = new QGroupBox(QStringLiteral("Infos"), this);
    info->setObjectName(QStringLiteral("GroupBox1"));
    info->setGeometry(8, 6, 454, 212);

    Memo1 = new QPlainTextEdit(info);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setPlainText(InfoLines.join(QLatin1Char('\n')));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->viewport()->setCursor(Qt::ArrowCursor);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QPalette memoPalette = Memo1->palette();
    memoPalette.setColor(QPalette::Base, palette().color(QPalette::Button));
    Memo1->setPalette(memoPalette);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setGeometry(8, 18, 438, 154);

    auto *label2 = new QLabel(QStringLiteral("Boot/- Rootlaufwerk (i. d. R. 'C:'):"), info);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setGeometry(8, 180, 220, 22);

    DriveComboBox1 = new controls::DriveComboBox(controls::DriveComboBox::Text::LettersAndVolumeNames, info);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(232, 180, 214, 22);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DriveFDIcon),
                              QStringLiteral("&Notfalldiskette anfertigen"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(8, 228, 206, 32);
    BitBtn1->setDefault(true);
    BitBtn3 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("&Hilfe"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(222, 228, 116, 32);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Abbrechen"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(346, 228, 116, 32);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    // Covers the whole button row while it is shown; no percent text, as on Windows 9x.
    ProgressBar1->setGeometry(8, 228, 454, 32);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAutoFillBackground(true);
    ProgressBar1->hide();

    connect(BitBtn1, &QPushButton::clicked, this, &TNotfall::BitBtn1Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TNotfall::BitBtn3Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TNotfall::Button1Click);
    controls::setWindowHelpContext(this, HelpContext);
}

void TNotfall::keyPressEvent(QKeyEvent *event)
{
    // "&Abbrechen" is not bound to Escape.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void TNotfall::FormActivate()
{
    const bool on = controls::shortHelpOn();
    DriveComboBox1->setToolTip(
        on ? QStringLiteral("Laufwerk, auf dem 'Io.sys' & 'Msdos.sys' gespeichert sind") : QString());
    controls::showHandCursor({DriveComboBox1, BitBtn1, BitBtn2, BitBtn3}, on);
    setWindowTitle(driveCaption());
}

QString TNotfall::driveCaption() const
{
    return IdleCaption + QStringLiteral(" (Laufwerk ") + m_floppyLetter + QStringLiteral(":\\ )");
}

// The run keeps the GUI thread busy, so the bar is painted at once, as Windows' own control is.
void TNotfall::setProgress(int position)
{
    ProgressBar1->setValue(position);
    ProgressBar1->show();
    ProgressBar1->repaint();
}

// The run's failures end it with the general error report; the dialog is then idle again.
void TNotfall::BitBtn1Click()
{
    if (!controls::runGuarded([this] { makeEmergencyDisk(); })) {
        setWindowTitle(driveCaption());
        ProgressBar1->setValue(0);
        ProgressBar1->hide();
    }
}

void TNotfall::makeEmergencyDisk()
{
    setWindowTitle(QStringLiteral("Die Notfalldiskette wird erstellt ..."));
    emergency::DiskOutcome outcome;
    {
        controls::WaitCursor hourglass;
        outcome = emergency::makeDisk(m_floppyLetter, DriveComboBox1->drive(), m_programDirectory,
                                      [this](int position) { setProgress(position); });
    }
    if (outcome.refused()) {
        refuseFloppy(outcome);
        return;
    }
    setWindowTitle(IdleCaption);
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
    if (outcome.warning)
        controls::showMessageAfterBeep(controls::MessageType::Warning, outcome.message);
    else
        controls::showMessage(controls::MessageType::Information, outcome.message,
                              controls::MessageButton::Ok);
    close();
}

// A missing drive closes the dialog; for a write-protected or empty one it stays open for another
// try.
void TNotfall::refuseFloppy(const emergency::DiskOutcome &outcome)
{
    const bool noSuchDrive = outcome.refusal == platform::dos::InvalidDrive;
    setWindowTitle(noSuchDrive ? IdleCaption : driveCaption());
    controls::showMessageAfterBeep(controls::MessageType::Warning, outcome.message);
    if (noSuchDrive)
        close();
}

void TNotfall::BitBtn3Click()
{
    controls::requestHelp(platform::help::ShowTopic, HelpContext);
}

void TNotfall::Button1Click()
{
    close();
}
