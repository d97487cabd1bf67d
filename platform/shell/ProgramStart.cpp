#include "platform/shell/ProgramStart.h"

#include "platform/drives/Files.h"
#include "platform/host/detail/HostFiles.h"

#include <QProcess>

namespace platform {

namespace {

const QByteArray StandInMark = " - stand-in for ";

}  // namespace

int startProgram(const QString &program, const QString &workingDirectory)
{
    if (!fileExists(program))
        return dos::FileNotFound;
    const QString directory = workingDirectory.isEmpty() ? directoryPart(program) : workingDirectory;
    if (!directoryExists(directory))
        return dos::PathNotFound;
    const auto hostProgram = hostPathOf(program);
    const auto hostDirectory = hostPathOf(directory);
    if (!hostProgram.ok() || !hostDirectory.ok())
        return hostProgram.ok() ? hostDirectory.error : hostProgram.error;
    return QProcess::startDetached(hostProgram.value, {}, hostDirectory.value) ? dos::Ok
                                                                               : dos::GeneralFailure;
}

QString standInName(const QByteArray &content)
{
    const qsizetype lineEnd = content.indexOf('\n');
    const QByteArray firstLine = content.left(lineEnd < 0 ? content.size() : lineEnd);
    const qsizetype mark = firstLine.indexOf(StandInMark);
    if (mark <= 0)
        return {};
    const QByteArray name = firstLine.left(mark);
    if (name.contains(' '))
        return {};
    return QString::fromLatin1(name).toUpper();
}

}  // namespace platform
