#include "dos/core/Interpreter.h"

#include "dos/core/Commands.h"
#include "dos/core/Messages.h"
#include "platform/drives/Files.h"
#include "platform/shell/ProgramStart.h"
#include "platform/text/OemText.h"

#include <algorithm>
#include <utility>

namespace dos {

namespace {

const QStringList ProgramExtensions = {
    QStringLiteral(".COM"),
    QStringLiteral(".EXE"),
    QStringLiteral(".BAT"),
};
constexpr char EndOfFile = 0x1A;
// COMMAND.COM keeps each called batch file in its memory; this many fill it.
constexpr int MaxCallDepth = 64;

bool isDriveName(const QString &text)
{
    return text.size() == 2 && text.at(0).isLetter() && text.at(1) == u':';
}

QString joined(const QString &directory, const QString &name)
{
    if (directory.endsWith(u'\\'))
        return directory + name;
    return directory + u'\\' + name;
}

// Takes the first blank-separated word off text.
QString takeWord(QString &text)
{
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    const QString word = text.left(end);
    text = text.mid(end).trimmed();
    return word;
}

// A text file as MS-DOS reads it: code page 850, ending at the first Ctrl+Z.
QString dosText(QByteArray bytes)
{
    const qsizetype end = bytes.indexOf(EndOfFile);
    if (end >= 0)
        bytes.truncate(end);
    return platform::fromOem(bytes);
}

QStringList batchLines(const QByteArray &bytes)
{
    QStringList lines = dosText(bytes).split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

}  // namespace

// An internal command: the names it answers to and what runs it.
struct Interpreter::InternalCommand {
    QStringList names;  // lower case
    void (*run)(Interpreter &shell, const CommandLine &line);
};

const QList<Interpreter::InternalCommand> &Interpreter::internalCommands()
{
    static const QList<InternalCommand> commands = {
        {{QStringLiteral("echo")},
         [](Interpreter &shell, const CommandLine &line) { shell.echo(line.rest); }},
        {{QStringLiteral("rem")}, [](Interpreter &, const CommandLine &) {}},
        {{QStringLiteral("cls")},
         [](Interpreter &shell, const CommandLine &) { shell.m_console.screen().clear(); }},
        {{QStringLiteral("pause")}, [](Interpreter &shell, const CommandLine &) { shell.pause(); }},
        {{QStringLiteral("path")},
         [](Interpreter &shell, const CommandLine &line) { shell.path(line.rest); }},
        {{QStringLiteral("set")}, [](Interpreter &shell, const CommandLine &line) { shell.set(line.rest); }},
        {{QStringLiteral("if")},
         [](Interpreter &shell, const CommandLine &line) { shell.ifCommand(line.rest); }},
        {{QStringLiteral("call")}, [](Interpreter &shell, const CommandLine &line) { shell.call(line); }},
        {{QStringLiteral("exit")},
         [](Interpreter &shell, const CommandLine &) { shell.m_stop = Stop::Exit; }},
        {{QStringLiteral("cd"), QStringLiteral("chdir")},
         [](Interpreter &shell, const CommandLine &line) { shell.changeDirectory(line); }},
        {{QStringLiteral("md"), QStringLiteral("mkdir")},
         [](Interpreter &shell, const CommandLine &line) {
             makeDirectoryCommand(shell, line.argumentTexts());
         }},
        {{QStringLiteral("rd"), QStringLiteral("rmdir")},
         [](Interpreter &shell, const CommandLine &line) {
             removeDirectoryCommand(shell, line.argumentTexts());
         }},
        {{QStringLiteral("dir")},
         [](Interpreter &shell, const CommandLine &line) { dirCommand(shell, line.argumentTexts()); }},
        {{QStringLiteral("ren"), QStringLiteral("rename")},
         [](Interpreter &shell, const CommandLine &line) { renameCommand(shell, line.argumentTexts()); }},
        {{QStringLiteral("ver")}, [](Interpreter &shell, const CommandLine &) { versionCommand(shell); }},
        {{QStringLiteral("vol")},
         [](Interpreter &shell, const CommandLine &line) { volumeCommand(shell, line.argumentTexts()); }},
        {{QStringLiteral("help")}, [](Interpreter &shell, const CommandLine &) { helpCommand(shell); }},
        {{QStringLiteral("copy")},
         [](Interpreter &shell, const CommandLine &line) { copyCommand(shell, line.argumentTexts()); }},
        {{QStringLiteral("del"), QStringLiteral("erase")},
         [](Interpreter &shell, const CommandLine &line) { deleteCommand(shell, line.argumentTexts()); }},
        {{QStringLiteral("type")},
         [](Interpreter &shell, const CommandLine &line) { typeCommand(shell, line.argumentTexts()); }},
    };
    return commands;
}

const QStringList &Interpreter::internalNames()
{
    static const QStringList names = [] {
        QStringList all;
        for (const InternalCommand &command : internalCommands())
            all.append(command.names);
        return all;
    }();
    return names;
}

const Interpreter::InternalCommand *Interpreter::internalCommand(const QString &name)
{
    const QString lower = name.toLower();
    for (const InternalCommand &command : internalCommands()) {
        if (command.names.contains(lower))
            return &command;
    }
    return nullptr;
}

// The search path starts as Windows 98's IO.SYS sets it when nothing else does.
Interpreter::Interpreter(Console &console)
    : m_console(console)
{
    const auto windows = platform::shortPathName(platform::windowsDirectory());
    if (windows.ok())
        setVariable(QStringLiteral("PATH"),
                    windows.value.toUpper() + u';' + windows.value.toUpper() + QStringLiteral("\\COMMAND"));
}

Interpreter::Outcome Interpreter::runBatch(const QString &path)
{
    m_stop = Stop::None;
    // ECHO OFF in a batch file holds until it ends; the prompt shows again afterwards.
    const bool echo = m_echo;
    const bool found = runBatchFile(path);
    m_echo = echo;
    return found ? outcome() : Outcome::NotFound;
}

bool Interpreter::runBatchFile(const QString &path)
{
    ++m_batchDepth;
    const bool found = runBatchLines(path);
    --m_batchDepth;
    return found;
}

bool Interpreter::runBatchLines(const QString &path)
{
    QString batch = path;
    for (;;) {
        const auto bytes = platform::readFile(absolutePath(batch));
        if (!bytes.ok()) {
            printLine(message::BadCommand);
            return false;
        }
        for (const QString &line : batchLines(bytes.value)) {
            runLine(line);
            m_console.lineDone();
            // A batch file about to start in this one's place is still this run: a one-line file
            // that starts itself must stop too.
            const bool running = m_stop == Stop::None || m_stop == Stop::Chained;
            if (running && m_console.isClosed())
                m_stop = Stop::InputEnded;
            else if (running && m_interactive && m_console.takeTypedAhead(Key::CtrlC)) {
                printLine(QStringLiteral("^C"));
                askToTerminate();
            }
            if (m_stop != Stop::None)
                break;
        }
        if (m_stop != Stop::Chained)
            return true;
        // A batch file started from a batch file takes its place, as without CALL.
        batch = m_chainedBatch;
        m_stop = Stop::None;
    }
}

Interpreter::Outcome Interpreter::outcome() const
{
    switch (m_stop) {
    case Stop::Aborted:
        return Outcome::Aborted;
    case Stop::InputEnded:
        return Outcome::InputEnded;
    case Stop::Exit:
        return Outcome::Exited;
    case Stop::Windows:
        return Outcome::WindowsRequested;
    case Stop::SwitchOff:
        return Outcome::SwitchedOff;
    case Stop::None:
    case Stop::Chained:
        break;
    }
    return Outcome::Finished;
}

// CALL runs a batch file and comes back; anything else runs as without CALL.
void Interpreter::call(const CommandLine &line)
{
    const CommandLine called = parseCommandLine(line.rest, internalNames(), m_quotes);
    if (called.name.isEmpty())
        return;
    const auto found = leavesItsDrive(called) ? std::nullopt : findProgram(called.name);
    if (!found || !found->endsWith(QStringLiteral(".BAT"), Qt::CaseInsensitive)) {
        execute(line.rest);
        return;
    }
    if (m_callDepth == MaxCallDepth) {
        printLine(message::OutOfMemory);
        m_stop = Stop::Aborted;
        return;
    }
    ++m_callDepth;
    runBatchFile(*found);
    --m_callDepth;
}

Interpreter::Outcome Interpreter::runCommandLine(const QString &line)
{
    m_stop = Stop::None;
    QString command = line.trimmed();
    if (command.startsWith(u'@'))
        command = command.mid(1);
    execute(command);
    if (m_stop == Stop::Chained)
        return runBatch(m_chainedBatch);
    return outcome();
}

void Interpreter::setInteractive()
{
    m_interactive = true;
    m_quotes = Quotes::Grouped;
}

QString Interpreter::variable(const QString &name) const
{
    const QString upper = name.toUpper();
    for (const auto &entry : m_environment) {
        if (entry.first == upper)
            return entry.second;
    }
    return {};
}

void Interpreter::setVariable(const QString &name, const QString &value)
{
    const QString upper = name.toUpper();
    const auto found = std::find_if(m_environment.begin(), m_environment.end(),
                                    [&](const auto &entry) { return entry.first == upper; });
    if (value.isEmpty()) {
        if (found != m_environment.end())
            m_environment.erase(found);
    } else if (found != m_environment.end()) {
        found->second = value;
    } else {
        m_environment.append({upper, value});
    }
}

int Interpreter::startIn(const QString &directory)
{
    platform::resetDriveDirectories();
    return setCurrentDirectory(directory);
}

int Interpreter::setCurrentDirectory(const QString &directory)
{
    const QString absolute = absolutePath(directory);
    if (!platform::directoryExists(absolute))
        return platform::dos::PathNotFound;
    return platform::setCurrentDirectory(absolute);
}

QString Interpreter::currentDirectory() const
{
    return directoryOf(currentDrive());
}

QChar Interpreter::currentDrive()
{
    return platform::currentDirectory().at(0);
}

void Interpreter::print(const QString &text)
{
    m_console.screen().write(text);
}

void Interpreter::printLine(const QString &text)
{
    m_console.screen().writeLine(text);
}

std::optional<Key> Interpreter::readKey()
{
    if (m_redirectedKeys) {
        if (m_redirectedKeys->isEmpty())
            return std::nullopt;
        return m_redirectedKeys->takeFirst();
    }
    auto key = m_console.readKey();
    if (!key) {
        m_stop = Stop::InputEnded;
        return key;
    }
    // The PC is switched off whatever waited for the key.
    if (key->kind == Key::CtrlAltDel) {
        m_stop = Stop::SwitchOff;
        return std::nullopt;
    }
    return key;
}

std::optional<QString> Interpreter::readLine()
{
    QString line;
    for (;;) {
        const auto key = readKey();
        if (!key) {
            printLine();
            return std::nullopt;
        }
        switch (key->kind) {
        case Key::Enter:
            printLine();
            return line;
        case Key::CtrlC:
            printLine(QStringLiteral("^C"));
            return std::nullopt;
        case Key::Character:
            line += key->character;
            print(key->character);
            break;
        case Key::Backspace:
            if (!line.isEmpty()) {
                line.chop(1);
                print(QStringLiteral("\b \b"));
            }
            break;
        default:
            break;
        }
    }
}

QString Interpreter::absolutePath(const QString &argument) const
{
    QChar drive = currentDrive();
    QString rest = argument;
    if (argument.size() >= 2 && argument.at(1) == u':' && argument.at(0).isLetter()) {
        drive = argument.at(0).toUpper();
        rest = argument.mid(2);
    }
    if (rest.startsWith(u'\\'))
        return QString(drive) + u':' + rest;
    QString base = directoryOf(drive);
    if (base.isEmpty())
        base = QString(drive) + QStringLiteral(":\\");
    return rest.isEmpty() ? base : joined(base, rest);
}

QString Interpreter::directoryOf(QChar drive) const
{
    const auto directory = platform::driveCurrentDirectory(drive);
    if (!directory.ok())
        return {};
    // MS-DOS knows it by its 8.3 name; one gone since (or on a disk taken out) by its name on disk.
    const auto shortPath = platform::shortPathName(directory.value);
    return shortPath.ok() ? shortPath.value : directory.value;
}

void Interpreter::runLine(QString line)
{
    line = line.trimmed();
    bool silent = false;
    if (line.startsWith(u'@')) {
        silent = true;
        line = line.mid(1).trimmed();
    }
    if (line.isEmpty() || line.startsWith(u':'))
        return;
    if (m_echo && !silent) {
        printLine();
        printLine(prompt() + line);
    }
    execute(line);
}

void Interpreter::execute(const QString &commandLine)
{
    // Without long names in MS-DOS mode, a quote is an ordinary character.
    const CommandLine line = parseCommandLine(commandLine, internalNames(), m_quotes);
    if (!line.valid) {
        printLine(message::SyntaxError);
        return;
    }
    if (leavesItsDrive(line)) {
        const QString lower = line.name.toLower();
        const bool cd = lower == u"cd" || lower == u"chdir";
        printLine(cd ? message::InvalidDirectory : message::PathNotFound);
        return;
    }
    if (line.inputFile.isEmpty()) {
        run(line);
        return;
    }
    const auto input = platform::readFile(absolutePath(line.inputFile));
    if (!input.ok()) {
        printLine(message::forError(input.error));
        return;
    }
    // The command's key input comes from the file while it runs.
    const auto keyboard = std::exchange(m_redirectedKeys, keysOfText(dosText(input.value)));
    run(line);
    m_redirectedKeys = keyboard;
}

void Interpreter::run(const CommandLine &line)
{
    if (line.name.isEmpty())
        return;
    if (isDriveName(line.name) && line.rest.trimmed().isEmpty()) {
        changeDrive(line.name.at(0).toUpper());
        return;
    }
    if (const InternalCommand *internal = internalCommand(line.name))
        internal->run(*this, line);
    else
        runExternal(line);
}

void Interpreter::runExternal(const CommandLine &line)
{
    const auto found = findProgram(line.name);
    if (!found) {
        printLine(message::BadCommand);
        return;
    }
    if (found->endsWith(QStringLiteral(".BAT"), Qt::CaseInsensitive)) {
        m_chainedBatch = *found;
        m_stop = Stop::Chained;
        return;
    }
    const auto content = platform::readFile(*found);
    if (!content.ok()) {
        printLine(message::forError(content.error));
        return;
    }
    const Program program = programFor(platform::standInName(content.value));
    if (!program) {
        printLine(message::CannotRun);
        return;
    }
    m_exitCode = program(*this, line.argumentTexts());
}

// As COMMAND.COM searches: the current directory, then each folder of the search path; without
// an extension .COM, .EXE and .BAT in that order.
std::optional<QString> Interpreter::findProgram(const QString &name) const
{
    if (name.contains(u'*') || name.contains(u'?'))
        return std::nullopt;
    QString base = name;
    QStringList directories;
    if (name.contains(u'\\') || name.contains(u':')) {
        const QString absolute = absolutePath(name);
        base = platform::fileNamePart(absolute);
        directories.append(platform::directoryPart(absolute));
    } else {
        directories.append(currentDirectory());
        for (const QString &entry : variable(QStringLiteral("PATH")).split(u';', Qt::SkipEmptyParts))
            directories.append(absolutePath(entry.trimmed()));
    }
    QStringList extensions = ProgramExtensions;
    const qsizetype dot = base.lastIndexOf(u'.');
    if (dot >= 0) {
        if (!ProgramExtensions.contains(base.mid(dot), Qt::CaseInsensitive))
            return std::nullopt;
        extensions = {QString()};
    }
    for (const QString &directory : directories) {
        for (const QString &extension : extensions) {
            const QString candidate = joined(directory, base + extension);
            if (platform::fileExists(candidate))
                return candidate;
        }
    }
    return std::nullopt;
}

QString Interpreter::prompt() const
{
    return currentDirectory() + u'>';
}

// "echo" alone tells the state; "echo." and its kin write an empty line or the text after the dot.
void Interpreter::echo(const QString &rest)
{
    if (rest.isEmpty()) {
        printLine(m_echo ? message::EchoIsOn : message::EchoIsOff);
        return;
    }
    const QString text = rest.mid(1);
    if (!rest.at(0).isSpace()) {
        printLine(text);
        return;
    }
    const QString word = text.trimmed().toLower();
    if (word.isEmpty())
        printLine(m_echo ? message::EchoIsOn : message::EchoIsOff);
    else if (word == u"off")
        m_echo = false;
    else if (word == u"on")
        m_echo = true;
    else
        printLine(text);
}

bool Interpreter::pause()
{
    print(message::PressAnyKey);
    const auto key = readKey();
    if (!key) {
        printLine();
        return false;
    }
    if (key->kind == Key::CtrlC) {
        printLine(QStringLiteral("^C"));
        // Typed at the prompt, Ctrl+C ends the command; in a batch file it asks first.
        if (m_batchDepth > 0)
            askToTerminate();
        else
            m_stop = Stop::Aborted;
        return m_stop == Stop::None;
    }
    printLine();
    return true;
}

void Interpreter::askToTerminate()
{
    print(message::TerminateBatch);
    for (;;) {
        const auto key = readKey();
        if (!key) {
            printLine();
            return;
        }
        const QChar answer = key->character.toUpper();
        if (key->kind == Key::Character && (answer == u'J' || answer == u'N')) {
            printLine(answer);
            if (answer == u'J')
                m_stop = Stop::Aborted;
            return;
        }
    }
}

void Interpreter::path(const QString &rest)
{
    QString text = rest.trimmed();
    if (text.startsWith(u'='))
        text = text.mid(1).trimmed();
    const QString current = variable(QStringLiteral("PATH"));
    if (text.isEmpty())
        printLine(current.isEmpty() ? message::NoPath : QStringLiteral("PATH=") + current);
    else if (text == u";")
        setVariable(QStringLiteral("PATH"), {});
    else
        setVariable(QStringLiteral("PATH"), text.toUpper());
}

// "set" lists the environment, "set NAME=" removes a variable, "set NAME=VALUE" sets it.
void Interpreter::set(const QString &rest)
{
    const QString text = rest.trimmed();
    if (text.isEmpty()) {
        for (const auto &entry : m_environment)
            printLine(entry.first + u'=' + entry.second);
        return;
    }
    const qsizetype equals = text.indexOf(u'=');
    if (equals <= 0) {
        printLine(message::SyntaxError);
        return;
    }
    const QString name = text.left(equals).trimmed();
    const QString value = text.mid(equals + 1);
    setVariable(name, name.compare(u"PATH", Qt::CaseInsensitive) == 0 ? value.toUpper() : value);
}

void Interpreter::changeDirectory(const CommandLine &line)
{
    // "cd.." and "cd \" come glued or as one word; a long name may come in quotes.
    QString argument = line.rest.trimmed();
    if (m_quotes == Quotes::Grouped && argument.contains(u'"')) {
        if (line.arguments.size() != 1) {
            printLine(message::TooManyParameters);
            return;
        }
        argument = line.arguments.first().text;
    }
    if (argument.isEmpty()) {
        printLine(currentDirectory());
        return;
    }
    const QChar drive = isDriveName(argument.left(2)) ? argument.at(0).toUpper() : currentDrive();
    if (directoryOf(drive).isEmpty()) {
        printLine(message::InvalidDrive);
        return;
    }
    if (isDriveName(argument)) {
        printLine(directoryOf(drive));
        return;
    }
    const QString absolute = absolutePath(argument);
    const auto shortPath = platform::shortPathName(absolute);
    if (shortPath.error == platform::dos::NotReady) {
        printLine(message::NotReady);
        return;
    }
    if (!shortPath.ok() || !platform::directoryExists(absolute)) {
        printLine(message::InvalidDirectory);
        return;
    }
    if (const int error = platform::setDriveCurrentDirectory(absolute))
        printLine(message::forError(error));
}

void Interpreter::changeDrive(QChar drive)
{
    const auto directory = platform::driveCurrentDirectory(drive);
    if (!directory.ok()) {
        printLine(message::InvalidDrive);
        return;
    }
    const QString root = QString(drive) + QStringLiteral(":\\");
    if (!platform::directoryExists(root)) {
        printLine(message::NotReady);
        return;
    }
    // A directory removed since leaves the drive at its root.
    if (platform::setCurrentDirectory(directory.value) == platform::dos::Ok)
        return;
    if (const int error = platform::setCurrentDirectory(root))
        printLine(message::forError(error));
}

// Names with ".." above a drive's root: Windows would stop at the root, MS-DOS refuses them.
bool Interpreter::climbsAboveRoot(const QString &argument) const
{
    if (!argument.contains(QStringLiteral("..")))
        return false;
    const QString absolute = absolutePath(argument);
    int depth = 0;
    for (const QString &name : absolute.mid(2).split(u'\\', Qt::SkipEmptyParts)) {
        if (name == u"..")
            --depth;
        else if (name != u".")
            ++depth;
        if (depth < 0)
            return true;
    }
    return false;
}

bool Interpreter::leavesItsDrive(const CommandLine &line) const
{
    if (climbsAboveRoot(line.name) || (!line.inputFile.isEmpty() && climbsAboveRoot(line.inputFile)))
        return true;
    const QString lower = line.name.toLower();
    if (lower == u"echo" || lower == u"rem" || lower == u"set" || lower == u"path" || lower == u"if"
        || lower == u"call")
        return false;  // text, or a command line of its own that is checked when it runs
    if (lower == u"cd" || lower == u"chdir") {
        const QString rest = line.rest.trimmed();
        if (climbsAboveRoot(rest))
            return true;
    }
    return std::any_of(line.arguments.begin(), line.arguments.end(), [this](const Token &argument) {
        return argument.kind == Token::Word && climbsAboveRoot(argument.text);
    });
}

void Interpreter::ifCommand(const QString &rest)
{
    QString text = rest;
    QString word = takeWord(text);
    const bool negated = word.compare(u"not", Qt::CaseInsensitive) == 0;
    if (negated)
        word = takeWord(text);
    const QString name = takeWord(text);
    if (word.compare(u"exist", Qt::CaseInsensitive) != 0 || name.isEmpty() || text.isEmpty()) {
        printLine(message::SyntaxError);
        return;
    }
    if (platform::fileExists(absolutePath(name)) != negated)
        execute(text);
}

}  // namespace dos
