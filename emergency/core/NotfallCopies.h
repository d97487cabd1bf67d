#pragma once

#include "emergency/core/SystemFiles.h"

#include <QString>

#include <functional>

// The copy step: refreshes the copies of the system files in the Notfall folder.
namespace emergency {

// Copies the eleven files in copy order, each into the Notfall folder under its copy name, as a
// new file (archive attribute, current time). A missing source is skipped and its earlier copy
// kept. `finished` hears of every file, copied or skipped. A copy is written under a temporary
// name and replaces the earlier one only when complete; a failure (full disk, read error)
// throws platform::IoError naming the file and keeps the earlier copy.
void copySystemFiles(const QString &programDirectory, const QString &windowsDirectory,
                     const std::function<void(const SystemFile &file)> &finished);

// One file, read and written in blocks of 256 bytes.
void copyInBlocks(const QString &source, const QString &copy);

}  // namespace emergency
