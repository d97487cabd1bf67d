#pragma once

#include <QString>
#include <QStringList>

// Hard-disk images as emulators keep them, made by tools/disk-image-from-folder: an MBR and one
// FAT partition from sector 2048, labelled WIN98.
enum class DiskFormat { Fat16, Fat32 };

inline constexpr qint64 PartitionOffset = 2048 * 512;

// FOLDER's files (with the attributes of its .dosattr files) in the new image: FAT32 of 64 MiB or
// FAT16 of 32 MiB. Aborts the test run when the tool fails.
void makeDiskImage(const QString &folder, const QString &image, DiskFormat format);

// The seed of the demo PC's drive C: and a long name with umlauts in a subfolder,
// C:\Eigene Dateien\Glückwünsche zum Geburtstag.txt, in a new image.
void makeDemoDiskImage(const QString &image, DiskFormat format);
inline const QString LongUmlautName = QStringLiteral("C:\\Eigene Dateien\\Glückwünsche zum Geburtstag.txt");

// machine.ini of a PC with floppy A:, C: on `image` (with `options` such as ",readonly" after its
// path) and the host folder drive_d as D:.
QString diskImageIni(const QString &image, const QString &options = {});

// What an mtools command prints for the image's partition, run in the program's environment
// (code page 850, UTF-8 names); aborts the test run when it fails.
QString mtoolsOnDisk(const QString &command, const QString &image, const QStringList &arguments);

// The attributes of a file in the image's partition as mattrib shows them: "A", "SHR", ...
QString mattribOf(const QString &image, const QString &pathInImage);

// fsck.fat -n on a copy of the partition: empty when it finds nothing, else what it says.
QString partitionProblems(const QString &image);
