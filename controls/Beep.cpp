#include "controls/Beep.h"

#include <QApplication>

namespace controls {

namespace {

BeepSeam *installedSeam = nullptr;

}  // namespace

void beep()
{
    if (installedSeam)
        installedSeam->beep();
    else
        QApplication::beep();
}

void setBeepSeam(BeepSeam *seam)
{
    installedSeam = seam;
}

}  // namespace controls
