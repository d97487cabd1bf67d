#include "dos/Session.h"

#include "dos/DosScreen.h"
#include "dos/core/Boot.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "dos/core/MsDosMode.h"
#include "dos/core/PcStart.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/shell/ProgramStart.h"
#include "platform/shell/ShellLink.h"

#include <QFile>

#include <cstdio>
#include <memory>

namespace dos {

namespace {

constexpr int LingerMilliseconds = 2000;
constexpr int SwitchedOffCode = 3;

QList<platform::ShellLink> autostartLinks()
{
    QList<platform::ShellLink> links;
    const QString folder = platform::autostartDirectory();
    const auto names = platform::files(folder);
    if (!names.ok())
        return links;
    for (const QString &name : names.value) {
        if (!name.endsWith(QStringLiteral(".lnk"), Qt::CaseInsensitive))
            continue;
        const auto link = platform::readShellLink(folder + u'\\' + name);
        if (link.ok())
            links.append(link.value);
    }
    return links;
}

void writeOut(const QString &text, const QString &file)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    if (file.isEmpty()) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
        return;
    }
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        std::fprintf(stderr, "velko-dos: cannot write %s\n", qPrintable(file));
}

QString windowTitle(const Options &options)
{
    if (options.action == Options::Action::MsDosMode)
        return QStringLiteral("MS-DOS-Modus");
    if (options.action == Options::Action::BootFloppy || options.action == Options::Action::Prompt
        || options.action == Options::Action::Start)
        return QStringLiteral("MS-DOS");
    return QStringLiteral("MS-DOS-Eingabeaufforderung - ") + platform::fileNamePart(options.target).toUpper();
}

bool isFloppyDrive(const QString &letter)
{
    const platform::Drive *drive = platform::machine().drive(letter.at(0));
    return drive && drive->kind == platform::DriveKind::Floppy;
}

// How a run of the PC ended, as the session goes on from there.
struct PcRun {
    int exitCode = 0;
    PcEnd end = PcEnd::KeysEnded;
    bool autostart = false;  // Windows started and runs its autostart programs
};

PcRun pcRun(PcEnd end, bool safeMode, int promptExitCode)
{
    switch (end) {
    case PcEnd::WindowsStarted:
        return {0, end, !safeMode};
    case PcEnd::Exited:
        return {promptExitCode, end, false};
    case PcEnd::SwitchedOff:
        return {SwitchedOffCode, end, false};
    case PcEnd::Stopped:
    case PcEnd::KeysEnded:
        break;
    }
    return {1, end, false};
}

// The PC from its floppy: AUTOEXEC.BAT, then its prompt. The exit code tells how AUTOEXEC.BAT ran.
PcRun bootFloppyRun(Interpreter &shell, Console &console, QChar drive)
{
    const auto outcome = bootFromFloppy(shell, drive);
    if (!outcome)
        return {1, PcEnd::Stopped, false};
    const int exitCode = *outcome == Interpreter::Outcome::Finished ? 0 : 1;
    if (*outcome != Interpreter::Outcome::Finished && *outcome != Interpreter::Outcome::Aborted)
        return {exitCode, shell.switchedOff() ? PcEnd::SwitchedOff : PcEnd::KeysEnded, false};
    PcStart pc(shell, console);
    const PcEnd end = pc.prompt();
    const PcRun run = pcRun(end, pc.safeMode(), 0);
    return {exitCode, run.end, run.autostart};
}

// The exit code of the action, see run().
PcRun runAction(Interpreter &shell, Console &console, const Options &options)
{
    constexpr auto Finished = Interpreter::Outcome::Finished;
    switch (options.action) {
    case Options::Action::Command: {
        const auto outcome = shell.runCommandLine(options.target);
        const bool ended = outcome == Finished || outcome == Interpreter::Outcome::Exited;
        return {ended ? shell.exitCode() : 1, PcEnd::Exited, false};
    }
    case Options::Action::BootFloppy:
        return bootFloppyRun(shell, console, options.target.at(0));
    case Options::Action::Prompt: {
        PcStart pc(shell, console);
        const PcEnd end = pc.prompt();
        return pcRun(end, pc.safeMode(), 0);
    }
    case Options::Action::Start: {
        PcStart pc(shell, console);
        const PcEnd end = pc.switchOn();
        return pcRun(end, pc.safeMode(), SwitchedOffCode);
    }
    case Options::Action::MsDosMode:
    case Options::Action::Window:
        break;
    }
    // The script runs in its own folder, where it finds the files it names without a folder.
    if (const int error = shell.setCurrentDirectory(platform::directoryPart(options.target)))
        shell.printLine(message::forError(error));
    if (options.action == Options::Action::MsDosMode) {
        const QString record = platform::msDosModeRecordPath(platform::autostartDirectory());
        const auto outcome = runRecorded(shell, options.target, record);
        return {outcome == Finished || outcome == Interpreter::Outcome::Exited ? 0 : 1, PcEnd::Exited, true};
    }
    const auto outcome = shell.runBatch(options.target);
    return {outcome == Finished || outcome == Interpreter::Outcome::Exited ? 0 : 1, PcEnd::Exited, false};
}

