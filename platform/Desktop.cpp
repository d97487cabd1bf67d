#include "platform/Desktop.h"

#include <QApplication>

namespace platform {

namespace {

Desktop *&replacementDesktop()
{
    static Desktop *replacement = nullptr;
    return replacement;
}

}  // namespace

void Desktop::beep()
{
    QApplication::beep();
}

// There is no help viewer on this desktop yet: a help request shows nothing.
void Desktop::showHelp(const QString &, int, int) {}

Desktop &desktop()
{
    static Desktop real;
    return replacementDesktop() ? *replacementDesktop() : real;
}

void setDesktop(Desktop *replacement)
{
    replacementDesktop() = replacement;
}

}  // namespace platform
