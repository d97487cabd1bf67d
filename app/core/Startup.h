#pragma once

#include "app/core/Settings.h"

#include <QString>

#include <optional>

// The start-up's work on the program's directory and its settings file.
namespace startup {

// The program's directory, which holds Orvel.ini and Backups: the current directory at start, "D:"
// for a drive's root.
QString programDirectory();

struct SettingsAtStart {
    enum class Failure {
        None,
        Unreadable,   // the file exists but cannot be read: it must not be written over
        NotWritten,   // the defaults could not be written
        NotEmptied,   // a rejected file could not be emptied
    };
    Failure failure = Failure::None;
    int error = 0;            // the file error of Unreadable and NotEmptied
    bool firstStart = false;  // the defaults were written: welcome the user
    std::optional<settings::Settings> settings;  // what to load; null after a failure
};

// Writes the defaults when Orvel.ini is missing or its first line rejects it, then reads it.
SettingsAtStart openSettings(const QString &programDirectory, const QString &windowsDirectory);

}  // namespace startup
