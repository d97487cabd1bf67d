#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One run of velko-dos, as the platform starts it (see the command line in main.cpp).
namespace dos {

struct Options {
    enum class Action { MsDosMode, Window, Command, BootFloppy, Prompt, Start };
    QString machineFolder;  // empty: found from the working directory
    bool headless = false;
    QString keys;
    QString screenFile;  // empty: standard output
    QString directory;  // the current directory at start ("C:" is drive C:'s root); empty: the host's
    Action action = Action::Command;
    // The batch file, the command line of /c, the floppy drive's letter, or the directory the
    // prompt starts in (empty: as --directory or the host's).
    QString target;
};

// Null and *error set for a command line that does not fit.
std::optional<Options> parseOptions(const QStringList &arguments, QString *error);

// Runs the action on the current machine; the exit code: 0 when the script ran to its end (for /c:
// the program's exit code), 1 when it was cut short (Ctrl+C, keys used up, no such batch file) or
// the PC did not start from its floppy, 2 when the start directory or the floppy drive is wrong.
// --prompt and --start: 0 when Windows started (or, for --prompt, after EXIT), 1 when the PC
// stopped at a fault or the keys ran out, 3 when it was switched off (Ctrl+Alt+Del; EXIT at the
// prompt of --start).
int run(const Options &options);

}  // namespace dos
