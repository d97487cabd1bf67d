#include "platform/Desktop.h"

#include "platform/Shell.h"

namespace platform {

namespace {

Desktop *&replacementDesktop()
{
    static Desktop *replacement = nullptr;
    return replacement;
}

}  // namespace

// There is no help viewer on this desktop yet: a help request shows nothing.
void Desktop::showHelp(const QString &, int, int) {}

void Desktop::shellExecute(const QObject *, const QString &verb, const QString &file, const QString &,
                           const QString &, int)
{
    if (!verb.isEmpty() && verb.compare(QStringLiteral("open"), Qt::CaseInsensitive) != 0)
        return;
    if (isAddress(file))
        openAddress(file);
    else
        (void)shellOpen(file);  // ShellExecute's result goes unexamined by every caller
}

void Desktop::openAddress(const QString &) {}

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
