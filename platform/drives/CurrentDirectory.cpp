#include "platform/drives/detail/CurrentDirectory.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/drives/detail/PcState.h"
#include "platform/machine/Machine.h"

#include <QDir>

namespace platform {

namespace {

using detail::CurrentDirectories;

// A program installed inside a disk image, which the host cannot enter, is started from the
// machine folder with the directory it was installed in here, as a shortcut's "start in" gives it.
QString startDirectoryOutsideTheDrives()
{
    const QString given = qEnvironmentVariable("VELKO_START_DIRECTORY");
    // Only an absolute path: a relative one would be looked up from the directory being found.
    if (given.size() < 3 || !given[0].isLetter() || given[1] != u':' || given[2] != u'\\')
        return QStringLiteral("C:\\");
    const auto location = detail::locate(given);
    return location.ok() && location.value.exists && location.value.isDirectory ? location.value.windowsPath()
                                                                                : QStringLiteral("C:\\");
}

// Starts where the host's working directory is, when that lies on a drive of the machine.
CurrentDirectories &currentDirectories()
{
    CurrentDirectories &directories = detail::currentPcState().directories;
    if (!directories.known) {
        const QString here = machine().windowsPathOf(QDir::currentPath());
        directories.process = here.isEmpty() ? startDirectoryOutsideTheDrives() : here;
        directories.perDrive.insert(directories.process.at(0), directories.process);
        directories.known = true;
    }
    return directories;
}

// PathNotFound for what is no directory.
DosResult<detail::Location> locateDirectory(const QString &directory)
{
    auto location = detail::locate(directory);
    if (location.ok() && (!location.value.exists || !location.value.isDirectory))
        return {dos::PathNotFound, {}};
    return location;
}

}  // namespace

QString currentDirectory()
{
    return currentDirectories().process;
}

int setCurrentDirectory(const QString &directory)
{
    const auto location = locateDirectory(directory);
    if (!location.ok())
        return location.error;
    CurrentDirectories &directories = currentDirectories();
    directories.process = location.value.windowsPath();
    directories.perDrive.insert(location.value.drive->letter, location.value.windowsPath());
    return dos::Ok;
}

int setDriveCurrentDirectory(const QString &directory)
{
    const auto location = locateDirectory(directory);
    if (!location.ok())
        return location.error;
    CurrentDirectories &directories = currentDirectories();
    const QChar letter = location.value.drive->letter;
    directories.perDrive.insert(letter, location.value.windowsPath());
    if (directories.process.at(0) == letter)
        directories.process = location.value.windowsPath();
    return dos::Ok;
}

void resetDriveDirectories()
{
    CurrentDirectories &directories = currentDirectories();
    directories.process = directories.process.left(3);
    directories.perDrive = {{directories.process.at(0), directories.process}};
}

DosResult<QString> driveCurrentDirectory(QChar letter)
{
    letter = letter.toUpper();
    if (!machine().drive(letter))
        return {dos::InvalidDrive, {}};
    const QString root = QString(letter) + QStringLiteral(":\\");
    return {dos::Ok, currentDirectories().perDrive.value(letter, root)};
}

}  // namespace platform
