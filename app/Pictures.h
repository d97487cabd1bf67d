#pragma once

#include <QIcon>
#include <QPixmap>

// The program's pictures, drawn at run time so that no image files need shipping. The title's
// lettering is a picture compiled into the program (app/pictures/Title.xpm, on the window's grey):
// drawing it would load a font face of its own at start, and an image file would load Qt's image
// plugins.
namespace pictures {

// Draws every picture of this file and of the classic icons that is not drawn yet. Each is drawn
// once per run, on whichever thread asks first: a thread can draw them ahead while the main thread
// makes the windows. Painters need the application to exist.
void drawAhead();

QPixmap programIcon();  // 32 x 32
QPixmap titleImage();  // 213 x 32

enum class Glyph {
    Add,
    Remove,
    NewFolder,
    DeleteFolder,
    Start,
    Restore,
    EmergencyDisk,
    Help,
    Exit,
    Mail,
    Home
};
QIcon glyph(Glyph which);

}  // namespace pictures
