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

bool copyFilesTogether(const QList<ResolvedPath> &sources, const QStringList &names, const QString &folder,
                       const QString &stagingPrefix)
{
    const auto target = detail::locate(folder);
    if (sources.isEmpty() || sources.size() != names.size() || !target.ok() || !target.value.exists
        || !target.value.isDirectory || detail::refuseWrite(target.value) != dos::Ok)
        return false;
    QList<Location> located;
    located.reserve(sources.size());
    for (const ResolvedPath &source : sources) {
        const Location &location = *source.m_location;
        if (!location.exists || location.isDirectory || location.drive != target.value.drive)
            return false;
        located.append(location);
    }
    return target.value.backend().copyTogether(located, names, target.value, stagingPrefix);
}

}  // namespace platform
