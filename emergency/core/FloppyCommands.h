#pragma once

#include <QChar>
#include <QString>

// What the emergency disk asks of the floppy drive and of MS-DOS's command interpreter.
namespace emergency {

// Creates an empty <floppy>:\check, closes and deletes it; the DOS error code of the first step
// that fails (19 write-protected, 21 no disk, 15 no such drive), 0 when the floppy takes files.
[[nodiscard]] int writeTest(QChar floppy);

// The commands, run hidden with the current directory "C:" and awaited; a command that cannot
// start is skipped without a word, and what the command achieves is not examined.
QString formatCommandLine(QChar floppy, const QString &answerFile);
QString systemTransferCommandLine(QChar floppy);

// Formats the floppy with the label "Notfall"; format reads its answers (Enter for the disk,
// "n" for no further disk) from an answer file in the temporary folder, which is deleted after.
// An answer file that cannot be written throws platform::IoError.
void formatFloppy(QChar floppy);
// Makes the floppy bootable.
void transferSystem(QChar floppy);

}  // namespace emergency
