#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/machine/Machine.h"

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

QString autostartDirectory()
{
    return windowsDirectory() + QStringLiteral("\\startmenü\\programme\\autostart");
}

// A directory that cannot be made shows when a file is created in it.
QString tempDirectory()
{
    const QString directory = windowsDirectory() + QStringLiteral("\\TEMP");
    (void)forceDirectories(directory);
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
    QString base = location.value.windowsPath;
    if (!base.endsWith(u'\\'))
        base += u'\\';

    const int start =
        int((QCoreApplication::applicationPid() ^ QDateTime::currentMSecsSinceEpoch()) % TempNameCount);
    for (int step = 0; step < TempNameCount; ++step) {
        const QString path = base + tempName(prefix, (start + step) % TempNameCount);
        const auto candidate = detail::locate(path);
        if (!candidate.ok())
            return {candidate.error, {}};
        if (candidate.value.exists)
            continue;
        const int error =
            candidate.value.backend().write(candidate.value, {}, detail::WriteMode::CreateNew, attr::Archive);
        // Someone else took the name between the look and the write.
        if (error == dos::AccessDenied && fileExists(path))
            continue;
        if (error != dos::Ok)
            return {error, {}};
        return {dos::Ok, path};
    }
    return {dos::AccessDenied, {}};
}

}  // namespace platform
