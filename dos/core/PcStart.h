#pragma once

#include "dos/core/Console.h"
#include "dos/core/Interpreter.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace dos {

// How a run of the simulated PC ended.
enum class PcEnd {
    WindowsStarted,  // Windows is up: the programs of the autostart folder start
    Stopped,  // the PC stopped at a fault (no system, no command interpreter)
    SwitchedOff,  // Ctrl+Alt+Del
    Exited,  // EXIT at the prompt
    KeysEnded,  // the keys ran out (or the window closed) where the PC waited for one
};

// The entries of the Windows 98 start menu, numbered as it shows them.
enum class StartChoice { Normal = 1, Logged, Safe, StepByStep, PromptOnly, SafePromptOnly };

// What keeps Windows 98 from starting, one German line each: the registry (SYSTEM.DAT, USER.DAT,
// sound when they start with "CREG" or are the demo PC's stand-ins), SYSTEM.INI with its [boot]
// section, a readable WIN.INI. Empty when Windows can start.
QStringList windowsDamage(const QString &windowsDirectory);

// The PC as it is switched on: IO.SYS, MSDOS.SYS, CONFIG.SYS, COMMAND.COM, AUTOEXEC.BAT, then
// Windows or, where it cannot start or F8 was pressed, the Windows 98 start menu.
class PcStart {
public:
    PcStart(Interpreter &shell, Console &console);

    // From drive C:, as a PC of 1999 starts.
    PcEnd switchOn();
    // The prompt of a PC that is already running; WIN starts Windows through the same check.
    PcEnd prompt();
    // Windows started in safe mode, which runs no autostart programs.
    bool safeMode() const { return m_safeMode; }

private:
    using Next = std::variant<PcEnd, StartChoice>;

    PcEnd start(StartChoice choice);
    Next startRound(StartChoice choice);
    Next promptRound();
    Next startWindows(bool logged);
    std::optional<StartChoice> startMenu(StartChoice selected, const QStringList &above);
    bool confirm(const QString &question);
    void readMsDosSys();
    void showConfigSys(bool stepByStep);
    PcEnd endAtKey() const;

    Interpreter &m_shell;
    Console &m_console;
    QString m_windowsDirectory;
    bool m_safeMode = false;
};

}  // namespace dos
