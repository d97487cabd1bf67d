#pragma once

#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "backup/TForm6.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "restore/TRestore.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <memory>

inline const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

// The program's six windows on a fresh simulated PC, started from a working directory as the
// autostart shortcut or the user would start it. The windows are created on demand so that a
// test can prepare files first.
class ProgramFixture {
public:
    explicit ProgramFixture(const QString &workingDirectory = ProgramDirectory);

    // Creates the windows, shows the main window and waits for its start-up work. Called again,
    // it ends the running program's windows and starts anew, as the next program start would.
    TForm1 &start();

    // The settings file the program will use: Orvel.ini in its working directory.
    QString settingsFile() const;

    TestMachine machine;
    TestUser user;
    std::unique_ptr<TForm1> form1;

private:
    QString m_workingDirectory;
    std::unique_ptr<TRestore> m_restore;
    std::unique_ptr<TNotfall> m_notfall;
    std::unique_ptr<TForm5> m_form5;
    std::unique_ptr<TForm6> m_form6;
    std::unique_ptr<TAboutBox> m_aboutBox;
};
