#pragma once

#include "platform/text/DosError.h"

#include <QChar>
#include <QString>

// Floppy drives as a whole: formatting and the volume label. The files on a floppy go through
// the file services of Files.h like those of any other drive.
namespace platform {

// Quick format: an empty 1.44 MB FAT12 file system with `label` (upper-cased, at most 11
// characters, stored exactly; empty: no label); every earlier file is gone. Also formats a
// blank or damaged image. 15 for a letter the PC lacks or a drive that is no floppy, 21
// without a disk, 19 when write-protected, 87 for a label MS-DOS refuses (only printable
// ASCII without * ? / \ | . , ; : + = [ ] ( ) & ^ < > ").
[[nodiscard]] int formatFloppy(QChar letter, const QString &label);

// The floppy's volume label as stored, without trailing blanks; empty when it has none.
[[nodiscard]] DosResult<QString> volumeLabel(QChar letter);

}  // namespace platform
