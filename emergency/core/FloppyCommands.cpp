#include "emergency/core/FloppyCommands.h"

#include "platform/drives/Files.h"
#include "platform/shell/CommandLine.h"

namespace emergency {

namespace {

const QString CommandDirectory = QStringLiteral("C:");

// Enter, Enter, "n", Enter, each line with CR LF.
const QByteArray FormatAnswers = "\r\n\r\nn\r\n\r\n";

void runCommand(const QString &commandLine)
{
    // A command that cannot start is skipped; the emergency disk goes on without it.
    (void)platform::runHiddenAndWait(commandLine, CommandDirectory);
}

}  // namespace

int writeTest(QChar floppy)
{
    const QString check = QString(floppy) + QStringLiteral(":\\check");
    if (const int error = platform::createEmptyFile(check))
        return error;
    return platform::deleteFile(check);
}

QString formatCommandLine(QChar floppy, const QString &answerFile)
{
    return QStringLiteral("command.com /c format ") + floppy + QStringLiteral(": /v:Notfall /Q < ")
           + answerFile;
}

QString systemTransferCommandLine(QChar floppy)
{
    return QStringLiteral("command.com /c sys ") + floppy + u':';
}

void formatFloppy(QChar floppy)
{
    const auto answerFile = platform::createTempFile(platform::tempDirectory(), QStringLiteral("TMP"));
    platform::throwOnError(answerFile.error, platform::tempDirectory());
    if (const int error = platform::writeFile(answerFile.value, FormatAnswers)) {
        (void)platform::deleteFile(answerFile.value);  // the write's error is the one to report
        throw platform::IoError(error, answerFile.value);
    }
    runCommand(formatCommandLine(floppy, answerFile.value));
    // A temporary file that stays behind harms nothing; the disk is made either way.
    (void)platform::deleteFile(answerFile.value);
}

void transferSystem(QChar floppy)
{
    runCommand(systemTransferCommandLine(floppy));
}

}  // namespace emergency
