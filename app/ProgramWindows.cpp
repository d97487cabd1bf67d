#include "app/ProgramWindows.h"

#include "controls/WindowHelp.h"

ProgramWindows createMainWindow()
{
    ProgramWindows windows;
    windows.form1 = std::make_unique<TForm1>();
    controls::setApplicationHelpFile(controls::HelpFileName, windows.form1.get());
    return windows;
}

void createDialogs(ProgramWindows &windows)
{
    if (windows.restore)
        return;
    windows.restore = std::make_unique<TRestore>();
    windows.notfall = std::make_unique<TNotfall>();
    windows.form5 = std::make_unique<TForm5>();
    windows.form6 = std::make_unique<TForm6>();
    windows.aboutBox = std::make_unique<TAboutBox>(windows.form1.get());
    windows.form1->setDialogs(windows.restore.get(), windows.notfall.get(), windows.form5.get(),
                              windows.form6.get(), windows.aboutBox.get());
}

ProgramWindows createProgramWindows()
{
    ProgramWindows windows = createMainWindow();
    createDialogs(windows);
    return windows;
}
