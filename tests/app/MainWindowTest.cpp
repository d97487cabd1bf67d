// The main window's controls, menus, keys and enabling rules, driven as a user would.
#include "app/core/Settings.h"
#include "controls/CheckListBox.h"
#include "controls/DirectoryListBox.h"
#include "controls/DriveComboBox.h"
#include "controls/StatusBar.h"
#include "controls/WindowHelp.h"
#include "platform/drives/Files.h"
#include "tests/app/ProgramFixture.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using controls::CheckState;

namespace {

const QString SettingsFile = ProgramDirectory + QStringLiteral("\\Orvel.ini");

QStringList entries(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// A started program whose list holds the given rows; each row "c" checked, "u" unchecked,
// "g" greyed.
TForm1 &startWithRows(ProgramFixture &program, const QString &states)
{
    QByteArray file = "[Sicherungsdateien]\r\n";
    for (int i = 0; i < states.size(); ++i)
        file += QStringLiteral("C:\\Datei%1.txt=%2\r\n")
                    .arg(i)
                    .arg(states[i] == QLatin1Char('c') ? 1 : 0)
                    .toLatin1();
    program.machine.writeFile(SettingsFile, file);
    TForm1 &form = program.start();
    for (int i = 0; i < states.size(); ++i) {
        if (states[i] == QLatin1Char('g')) {
            form.CheckListBox1->setGrayed(i);
            form.CheckListBox2->setGrayed(i);
        }
    }
    return form;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void windowAndControls();
    void controlTexts_data();
    void controlTexts();
    void menus();
    void tabOrderFollowsTheLayout();
    void enablingRules_data();
    void enablingRules();
    void deleteKeyWithListFocusedRemovesTheSelectedRow();
    void deleteKeyWithoutSelectionDoesNothing();
    void removingLeavesNoSelection_data();
    void removingLeavesNoSelection();
    void contextMenuActsOnTheSelectedRow();
    void listRowsAreSixteenPixelsHigh();
    void altHPressesTheHelpButton_data();
    void altHPressesTheHelpButton();
    void helpMenuByAltOrF10ThenH_data();
    void helpMenuByAltOrF10ThenH();
    void autoQuitControlsStayInStep();
    void shortHelpSwitchesHintsAndCursors();
    void shortHelpQueryOutlivesTheWindow();
    void pictureButtonsAreNamedByTheirHints_data();
    void pictureButtonsAreNamedByTheirHints();
    void statusLineTooltipRepeatsItsText();
    void helpRequests();
    void saveCommandWritesTheWindowState();
    void saveCommandOnReadOnlyFileChangesNothing();
    void saveCommandRefusesUnstorablePath();
    void listCommands();
};

void MainWindowTest::windowAndControls()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    QCOMPARE(form.windowTitle(), QStringLiteral("Velko Save"));
    QCOMPARE(form.centralWidget()->width(), 417);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.minimumSize() == form.maximumSize());
    QVERIFY(form.CheckListBox1->isHidden());
    QVERIFY(form.CheckListBox2->hasFocus() || QApplication::focusWidget() == form.CheckListBox2);
    QCOMPARE(form.DriveComboBox1->count(), 5);  // A, C, D, E, F of the test PC
}

void MainWindowTest::controlTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hint");
    QTest::newRow("list") << "CheckListBox2"
                          << ""
                          << "Bitte Datei(en) auswählen !";
    QTest::newRow("add") << "BitBtn2"
                         << ""
                         << "Datei(en) in die Liste aufnehmen";
    QTest::newRow("remove") << "BitBtn5"
                            << ""
                            << "Markierte Datei aus der Liste entfernen";
    QTest::newRow("drive") << "DriveComboBox1"
                           << ""
                           << "Wählen sie das Ziellaufwerk";
    QTest::newRow("tree") << "DirectoryListBox1"
                          << ""
                          << "Wählen sie das Zielverzeichnis mittels Doppelklick";
    QTest::newRow("create") << "BitBtn6"
                            << "A&nlegen"
                            << "Verzeichnis wird neu angelegt";
    QTest::newRow("delete") << "BitBtn7"
                            << "&Löschen"
                            << "Ausgewähltes Verzeichnis wird gelöscht";
    QTest::newRow("save") << "Button5"
                          << "&Einstellungen speichern"
                          << "Aktuelle Einstellungen werden gespeichert";
    QTest::newRow("auto quit") << "CheckBox11"
                               << "automatisch beenden"
                               << "Velko Save wird nach der Sicherung automatisch beendet";
    QTest::newRow("start") << "BitBtn1"
                           << "&Sicherung starten !"
                           << "Ausgewählte Dateien werden ins Zielverzeichnis kopiert";
    QTest::newRow("help") << "BitBtn4"
                          << "&Hilfe"
                          << "";
    QTest::newRow("quit") << "BitBtn3"
                          << "&Beenden"
                          << "";
}

