#include "platform/drives/detail/PathResolver.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/DriveBackend.h"
#include "platform/text/detail/FileNames.h"

#include <QStringTokenizer>

namespace platform::detail {

namespace {

WindowsPath splitAbsolute(const QString &directory)
{
    return {directory.at(0), directory.mid(3).split(u'\\', Qt::SkipEmptyParts)};
}

}  // namespace

QString WindowsPath::text() const
{
    return QString(drive) + QStringLiteral(":\\") + names.join(u'\\');
}

DosResult<WindowsPath> absolutePath(const QString &path)
{
    QString text = path;
    text.replace(u'/', u'\\');
    if (text.isEmpty() || text.startsWith(u"\\\\"))
        return {dos::PathNotFound, {}};
    WindowsPath result;
    QStringView rest = text;
    if (text.size() >= 2 && text[1] == u':') {
        const QChar letter = text[0].toUpper();
        if (letter < u'A' || letter > u'Z')
            return {dos::InvalidDrive, {}};
        rest = rest.sliced(2);
        if (rest.isEmpty() || rest.startsWith(u'\\')) {
            result.drive = letter;
        } else {
            const auto current = driveCurrentDirectory(letter);
            if (!current.ok())
                return {current.error, {}};
            result = splitAbsolute(current.value);
        }
    } else if (text.startsWith(u'\\')) {
        result.drive = currentDirectory().at(0);
    } else {
        result = splitAbsolute(currentDirectory());
    }
    // Each name is copied once, when it is kept.
    for (QStringView name : QStringTokenizer(rest, u'\\', Qt::SkipEmptyParts)) {
        if (name == u".")
            continue;
        if (name == u"..") {
            if (!result.names.isEmpty())
                result.names.removeLast();
            continue;
        }
        while (name.endsWith(u'.') || name.endsWith(u' '))
            name.chop(1);
        QString kept = name.toString();
        if (!isValidLongName(kept))
            return {dos::PathNotFound, {}};
        result.names.append(std::move(kept));
    }
    return {dos::Ok, result};
}

DosResult<Location> locate(const QString &path)
{
    const auto absolute = absolutePath(path);
    if (!absolute.ok())
        return {absolute.error, {}};
    const Drive *drive = machine().drive(absolute.value.drive);
    if (!drive)
        return {dos::InvalidDrive, {}};
    return backendOf(*drive).locate(*drive, absolute.value.names);
}

DriveBackend &Location::backend() const
{
    return backendOf(*drive);
}

QString Location::windowsPath() const
{
    return m_inFolder ? windowsPathIn(m_windowsPath, name) : m_windowsPath;
}

void Location::setWindowsPath(const QString &path)
{
    m_windowsPath = path;
    m_inFolder = false;
}

void Location::setWindowsPathIn(const QString &folderPath)
{
    m_windowsPath = folderPath;
    m_inFolder = true;
}

int refuseWrite(const Location &location)
{
    if (location.drive->kind == DriveKind::CdRom)
        return dos::AccessDenied;
    return location.drive->writeProtected ? dos::WriteProtected : dos::Ok;
}

DosResult<quint8> storedAttributes(const Location &location)
{
    auto attributes = location.backend().attributes(location);
    if (attributes.error == dos::FileNotFound)
        return {dos::Ok, attr::Archive};
    return attributes;
}

// Refuses what cannot be written: a directory, a file whose attributes are in `refused`, a drive
// that cannot be written.
DosResult<Target> writableFile(const Location &location, quint8 refused)
{
    Target target{location, std::nullopt};
    if (const int error = refuseWrite(target.location))
        return {error, {}};
    if (target.location.exists && target.location.isDirectory)
        return {dos::AccessDenied, {}};
    if (target.location.exists) {
        const auto attributes = storedAttributes(target.location);
        if (!attributes.ok())
            return {attributes.error, {}};
        if (attributes.value & refused)
            return {dos::AccessDenied, {}};
        target.attributes = attributes.value;
    }
    return {dos::Ok, target};
}

}  // namespace platform::detail
