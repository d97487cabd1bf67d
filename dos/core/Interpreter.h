#pragma once

#include "dos/core/Console.h"
#include "dos/core/Tokeniser.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace dos {

// COMMAND.COM of the simulated PC: runs batch files line by line on a console. Paths are Windows
// paths of the simulated PC; names in batch files are read in code page 850. The current
// directories are the platform's, shown in their 8.3 form.
class Interpreter {
public:
    enum class Outcome {
        Finished,  // ran to its end
        Aborted,  // Ctrl+C, answered with J
        InputEnded,  // waited for a key that will not come
        NotFound,  // no such batch file
        Exited,  // EXIT
        WindowsRequested,  // WIN: Windows is to start
        SwitchedOff,  // Ctrl+Alt+Del
    };

    explicit Interpreter(Console &console);

    // The batch file's path may be relative to the current directory.
    Outcome runBatch(const QString &path);
    // One command line without echo, as COMMAND.COM /C runs it.
    Outcome runCommandLine(const QString &line);
    // The prompt ("C:\>") and its line editing, one command line after the other, until EXIT,
    // WIN, Ctrl+Alt+Del or the end of the keys.
    Outcome runPrompt();

    // A person sits at the keyboard: long names in double quotes, and Ctrl+C typed while a batch
    // file runs stops it between two lines.
    void setInteractive();

    // Makes directory the current one of its drive and its drive the current drive.
    int setCurrentDirectory(const QString &directory);
    // As a new process starts: every drive at its root, then directory ("C:", "A:\PATH") current.
    int startIn(const QString &directory);
    QString currentDirectory() const;  // 8.3 form, "C:\" for a root

    // The drive MS-DOS was started from: C:, or the floppy after a boot from it.
    QChar bootDrive() const { return m_bootDrive; }
    void setBootDrive(QChar drive) { m_bootDrive = drive.toUpper(); }

    // The exit code of the last external program (ERRORLEVEL); internal commands leave it.
    int exitCode() const { return m_exitCode; }

    // WIN.COM asks for Windows: the running batch files and the prompt end.
    void requestWindows() { m_stop = Stop::Windows; }

    // For the commands.
    void print(const QString &text);
    void printLine(const QString &text = {});
    // The next key: from the file the command line redirects input from (empty at its end), else
    // from the console (empty when no key will come, which ends the run after this command).
    std::optional<Key> readKey();
    // A line typed at a program's prompt, shown as typed; empty when input ended or Ctrl+C came first.
    std::optional<QString> readLine();
    // Waits for a key after "Weiter mit beliebiger Taste . . ."; false when the run is to stop.
    bool pause();
    // Ctrl+Alt+Del came while a key was waited for.
    bool switchedOff() const { return m_stop == Stop::SwitchOff; }
    // The absolute path an argument names: "X:" prefix, root "\" or the drive's current directory.
    QString absolutePath(const QString &argument) const;
    // The current directory of a drive in 8.3 form; empty when the machine has no such drive.
    QString directoryOf(QChar drive) const;

private:
    enum class Stop { None, Aborted, InputEnded, Chained, Exit, Windows, SwitchOff };
    struct InternalCommand;

    static const QList<InternalCommand> &internalCommands();
    static const QStringList &internalNames();
    static const InternalCommand *internalCommand(const QString &name);

    // Runs the batch file's lines; a batch file it names without CALL takes its place.
    bool runBatchFile(const QString &path);
    bool runBatchLines(const QString &path);
    void call(const CommandLine &line);
    Outcome outcome() const;
    std::optional<QString> readCommandLine();
    void runLine(QString line);
    void execute(const QString &commandLine);
    void run(const CommandLine &line);
    void runExternal(const CommandLine &line);
    std::optional<QString> findProgram(const QString &name) const;
    QString prompt() const;
    static QChar currentDrive();

    // "Batchvorgang abbrechen (J/N)?"; J stops every batch file that runs.
    void askToTerminate();
    // The environment: SET, PATH; names upper case, in the order they were set.
    QString variable(const QString &name) const;
    void setVariable(const QString &name, const QString &value);
    bool climbsAboveRoot(const QString &argument) const;
    bool leavesItsDrive(const CommandLine &line) const;

    void echo(const QString &rest);
    void path(const QString &rest);
    void set(const QString &rest);
    void changeDirectory(const CommandLine &line);
    void changeDrive(QChar drive);
    void ifCommand(const QString &rest);

    Console &m_console;
    bool m_echo = true;
    QList<std::pair<QString, QString>> m_environment;
    Quotes m_quotes = Quotes::Plain;
    bool m_interactive = false;
    int m_callDepth = 0;
    int m_batchDepth = 0;  // batch files running, called ones included
    QString m_lastLine;  // the template F3 repeats
    QChar m_bootDrive = u'C';
    Stop m_stop = Stop::None;
    QString m_chainedBatch;
    std::optional<QList<Key>> m_redirectedKeys;
    int m_exitCode = 0;
};

}  // namespace dos
