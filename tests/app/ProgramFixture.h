#pragma once

#include "app/ProgramWindows.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <QList>
#include <QStringList>

class QWidget;

#include <functional>
#include <optional>

inline const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

// The program's six windows on a fresh simulated PC, started from a working directory as the
// autostart shortcut or the user would start it. The windows are created on demand so that a
// test can prepare files first.
class ProgramFixture {
public:
    // machineIni: the PC's machine.ini, empty for TestMachine's default.
    explicit ProgramFixture(const QString &workingDirectory = ProgramDirectory,
                            const QString &machineIni = {});

    enum class Dialogs {
        AtStart,  // all six windows are made before the main window shows
        WhenNeeded  // only the main window; its first command that shows a dialog makes them
    };

    // Creates the windows, shows the main window and waits for its start-up work. Called again,
    // it ends the running program's windows and starts anew, as the next program start would.
    TForm1 &start(Dialogs dialogs = Dialogs::AtStart);

    // The settings file the program will use: Orvel.ini in its working directory.
    QString settingsFile() const;

    TestMachine machine;
    TestUser user;

private:
    QString m_workingDirectory;
    std::optional<ProgramWindows> m_windows;
};

// What a test does in one modal dialog.
using DialogStep = std::function<void(QWidget *dialog)>;

// Runs action and, while it runs, hands each modal dialog it opens to the next step, once the
// dialog is the active window.
void inDialogs(const std::function<void()> &action, QList<DialogStep> steps);

// Runs action and, while it runs, presses the named button of each modal dialog in turn, once it
// is the active window; the last dialog is closed after its button. A dialog with a drive box
// (DriveComboBox1) is first set to drive, when one is given, and driveShown gets what the box
// then shows.
void pressInDialogs(const QStringList &buttons, const std::function<void()> &action, QChar drive = {},
                    QString *driveShown = nullptr);
