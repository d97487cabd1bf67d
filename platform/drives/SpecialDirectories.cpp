#include "platform/drives/Files.h"

#include "platform/drives/detail/DriveBackend.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/machine/Machine.h"

#include <QCoreApplication>
#include <QDateTime>

namespace platform {

namespace detail {

namespace {

constexpr int TempNameCount = 0x10000;

// Read once: the process stays the same for as long as its temporary names matter.
qint64 processId()
{
    static const qint64 id = QCoreApplication::applicationPid();
    return id;
}

}  // namespace

TemporaryNames::TemporaryNames(const QString &prefix)
    : m_prefix(prefix.left(3)),
      m_start(int((processId() ^ QDateTime::currentMSecsSinceEpoch()) % TempNameCount))
{}

std::optional<QString> TemporaryNames::next()
{
    if (m_step == TempNameCount)
        return std::nullopt;
    const int number = (m_start + m_step++) % TempNameCount;
    // Four upper-case hex digits, put in place: a copy asks for a name each time.
    QString name;
    name.reserve(m_prefix.size() + 8);
    name += m_prefix;
    for (int shift = 12; shift >= 0; shift -= 4)
        name += QChar(u"0123456789ABCDEF"[(number >> shift) & 0xF]);
    name += u".TMP";
    return name;
}

DosResult<Location> createTemporaryIn(const Location &directory, const QString &prefix)
{
    QString base = directory.windowsPath();
    if (!base.endsWith(u'\\'))
        base += u'\\';
    TemporaryNames names(prefix);
    while (const auto name = names.next()) {
        const QString path = base + *name;
        const auto candidate = locate(path);
        if (!candidate.ok())
            return candidate;
        if (candidate.value.exists)
            continue;
        const int error =
            candidate.value.backend().write(candidate.value, {}, WriteMode::CreateNew, attr::Archive);
        // Someone else took the name between the look and the write.
        if (error == dos::AccessDenied && fileExists(path))
            continue;
        if (error != dos::Ok)
            return {error, {}};
        return locate(path);
    }
    return {dos::AccessDenied, {}};
}

}  // namespace detail

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
    const auto temporary = detail::createTemporaryIn(location.value, prefix);
    if (!temporary.ok())
        return {temporary.error, {}};
    return {dos::Ok, temporary.value.windowsPath()};
}

}  // namespace platform
