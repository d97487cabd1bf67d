#include "platform/ProgramStart.h"

#include "platform/Files.h"
#include "platform/HostFiles.h"

#include <QProcess>

namespace platform {

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

}  // namespace platform
