#include "platform/Files.h"

#include "platform/Folder.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/PathResolver.h"

#include <QCoreApplication>
#include <QDateTime>

namespace platform {

namespace {

constexpr int TempNameCount = 0x10000;

QString tempName(const QString &prefix, int number)
{
    return prefix.left(3) + QStringLiteral("%1.TMP").arg(number, 4, 16, QChar(u'0')).toUpper();
}

}  // namespace

QString windowsDirectory()
{
    return machine().windowsDirectory();
}

// A directory that cannot be made shows when a file is created in it.
QString tempDirectory()
{
    const QString directory = windowsDirectory() + QStringLiteral("\\TEMP");
    forceDirectories(directory);
    return directory + u'\\';
}

DosResult<QString> createTempFile(const QString &directory, const QString &prefix)
{
    const auto location = detail::locate(directory);
    if (!location.ok())
        return {location.error, {}};
    if (!location.value.exists || !location.value.isDirectory)
        return {dos::PathNotFound, {}};
    if (const int error = detail::refuseWrite(location.value))
        return {error, {}};
    const auto folder = detail::folderAt(location.value.host);
    if (!folder.ok())
        return {folder.error, {}};
    QString base = location.value.windowsPath;
    if (!base.endsWith(u'\\'))
        base += u'\\';

    const int start = int((QCoreApplication::applicationPid() ^ QDateTime::currentMSecsSinceEpoch())
                          % TempNameCount);
    for (int step = 0; step < TempNameCount; ++step) {
        const QString name = tempName(prefix, (start + step) % TempNameCount);
        if (folder.value->find(name))
            continue;
        const int error = detail::writeHostFile(detail::hostChild(location.value.host, name), {},
                                                true);
        if (error == dos::AccessDenied && detail::statHost(detail::hostChild(location.value.host, name)))
            continue;
        if (error != dos::Ok)
            return {error, {}};
        if (const int recorded = folder.value->add(name, false, attr::Archive))
            return {recorded, {}};
        return {dos::Ok, base + name};
    }
    return {dos::AccessDenied, {}};
}

}  // namespace platform
