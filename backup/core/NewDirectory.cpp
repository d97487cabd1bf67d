#include "backup/core/NewDirectory.h"

#include "platform/drives/Files.h"
#include "platform/text/DosError.h"

namespace backup {

QString newDirectoryPath(const QString &base, const QString &name)
{
    return platform::withoutRootBackslash(base) + QLatin1Char('\\') + name;
}

NewDirectory createNewDirectory(const QString &path)
{
    const int error = platform::forceDirectories(path);
    if (error == platform::dos::PathNotFound)
        return NewDirectory::BadName;
    platform::throwOnError(error, path);
    return NewDirectory::Created;
}

}  // namespace backup