// Windows starts (again): the programs of the autostart folder start.
void runAutostart(bool headless)
{
    for (const platform::ShellLink &link : autostartLinks()) {
        if (headless)
            writeOut(QStringLiteral("AUTOSTART ") + link.targetPath + u'|' + link.workingDirectory, {});
        else if (const int error = platform::startProgram(link.targetPath, link.workingDirectory))
            std::fprintf(stderr, "velko-dos: cannot start %s (error %d)\n", qPrintable(link.targetPath),
                         error);
    }
}

bool isPcAction(Options::Action action)
{
    return action == Options::Action::BootFloppy || action == Options::Action::Prompt
           || action == Options::Action::Start;
}

// "A", "b" or "A:": a floppy drive's letter, upper case; empty for anything else.
QString floppyLetter(const QString &argument)
{
    const bool letter = (argument.size() == 1 || (argument.size() == 2 && argument.at(1) == u':'))
                        && argument.at(0).isLetter();
    return letter ? argument.left(1).toUpper() : QString();
}

}  // namespace

std::optional<Options> parseOptions(const QStringList &arguments, QString *error)
{
    Options options;
    bool haveAction = false;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString &argument = arguments.at(index);
        const bool hasValue = index + 1 < arguments.size();
        const auto value = [&] { return arguments.at(++index); };
        if (argument == u"--headless") {
            options.headless = true;
        } else if (argument == u"--machine" && hasValue) {
            options.machineFolder = value();
        } else if (argument == u"--keys" && hasValue) {
            options.keys = value();
        } else if (argument == u"--screen" && hasValue) {
            options.screenFile = value();
        } else if (argument == u"--directory" && hasValue) {
            options.directory = value();
        } else if (argument == u"--boot-floppy" && !haveAction) {
            options.action = Options::Action::BootFloppy;
            options.target = QStringLiteral("A");
            if (hasValue && !floppyLetter(arguments.at(index + 1)).isEmpty())
                options.target = floppyLetter(value());
            haveAction = true;
        } else if (argument == u"--prompt" && !haveAction) {
            options.action = Options::Action::Prompt;
            if (hasValue && !arguments.at(index + 1).startsWith(QStringLiteral("--")))
                options.target = value();
            haveAction = true;
        } else if (argument == u"--start" && !haveAction) {
            options.action = Options::Action::Start;
            haveAction = true;
        } else if ((argument == u"--msdos-mode" || argument == u"--window") && hasValue && !haveAction) {
            options.action = argument == u"--window" ? Options::Action::Window : Options::Action::MsDosMode;
            options.target = value();
            haveAction = true;
        } else if (argument.compare(u"/c", Qt::CaseInsensitive) == 0 && hasValue && !haveAction) {
            options.action = Options::Action::Command;
            options.target = arguments.mid(index + 1).join(u' ');
            haveAction = true;
            break;
        } else {
            *error = QStringLiteral("unexpected argument: %1").arg(argument);
            return std::nullopt;
        }
    }
    if (!haveAction) {
        *error = QStringLiteral(
            "no action given (--msdos-mode, --window, /c, --boot-floppy, --prompt or --start)");
        return std::nullopt;
    }
    return options;
}

int run(const Options &options)
{
    if (options.action == Options::Action::BootFloppy && !isFloppyDrive(options.target)) {
        std::fprintf(stderr, "velko-dos: the PC has no floppy drive %s:\n", qPrintable(options.target));
        return 2;
    }
    std::unique_ptr<Console> console;
    WindowConsole *window = nullptr;
    if (options.headless) {
        console = std::make_unique<HeadlessConsole>(options.keys);
    } else {
        const bool fullScreen = options.action == Options::Action::MsDosMode || isPcAction(options.action);
        auto shown = std::make_unique<WindowConsole>(windowTitle(options), fullScreen);
        window = shown.get();
        console = std::move(shown);
    }
    Interpreter shell(*console);
    // A PC switched on starts with every drive at its root, as a new process does.
    QString directory = options.action == Options::Action::Start ? QStringLiteral("C:") : options.directory;
    if (options.action == Options::Action::Prompt && !options.target.isEmpty())
        directory = options.target;
    if (!directory.isEmpty()) {
        if (const int error = shell.startIn(directory)) {
            std::fprintf(stderr, "velko-dos: cannot start in %s (error %d)\n", qPrintable(directory), error);
            return 2;
        }
    }
    const PcRun run = runAction(shell, *console, options);

    if (options.headless)
        writeOut(console->screen().transcript(), options.screenFile);
    else if (run.autostart)
        window->linger(LingerMilliseconds);
    else if (isPcAction(options.action) && run.end == PcEnd::Stopped)
        window->waitForSwitchOff();
    else if (options.action == Options::Action::Window)
        window->waitForClose(QStringLiteral("Beendet - ") + windowTitle(options));

    if (run.autostart)
        runAutostart(options.headless);
    return run.exitCode;
}

}  // namespace dos
