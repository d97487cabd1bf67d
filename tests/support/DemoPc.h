#pragma once

#include <QStringList>

class TestMachine;

// Copies the shipped demo PC's drives C: and D: (the system files with their attributes, the
// MS-DOS commands, the start menu, the user data) into the test's PC.
void seedDemoPc(const TestMachine &pc);

// The demo PC's eleven system files, the ones the program marks at its first start.
QStringList demoSystemFiles();
