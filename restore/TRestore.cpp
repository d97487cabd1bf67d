#include "restore/TRestore.h"

#include "restore/core/RestorePreparation.h"
#include "restore/core/TShellLink.h"

#include "backup/core/ScriptFiles.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/MessageDialog.h"
#include "controls/StatusBar.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "platform/files/WriteProbe.h"
#include "platform/machine/Clock.h"
#include "platform/shell/Desktop.h"
#include "platform/text/LineBreak.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int HelpContext = 6;
const QString OtherDrive = QStringLiteral("Bitte wählen sie ein anderes Laufwerk !");

const QStringList InfoLines = {
    QStringLiteral("Früher gesicherte Dateien können nun "),
    QStringLiteral("restauriert werden. "),
    QStringLiteral("(Wenn  Windows nicht mehr hochfährt, so"),
    QStringLiteral("gibt es prinzipiell zwei Möglichkeiten der"),
    QStringLiteral("Wiederherstellung der Sicherungsdateien:  "),
    QStringLiteral("1. Manuelles Ausführen von \"Restore.bat\""),
    QStringLiteral("2. Verwenden der Notfalldiskette"),
    QStringLiteral("Näheres hierzu entnehmen sie bitte der"),
    QStringLiteral("Velko Save- Hilfe)."),
    QStringLiteral("Entfernen sie nun sämtliche Disketten aus"),
    QStringLiteral("ihren Laufwerken ! "),
};

const QStringList NoticeLines = {
    QStringLiteral("Windows wird nun beendet ..."),
    QString(),
    QStringLiteral("Sollte das Betriebssystem jetzt nicht"),
    QStringLiteral("ordnungsgemäß herunterfahren und"),
    QStringLiteral("Velko Restore (DOS) gestartet werden, "),
    QStringLiteral("so starten sie den PC erneut und  führen "),
    QStringLiteral("Velko Restore wiederholt aus !"),
};

QPlainTextEdit *memo(QWidget *parent, const QString &name, const QStringList &lines)
{
    auto *edit = new QPlainTextEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text last: set before the wrap mode it would be laid out twice, at every start.
    edit->setPlainText(lines.join(QLatin1Char('\n')));
    return edit;
}

}  // namespace

