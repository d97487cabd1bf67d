#include "platform/Floppy.h"

#include "platform/FatImage.h"
#include "platform/FileNames.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/Mtools.h"

namespace platform {

namespace {

constexpr qint64 FloppyBytes = 1474560;
constexpr qsizetype LabelLength = 11;

// The image of a floppy drive with a disk in it; 15 for a letter that is no floppy drive.
DosResult<const Drive *> floppyWithDisk(QChar letter)
{
    const Drive *drive = machine().drive(letter);
    if (!drive || drive->kind != DriveKind::Floppy)
        return {dos::InvalidDrive, nullptr};
    const auto image = detail::statHost(drive->hostPath);
    if (drive->hostPath.isEmpty() || !image || !S_ISREG(image->st_mode))
        return {dos::NotReady, nullptr};
    return {dos::Ok, drive};
}

// Printable ASCII without the characters FAT keeps out of names: a label every disk checker
// accepts.
bool isValidLabel(const QString &label)
{
    static const QString refused = QStringLiteral("*?.,;:/\\|+=<>[]\"");
    if (label.size() > LabelLength)
        return false;
    for (const QChar c : label) {
        if (c < u' ' || c > u'~' || refused.contains(c))
            return false;
    }
    return true;
}

}  // namespace

int formatFloppy(QChar letter, const QString &label)
{
    const auto drive = floppyWithDisk(letter);
    if (!drive.ok())
        return drive.error;
    if (drive.value->writeProtected)
        return dos::WriteProtected;
    const QString upperLabel = detail::upperCaseName(label);
    if (!isValidLabel(upperLabel))
        return dos::InvalidParameter;
    // mformat needs the whole disk in the file; a cut-off image is a damaged disk, not a smaller one.
    if (const int error = detail::resizeHostFile(drive.value->hostPath, FloppyBytes))
        return error;
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("1440")};
    if (!upperLabel.isEmpty())
        arguments << QStringLiteral("-v") << upperLabel;
    arguments << QStringLiteral("::");
    const int error = detail::runMtools(QStringLiteral("mformat"), drive.value->hostPath, arguments).error;
    detail::forgetFatVolume(drive.value->hostPath);
    return error;
}

DosResult<QString> volumeLabel(QChar letter)
{
    const auto drive = floppyWithDisk(letter);
    if (!drive.ok())
        return {drive.error, {}};
    const auto volume = detail::fatVolume(drive.value->hostPath);
    if (!volume.ok())
        return {volume.error, {}};
    return {dos::Ok, volume.value->label};
}

}  // namespace platform
