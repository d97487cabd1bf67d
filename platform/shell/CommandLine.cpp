#include "platform/shell/CommandLine.h"

#include "platform/drives/Files.h"
#include "platform/host/detail/ChildProcess.h"
#include "platform/machine/Machine.h"
#include "platform/shell/Shell.h"

#include <QCoreApplication>

#include <chrono>

namespace platform {

namespace {

const QByteArray CommandInterpreterMark = "COMMAND.COM - stand-in for ";

// FORMAT and SYS on a floppy take seconds; a run still going after this hangs.
constexpr std::chrono::minutes HiddenCommandTimeLimit{10};

// The first word, up to a blank (or inside quotes), and what follows it.
struct SplitCommandLine {
    QString program;
    QString rest;
};

SplitCommandLine split(const QString &commandLine)
{
    const QString line = commandLine.trimmed();
    if (line.startsWith(u'"')) {
        const qsizetype close = line.indexOf(u'"', 1);
        if (close < 0)
            return {line.mid(1), {}};
        return {line.mid(1, close - 1), line.mid(close + 1).trimmed()};
    }
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        return {line, {}};
    return {line.left(blank), line.mid(blank + 1).trimmed()};
}

QStringList searchFolders()
{
    QStringList folders;
    const QString programFolder = machine().windowsPathOf(QCoreApplication::applicationDirPath());
    if (!programFolder.isEmpty())
        folders << programFolder;
    const QString windows = windowsDirectory();
    folders << currentDirectory() << windows + QStringLiteral("\\SYSTEM") << windows;
    return folders;
}

bool isCommandInterpreter(const QString &program)
{
    const auto content = readFile(program);
    return content.ok() && content.value.startsWith(CommandInterpreterMark);
}

}  // namespace

QString findProgramOfCommandLine(const QString &commandLine)
{
    QString name = split(commandLine).program;
    if (name.isEmpty())
        return {};
    if (!fileNamePart(name).contains(u'.'))
        name += QStringLiteral(".exe");
    if (name.contains(u'\\') || name.contains(u':'))
        return fileExists(name) ? name : QString();
    for (const QString &folder : searchFolders()) {
        const QString candidate = windowsPathIn(folder, name);
        if (fileExists(candidate))
            return candidate;
    }
    return {};
}

int runHiddenAndWait(const QString &commandLine, const QString &currentDirectory)
{
    const QString program = findProgramOfCommandLine(commandLine);
    if (program.isEmpty())
        return dos::FileNotFound;
    if (!directoryExists(currentDirectory))
        return dos::PathNotFound;
    // Only the command interpreter runs on this PC, and only for a single command line: hidden,
    // it would wait for input that never comes.
    const QString rest = split(commandLine).rest;
    const bool singleCommand = rest.startsWith(QStringLiteral("/c "), Qt::CaseInsensitive);
    const QString dos = dosProgram();
    if (!isCommandInterpreter(program) || !singleCommand || dos.isEmpty())
        return dos::GeneralFailure;

    detail::ChildCommand child;
    child.program = dos;
    child.arguments = {QStringLiteral("--machine"),   machine().folder(), QStringLiteral("--headless"),
                       QStringLiteral("--directory"), currentDirectory,   QStringLiteral("/c"),
                       rest.mid(3).trimmed()};
    child.workingDirectory = machine().folder();
    child.timeLimit = HiddenCommandTimeLimit;
    child.keepOutput = false;
    switch (detail::runChild(child).outcome) {
    case detail::ChildRun::Outcome::Finished:
    case detail::ChildRun::Outcome::Crashed:
        return dos::Ok;
    case detail::ChildRun::Outcome::TimedOut:
        return dos::TimedOut;
    case detail::ChildRun::Outcome::NotStarted:
        break;
    }
    return dos::GeneralFailure;
}

}  // namespace platform
