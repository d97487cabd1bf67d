#include "platform/shell/Desktop.h"

#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/shell/HelpRequest.h"
#include "platform/shell/Shell.h"

#include <QCoreApplication>
#include <QProcess>

namespace platform {

namespace {

Desktop *&replacementDesktop()
{
    static Desktop *replacement = nullptr;
    return replacement;
}

// Where the Windows help looks for a help file: a path as given (a bare name in the current
// directory), then the folder of the program that asks, then the Windows help folder.
QString findHelpFile(const QString &helpFile)
{
    QStringList candidates{helpFile};
    if (!helpFile.contains(u'\\') && !helpFile.contains(u':')) {
        const QString programFolder = machine().windowsPathOf(QCoreApplication::applicationDirPath());
        if (!programFolder.isEmpty())
            candidates.append(withoutRootBackslash(programFolder) + u'\\' + helpFile);
        candidates.append(windowsDirectory() + QStringLiteral("\\HELP\\") + helpFile);
    }
    for (const QString &candidate : candidates) {
        if (!fileExists(candidate))
            continue;
        const auto host = hostPathOf(candidate);
        if (host.ok())
            return host.value;
    }
    return {};
}

}  // namespace

// The help viewer is a program of its own, as winhlp32.exe is: a missing help file or viewer
// shows nothing, and its outcome goes unexamined.
void Desktop::showHelp(const QObject *, const QString &helpFile, int command, int topic)
{
    if (!hasMachine() || (command != help::ShowTopic && command != help::ShowContents))
        return;
    const QString viewer = companionProgram(QStringLiteral("velko-winhelp"));
    if (viewer.isEmpty())
        return;
    const QString file = findHelpFile(helpFile);
    if (file.isEmpty())
        return;
    (void)QProcess::startDetached(viewer, helpRequestArguments({file, command, topic}), machine().folder());
}

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
