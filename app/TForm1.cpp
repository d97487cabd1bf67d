#include "app/TForm1.h"

#include "app/Pictures.h"
#include "backup/core/BackupList.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/Look.h"
#include "controls/OpenFileDialog.h"
#include "controls/StatusBar.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QWindow>

namespace {

constexpr int ClientWidth = 417;
constexpr int ClientHeight = 416;  // between the menu bar and the status line
constexpr int AssumedFrameHeight = 24;  // title bar and borders of a Windows 9x window
constexpr int MainWindowHelpContext = 5;

QPushButton *pictureButton(QWidget *parent, const QString &name, const QString &caption,
                           pictures::Glyph glyph, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setIcon(pictures::glyph(glyph));
    button->setGeometry(geometry);
    return button;
}

QAction *entry(QMenu *menu, const QString &name, const QString &caption, const QString &shortcutText = {})
{
    // The key is shown in the menu's shortcut column; TForm1 routes the key itself.
    auto *action =
        menu->addAction(shortcutText.isEmpty() ? caption : caption + QLatin1Char('\t') + shortcutText);
    action->setObjectName(name);
    return action;
}

}  // namespace

TForm1::TForm1(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Velko Save"));
    setWindowIcon(QIcon(pictures::programIcon()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    m_executableDirectory = controls::executableDirectory();

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    createControls(client);
    setCentralWidget(client);
    createMenus();
    createShortcuts();
    setTabOrder();

    StatusBar1 = new controls::StatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    connect(StatusBar1, &controls::StatusBar::mouseMoved, this, &TForm1::StatusBar1MouseMove);

    client->setFixedSize(ClientWidth, ClientHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    controls::setWindowHelpContext(this, MainWindowHelpContext);
    // The query outlives the window; once the menu entry is gone, short help counts as on.
    controls::setShortHelpQuery(
        [entry = QPointer<QAction>(Kurzhinweise1)] { return entry.isNull() || entry->isChecked(); });
    CheckListBox2->setFocus();
}

void TForm1::setDialogs(TRestore *restore, TNotfall *notfall, TForm5 *form5, TForm6 *form6,
                        TAboutBox *aboutBox)
{
    m_restore = restore;
    m_notfall = notfall;
    m_form5 = form5;
    m_form6 = form6;
    m_aboutBox = aboutBox;
}

void TForm1::needDialogs()
{
    if (m_restore == nullptr && m_makeDialogs)
        m_makeDialogs();
}

void TForm1::createControls(QWidget *client)
{
    auto *icon = new QLabel(client);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(pictures::programIcon());
    icon->setGeometry(8, 6, 32, 32);

    auto *title = new QLabel(client);
    title->setObjectName(QStringLiteral("Image2"));
    title->setPixmap(pictures::titleImage());
    title->setGeometry((ClientWidth - 213) / 2, 6, 213, 32);

    auto *subtitle = new QLabel(QStringLiteral("Sicherung und Wiederherstellung von Systemdateien"), client);
    subtitle->setObjectName(QStringLiteral("Label1"));
    QFont serif = controls::classicFont(QStringLiteral("Times New Roman"), 15);
    serif.setBold(true);
    subtitle->setFont(serif);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setGeometry(0, 40, ClientWidth, 20);

    QFont bold = font();
    bold.setBold(true);
    const QColor menuColour = palette().color(QPalette::Button);

    auto *files = new QGroupBox(QStringLiteral("Sicherungsdateien"), client);
    files->setObjectName(QStringLiteral("GroupBox1"));
    files->setGeometry(8, 64, 196, 306);

    m_backupList = new backup::BackupList(this);
    CheckListBox2 = new controls::CheckListBox(files);
    CheckListBox2->setObjectName(QStringLiteral("CheckListBox2"));
    CheckListBox2->showRows(m_backupList);
    CheckListBox2->setFont(bold);
    CheckListBox2->setGeometry(8, 18, 180, 226);
    CheckListBox2->setRowHeight(16);
    QPalette listPalette = CheckListBox2->palette();
    listPalette.setColor(QPalette::Base, menuColour);
    CheckListBox2->setPalette(listPalette);
    CheckListBox2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CheckListBox2, &controls::CheckListBox::clickCheck, this, &TForm1::CheckListBox2ClickCheck);
    connect(CheckListBox2, &QAbstractItemView::doubleClicked, this, &TForm1::N11Click);

    OpenDialog1 = new controls::OpenFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setWindowTitle(QStringLiteral("Sicherungsdatei(en) hinzufügen"));
    OpenDialog1->setFilters({
        {QStringLiteral("Alle Dateien (*.*)"), QStringLiteral("*.*")},
        {QStringLiteral("Initialisierungsdateien (*.ini)"), QStringLiteral("*.ini")},
        {QStringLiteral("Systemdateien (*.sys)"), QStringLiteral("*.sys")},
        {QStringLiteral("Programme (*.exe; *.com)"), QStringLiteral("*.exe; *.com")},
        {QStringLiteral("Programmbibliotheken (*.dll)"), QStringLiteral("*.dll")},
        {QStringLiteral("Worddateien (*.doc)"), QStringLiteral("*.doc")},
    });
    OpenDialog1->setHelpTopic(9);

    CheckListBox1 = new controls::CheckListBox(this);
    CheckListBox1->setObjectName(QStringLiteral("CheckListBox1"));
    CheckListBox1->showRows(m_backupList, backup::BackupList::PathRole);
    CheckListBox1->hide();

    StatusBar2 = new controls::StatusBar(files);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    StatusBar2->setGeometry(8, 246, 180, 20);

    BitBtn2 = pictureButton(files, QStringLiteral("BitBtn2"), QString(), pictures::Glyph::Add,
                            QRect(8, 270, 88, 28));
    BitBtn5 = pictureButton(files, QStringLiteral("BitBtn5"), QString(), pictures::Glyph::Remove,
                            QRect(100, 270, 88, 28));
    connect(BitBtn2, &QPushButton::clicked, this, &TForm1::BitBtn2Click);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::BitBtn5Click);

    auto *destination = new QGroupBox(QStringLiteral("Sicherung nach"), client);
    destination->setObjectName(QStringLiteral("GroupBox2"));
    destination->setGeometry(212, 64, 197, 238);

    DriveComboBox1 = new controls::DriveComboBox(destination);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(8, 18, 181, 22);
    QPalette drivePalette = DriveComboBox1->palette();
    drivePalette.setColor(QPalette::Base, menuColour);
    DriveComboBox1->setPalette(drivePalette);
    connect(DriveComboBox1, &controls::DriveComboBox::driveChanged, this, &TForm1::DriveComboBox1Change);

    DirectoryListBox1 = new controls::DirectoryListBox(destination);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setFont(bold);
    DirectoryListBox1->setGeometry(8, 44, 181, 152);
    QPalette treePalette = DirectoryListBox1->palette();
    treePalette.setColor(QPalette::Base, menuColour);
    DirectoryListBox1->setPalette(treePalette);
    DirectoryListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DirectoryListBox1, &controls::DirectoryListBox::directoryChanged, this,
            &TForm1::DirectoryListBox1Change);

    BitBtn6 = pictureButton(destination, QStringLiteral("BitBtn6"), QStringLiteral("A&nlegen"),
                            pictures::Glyph::NewFolder, QRect(8, 202, 88, 28));
    BitBtn7 = pictureButton(destination, QStringLiteral("BitBtn7"), QStringLiteral("&Löschen"),
                            pictures::Glyph::DeleteFolder, QRect(101, 202, 88, 28));
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::NeuesVerzeichniserstellen1Click);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::Verzeichnislschen1Click);

    Button5 = new QPushButton(QStringLiteral("&Einstellungen speichern"), client);
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setGeometry(212, 310, 197, 26);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);

    auto *optionFrame = new QFrame(client);
    optionFrame->setObjectName(QStringLiteral("Panel1"));
    optionFrame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    optionFrame->setGeometry(212, 342, 197, 28);
    CheckBox11 = new QCheckBox(QStringLiteral("automatisch beenden"), optionFrame);
    CheckBox11->setObjectName(QStringLiteral("CheckBox11"));
    CheckBox11->setGeometry(8, 5, 181, 18);
    connect(CheckBox11, &QCheckBox::toggled, this, &TForm1::CheckBox11Click);

    BitBtn1 = pictureButton(client, QStringLiteral("BitBtn1"), QStringLiteral("&Sicherung starten !"),
                            pictures::Glyph::Start, QRect(8, 378, 196, 32));
    BitBtn4 = pictureButton(client, QStringLiteral("BitBtn4"), QStringLiteral("&Hilfe"),
                            pictures::Glyph::Help, QRect(212, 378, 96, 32));
    BitBtn3 = pictureButton(client, QStringLiteral("BitBtn3"), QStringLiteral("&Beenden"),
                            pictures::Glyph::Exit, QRect(313, 378, 96, 32));
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::BitBtn4Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::Button4Click);

    m_hints = {
        {CheckListBox2, QStringLiteral("Bitte Datei(en) auswählen !")},
        {BitBtn2, QStringLiteral("Datei(en) in die Liste aufnehmen")},
        {BitBtn5, QStringLiteral("Markierte Datei aus der Liste entfernen")},
        {DriveComboBox1, QStringLiteral("Wählen sie das Ziellaufwerk")},
        {DirectoryListBox1, QStringLiteral("Wählen sie das Zielverzeichnis mittels Doppelklick")},
        {BitBtn6, QStringLiteral("Verzeichnis wird neu angelegt")},
        {BitBtn7, QStringLiteral("Ausgewähltes Verzeichnis wird gelöscht")},
        {Button5, QStringLiteral("Aktuelle Einstellungen werden gespeichert")},
        {CheckBox11, QStringLiteral("Velko Save wird nach der Sicherung automatisch beendet")},
        {BitBtn1, QStringLiteral("Ausgewählte Dateien werden ins Zielverzeichnis kopiert")},
    };
    for (const auto &[control, hint] : m_hints) {
        m_handCursorControls.append(control);
        // A button with only a picture would be announced by its group's title: it is named by its
        // hint, whether short help shows the hint or not.
        if (auto *button = qobject_cast<QPushButton *>(control); button && button->text().isEmpty())
            button->setAccessibleName(hint);
    }
    m_handCursorControls << BitBtn4 << BitBtn3;
}