void MainWindowTest::controlTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, hint);
    ProgramFixture program;
    TForm1 &form = program.start();
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), text);
    QCOMPARE(control->toolTip(), hint);
    QCOMPARE(control->cursor().shape(), Qt::PointingHandCursor);
}

void MainWindowTest::menus()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    QStringList titles;
    for (const QAction *action : form.menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"&Funktionen", "Bea&rbeiten", "E&instellungen", "&Hilfe"}));

    const auto menu = [&](int index) { return form.menuBar()->actions().at(index)->menu(); };
    QCOMPARE(entries(menu(0)),
             QStringList({"&Sicherung starten\tF5", "Sicherungsdateien &wiederherstellen\tF6",
                          "Sicherung &vergleichen ...\tF7", "-", "&Notfalldiskette anfertigen", "-", "&Beenden"}));
    QCOMPARE(entries(menu(1)),
             QStringList({"Verzeichnis a&nlegen\tStrg+Einfg", "Verzeichnis &löschen\tStrg+Entf", "-",
                          "Alle Dateien &markieren", "Alle Markierungen &aufheben", "-",
                          "Datei(en) in Liste a&ufnehmen\tEinfg", "Datei aus Liste &entfernen\tEntf",
                          "Alle &Dateien aus Liste entfernen", "-", "Date&iinformation"}));
    QCOMPARE(entries(menu(2)),
             QStringList({"A&utomatisch beenden", "-", "&Kurzhilfe", "-", "&Einstellungen speichern"}));
    QCOMPARE(entries(menu(3)),
             QStringList({"&Hilfethemen", "&Liesmich.txt", "-", "Velko Save - &Homepage",
                          "Velko Save - E- &Mail", "-", "Microsoft &Systeminfo", "-", "Inf&o ..."}));
    QCOMPARE(entries(form.PopupMenu1),
             QStringList({"Verzeichnis a&nlegen\tStrg+Einfg", "Verzeichnis &löschen\tStrg+Entf"}));
    QCOMPARE(entries(form.PopupMenu2),
             QStringList({"Alle Dateien &markieren", "Alle Markierungen &aufheben", "-",
                          "Datei(en) in Liste a&ufnehmen\tEinfg", "Datei aus Liste &entfernen\tEntf",
                          "&Alle &Dateien aus Liste entfernen", "-", "Date&iinformation"}));
}

void MainWindowTest::tabOrderFollowsTheLayout()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    const QStringList expected = {"CheckListBox2",     "BitBtn2", "BitBtn5", "DriveComboBox1",
                                  "DirectoryListBox1", "BitBtn6", "BitBtn7", "Button5",
                                  "CheckBox11",        "BitBtn1", "BitBtn4", "BitBtn3"};
    QWidget *widget = form.CheckListBox2;
    QStringList order;
    for (int i = 0; i < expected.size(); ++i) {
        order << widget->objectName();
        do {
            widget = widget->nextInFocusChain();
        } while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&form)
                 || widget->objectName().isEmpty());
    }
    QCOMPARE(order, expected);
}

void MainWindowTest::enablingRules_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<int>("selected");
    // mark all, unmark all, remove selected, remove all, file information
    QTest::addColumn<QList<bool>>("enabled");
    QTest::newRow("empty list") << "" << -1 << QList<bool>{false, false, false, false, false};
    QTest::newRow("all checked, none selected")
        << "ccc" << -1 << QList<bool>{false, true, false, true, false};
    QTest::newRow("only row greyed") << "g" << -1 << QList<bool>{true, false, false, true, false};
    QTest::newRow("mixed, one selected") << "cu" << 1 << QList<bool>{true, true, true, true, true};
    QTest::newRow("all unchecked, selected") << "uu" << 0 << QList<bool>{true, false, true, true, true};
}

