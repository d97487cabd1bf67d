#pragma once

#include <QIcon>
#include <QStyle>

namespace controls {

// The program's own 16x16 pictures, in the colours of the Windows 9x desktop, for the standard
// icons its windows show (folders, drives, dialog buttons); a null icon for any other.
QIcon classicIcon(QStyle::StandardPixmap which);

}  // namespace controls
