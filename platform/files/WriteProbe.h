#pragma once

#include <QString>

namespace platform {

// Creates and deletes an empty file named like the directory with "Test" appended (X:\Test for a
// root) to learn whether the drive can be written. A file that already has that name is left
// alone: the probe then takes the first free name with a number appended. Returns the DOS error.
[[nodiscard]] int probeWritable(const QString &directory);

}  // namespace platform
