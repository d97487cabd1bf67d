#pragma once

#include "dos/core/Console.h"
#include "dos/core/Tokeniser.h"

#include <QString>
#include <QStringList>

#include <optional>

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
    };

    explicit Interpreter(Console &console);

    // The batch file's path may be relative to the current directory.
    Outcome runBatch(const QString &path);
    // One command line without echo, as COMMAND.COM /C runs it.
    Outcome runCommandLine(const QString &line);

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

    // For the commands.
    void print(const QString &text);
    void printLine(const QString &text = {});
    // The next key: from the file the command line redirects input from (empty at its end), else
    // from the console (empty when no key will come, which ends the run after this command).
    std::optional<Key> readKey();
    // A line typed at a program's prompt, shown as typed; empty when input ended or Ctrl+C came first.
    std::optional<QString> readLine();
    // The absolute path an argument names: "X:" prefix, root "\" or the drive's current directory.
    QString absolutePath(const QString &argument) const;
    // The current directory of a drive in 8.3 form; empty when the machine has no such drive.
    QString directoryOf(QChar drive) const;

private:
    enum class Stop { None, Aborted, InputEnded, Chained };
    struct InternalCommand;

    static const QList<InternalCommand> &internalCommands();
    static const QStringList &internalNames();
    static const InternalCommand *internalCommand(const QString &name);

    void runLine(QString line);
    void execute(const QString &commandLine);
    void run(const CommandLine &line);
    void runExternal(const CommandLine &line);
    std::optional<QString> findProgram(const QString &name) const;
    QString prompt() const;
    static QChar currentDrive();

    void echo(const QString &rest);
    void pause();
    void askToTerminate();
    void path(const QString &rest);
    void changeDirectory(const QString &rest);
    void changeDrive(QChar drive);
    void ifCommand(const QString &rest);

    Console &m_console;
    bool m_echo = true;
    QString m_path;
    QChar m_bootDrive = u'C';
    Stop m_stop = Stop::None;
    QString m_chainedBatch;
    std::optional<QList<Key>> m_redirectedKeys;
    int m_exitCode = 0;
};

}  // namespace dos
