// The program as Orvel.exe starts it, reporting the main window's first paint to StartupBench.
#include "app/ProgramStart.h"
#include "bench/FirstPaint.h"

#include <QWidget>

int main(int argc, char *argv[])
{
    return runProgram(argc, argv, [](QWidget &window) { window.installEventFilter(new bench::FirstPaint(&window)); });
}
