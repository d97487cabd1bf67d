#pragma once

#include <QIcon>
#include <QStyle>

namespace controls {

// The program's own 16x16 pictures, in the colours of the Windows 9x desktop, for the standard
// icons its windows show (folders, drives, dialog buttons); a null icon for any other.
QIcon classicIcon(QStyle::StandardPixmap which);

// Draws every one of those pictures that is not drawn yet. Each is drawn once per run, on whichever
// thread asks first: a thread can draw them ahead while the main thread makes the windows.
void drawClassicPictures();

}  // namespace controls
