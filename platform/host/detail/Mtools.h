#pragma once

#include "platform/host/detail/HostFiles.h"

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Inside the platform layer only: the mtools commands that read and write FAT images.
namespace platform::detail {

struct MtoolsRun {
    int error = 0;  // a DOS code: Ok when the command ran and succeeded
    QByteArray output;
};

// Runs one mtools command (mcopy, mattrib, ...) on the FAT volume at `offset` in `image`, which is
// opened for this run (see ImageFile.h) and passed as -i /dev/fd/N (with @@offset for a
// partition of a hard-disk image) before `arguments`; `passed` are further open
// descriptors the arguments name by /dev/fd/N. The environment is fixed (no user
// configuration, code page 850 on the image, UTF-8 names on the command line), so that the
// same image gives the same names everywhere. A failure comes back as the closest DOS code: 21
// when the image is gone, 101 for a full disk, 2 for a missing file, 121 when the command did
// not end within a minute, 31 for anything else. A command runs to its end even when the program
// dies meanwhile (within the minute), so that a killed program leaves the volume sound.
[[nodiscard]] MtoolsRun runMtools(const QString &command, const QString &image, qint64 offset,
                                  const QStringList &arguments, const QList<int> &passed = {});
// The same on an image opened already.
[[nodiscard]] MtoolsRun runMtools(const QString &command, const HostFd &image, qint64 offset,
                                  const QStringList &arguments, const QList<int> &passed = {});

// The fixed environment every mtools command runs in: no user configuration, long names on,
// code page 850 on the image and UTF-8 names on the command line.
QProcessEnvironment mtoolsEnvironment();

// "::/A/B" for the names below the image's root.
QString pathInImage(const QStringList &names);

}  // namespace platform::detail
