#include "dos/core/MsDosMode.h"

#include "platform/drives/Files.h"

#include <cstdio>

namespace dos {

namespace {

// The run goes on without its record; an earlier run's record must not stand for this one.
void leaveRecord(const QString &recordPath, const platform::MsDosModeRecord &record)
{
    const int error = platform::writeMsDosModeRecord(recordPath, record);
    if (error == platform::dos::Ok)
        return;
    std::fprintf(stderr, "velko-dos: cannot write %s (error %d)\n", qPrintable(recordPath), error);
    if (platform::fileExists(recordPath)) {
        if (const int removal = platform::deleteFile(recordPath))
            std::fprintf(stderr, "velko-dos: cannot delete %s (error %d)\n", qPrintable(recordPath), removal);
    }
}

}  // namespace

platform::BatchEnd batchEndOf(Interpreter::Outcome outcome, const platform::DosResult<QByteArray> &script)
{
    using platform::BatchEnd;
    switch (outcome) {
    case Interpreter::Outcome::NotFound:
        return BatchEnd::NotFound;
    case Interpreter::Outcome::Aborted:
    case Interpreter::Outcome::InputEnded:
    case Interpreter::Outcome::SwitchedOff:
        return BatchEnd::Aborted;
    // EXIT and WIN end the script where the user wrote them.
    case Interpreter::Outcome::Finished:
    case Interpreter::Outcome::Exited:
    case Interpreter::Outcome::WindowsRequested:
        break;
    }
    if (!script.ok())
        return BatchEnd::Completed;  // read by the interpreter all the same
    QByteArray bytes = script.value;
    // An end-of-file mark (Ctrl+Z) after the last line is no part of it.
    while (bytes.endsWith('\x1a'))
        bytes.chop(1);
    if (bytes.trimmed().isEmpty())
        return BatchEnd::Empty;
    // Every line of a whole batch file ends with its line end, the last one included.
    if (!bytes.endsWith('\n') && !bytes.endsWith('\r'))
        return BatchEnd::Truncated;
    return BatchEnd::Completed;
}

Interpreter::Outcome runRecorded(Interpreter &shell, const QString &batchFile, const QString &recordPath)
{
    leaveRecord(recordPath, {batchFile, platform::BatchEnd::Running});
    const auto script = platform::readFile(shell.absolutePath(batchFile));
    const Interpreter::Outcome outcome = shell.runBatch(batchFile);
    leaveRecord(recordPath, {batchFile, batchEndOf(outcome, script)});
    return outcome;
}

}  // namespace dos
