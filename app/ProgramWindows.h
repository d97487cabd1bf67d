#pragma once

#include "app/TAboutBox.h"
#include "app/TForm1.h"
#include "backup/TForm6.h"
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "restore/TRestore.h"

#include <memory>

// The program's six windows, wired to each other. The main window is declared first so that it
// is destroyed last: the dialogs hold its controls. Destroy the whole, do not assign over it.
struct ProgramWindows {
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TRestore> restore;
    std::unique_ptr<TNotfall> notfall;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TAboutBox> aboutBox;
};

// Creates the main window on the current machine and sets the program's help file; nothing is shown.
ProgramWindows createMainWindow();

// Creates the five dialogs, in the program's order, and hands them to the main window; once.
void createDialogs(ProgramWindows &windows);

// The six windows at once: createMainWindow, then createDialogs.
ProgramWindows createProgramWindows();