void TForm1::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *functions = bar->addMenu(QStringLiteral("&Funktionen"));
    functions->setObjectName(QStringLiteral("Funktionen1"));
    Sicherungstarten1 = entry(functions, QStringLiteral("Sicherungstarten1"),
                              QStringLiteral("&Sicherung starten"), QStringLiteral("F5"));
    Sicherungstarten1->setIcon(pictures::glyph(pictures::Glyph::Start));
    QAction *restore = entry(functions, QStringLiteral("Sicherungsdateienwiederherstellen1"),
                             QStringLiteral("Sicherungsdateien &wiederherstellen"), QStringLiteral("F6"));
    restore->setIcon(pictures::glyph(pictures::Glyph::Restore));
    Sicherungvergleichen1 = entry(functions, QStringLiteral("Sicherungvergleichen1"),
                                  QStringLiteral("Sicherung &vergleichen ..."), QStringLiteral("F7"));
    functions->setToolTipsVisible(true);  // the entry's short-help hint
    functions->addSeparator();
    QAction *emergency = entry(functions, QStringLiteral("Notfalldisketteanfertigen1"),
                               QStringLiteral("&Notfalldiskette anfertigen"));
    emergency->setIcon(pictures::glyph(pictures::Glyph::EmergencyDisk));
    functions->addSeparator();
    QAction *quit = entry(functions, QStringLiteral("Beenden1"), QStringLiteral("&Beenden"));
    quit->setIcon(pictures::glyph(pictures::Glyph::Exit));
    connect(Sicherungstarten1, &QAction::triggered, this, &TForm1::BitBtn1Click);
    connect(restore, &QAction::triggered, this, &TForm1::Button7Click);
    connect(Sicherungvergleichen1, &QAction::triggered, this, &TForm1::Sicherungvergleichen1Click);
    connect(emergency, &QAction::triggered, this, &TForm1::Notfalldisketteanfertigen1Click);
    connect(quit, &QAction::triggered, this, &TForm1::Beenden1Click);

    Bearbeiten = bar->addMenu(QStringLiteral("Bea&rbeiten"));
    Bearbeiten->setObjectName(QStringLiteral("Bearbeiten"));
    connect(Bearbeiten, &QMenu::aboutToShow, this, &TForm1::BearbeitenClick);
    Verzeichnisanlegen1 = entry(Bearbeiten, QStringLiteral("Verzeichnisanlegen1"),
                                QStringLiteral("Verzeichnis a&nlegen"), QStringLiteral("Strg+Einfg"));
    Verzeichnisanlegen1->setIcon(pictures::glyph(pictures::Glyph::NewFolder));
    Verzeichnislschen1 = entry(Bearbeiten, QStringLiteral("Verzeichnislschen1"),
                               QStringLiteral("Verzeichnis &löschen"), QStringLiteral("Strg+Entf"));
    Verzeichnislschen1->setIcon(pictures::glyph(pictures::Glyph::DeleteFolder));
    Bearbeiten->addSeparator();
    Allemarkieren1 =
        entry(Bearbeiten, QStringLiteral("Allemarkieren1"), QStringLiteral("Alle Dateien &markieren"));
    Markierungenaufheben1 = entry(Bearbeiten, QStringLiteral("Markierungenaufheben1"),
                                  QStringLiteral("Alle Markierungen &aufheben"));
    Bearbeiten->addSeparator();
    Dateienaufnehmen1 = entry(Bearbeiten, QStringLiteral("Dateienaufnehmen1"),
                              QStringLiteral("Datei(en) in Liste a&ufnehmen"), QStringLiteral("Einfg"));
    Dateienaufnehmen1->setIcon(pictures::glyph(pictures::Glyph::Add));
    Dateientfernen1 = entry(Bearbeiten, QStringLiteral("Dateientfernen1"),
                            QStringLiteral("Datei aus Liste &entfernen"), QStringLiteral("Entf"));
    Dateientfernen1->setIcon(pictures::glyph(pictures::Glyph::Remove));
    AlleDateienentfernen1 = entry(Bearbeiten, QStringLiteral("AlleDateienentfernen1"),
                                  QStringLiteral("Alle &Dateien aus Liste entfernen"));
    Bearbeiten->addSeparator();
    N11 = entry(Bearbeiten, QStringLiteral("N11"), QStringLiteral("Date&iinformation"));
    connect(Verzeichnisanlegen1, &QAction::triggered, this, &TForm1::Verzeichnisanlegen1Click);
    connect(Verzeichnislschen1, &QAction::triggered, this, &TForm1::Verzeichnislschen1Click);
    connect(Allemarkieren1, &QAction::triggered, this, &TForm1::Button1Click);
    connect(Markierungenaufheben1, &QAction::triggered, this, &TForm1::Button2Click);
    connect(Dateienaufnehmen1, &QAction::triggered, this, &TForm1::BitBtn2Click);
    connect(Dateientfernen1, &QAction::triggered, this, &TForm1::BitBtn5Click);
    connect(AlleDateienentfernen1, &QAction::triggered, this, &TForm1::AlleDateienentfernen1Click);
    connect(N11, &QAction::triggered, this, &TForm1::N11Click);

    QMenu *options = bar->addMenu(QStringLiteral("E&instellungen"));
    options->setObjectName(QStringLiteral("Einstellungen1"));
    Automatisch1 = entry(options, QStringLiteral("Automatisch1"), QStringLiteral("A&utomatisch beenden"));
    Automatisch1->setCheckable(true);
    options->addSeparator();
    Kurzhinweise1 = entry(options, QStringLiteral("Kurzhinweise1"), QStringLiteral("&Kurzhilfe"));
    Kurzhinweise1->setCheckable(true);
    Kurzhinweise1->setChecked(true);
    options->addSeparator();
    QAction *save =
        entry(options, QStringLiteral("Einstellungenspeichern1"), QStringLiteral("&Einstellungen speichern"));
    connect(Automatisch1, &QAction::triggered, this, &TForm1::Automatisch1Click);
    connect(Kurzhinweise1, &QAction::triggered, this, &TForm1::Kurzhinweise1Click);
    connect(save, &QAction::triggered, this, &TForm1::Button5Click);

    QMenu *help = bar->addMenu(QStringLiteral("&Hilfe"));
    help->setObjectName(QStringLiteral("Hilfe1"));
    QAction *topics = entry(help, QStringLiteral("Hilfe2"), QStringLiteral("&Hilfethemen"));
    topics->setIcon(pictures::glyph(pictures::Glyph::Help));
    QAction *readme = entry(help, QStringLiteral("Liesmichtxt1"), QStringLiteral("&Liesmich.txt"));
    help->addSeparator();
    QAction *homepage =
        entry(help, QStringLiteral("VelkoSaveHomepage1"), QStringLiteral("Velko Save - &Homepage"));
    homepage->setIcon(pictures::glyph(pictures::Glyph::Home));
    QAction *mail = entry(help, QStringLiteral("VelkoSaveEMail1"), QStringLiteral("Velko Save - E- &Mail"));
    mail->setIcon(pictures::glyph(pictures::Glyph::Mail));
    help->addSeparator();
    QAction *systemInfo = entry(help, QStringLiteral("Systeminfo1"), QStringLiteral("Microsoft &Systeminfo"));
    help->addSeparator();
    QAction *about = entry(help, QStringLiteral("Info1"), QStringLiteral("Inf&o ..."));
    connect(topics, &QAction::triggered, this, &TForm1::Hilfe2Click);
    connect(readme, &QAction::triggered, this, &TForm1::Liesmichtxt1Click);
    connect(homepage, &QAction::triggered, this, &TForm1::VelkoSaveHomepage1Click);
    connect(mail, &QAction::triggered, this, &TForm1::VelkoSaveEMail1Click);
    connect(systemInfo, &QAction::triggered, this, &TForm1::Systeminfo1Click);
    connect(about, &QAction::triggered, this, &TForm1::Info1Click);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction *create = entry(PopupMenu1, QStringLiteral("NeuesVerzeichniserstellen1"),
                            QStringLiteral("Verzeichnis a&nlegen"), QStringLiteral("Strg+Einfg"));
    create->setIcon(pictures::glyph(pictures::Glyph::NewFolder));
    PopupMenu1->addAction(Verzeichnislschen1);
    connect(create, &QAction::triggered, this, &TForm1::NeuesVerzeichniserstellen1Click);
    connect(DirectoryListBox1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu1->popup(DirectoryListBox1->viewport()->mapToGlobal(at)); });

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    connect(PopupMenu2, &QMenu::aboutToShow, this, &TForm1::PopupMenu2Popup);
    // The list's entries are those of "Bea&rbeiten"; only "remove all" has a caption of its own.
    PopupMenu2->addActions({Allemarkieren1, Markierungenaufheben1});
    PopupMenu2->addSeparator();
    PopupMenu2->addActions({Dateienaufnehmen1, Dateientfernen1});
    AlleDateienentfernen2 = entry(PopupMenu2, QStringLiteral("AlleDateienentfernen2"),
                                  QStringLiteral("&Alle &Dateien aus Liste entfernen"));
    PopupMenu2->addSeparator();
    PopupMenu2->addAction(N11);
    connect(AlleDateienentfernen2, &QAction::triggered, this, &TForm1::AlleDateienentfernen1Click);
    connect(CheckListBox2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) { PopupMenu2->popup(CheckListBox2->viewport()->mapToGlobal(at)); });
}

