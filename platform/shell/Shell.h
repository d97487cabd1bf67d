#pragma once

#include "platform/text/DosError.h"

#include <QString>
#include <QStringList>

// The shell's "open" and the host programs that play parts of Windows beside this one.
namespace platform {

// A host program that plays a part of Windows beside this one (velko-dos, the PC's MS-DOS side;
// velko-editor, the text viewer; velko-msinfo, the system information): the environment variable
// VELKO_<NAME> (upper case, "-" as "_": VELKO_DOS for velko-dos) when set, else the program of
// that name beside the running one. Empty when there is none.
QString companionProgram(const QString &name);

// The host program that plays the PC's MS-DOS side.
QString dosProgram();

// Starts the MS-DOS side with the arguments, in the machine's folder, without waiting.
[[nodiscard]] int startDos(const QStringList &arguments);

// What "open" does with a batch file: with a .pif of the same name beside it that asks for
// MS-DOS mode, Windows shuts down (this program ends) and the script runs in MS-DOS mode;
// otherwise it runs in a DOS window while the program goes on.
enum class BatchStart { MsDosMode, DosWindow };
BatchStart batchStartOf(const QString &batchFile);

// A web or mail address ("https://…", "mailto:…") rather than a file: the desktop opens it.
bool isAddress(const QString &target);

// What "open" starts for a file of the PC, decided before anything starts:
// - a .bat: the MS-DOS side, in a DOS window or in MS-DOS mode (batchStartOf);
// - a .txt: the text viewer with the file's host path;
// - an .exe or .com that is a stand-in of a Windows program with a built-in (MSINFO32.EXE): that
//   built-in; any other program file: the host executable itself, through startProgram.
struct OpenCommand {
    int error = dos::Ok;  // nothing can open the file; nothing is started
    QString installedProgram;  // a program installed on the PC (Windows path), or else:
    QString companion;  // the companion program's name ...
    QStringList arguments;  // ... and its arguments
    bool endsWindows = false;  // MS-DOS mode: this program ends once the script is started
};
[[nodiscard]] OpenCommand openCommandFor(const QString &file);

// ShellExecute's "open" on the simulated PC: starts what openCommandFor names, without waiting.
// Returns a DOS error for a file that cannot be opened; on MS-DOS mode the application is asked
// to quit.
[[nodiscard]] int shellOpen(const QString &file);

}  // namespace platform
