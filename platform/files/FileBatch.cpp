#include "platform/files/FileBatch.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"

namespace platform {

using detail::Location;

bool detail::DriveBackend::copyTogether(const QList<Location> &, const QStringList &, const Location &,
                                        const QString &)
{
    return false;
}

bool detail::DriveBackend::copiesTogether() const
{
    return false;
}

bool copiesFilesTogether(const QString &folder)
{
    const auto target = detail::locate(folder);
    return target.ok() && target.value.backend().copiesTogether();
}

bool copyFilesTogether(const QStringList &sources, const QString &folder, const QString &stagingPrefix)
{
    const auto target = detail::locate(folder);
    if (sources.isEmpty() || !target.ok() || !target.value.exists || !target.value.isDirectory
        || detail::refuseWrite(target.value) != dos::Ok)
        return false;
    QList<Location> located;
    QStringList names;
    located.reserve(sources.size());
    names.reserve(sources.size());
    for (const QString &source : sources) {
        const auto location = detail::locate(source);
        if (!location.ok() || !location.value.exists || location.value.isDirectory
            || location.value.drive != target.value.drive)
            return false;
        located.append(location.value);
        names.append(fileNamePart(source));
    }
    return target.value.backend().copyTogether(located, names, target.value, stagingPrefix);
}

}  // namespace platform
