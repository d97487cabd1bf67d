#include "platform/machine/Machine.h"

#include "platform/host/detail/HostFiles.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/machine/detail/DiskImage.h"
#include "platform/text/ProfileDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace platform {

namespace {

const QString IniName = QStringLiteral("machine.ini");

bool isDiskKind(const QString &text)
{
    return text.compare(u"disk", Qt::CaseInsensitive) == 0;
}

std::optional<DriveKind> driveKind(const QString &text)
{
    if (text.compare(u"fixed", Qt::CaseInsensitive) == 0 || isDiskKind(text))
        return DriveKind::Fixed;
    if (text.compare(u"floppy", Qt::CaseInsensitive) == 0)
        return DriveKind::Floppy;
    if (text.compare(u"cdrom", Qt::CaseInsensitive) == 0)
        return DriveKind::CdRom;
    return std::nullopt;
}

// The fields after a disk image's path: a partition number 1 to 4 and "readonly", each optional.
bool parseDiskOptions(Drive &drive, QStringList options, int *partition, QString *problem)
{
    if (!options.isEmpty() && options.first().size() == 1 && options.first()[0] >= u'1'
        && options.first()[0] <= u'4') {
        *partition = options.takeFirst()[0].digitValue();
    }
    if (!options.isEmpty() && options.first().compare(u"readonly", Qt::CaseInsensitive) == 0) {
        drive.writeProtected = true;
        options.removeFirst();
    }
    if (!options.isEmpty()) {
        *problem = QStringLiteral("drive %1: expected disk,image[,partition 1-4][,readonly]").arg(drive.letter);
        return false;
    }
    return true;
}

// LETTER=disk,image[,partition][,readonly]: the FAT volume is found now, and an image that
// cannot serve is refused before anything is read or written on it.
// *refusal (German, the whole message) says why the image cannot serve.
bool parseDiskDrive(Drive &drive, const QStringList &fields, const QString &folder, QString *problem,
                    QString *refusal)
{
    if (fields.size() < 2 || fields[1].isEmpty()) {
        *problem = QStringLiteral("drive %1: a disk drive needs an image file").arg(drive.letter);
        return false;
    }
    int partition = 0;
    if (!parseDiskOptions(drive, fields.mid(2), &partition, problem))
        return false;
    drive.onDiskImage = true;
    drive.hostPath = detail::imagePathAtLoad(QDir::cleanPath(QDir(folder).absoluteFilePath(fields[1])));
    QString why;
    const auto volume = detail::findDiskVolume(drive.hostPath, partition, &why);
    if (!volume) {
        *refusal = QStringLiteral("Laufwerk %1: %2").arg(drive.letter).arg(why);
        return false;
    }
    drive.volumeOffset = volume->offset;
    drive.volumeBytes = volume->bytes;
    drive.label = volume->label;
    return true;
}

// One line of [Drives]: LETTER=kind[,hostpath[,readonly]], or a disk image (see above).
std::optional<Drive> parseDrive(const QString &key, const QString &value, const QString &folder,
                                QString *problem, QString *refusal)
{
    if (key.size() != 1 || !key[0].isLetter() || key[0].toUpper() > u'Z') {
        *problem = QStringLiteral("'%1' is no drive letter").arg(key);
        return std::nullopt;
    }
    Drive drive;
    drive.letter = key[0].toUpper();
    QStringList fields = value.split(u',');
    for (QString &field : fields)
        field = field.trimmed();
    if (isDiskKind(fields[0])) {
        if (!parseDiskDrive(drive, fields, folder, problem, refusal))
            return std::nullopt;
        return drive;
    }
    const auto kind = driveKind(fields[0]);
    if (!kind || fields.size() > 3) {
        *problem = QStringLiteral("drive %1: expected fixed|floppy|cdrom[,folder[,readonly]] or "
                                  "disk,image[,partition][,readonly]")
                       .arg(drive.letter);
        return std::nullopt;
    }
    drive.kind = *kind;
    if (drive.kind == DriveKind::Floppy && drive.letter != u'A' && drive.letter != u'B') {
        *problem = QStringLiteral("drive %1: a floppy drive must be A or B").arg(drive.letter);
        return std::nullopt;
    }
    if (fields.size() > 1 && !fields[1].isEmpty())
        drive.hostPath = QDir::cleanPath(QDir(folder).absoluteFilePath(fields[1]));
    // The links to the image are the user's set-up now; one made later is never followed.
    if (drive.kind == DriveKind::Floppy && !drive.hostPath.isEmpty())
        drive.hostPath = detail::imagePathAtLoad(drive.hostPath);
    if (drive.kind == DriveKind::Fixed && drive.hostPath.isEmpty()) {
        *problem = QStringLiteral("drive %1: a fixed drive needs a folder").arg(drive.letter);
        return std::nullopt;
    }
    if (fields.size() == 3) {
        if (drive.kind != DriveKind::Floppy || fields[2].compare(u"readonly", Qt::CaseInsensitive)) {
            *problem = QStringLiteral("drive %1: only a floppy or a disk image can be listed readonly")
                           .arg(drive.letter);
            return std::nullopt;
        }
        drive.writeProtected = true;
    }
    if (drive.kind == DriveKind::CdRom)
        drive.writeProtected = true;
    return drive;
}

// A line of [Labels]: LETTER=volume label of a listed fixed or CD drive. A floppy's label is on
// its disk.
bool applyLabel(QList<Drive> &drives, const QString &key, const QString &label, QString *problem)
{
    const auto drive = std::find_if(drives.begin(), drives.end(), [&](const Drive &listed) {
        return key.size() == 1 && listed.letter == key[0].toUpper();
    });
    if (drive == drives.end()) {
        *problem = QStringLiteral("label for '%1', which is no listed drive").arg(key);
        return false;
    }
    if (drive->isImage()) {
        *problem = QStringLiteral("drive %1: the label of a floppy or disk image is on its volume").arg(drive->letter);
        return false;
    }
    if (label.size() > 11) {
        *problem = QStringLiteral("drive %1: a volume label has at most 11 characters").arg(drive->letter);
        return false;
    }
    drive->label = label;
    return true;
}

bool isAbsoluteWindowsPath(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z]:\\\\"));
    return pattern.match(path).hasMatch();
}

}  // namespace

