#pragma once

class QApplication;

// The classic Windows 9x look: Qt's "Windows" style and the closest fonts on this machine.
void applyClassicLook(QApplication &application);
