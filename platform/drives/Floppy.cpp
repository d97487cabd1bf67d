#include "platform/drives/Floppy.h"

#include "platform/drives/detail/FatImage.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/host/detail/Mtools.h"
#include "platform/machine/Machine.h"
#include "platform/text/detail/FileNames.h"

namespace platform {

namespace {

constexpr qint64 FloppyBytes = 1474560;
constexpr qsizetype LabelLength = 11;

// The image of a floppy drive with a disk in it; 15 for a letter that is no floppy drive.
DosResult<const Drive *> floppyDrive(QChar letter)
{
    const Drive *drive = machine().drive(letter);
    if (!drive || drive->kind != DriveKind::Floppy)
        return {dos::InvalidDrive, nullptr};
    if (drive->hostPath.isEmpty())
        return {dos::NotReady, nullptr};
    return {dos::Ok, drive};
}

// What MS-DOS takes for a label: printable ASCII without the characters its LABEL command
// refuses (* ? / \ | . , ; : + = [ ] ( ) & ^ < > ").
bool isValidLabel(const QString &label)
{
    static const QString refused = QStringLiteral("*?/\\|.,;:+=[]()&^<>\"");
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
    const auto drive = floppyDrive(letter);
    if (!drive.ok())
        return drive.error;
    const auto image = detail::openImage(drive.value->hostPath, !drive.value->writeProtected);
    if (!image.ok())
        return image.error;
    if (drive.value->writeProtected)
        return dos::WriteProtected;
    const QString upperLabel = detail::upperCaseName(label);
    if (!isValidLabel(upperLabel))
        return dos::InvalidParameter;
    // mformat needs the whole disk in the file; a cut-off image is a damaged disk, not a smaller one.
    if (const int error = detail::resizeImage(image.value, FloppyBytes))
        return error;
    const int error = detail::runMtools(QStringLiteral("mformat"), image.value, 0,
                                        {QStringLiteral("-f"), QStringLiteral("1440"), QStringLiteral("::")})
                          .error;
    detail::forgetFatVolume(*drive.value);
    if (error || upperLabel.trimmed().isEmpty())
        return error;  // blanks alone are no label
    return detail::writeVolumeLabel(image.value, upperLabel.toLatin1());
}

DosResult<QString> volumeLabel(QChar letter)
{
    const auto drive = floppyDrive(letter);
    if (!drive.ok())
        return {drive.error, {}};
    const auto volume = detail::fatVolume(*drive.value);
    if (!volume.ok())
        return {volume.error, {}};
    return {dos::Ok, volume.value->label};
}

}  // namespace platform
