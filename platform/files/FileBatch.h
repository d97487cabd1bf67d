#pragma once

#include "platform/drives/Files.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// Copies the files `sources`, as they were looked up, into `folder` in a few steps for all of
// them, where the folder's drive allows it: a folder of a disk image that holds the sources too.
// Each copy gets the name of the same place in `names`, and its source's attributes and
// last-write time, and replaces a file of that name there, read-only, hidden or system ones too. The copies are made in a new folder
// inside `folder` (`stagingPrefix`, four hex digits and ".DIR"; createTempFile's files end in
// ".TMP") and then moved to their names together, so that a copy never stands half-written under its
// name. True when every copy stands in place. False when the drive cannot copy that way or a step
// failed; each name then holds its earlier file or its complete copy, and the caller copies the
// files one by one, which reports what is wrong.
[[nodiscard]] bool copyFilesTogether(const QList<ResolvedPath> &sources, const QStringList &names,
                                     const QString &folder, const QString &stagingPrefix);

// False where copyFilesTogether cannot copy into `folder` whatever the sources, because its drive
// does not copy that way (a host folder): the sources then need no look-up for it.
[[nodiscard]] bool copiesFilesTogether(const QString &folder);

}  // namespace platform