std::unique_ptr<Machine> Machine::load(const QString &hostFolder, QString *error)
{
    const QString folder = QDir::cleanPath(QDir(hostFolder).absolutePath());
    const QString iniPath = folder + u'/' + IniName;
    const auto file = detail::readHostFile(iniPath);
    if (!file.ok()) {
        *error = QStringLiteral("cannot read %1 (DOS error %2)").arg(iniPath).arg(file.error);
        return nullptr;
    }
    QString text = QString::fromUtf8(file.value);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    const ProfileDocument ini = ProfileDocument::parse(text);
    auto fail = [&](qsizetype line, const QString &problem) {
        *error = QStringLiteral("%1, line %2: %3").arg(iniPath).arg(line).arg(problem);
        return nullptr;
    };
    // Windows would pass over such a line; here it is a mistake the user should hear of.
    if (const auto stray = ini.strayLines(); !stray.isEmpty()) {
        return fail(stray.first().number, stray.first().value.startsWith(u'[')
                                              ? QStringLiteral("a section header ends with ]")
                                              : QStringLiteral("expected key=value"));
    }

    auto machine = std::unique_ptr<Machine>(new Machine);
    machine->m_folder = folder;
    machine->m_windowsDirectory = ini.value(QStringLiteral("Windows"), QStringLiteral("Directory"), {});
    for (const auto &entry : ini.entries(QStringLiteral("Drives"))) {
        QString problem;
        QString refusal;
        const auto drive = parseDrive(entry.key, entry.value, folder, &problem, &refusal);
        if (!drive && !refusal.isEmpty()) {
            *error = refusal;
            return nullptr;
        }
        if (!drive)
            return fail(entry.number, problem);
        if (machine->drive(drive->letter))
            return fail(entry.number, QStringLiteral("drive %1 is listed twice").arg(drive->letter));
        machine->m_drives.append(*drive);
    }
    // Wherever [Labels] stands, a label applies to a drive listed anywhere.
    for (const auto &entry : ini.entries(QStringLiteral("Labels"))) {
        QString problem;
        if (!applyLabel(machine->m_drives, entry.key, entry.value, &problem))
            return fail(entry.number, problem);
    }
    QString &windows = machine->m_windowsDirectory;
    if (!isAbsoluteWindowsPath(windows)) {
        *error = QStringLiteral("%1: [Windows] Directory must be an absolute path such as "
                                "C:\\WINDOWS")
                     .arg(iniPath);
        return nullptr;
    }
    windows[0] = windows[0].toUpper();
    while (windows.size() > 3 && windows.endsWith(u'\\'))
        windows.chop(1);
    std::sort(machine->m_drives.begin(), machine->m_drives.end(),
              [](const Drive &a, const Drive &b) { return a.letter < b.letter; });
    return machine;
}

QString Machine::findFolder(const QString &hostStartDir)
{
    QDir folder(QDir(hostStartDir).absolutePath());
    do {
        if (QFileInfo(folder.filePath(IniName)).isFile())
            return QDir::cleanPath(folder.absolutePath());
    } while (folder.cdUp());
    return {};
}

const Drive *Machine::drive(QChar letter) const
{
    letter = letter.toUpper();
    for (const Drive &drive : m_drives) {
        if (drive.letter == letter)
            return &drive;
    }
    return nullptr;
}

QString Machine::windowsPathOf(const QString &hostPath) const
{
    const QString target = QFileInfo(hostPath).canonicalFilePath();
    if (target.isEmpty())
        return {};
    const Drive *best = nullptr;
    QString bestRoot;
    for (const Drive &drive : m_drives) {
        if (drive.isImage() || drive.hostPath.isEmpty())
            continue;
        const QString root = QFileInfo(drive.hostPath).canonicalFilePath();
        if (root.isEmpty() || root.size() <= bestRoot.size())
            continue;
        const QString below = root.endsWith(u'/') ? root : root + u'/';
        if (target == root || target.startsWith(below)) {
            best = &drive;
            bestRoot = root;
        }
    }
    if (!best)
        return {};
    const QStringList names = target.mid(bestRoot.size()).split(u'/', Qt::SkipEmptyParts);
    return QString(best->letter) + QStringLiteral(":\\") + names.join(u'\\');
}

}  // namespace platform