void MainWindowTest::enablingRules()
{
    QFETCH(QString, rows);
    QFETCH(int, selected);
    QFETCH(QList<bool>, enabled);
    ProgramFixture program;
    TForm1 &form = startWithRows(program, rows);
    if (selected >= 0)
        form.CheckListBox2->setCurrentRow(selected);

    form.BearbeitenClick();
    const QList<bool> menuStates = {form.Allemarkieren1->isEnabled(), form.Markierungenaufheben1->isEnabled(),
                                    form.Dateientfernen1->isEnabled(),
                                    form.AlleDateienentfernen1->isEnabled(), form.N11->isEnabled()};
    QCOMPARE(menuStates, enabled);
    QVERIFY(form.Verzeichnisanlegen1->isEnabled());
    QVERIFY(form.Verzeichnislschen1->isEnabled());
    QVERIFY(form.Dateienaufnehmen1->isEnabled());

    form.PopupMenu2Popup();
    const QList<bool> popupStates = {
        form.Allemarkieren1->isEnabled(), form.Markierungenaufheben1->isEnabled(),
        form.Dateientfernen1->isEnabled(), form.AlleDateienentfernen2->isEnabled(), form.N11->isEnabled()};
    QCOMPARE(popupStates, enabled);
    QVERIFY(form.Dateienaufnehmen1->isEnabled());
}

void MainWindowTest::deleteKeyWithListFocusedRemovesTheSelectedRow()
{
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("ccc"));
    form.PopupMenu2Popup();  // opened while nothing was selected: "entfernen" disabled then
    form.CheckListBox2->setFocus();
    form.CheckListBox2->setCurrentRow(1);
    QTest::keyClick(form.CheckListBox2, Qt::Key_Delete);

    QCOMPARE(form.CheckListBox2->rowCount(), 2);
    QCOMPARE(form.CheckListBox1->rowText(1), QStringLiteral("C:\\Datei2.txt"));
    QCOMPARE(form.CheckListBox2->rowText(1), QStringLiteral("Datei2.txt"));
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("2 Datei(en) in Liste"));
}

void MainWindowTest::deleteKeyWithoutSelectionDoesNothing()
{
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("cc"));
    form.CheckListBox2->setFocus();
    form.CheckListBox2->setCurrentRow(-1);
    form.CheckListBox2->clearSelection();
    QTest::keyClick(form.CheckListBox2, Qt::Key_Delete);
    QCOMPARE(form.CheckListBox2->rowCount(), 2);
    QVERIFY(!form.Dateientfernen1->isEnabled());
    QVERIFY(program.user.events.isEmpty());
}

void MainWindowTest::removingLeavesNoSelection_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("Del key") << "Del";
    QTest::newRow("remove button") << "button";
    QTest::newRow("menu entry") << "menu";
    QTest::newRow("context-menu entry") << "popup";
}

void MainWindowTest::removingLeavesNoSelection()
{
    QFETCH(QString, way);
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("ccc"));
    form.CheckListBox2->setFocus();
    form.CheckListBox2->setCurrentRow(0);
    const auto remove = [&] {
        if (way == QLatin1String("Del")) {
            QTest::keyClick(form.CheckListBox2, Qt::Key_Delete);
        } else if (way == QLatin1String("button")) {
            form.BitBtn5->click();
        } else if (way == QLatin1String("menu")) {
            form.BearbeitenClick();
            form.Dateientfernen1->trigger();
        } else {
            form.PopupMenu2Popup();
            form.Dateientfernen1->trigger();
        }
    };

    remove();
    QCOMPARE(form.CheckListBox2->selectedRow(), -1);
    form.BearbeitenClick();
    QVERIFY(!form.Dateientfernen1->isEnabled());
    QVERIFY(!form.N11->isEnabled());

    // A second removal finds no selected row and leaves the list alone.
    form.CheckListBox2->setFocus();
    remove();
    QCOMPARE(form.CheckListBox2->rowCount(), 2);
    QCOMPARE(form.CheckListBox1->rowText(0), QStringLiteral("C:\\Datei1.txt"));
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("2 Datei(en) in Liste"));
    QVERIFY(program.user.events.isEmpty());
}

