#include "platform/shell/Shell.h"

#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/shell/Pif.h"
#include "platform/shell/ProgramStart.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QProcess>

namespace platform {

namespace {

QString withSuffix(const QString &path, const QString &suffix)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return path.left(path.size() - name.size()) + (dot < 0 ? name : name.left(dot)) + suffix;
}

const QString DosCompanion = QStringLiteral("velko-dos");
const QString TextViewerCompanion = QStringLiteral("velko-editor");

// The Windows programs this PC runs as companions, by the name their stand-in carries.
QString builtInFor(const QString &standIn)
{
    static const QHash<QString, QString> builtIns = {
        {QStringLiteral("MSINFO32.EXE"), QStringLiteral("velko-msinfo")},
    };
    return builtIns.value(standIn);
}

// Starts a companion in the machine's folder, without waiting.
int startCompanion(const QString &name, const QStringList &arguments)
{
    const QString program = companionProgram(name);
    if (program.isEmpty())
        return dos::FileNotFound;
    return QProcess::startDetached(program, arguments, machine().folder()) ? dos::Ok : dos::GeneralFailure;
}

QStringList withMachine(const QStringList &arguments)
{
    return QStringList{QStringLiteral("--machine"), machine().folder()} + arguments;
}

OpenCommand failure(int error)
{
    OpenCommand command;
    command.error = error;
    return command;
}

OpenCommand companionCommand(const QString &name, const QStringList &arguments, bool endsWindows = false)
{
    OpenCommand command;
    command.companion = name;
    command.arguments = arguments;
    command.endsWindows = endsWindows;
    return command;
}

OpenCommand programCommand(const QString &program)
{
    const auto content = readFile(program);
    if (!content.ok())
        return failure(content.error);
    const QString standIn = standInName(content.value);
    if (standIn.isEmpty()) {
        OpenCommand command;
        command.installedProgram = program;
        return command;
    }
    const QString builtIn = builtInFor(standIn);
    // A stand-in without a built-in holds no code Windows could run.
    return builtIn.isEmpty() ? failure(dos::GeneralFailure) : companionCommand(builtIn, withMachine({}));
}

}  // namespace

QString companionProgram(const QString &name)
{
    QString variable = name.toUpper();
    variable.replace(u'-', u'_');
    const QString configured = qEnvironmentVariable(variable.toLatin1().constData());
    if (!configured.isEmpty())
        return configured;
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + name;
    return QFileInfo(beside).isExecutable() ? beside : QString();
}

QString dosProgram()
{
    return companionProgram(DosCompanion);
}

int startDos(const QStringList &arguments)
{
    return startCompanion(DosCompanion, withMachine(arguments));
}

BatchStart batchStartOf(const QString &batchFile)
{
    const auto pif = readFile(withSuffix(batchFile, QStringLiteral(".pif")));
    return pif.ok() && pifAsksForMsDosMode(pif.value) ? BatchStart::MsDosMode : BatchStart::DosWindow;
}

bool isAddress(const QString &target)
{
    // A scheme of two letters or more: "C:\…" is a path, "mailto:" and "https:" are not.
    const qsizetype colon = target.indexOf(u':');
    if (colon < 2)
        return false;
    for (const QChar c : target.first(colon)) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

OpenCommand openCommandFor(const QString &file)
{
    if (!fileExists(file))
        return failure(dos::FileNotFound);
    const auto path = canonicalPath(file);
    if (!path.ok())
        return failure(path.error);
    const QString extension = fileNamePart(path.value).section(u'.', -1).toLower();
    if (extension == QStringLiteral("bat")) {
        if (batchStartOf(path.value) == BatchStart::DosWindow)
            return companionCommand(DosCompanion, withMachine({QStringLiteral("--window"), path.value}));
        return companionCommand(DosCompanion, withMachine({QStringLiteral("--msdos-mode"), path.value}),
                                true);
    }
    if (extension == QStringLiteral("txt")) {
        const auto host = hostPathOf(path.value);
        return host.ok() ? companionCommand(TextViewerCompanion, {host.value}) : failure(host.error);
    }
    if (extension == QStringLiteral("exe") || extension == QStringLiteral("com"))
        return programCommand(path.value);
    return failure(dos::GeneralFailure);  // no program on this PC is associated with the type
}

int shellOpen(const QString &file)
{
    const OpenCommand command = openCommandFor(file);
    if (command.error != dos::Ok)
        return command.error;
    if (!command.installedProgram.isEmpty())
        return startProgram(command.installedProgram, {});
    if (const int error = startCompanion(command.companion, command.arguments))
        return error;
    if (command.endsWindows)
        QCoreApplication::quit();  // Windows shuts down: the program ends as on any exit, without saving
    return dos::Ok;
}

}  // namespace platform
