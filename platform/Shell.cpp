#include "platform/Shell.h"

#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Machine.h"
#include "platform/Pif.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {

QString withSuffix(const QString &path, const QString &suffix)
{
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return path.left(path.size() - name.size()) + (dot < 0 ? name : name.left(dot)) + suffix;
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
    return companionProgram(QStringLiteral("velko-dos"));
}

int startDos(const QStringList &arguments)
{
    const QString program = dosProgram();
    if (program.isEmpty())
        return dos::FileNotFound;
    QStringList all{QStringLiteral("--machine"), machine().folder()};
    all += arguments;
    return QProcess::startDetached(program, all, machine().folder()) ? dos::Ok : dos::FileNotFound;
}

BatchStart batchStartOf(const QString &batchFile)
{
    const auto pif = readFile(withSuffix(batchFile, QStringLiteral(".pif")));
    return pif.ok() && pifAsksForMsDosMode(pif.value) ? BatchStart::MsDosMode : BatchStart::DosWindow;
}

int shellOpen(const QString &file)
{
    if (!fileExists(file))
        return dos::FileNotFound;
    const QString extension = fileNamePart(file).section(u'.', -1).toLower();
    if (extension != QStringLiteral("bat"))
        return dos::AccessDenied;  // no other document type has a program on this PC yet
    const auto path = canonicalPath(file);
    if (!path.ok())
        return path.error;
    if (batchStartOf(path.value) == BatchStart::DosWindow)
        return startDos({QStringLiteral("--window"), path.value});
    if (const int error = startDos({QStringLiteral("--msdos-mode"), path.value}))
        return error;
    // Windows shuts down: the program ends as on any exit, without saving anything.
    QCoreApplication::quit();
    return dos::Ok;
}

}  // namespace platform