void MainWindowTest::contextMenuActsOnTheSelectedRow()
{
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("ccc"));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.CheckListBox2->setCurrentRow(0);
    const QRect row2 = form.CheckListBox2->visualRect(form.CheckListBox2->model()->index(2, 0));

    // The press, then the context-menu event that the window system sends for it.
    QTest::mouseClick(form.CheckListBox2->viewport(), Qt::RightButton, {}, row2.center());
    QContextMenuEvent request(QContextMenuEvent::Mouse, row2.center(),
                              form.CheckListBox2->viewport()->mapToGlobal(row2.center()));
    QApplication::sendEvent(form.CheckListBox2->viewport(), &request);
    QTRY_VERIFY(form.PopupMenu2->isVisible());
    form.N11->trigger();
    form.PopupMenu2->close();

    QCOMPARE(form.CheckListBox2->selectedRow(), 0);
    QCOMPARE(program.user.events, QStringList({"message: Ort: C:\\Datei0.txt"}));
}

void MainWindowTest::listRowsAreSixteenPixelsHigh()
{
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("cug"));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    for (int row = 0; row < form.CheckListBox2->rowCount(); ++row)
        QCOMPARE(form.CheckListBox2->visualRect(form.CheckListBox2->model()->index(row, 0)).height(), 16);
}

void MainWindowTest::altHPressesTheHelpButton_data()
{
    QTest::addColumn<QString>("focused");
    QTest::newRow("file list") << "CheckListBox2";
    QTest::newRow("drive box") << "DriveComboBox1";
    QTest::newRow("directory tree") << "DirectoryListBox1";
    QTest::newRow("start button") << "BitBtn1";
}

void MainWindowTest::altHPressesTheHelpButton()
{
    QFETCH(QString, focused);
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, QByteArray());
    TForm1 &form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *control = form.findChild<QWidget *>(focused);
    control->setFocus();
    const QString drive = form.DriveComboBox1->currentText();

    QTest::keyClick(control, Qt::Key_H, Qt::AltModifier);

    QCOMPARE(program.user.events, QStringList({"help: 5"}));
    QCOMPARE(form.DriveComboBox1->currentText(), drive);
    QVERIFY(!form.menuBar()->activeAction());
}

void MainWindowTest::helpMenuByAltOrF10ThenH_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Alt") << int(Qt::Key_Alt);
    QTest::newRow("F10") << int(Qt::Key_F10);
}

void MainWindowTest::helpMenuByAltOrF10ThenH()
{
    QFETCH(int, key);
    QApplication::setStyle(QStringLiteral("Windows"));  // the program's look, with its Alt handling
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, QByteArray());
    TForm1 &form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.CheckListBox2->setFocus();

    // Keys go where a real keyboard sends them: an open menu, else the focused control.
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key(key));
    QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key_H);

    auto *help = form.findChild<QMenu *>(QStringLiteral("Hilfe1"));
    QTRY_VERIFY(help->isVisible());
    help->close();
    QVERIFY(program.user.events.isEmpty());
}

void MainWindowTest::autoQuitControlsStayInStep()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    QVERIFY(!form.CheckBox11->isChecked());
    form.CheckBox11->click();
    QVERIFY(form.Automatisch1->isChecked());
    form.Automatisch1->trigger();
    QVERIFY(!form.Automatisch1->isChecked());
    QVERIFY(!form.CheckBox11->isChecked());
    form.Automatisch1->trigger();
    QVERIFY(form.CheckBox11->isChecked());
    QVERIFY(!program.machine.readFile(SettingsFile).contains("Automatisch beenden=1"));
}

