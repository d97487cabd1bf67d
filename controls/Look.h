#pragma once

class QApplication;
class QFont;
class QString;

namespace controls {

// The classic Windows 9x look: Qt's "Windows" style and the closest fonts on this machine.
void applyClassicLook(QApplication &application);

// A font of a Windows 9x family ("MS Sans Serif", "Times New Roman" or "Fixedsys") at a pixel
// size, asking for the closest families on this machine before the Windows name itself: a name
// the machine lacks first sends Qt through fontconfig's fallback search, about a millisecond at
// start for each family.
QFont classicFont(const QString &windowsFamily, int pixelSize);

}  // namespace controls
