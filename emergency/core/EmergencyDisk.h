#pragma once

#include "platform/text/DosError.h"

#include <QChar>
#include <QString>

#include <functional>

// The whole emergency disk, as the emergency-disk dialog makes it: the write test, formatting,
// the system transfer, the boot script, the Notfall copies and the check of the finished disk.
namespace emergency {

struct DiskOutcome {
    // The write test's refusal (WriteProtected, NotReady or InvalidDrive): nothing was done.
    int refusal = platform::dos::Ok;
    // The refusal, what the finished disk lacks, or that it was made.
    QString message;
    bool warning = false;  // a refusal or a disk that lacks something; else the disk is made
    bool refused() const { return refusal != platform::dos::Ok; }
};

// Makes the emergency disk in the floppy drive for the system on bootDrive, with the Notfall
// folder in programDirectory. `progress` hears where the progress bar stands after each step
// (5 to 100). File errors of the steps throw platform::IoError and end the run there.
DiskOutcome makeDisk(QChar floppy, QChar bootDrive, const QString &programDirectory,
                     const std::function<void(int position)> &progress);

}  // namespace emergency