void MainWindowTest::shortHelpSwitchesHintsAndCursors()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    const QStringList hinted = {"CheckListBox2", "BitBtn2", "BitBtn5", "DriveComboBox1", "DirectoryListBox1",
                                "BitBtn6",       "BitBtn7", "Button5", "CheckBox11",     "BitBtn1"};
    form.Kurzhinweise1->trigger();
    QVERIFY(!form.Kurzhinweise1->isChecked());
    for (const QString &name : hinted + QStringList{"BitBtn4", "BitBtn3"}) {
        auto *control = form.findChild<QWidget *>(name);
        QVERIFY2(control->toolTip().isEmpty(), qPrintable(name));
        QCOMPARE(control->cursor().shape(), Qt::ArrowCursor);
    }
    form.Kurzhinweise1->trigger();
    for (const QString &name : hinted) {
        auto *control = form.findChild<QWidget *>(name);
        QVERIFY2(!control->toolTip().isEmpty(), qPrintable(name));
        QCOMPARE(control->cursor().shape(), Qt::PointingHandCursor);
    }
}

void MainWindowTest::shortHelpQueryOutlivesTheWindow()
{
    // The dialogs ask the main window's menu; a query left behind by a closed window must not
    // reach into it.
    TestMachine pc;
    auto form = std::make_unique<TForm1>();
    form->Kurzhinweise1->setChecked(false);
    QVERIFY(!controls::shortHelpOn());
    form.reset();
    QVERIFY(controls::shortHelpOn());
}

void MainWindowTest::pictureButtonsAreNamedByTheirHints_data()
{
    QTest::addColumn<bool>("shortHelp");
    QTest::newRow("short help on") << true;
    QTest::newRow("short help off") << false;
}

void MainWindowTest::pictureButtonsAreNamedByTheirHints()
{
    // The add and remove buttons carry only a picture; without a name of their own a screen
    // reader announces both by their group's title.
    QFETCH(bool, shortHelp);
    ProgramFixture program;
    TForm1 &form = program.start();
    if (!shortHelp)
        form.Kurzhinweise1->trigger();
    const auto announced = [](QWidget *control) {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    };
    QCOMPARE(announced(form.BitBtn2), QStringLiteral("Datei(en) in die Liste aufnehmen"));
    QCOMPARE(announced(form.BitBtn5), QStringLiteral("Markierte Datei aus der Liste entfernen"));
    QCOMPARE(announced(form.BitBtn6), QStringLiteral("Anlegen"));  // a caption still names its button
}

void MainWindowTest::statusLineTooltipRepeatsItsText()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    form.Kurzhinweise1->trigger();  // the status line's tooltip does not depend on short help
    form.StatusBar1->setPanelText(QStringLiteral("Sicherung nach C:\\Ein sehr langer Pfad\\der nicht passt"));
    auto *panel = form.StatusBar1->findChildren<QWidget *>().first();
    QTest::mouseMove(panel, QPoint(5, 5));
    QTest::mouseMove(panel, QPoint(9, 6));
    QTRY_COMPARE(panel->toolTip(),
                 QStringLiteral("Sicherung nach C:\\Ein sehr langer Pfad\\der nicht passt"));
}

void MainWindowTest::helpRequests()
{
    ProgramFixture program;
    program.machine.writeFile(SettingsFile, QByteArray());
    TForm1 &form = program.start();
    form.BitBtn4->click();
    form.findChild<QAction *>(QStringLiteral("Hilfe2"))->trigger();
    QTest::keyClick(&form, Qt::Key_F1);
    QCOMPARE(program.user.events, QStringList({"help: 5", "contents", "help: 5"}));
}

void MainWindowTest::saveCommandWritesTheWindowState()
{
    ProgramFixture program;
    program.machine.makeDirectory(QStringLiteral("D:\\Daten"));
    TForm1 &form = startWithRows(program, QStringLiteral("cug"));
    form.CheckBox11->setChecked(true);
    form.Kurzhinweise1->trigger();
    QCOMPARE(form.DirectoryListBox1->setDirectory(QStringLiteral("D:\\")), platform::dos::Ok);
    form.Button5->click();

    QCOMPARE(program.machine.readFile(SettingsFile),
             QByteArray("[Sicherungsdateien]\r\nC:\\Datei0.txt=1\r\nC:\\Datei1.txt=0\r\nC:\\Datei2.txt=0\r\n"
                        "[Optionen]\r\nAutomatisch beenden=1\r\nKurzhilfe=0\r\n[Pfad]\r\nPfad=D:\\\r\n"));
    QCOMPARE(form.StatusBar1->panelText(),
             QStringLiteral("Status: Die aktuellen Einstellungen wurden gespeichert !"));
    QVERIFY(program.user.events.isEmpty());
}

