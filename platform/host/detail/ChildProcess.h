#pragma once

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>

// Inside the platform layer only: a helper program run to its end, never waited for without
// a limit. It runs in a process group of its own, which is killed when the time is up, and it
// dies with the process that started it unless it must not be cut short.
namespace platform::detail {

struct ChildCommand {
    QString program;
    QStringList arguments;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString workingDirectory;  // empty: ours
    std::chrono::milliseconds timeLimit{60000};
    QList<int> passedDescriptors;  // open descriptors the child gets under the same numbers
    bool keepOutput = true;  // false: standard output and error go to /dev/null
    // For a command that must not be cut short (it changes a disk image): when its starter dies
    // it runs on to its end, within its time limit, instead of dying with it.
    bool outlivesStarter = false;
};

struct ChildRun {
    enum class Outcome { Finished, Crashed, TimedOut, NotStarted };
    Outcome outcome = Outcome::NotStarted;
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;
    bool succeeded() const { return outcome == Outcome::Finished && exitCode == 0; }
};

// Standard input is always /dev/null: a child that asks would wait for good.
[[nodiscard]] ChildRun runChild(const ChildCommand &command);

}  // namespace platform::detail
