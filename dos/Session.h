#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One run of velko-dos, as the platform starts it (see the command line in main.cpp).
namespace dos {

struct Options {
    enum class Action { MsDosMode, Window, Command };
    QString machineFolder;  // empty: found from the working directory
    bool headless = false;
    QString keys;
    QString screenFile;  // empty: standard output
    Action action = Action::Command;
    QString target;  // the batch file, or the command line of /c
};

// Null and *error set for a command line that does not fit.
std::optional<Options> parseOptions(const QStringList &arguments, QString *error);

// Runs the action on the current machine; the exit code: 0 when the script or command ran to its
// end, 1 when it was cut short (Ctrl+C, keys used up, no such batch file).
int run(const Options &options);

}  // namespace dos
