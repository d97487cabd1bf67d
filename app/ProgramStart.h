#pragma once

#include <functional>

class QWidget;

// The program from finding its simulated PC to the end of the event loop; the exit code.
// `shown` sees the main window right after it is shown (the start-up benchmark watches it).
int runProgram(int argc, char *argv[], const std::function<void(QWidget &)> &shown = {});