void TForm1::createShortcuts()
{
    const auto bind = [this](const QKeySequence &key, auto handler) {
        auto *shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, handler);
    };
    // Ins, Del, Ctrl+Ins and Ctrl+Del act as their menu entries, as far as those are enabled now.
    const auto entryKey = [this](QAction *entry) {
        return [this, entry] {
            enableListEntries();
            if (entry->isEnabled())
                entry->trigger();
        };
    };
    bind(QKeySequence(Qt::Key_F5), &TForm1::BitBtn1Click);
    bind(QKeySequence(Qt::Key_F6), &TForm1::Button7Click);
    bind(QKeySequence(Qt::Key_F7), &TForm1::Sicherungvergleichen1Click);
    bind(QKeySequence(Qt::Key_Insert), entryKey(Dateienaufnehmen1));
    bind(QKeySequence(Qt::Key_Delete), entryKey(Dateientfernen1));
    bind(QKeySequence(Qt::CTRL | Qt::Key_Insert), entryKey(Verzeichnisanlegen1));
    bind(QKeySequence(Qt::CTRL | Qt::Key_Delete), entryKey(Verzeichnislschen1));
    bind(QKeySequence(Qt::Key_F10), &TForm1::menuBarKey);
}

void TForm1::menuBarKey()
{
    // Qt's menu bar takes its keyboard mode only from Alt pressed and released alone; it is given
    // that, through the focused control as a real key would come.
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QKeyEvent altPressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &altPressed);
    QKeyEvent altReleased(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &altReleased);
}

