#pragma once

class TestMachine;

// Copies the shipped demo PC's drives C: and D: (the system files with their attributes, the
// MS-DOS commands, the start menu, the user data) into the test's PC.
void seedDemoPc(const TestMachine &pc);
