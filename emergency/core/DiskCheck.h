#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// Whether the disk a run has made can do its work: start the PC and be known as the emergency
// disk. FORMAT and SYS report nothing back, so the disk itself is looked at.
namespace emergency {

struct DiskShortfall {
    QStringList missingFiles;  // of IO.SYS, MSDOS.SYS and COMMAND.COM, in that order
    bool labelMissing = false;  // the label is not "Notfall" (or cannot be read)
    bool isEmpty() const { return missingFiles.isEmpty() && !labelMissing; }
};

// What the disk in the floppy drive lacks; a disk that cannot be read lacks everything.
DiskShortfall checkEmergencyDisk(QChar floppy);

// The warning shown in place of the success message: what is missing and, when a system file
// is, that the disk cannot start the PC. Empty when nothing is missing.
QString shortfallWarning(QChar floppy, const DiskShortfall &shortfall);

}  // namespace emergency
