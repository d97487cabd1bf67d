#include "dos/Session.h"

#include "dos/DosScreen.h"
#include "dos/core/Boot.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "dos/core/MsDosMode.h"
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
    if (options.action == Options::Action::BootFloppy)
        return QStringLiteral("MS-DOS");
    return QStringLiteral("MS-DOS-Eingabeaufforderung - ") + platform::fileNamePart(options.target).toUpper();
}

bool isFloppyDrive(const QString &letter)
{
    const platform::Drive *drive = platform::machine().drive(letter.at(0));
    return drive && drive->kind == platform::DriveKind::Floppy;
}

// The exit code of the action, see run().
int runAction(Interpreter &shell, const Options &options)
{
    constexpr auto Finished = Interpreter::Outcome::Finished;
    switch (options.action) {
    case Options::Action::Command:
        return shell.runCommandLine(options.target) == Finished ? shell.exitCode() : 1;
    case Options::Action::BootFloppy: {
        const auto outcome = bootFromFloppy(shell, options.target.at(0));
        return outcome == Finished ? 0 : 1;
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
        return runRecorded(shell, options.target, record) == Finished ? 0 : 1;
    }
    return shell.runBatch(options.target) == Finished ? 0 : 1;
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
        *error = QStringLiteral("no action given (--msdos-mode, --window, /c or --boot-floppy)");
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
        const bool fullScreen =
            options.action == Options::Action::MsDosMode || options.action == Options::Action::BootFloppy;
        auto shown = std::make_unique<WindowConsole>(windowTitle(options), fullScreen);
        window = shown.get();
        console = std::move(shown);
    }
    Interpreter shell(*console);
    if (!options.directory.isEmpty()) {
        if (const int error = shell.startIn(options.directory)) {
            std::fprintf(stderr, "velko-dos: cannot start in %s (error %d)\n", qPrintable(options.directory),
                         error);
            return 2;
        }
    }
    const int exitCode = runAction(shell, options);

    if (options.headless)
        writeOut(console->screen().transcript(), options.screenFile);
    else if (options.action == Options::Action::MsDosMode)
        window->linger(LingerMilliseconds);
    else if (options.action != Options::Action::Command)
        window->waitForClose(QStringLiteral("Beendet - ") + windowTitle(options));

    if (options.action == Options::Action::MsDosMode) {
        // Windows starts again: the programs of the autostart folder start.
        for (const platform::ShellLink &link : autostartLinks()) {
            if (options.headless)
                writeOut(QStringLiteral("AUTOSTART ") + link.targetPath + u'|' + link.workingDirectory, {});
            else if (const int error = platform::startProgram(link.targetPath, link.workingDirectory))
                std::fprintf(stderr, "velko-dos: cannot start %s (error %d)\n", qPrintable(link.targetPath),
                             error);
        }
    }
    return exitCode;
}

}  // namespace dos
