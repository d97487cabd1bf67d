#pragma once

#include "platform/text/DosError.h"

#include <QDateTime>
#include <QList>
#include <QString>

// Names with * and ? as MS-DOS 7 takes them: a name matches by its long name or its 8.3 alias.
namespace dos {

bool hasWildcards(const QString &name);

// "*.*" and "*" match every name, "*." the names without an extension, "NAME.*" also "NAME".
bool matchesPattern(const QString &pattern, const QString &name);

// For REN and COPY: the name a pattern such as "*.BAK" or "BRIEF?.*" gives `name`, part by part
// (name and extension): '?' takes the letter at its place, '*' the rest of the part.
QString appliedPattern(const QString &pattern, const QString &name);

// One entry of a folder as DIR lists it.
struct FolderEntry {
    QString name;  // as on disk
    QString shortName;  // the 8.3 alias
    QString path;  // the folder's path and the name on disk
    quint8 attributes = 0;
    qint64 size = 0;
    QDateTime lastWrite;
    bool isDirectory() const;
};

// The entries of `folder` that match `pattern`, folders first as stored, then files.
[[nodiscard]] platform::DosResult<QList<FolderEntry>> folderEntries(const QString &folder,
                                                                    const QString &pattern);

}  // namespace dos