void TForm1::setTabOrder()
{
    const QList<QWidget *> order = {CheckListBox2,     BitBtn2, BitBtn5, DriveComboBox1,
                                    DirectoryListBox1, BitBtn6, BitBtn7, Button5,
                                    CheckBox11,        BitBtn1, BitBtn4, BitBtn3};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    // Whichever of them has the focus, Alt+H goes to the "&Hilfe" button (eventFilter).
    for (QWidget *control : order)
        control->installEventFilter(this);
    installEventFilter(this);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // The "&Hilfe" menu claims Alt+H as well, and Qt takes a key claimed twice as a mere move of
    // the focus. On Windows the window's controls take an Alt+letter before the menu bar, whose
    // "&Hilfe" stays reachable by Alt or F10 alone, then H.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_H && key->modifiers() == Qt::AltModifier && BitBtn4->isEnabled()) {
            if (event->type() == QEvent::KeyPress)
                BitBtn4->click();
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Windows activates a program's main window when it is shown; without a window manager
    // nobody else would.
    activateWindow();
    if (windowHandle())
        windowHandle()->requestActivate();
}

bool TForm1::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        // Coming back from a dialog is no first activation; the work runs once, after the
        // activation itself has been handled.
        QMetaObject::invokeMethod(this, &TForm1::FormActivate, Qt::QueuedConnection);
    }
    return QMainWindow::event(event);
}

void TForm1::setOuterHeight(int height)
{
    const int frame = frameGeometry().height() - geometry().height();
    const int windowHeight = height - (frame > 0 ? frame : AssumedFrameHeight);
    centralWidget()->setFixedHeight(windowHeight - menuBar()->sizeHint().height()
                                    - StatusBar1->sizeHint().height());
}