void MainWindowTest::saveCommandOnReadOnlyFileChangesNothing()
{
    ProgramFixture program;
    const QByteArray stored = "[Sicherungsdateien]\r\nC:\\A.txt=1\r\n";
    program.machine.writeFile(SettingsFile, stored, platform::attr::ReadOnly | platform::attr::Archive);
    TForm1 &form = program.start();
    const QString status = form.StatusBar1->panelText();
    form.CheckListBox2->setChecked(0, false);
    form.CheckListBox2ClickCheck();
    form.Button5->click();

    QCOMPARE(program.user.events,
             QStringList({"error: C:\\Programme\\Velko Save\\Orvel.ini\n\rDateizugriff verweigert."}));
    QCOMPARE(program.machine.readFile(SettingsFile), stored);
    QCOMPARE(form.StatusBar1->panelText(), status);
    QVERIFY(!QApplication::overrideCursor());
}

void MainWindowTest::saveCommandRefusesUnstorablePath()
{
    ProgramFixture program;
    TForm1 &form = program.start();
    const QByteArray before = program.machine.readFile(SettingsFile);
    form.CheckListBox1->appendRow(QStringLiteral("C:\\a=b.txt"));
    form.CheckListBox2->appendRow(QStringLiteral("a=b.txt"));
    form.Button5->click();

    QCOMPARE(program.user.events.size(), 3);  // the first start's help, the beep, the warning
    QCOMPARE(program.user.events.at(1), QStringLiteral("beep"));
    QCOMPARE(program.user.messages.first().type, controls::MessageType::Warning);
    QVERIFY(program.user.messages.first().text.contains(QStringLiteral("C:\\a=b.txt")));
    QCOMPARE(program.machine.readFile(SettingsFile), before);
}

void MainWindowTest::listCommands()
{
    ProgramFixture program;
    TForm1 &form = startWithRows(program, QStringLiteral("cug"));

    form.Button2Click();  // uncheck all: the greyed row stays greyed
    QCOMPARE(form.CheckListBox2->state(2), CheckState::Grayed);
    QCOMPARE(form.CheckListBox1->state(2), CheckState::Grayed);
    QCOMPARE(form.CheckListBox1->state(0), CheckState::Unchecked);
    form.Button1Click();  // check all: greyed becomes checked
    for (int i = 0; i < 3; ++i) {
        QVERIFY(form.CheckListBox2->isChecked(i));
        QVERIFY(form.CheckListBox1->isChecked(i));
    }

    // Both lists show one list of rows: a change through either shows in both, so they cannot
    // drift apart.
    form.CheckListBox1->setChecked(2, false);
    form.CheckListBox2->setChecked(0, false);
    form.CheckListBox2ClickCheck();
    QCOMPARE(form.CheckListBox1->state(0), CheckState::Unchecked);
    QCOMPARE(form.CheckListBox2->state(2), CheckState::Unchecked);

    form.CheckListBox2->setCurrentRow(1);
    form.N11Click();
    QCOMPARE(program.user.events.last(), QStringLiteral("message: Ort: C:\\Datei1.txt"));

    program.user.queueAnswer(controls::MessageButton::No);
    form.AlleDateienentfernen1Click();
    QCOMPARE(form.CheckListBox2->rowCount(), 3);
    program.user.queueAnswer(controls::MessageButton::Yes);
    form.AlleDateienentfernen1Click();
    QCOMPARE(program.user.messages.last().type, controls::MessageType::Confirmation);
    QCOMPARE(
        program.user.messages.last().text,
        QStringLiteral("Sind sie sicher, daß sie alle Dateien aus der Sicherungsliste entfernen wollen ?"));
    QCOMPARE(form.CheckListBox2->rowCount(), 0);
    QCOMPARE(form.CheckListBox1->rowCount(), 0);
    QCOMPARE(form.StatusBar2->panelText(), QStringLiteral("0 Datei(en) in Liste"));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