TRestore::TRestore(QWidget *parent)
    : controls::FormDialog(TitleButtons::Close, parent)
{
    setObjectName(QStringLiteral("Restore"));
    setWindowTitle(QStringLiteral("Velko Restore"));
    setFixedSize(519, 338);

    Label1 = new QLabel(QStringLiteral("Velko Restore - Wiederherstellung von Sicherungsdateien"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = font();
    titleFont.setBold(true);
    titleFont.setPixelSize(15);
    Label1->setFont(titleFont);
    QPalette titlePalette = Label1->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    Label1->setPalette(titlePalette);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(8, 6, 503, 22);

    auto *infoGroup = new QGroupBox(QStringLiteral("Infos"), this);
    infoGroup->setObjectName(QStringLiteral("GroupBox2"));
    infoGroup->setGeometry(8, 32, 250, 240);
    Memo1 = memo(infoGroup, QStringLiteral("Memo1"), InfoLines);
    Memo1->setGeometry(8, 18, 234, 214);

    Memo2 = memo(this, QStringLiteral("Memo2"), NoticeLines);
    QPalette noticePalette = Memo2->palette();
    noticePalette.setColor(QPalette::Base, QColor(255, 255, 0));
    Memo2->setPalette(noticePalette);
    Memo2->setGeometry(16, 140, 234, 126);
    Memo2->hide();

    auto *sourceGroup = new QGroupBox(QStringLiteral("Wiederherstellung aus"), this);
    sourceGroup->setObjectName(QStringLiteral("GroupBox1"));
    sourceGroup->setGeometry(266, 32, 245, 182);
    DriveComboBox1 = new controls::DriveComboBox(sourceGroup);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(8, 18, 229, 22);
    DirectoryListBox1 = new controls::DirectoryListBox(sourceGroup);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(8, 44, 229, 130);

    GroupBox3 = new QGroupBox(QStringLiteral("Datum && Uhrzeit"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(266, 220, 245, 52);
    Label2 = new QLabel(GroupBox3);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 20, 229, 22);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_BrowserReload),
                              QStringLiteral("Sicherungsdateien &wiederherstellen"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(8, 280, 250, 30);
    BitBtn3 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogHelpButton), QStringLiteral("&Hilfe"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setGeometry(266, 280, 118, 30);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("&Abbrechen"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(393, 280, 118, 30);

    StatusBar1 = new controls::StatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(0, 316, 519, 22);  // inside the client area, along its bottom

    connect(BitBtn1, &QPushButton::clicked, this, &TRestore::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TRestore::Button2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TRestore::BitBtn3Click);
    connect(StatusBar1, &controls::StatusBar::mouseMoved, this, &TRestore::StatusBar1MouseMove);
    connect(DriveComboBox1, &controls::DriveComboBox::driveChanged, this, &TRestore::DriveComboBox1Change);
    connect(DirectoryListBox1, &controls::DirectoryListBox::directoryChanged, this,
            &TRestore::DirectoryListBox1Change);

    ShellLink1 = new TShellLink(this);
    ShellLink1->setObjectName(QStringLiteral("ShellLink1"));
    ShellLink1->IconFile = QStringLiteral("C:\\windows\\system\\shell32.dll");
    ShellLink1->IconIndex = 29;
    controls::setWindowHelpContext(this, HelpContext);
}

void TRestore::setMainWindowState(QChar mainDrive, const QString &destinationPath,
                                  const QString &programDirectory)
{
    m_mainDrive = mainDrive;
    m_destinationPath = destinationPath;
    m_programDirectory = programDirectory;
}

void TRestore::FormActivate()
{
    const bool on = controls::shortHelpOn();
    DriveComboBox1->setToolTip(on ? QStringLiteral("Wählen sie das Quelllaufwerk") : QString());
    DirectoryListBox1->setToolTip(on ? QStringLiteral("Wählen sie das Quellverzeichnis mittels Doppelklick")
                                     : QString());
    GroupBox3->setToolTip(on ? QStringLiteral("Letztes Backup in  dieses Verzeichnis") : QString());
    controls::showHandCursor({BitBtn1, BitBtn2, BitBtn3, DriveComboBox1, DirectoryListBox1}, on);
    DriveComboBox1->setDrive(m_mainDrive);  // runs DriveComboBox1Change when the drive differs
    (void)DirectoryListBox1->setDirectory(m_destinationPath);  // a gone directory keeps the list
    showBackupState(m_destinationPath);
}

void TRestore::showBackupState(const QString &statusPath)
{
    const QString script =
        backup::restoreScriptPath(DirectoryListBox1->directory(), backup::ScriptSpelling::LookedFor);
    const auto written = platform::lastWriteTime(script);
    if (platform::fileExists(script) && written.ok()) {
        DirectoryListBox1->setTextColor(QColor(0, 0, 255));
        Label2->setText(platform::shortDate(written.value) + QStringLiteral(";  ")
                        + platform::longTime(written.value));
    } else {
        DirectoryListBox1->setTextColor(QColor(0, 0, 0));
        Label2->clear();
    }
    StatusBar1->setPanelText(QStringLiteral("Quellpfad: ") + statusPath);
}

void TRestore::DirectoryListBox1Change()
{
    showBackupState(DirectoryListBox1->directory());
}

void TRestore::refuseDrive(const QString &text)
{
    controls::showMessageAfterBeep(controls::MessageType::Warning, text + platform::LineBreak + OtherDrive);
    backToProgramDirectory();
}

void TRestore::backToProgramDirectory()
{
    (void)DirectoryListBox1->setDirectory(m_programDirectory);
    // May run DriveComboBox1Change once more, for the program's own drive.
    DriveComboBox1->setDrive(DirectoryListBox1->drive());
}

void TRestore::DriveComboBox1Change()
{
    const QChar letter = DriveComboBox1->drive();
    if (letter == QLatin1Char('A') || letter == QLatin1Char('B')) {
        refuseDrive(QStringLiteral("Velko Save kann nicht von Diskette restaurieren !"));
        return;
    }
    const QString refusal =
        QStringLiteral("Von Laufwerk ") + letter + QStringLiteral(":\\ kann nicht restauriert werden !");
    if (DirectoryListBox1->setDrive(letter) != platform::dos::Ok
        || platform::probeWritable(DirectoryListBox1->directory()) != platform::dos::Ok) {
        refuseDrive(refusal);
    }
}

void TRestore::BitBtn1Click()
{
    controls::runGuarded([this] {
        const auto outcome =
            restore::prepareRestore(DirectoryListBox1->directory(), m_programDirectory, *ShellLink1, this);
        if (outcome == restore::Preparation::NoBackup) {
            controls::showMessageAfterBeep(controls::MessageType::Warning, restore::noBackupText());
            return;
        }
        // A script the shell cannot open leaves the notice up.
        Memo2->show();
    });
}

void TRestore::keyPressEvent(QKeyEvent *event)
{
    // "&Abbrechen" is the cancel button: Escape presses it, which also hides the notice.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn2->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TRestore::Button2Click()
{
    Memo2->hide();
    close();
}

void TRestore::BitBtn3Click()
{
    controls::requestHelp(platform::help::ShowTopic, HelpContext);
}

void TRestore::StatusBar1MouseMove()
{
    StatusBar1->setToolTip(StatusBar1->panelText());
}
