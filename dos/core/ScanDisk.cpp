#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"

namespace dos {

namespace {

// MAX_PATH without the closing zero: no Windows program can address a folder below a longer path,
// so the walk ends there, and a deeper tree on the host cannot keep it going.
constexpr qsizetype LongestPath = 259;

struct Survey {
    int folders = 0;
    int files = 0;
    QStringList problems;
};

// Reads every folder of the drive and the attribute record of every entry in it.
void survey(const QString &folder, Survey &found)
{
    if (folder.size() > LongestPath) {
        found.problems.append(message::ScanDiskUnreadableFolder + QStringLiteral(" - ") + folder);
        return;
    }
    ++found.folders;
    const QString prefix = folder.endsWith(u'\\') ? folder : folder + u'\\';
    const auto files = platform::files(folder);
    const auto subfolders = platform::subdirectories(folder);
    if (!files.ok() || !subfolders.ok()) {
        found.problems.append(message::ScanDiskUnreadableFolder + QStringLiteral(" - ") + folder);
        return;
    }
    for (const QString &file : files.value) {
        ++found.files;
        if (!platform::fileAttributes(prefix + file).ok())
            found.problems.append(message::ScanDiskUnreadableAttributes + QStringLiteral(" - ") + prefix
                                  + file);
    }
    for (const QString &subfolder : subfolders.value)
        survey(prefix + subfolder, found);
}

}  // namespace

// scandisk [X:] [/AUTOFIX] [/NOSUMMARY] [/CHECKONLY] [/SURFACE] [/NOSAVE]
int scanDiskProgram(Interpreter &shell, const QStringList &arguments)
{
    const QStringList switches = {QStringLiteral("/AUTOFIX"), QStringLiteral("/NOSUMMARY"),
                                  QStringLiteral("/CHECKONLY"), QStringLiteral("/SURFACE"),
                                  QStringLiteral("/NOSAVE")};
    const QString current = shell.currentDirectory();
    QChar drive = current.isEmpty() ? QChar() : current.at(0);
    for (const QString &argument : arguments) {
        if (isSwitch(argument) && !switches.contains(argument, Qt::CaseInsensitive)) {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return 1;
        }
        if (!isSwitch(argument)) {
            if (argument.size() != 2 || argument.at(1) != u':'
                || shell.directoryOf(argument.at(0)).isEmpty()) {
                shell.printLine(message::InvalidDrive);
                return 1;
            }
            drive = argument.at(0).toUpper();
        }
    }
    if (drive.isNull()) {
        shell.printLine(message::InvalidDrive);
        return 1;
    }
    const QString root = QString(drive) + QStringLiteral(":\\");
    if (!platform::directoryExists(root)) {
        shell.printLine(message::NotReady);
        return 1;
    }
    shell.printLine(message::ScanDiskTitle);
    shell.printLine();
    shell.printLine(message::ScanDiskChecking.arg(drive));
    shell.printLine(QStringLiteral("    ") + message::ScanDiskFolders);
    shell.printLine(QStringLiteral("    ") + message::ScanDiskAttributes);
    shell.printLine();

    Survey found;
    survey(root, found);
    for (const QString &problem : found.problems)
        shell.printLine(problem);
    if (!found.problems.isEmpty()) {
        shell.printLine(message::ScanDiskProblems.arg(drive));
        return 1;
    }
    if (arguments.contains(QStringLiteral("/NOSUMMARY"), Qt::CaseInsensitive))
        return 0;
    shell.printLine(message::ScanDiskClean.arg(drive));
    shell.printLine(message::ScanDiskCounts.arg(found.folders).arg(found.files));
    return 0;
}

}  // namespace dos
