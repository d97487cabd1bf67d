#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One run of velko-dos, as the platform starts it (see the command line in main.cpp).
namespace dos {

struct Options {
    enum class Action { MsDosMode, Window, Command, BootFloppy };
    QString machineFolder;  // empty: found from the working directory
    bool headless = false;
    QString keys;
    QString screenFile;  // empty: standard output
    QString directory;  // the current directory at start ("C:" is drive C:'s root); empty: the host's
    Action action = Action::Command;
    QString target;  // the batch file, the command line of /c, or the floppy drive's letter
};

// Null and *error set for a command line that does not fit.
std::optional<Options> parseOptions(const QStringList &arguments, QString *error);

// Runs the action on the current machine; the exit code: 0 when the script ran to its end (for /c:
// the program's exit code), 1 when it was cut short (Ctrl+C, keys used up, no such batch file) or
// the PC did not start from its floppy, 2 when the start directory or the floppy drive is wrong.
int run(const Options &options);

}  // namespace dos
