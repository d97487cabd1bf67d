#include "platform/drives/detail/BackendPlace.h"
#include "platform/drives/detail/DriveBackend.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/FatImage.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/host/detail/ImageFile.h"
#include "platform/host/detail/Mtools.h"
#include "platform/text/OemText.h"
#include "platform/text/detail/FileNames.h"

#include <QCoreApplication>
#include <QMap>
#include <QSet>

#include <algorithm>

namespace platform::detail {

namespace {

// A Location of this backend keeps as its place (BackendPlace) the mtools paths of the folder and of
// the entry, spelled with 8.3 names where the entry exists: mtools would read the brackets a
// long name may hold as a pattern, and an 8.3 name cannot hold them.

QString below(const QString &folder, const QString &name, QChar separator = u'/')
{
    return folder.endsWith(separator) ? folder + name : QString(folder + separator + name);
}

Location rootOf(const Drive &drive)
{
    Location location;
    location.drive = &drive;
    location.setWindowsPath(QString(drive.letter) + QStringLiteral(":\\"));
    BackendPlace::folder(location) = pathInImage({});
    BackendPlace::entry(location) = BackendPlace::folder(location);
    location.exists = true;
    location.isDirectory = true;
    return location;
}

const Drive &driveOf(const Location &location)
{
    return *location.drive;
}

MtoolsRun runOn(const Location &location, const QString &command, const QStringList &arguments,
                const QList<int> &passed = {})
{
    const Drive &drive = driveOf(location);
    return runMtools(command, drive.hostPath, drive.volumeOffset, arguments, passed);
}

// The entry as the image holds it now; null when it is gone, an error when a folder on the way
// cannot be read.
DosResult<const FatEntry *> entryOf(const FatVolume &volume, const Location &location)
{
    const FatEntry *entry = &volume.root;
    const QStringList names = location.windowsPath().mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        if (const auto folder = entry->entries(); !folder.ok())
            return {folder.error == dos::PathNotFound ? dos::Ok : folder.error, nullptr};
        entry = entry->find(name);
        if (!entry)
            return {dos::Ok, nullptr};
    }
    return {dos::Ok, entry};
}

DosResult<const FatEntry *> currentEntry(const Location &location, std::shared_ptr<const FatVolume> *volume)
{
    auto read = fatVolume(driveOf(location));
    if (!read.ok())
        return {read.error, nullptr};
    *volume = read.value;
    const auto entry = entryOf(*read.value, location);
    if (!entry.ok())
        return entry;
    return {entry.value ? dos::Ok : dos::FileNotFound, entry.value};
}

// Every change goes through here, so that the next look-up reads the image again.
int changeImage(const Location &location, const QString &command, const QStringList &arguments,
                const QList<int> &passed = {})
{
    const int error = runOn(location, command, arguments, passed).error;
    forgetFatVolume(driveOf(location));
    return error;
}

// Where a new name goes: its folder's 8.3 path and the name as given. A file written or moved
// gets its long name this way; given its 8.3 name, mtools would make that its only name.
QString pathOfName(const Location &location, const QString &name)
{
    return below(BackendPlace::folder(location), name);
}

// The entry's path in 8.3 names as the image holds it now, for a command after a change.
DosResult<QString> currentShortPath(const Location &location)
{
    std::shared_ptr<const FatVolume> volume;
    const auto found = currentEntry(location, &volume);
    if (!found.ok())
        return {found.error, {}};
    return {dos::Ok, pathOfName(location, found.value->shortName)};
}

// mattrib's options that give a file exactly `attributes`.
QStringList attributeFlags(quint8 attributes)
{
    const auto flag = [attributes](quint8 bit, const char *on, const char *off) {
        return QString::fromLatin1(attributes & bit ? on : off);
    };
    return {flag(attr::ReadOnly, "+r", "-r"), flag(attr::Hidden, "+h", "-h"), flag(attr::System, "+s", "-s"),
            flag(attr::Archive, "+a", "-a")};
}

int setAttributesOf(const Location &location, quint8 attributes)
{
    const auto path = currentShortPath(location);
    if (!path.ok())
        return path.error;
    return changeImage(location, QStringLiteral("mattrib"),
                       attributeFlags(attributes) + QStringList{path.value});
}

// mcopy leaves every file it writes with the archive attribute alone, as a file written on
// Windows has it: only other attributes cost a mattrib run.
int setAttributesOfCopy(const Location &location, quint8 attributes)
{
    return attributes == attr::Archive ? dos::Ok : setAttributesOf(location, attributes);
}

// mtools 4.0 stores a name with these under another name (ÿ as y, € as EU, ...), and a second
// write to that name never ends: such a name is refused before anything is written. ÿ, ƒ and ı
// are code page 850's own; every other character must be one of that code page.
bool isStorableName(const QString &name)
{
    static const QString mangled = QStringLiteral("\u00FF\u0192\u0131");
    for (const QChar c : name) {
        if (!isOemCharacter(c) || mangled.contains(c))
            return false;
    }
    return true;
}

// mcopy of `data` into the image, to `name` in the folder of `location`, replacing what is
// there. On a full disk mcopy has removed the file already; whatever it may have left is taken
// away, so that nothing stays half-written.
int copyIntoImage(const Location &location, const QByteArray &data, const QDateTime &lastWrite,
                  const QString &name)
{
    if (!isStorableName(name))
        return dos::PathNotFound;
    const auto content = memoryFile(data, lastWrite);
    if (!content.ok())
        return content.error;
    QStringList arguments{QStringLiteral("-o")};
    if (lastWrite.isValid())
        arguments << QStringLiteral("-m");
    arguments << descriptorPath(content.value) << pathOfName(location, name);
    const int error = changeImage(location, QStringLiteral("mcopy"), arguments, {content.value.get()});
    if (error != dos::Ok) {
        Location left = location;
        left.setWindowsPath(below(directoryPart(location.windowsPath()), name, u'\\'));
        if (const auto path = currentShortPath(left); path.ok())
            (void)changeImage(location, QStringLiteral("mdel"),
                              {path.value});  // the copy's error is the one to report
    }
    return error;
}

// mtools 4.0 aborts, before it writes anything, a rename to a new name whose entries make the
// folder grow. An empty file under a free name at least as long grows the folder there first;
// removed again, it leaves its entries free for the new name.
int makeRoomFor(const Location &to)
{
    const QString room = QStringLiteral("~VS Platz") + QString(qMax<qsizetype>(0, to.name.size() - 9), u'x');
    std::shared_ptr<const FatVolume> volume;
    Location placeholder = to;
    placeholder.setWindowsPath(below(directoryPart(to.windowsPath()), room, u'\\'));
    if (currentEntry(placeholder, &volume).error != dos::FileNotFound)
        return dos::AccessDenied;  // taken, or the folder cannot be read
    if (const int error = copyIntoImage(to, {}, {}, room))
        return error;
    return changeImage(to, QStringLiteral("mdel"), {pathOfName(to, room)});
}

// A name in the file's folder that nothing has, for a file on its way to its place.
QString temporaryName(const FatVolume &volume, const Location &location)
{
    Location folder = location;
    folder.setWindowsPath(directoryPart(location.windowsPath()));
    const FatEntry *entries = entryOf(volume, folder).value;
    for (int number = QCoreApplication::applicationPid() % 10000;; ++number) {
        const QString name = QStringLiteral("VS%1.TMP").arg(number % 1000000, 6, 10, QChar(u'0'));
        if (!entries || !entries->find(name))
            return name;
    }
}

// A name mcopy can be given for a file of the image: mtools reads brackets as a pattern.
bool isPlainName(const QString &name)
{
    return isStorableName(name) && !name.contains(u'[') && !name.contains(u']');
}

// mcopy names a copy as its source is spelled on the command line, and finds the source by that
// spelling without regard to case: a name that is the entry's own, or differs from it only in the
// case of ASCII letters (which mtools and the platform fold alike), reaches the right file.
bool namesEntry(const QString &name, const FatEntry &entry)
{
    const auto matches = [&name](const QString &stored) {
        if (name == stored)
            return true;
        const bool ascii = std::all_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x80; });
        return ascii && name.compare(stored, Qt::CaseInsensitive) == 0;
    };
    return matches(entry.name) || matches(entry.shortName);
}

// A folder beside the copies' places that nothing has: the prefix, four hex digits and ".DIR".
QString stagingName(const FatEntry &folder, const QString &prefix)
{
    constexpr int Names = 0x10000;
    const int start = QCoreApplication::applicationPid() % Names;
    for (int step = 0; step < Names; ++step) {
        const QString name =
            prefix + QStringLiteral("%1.DIR").arg((start + step) % Names, 4, 16, QChar(u'0')).toUpper();
        if (!folder.find(name))
            return name;
    }
    return {};
}

// A FAT file system in an image file: read from the image directly, changed through mtools.
class FatImageBackend : public DriveBackend {
public:
    DosResult<Location> locate(const Drive &drive, const QStringList &names) override;
    DosResult<quint8> attributes(const Location &entry) override;
    int setAttributes(const Location &entry, quint8 attributes) override;
    DosResult<QDateTime> lastWriteTime(const Location &entry) override;
    DosResult<QString> shortPath(const Location &entry) override;
    DosResult<QString> hostPath(const Location &entry) override;
    DosResult<QList<DirectoryEntry>> entries(const Location &directory) override;
    bool isSameFile(const Location &a, const Location &b) override;
    DosResult<QByteArray> read(const Location &file) override;
    int write(const Location &file, const QByteArray &data, WriteMode mode, quint8 attributes) override;
    int copy(const Location &from, const Location &to, quint8 attributes) override;
    int writeCopy(const Location &to, const FileCopy &file, quint8 attributes) override;
    int move(const Location &from, const Location &to, quint8 attributes) override;
    int remove(const Location &file) override;
    int makeDirectory(const Location &directory) override;
    int removeTree(const Location &directory) override;
    bool copyTogether(const QList<Location> &sources, const QStringList &names, const Location &folder,
                      const QString &stagingPrefix) override;
    bool copiesTogether() const override { return true; }
};

}  // namespace

DosResult<Location> FatImageBackend::locate(const Drive &drive, const QStringList &names)
{
    if (drive.hostPath.isEmpty())
        return {dos::NotReady, {}};
    const auto volume = fatVolume(drive);
    if (!volume.ok())
        return {volume.error, {}};
    Location location = rootOf(drive);
    const FatEntry *folder = &volume.value->root;
    for (const QString &name : names) {
        if (!location.exists || !location.isDirectory)
            return {dos::PathNotFound, {}};
        if (const auto read = folder->entries(); !read.ok())
            return {read.error, {}};
        const FatEntry *found = folder->find(name);
        BackendPlace::folder(location) = BackendPlace::entry(location);
        location.exists = found != nullptr;
        location.isDirectory = found && found->isDirectory();
        location.name = found ? found->name : name;
        BackendPlace::entry(location) = below(BackendPlace::folder(location), found ? found->shortName : name);
        location.setWindowsPath(windowsPathIn(location.windowsPath(), location.name));
        folder = found;
    }
    return {dos::Ok, location};
}

DosResult<quint8> FatImageBackend::attributes(const Location &entry)
{
    std::shared_ptr<const FatVolume> volume;
    const auto found = currentEntry(entry, &volume);
    if (!found.ok())
        return {found.error, 0};
    return {dos::Ok, found.value->attributes};
}

int FatImageBackend::setAttributes(const Location &entry, quint8 attributes)
{
    return setAttributesOf(entry, attributes);
}

DosResult<QDateTime> FatImageBackend::lastWriteTime(const Location &entry)
{
    std::shared_ptr<const FatVolume> volume;
    const auto found = currentEntry(entry, &volume);
    if (!found.ok())
        return {found.error, {}};
    if (entry.isRoot())
        return {dos::FileNotFound, {}};  // a FAT root has no directory entry of its own
    return {dos::Ok, found.value->lastWrite};
}

DosResult<QString> FatImageBackend::shortPath(const Location &entry)
{
    const auto volume = fatVolume(driveOf(entry));
    if (!volume.ok())
        return {volume.error, {}};
    QStringList shortNames;
    const FatEntry *folder = &volume.value->root;
    const QStringList names = entry.windowsPath().mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        folder = folder->find(name);
        if (!folder)
            return {dos::PathNotFound, {}};
        shortNames.append(folder->shortName);
    }
    return {dos::Ok, entry.windowsPath().left(3) + shortNames.join(u'\\')};
}

DosResult<QList<DirectoryEntry>> FatImageBackend::entries(const Location &directory)
{
    std::shared_ptr<const FatVolume> volume;
    const auto found = currentEntry(directory, &volume);
    if (!found.ok())
        return {found.error == dos::FileNotFound ? dos::PathNotFound : found.error, {}};
    const auto listed = found.value->entries();
    if (!listed.ok())
        return {listed.error, {}};
    QList<DirectoryEntry> entries;
    entries.reserve(listed.value->size());
    for (const FatEntry &entry : *listed.value)
        entries.append({entry.name, entry.isDirectory()});
    std::sort(entries.begin(), entries.end(), [](const DirectoryEntry &a, const DirectoryEntry &b) {
        const int order = a.name.compare(b.name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return {dos::Ok, entries};
}

bool FatImageBackend::isSameFile(const Location &a, const Location &b)
{
    return a.drive == b.drive && a.exists && b.exists
           && BackendPlace::entry(a).compare(BackendPlace::entry(b), Qt::CaseInsensitive) == 0;
}

// Read by the FAT reader itself: no process per file.
DosResult<QByteArray> FatImageBackend::read(const Location &file)
{
    std::shared_ptr<const FatVolume> volume;
    const auto found = currentEntry(file, &volume);
    if (!found.ok())
        return {found.error, {}};
    if (found.value->isDirectory())
        return {dos::AccessDenied, {}};
    return readFatFile(driveOf(file), *found.value);
}

int FatImageBackend::write(const Location &file, const QByteArray &data, WriteMode mode, quint8 attributes)
{
    if (mode == WriteMode::CreateNew && file.exists)
        return dos::AccessDenied;
    if (mode == WriteMode::Replace && file.exists) {
        // Written under a free name first: the old file goes only when the new one is complete.
        const auto volume = fatVolume(driveOf(file));
        if (!volume.ok())
            return volume.error;
        const QString temporary = temporaryName(*volume.value, file);
        if (const int error = copyIntoImage(file, data, {}, temporary))
            return error;
        const QString written = pathOfName(file, temporary);
        const QStringList arguments{QStringLiteral("-D"), QStringLiteral("o"), written,
                                    pathOfName(file, file.name)};
        if (const int error = changeImage(file, QStringLiteral("mmove"), arguments)) {
            // The move's error is the one to report.
            (void)changeImage(file, QStringLiteral("mdel"), {written});
            return error;
        }
    } else if (const int error = copyIntoImage(file, data, {}, file.name)) {
        return error;
    }
    return setAttributesOfCopy(file, attributes);
}

int FatImageBackend::copy(const Location &from, const Location &to, quint8 attributes)
{
    const auto data = read(from);
    if (!data.ok())
        return data.error;
    const auto time = lastWriteTime(from);
    if (!time.ok())
        return time.error;
    return writeCopy(to, {data.value, time.value}, attributes);
}

int FatImageBackend::writeCopy(const Location &to, const FileCopy &file, quint8 attributes)
{
    if (const int error = copyIntoImage(to, file.data, file.lastWrite, to.name))
        return error;
    return setAttributesOfCopy(to, attributes);
}

int FatImageBackend::move(const Location &from, const Location &to, quint8 attributes)
{
    if (!isStorableName(to.name))
        return dos::PathNotFound;
    std::shared_ptr<const FatVolume> volume;
    const auto source = currentEntry(from, &volume);
    if (!source.ok())
        return source.error;
    const quint8 before = source.value->attributes & ~attr::Directory;
    const QStringList arguments{QStringLiteral("-D"), QStringLiteral("o"), BackendPlace::entry(from),
                                pathOfName(to, to.name)};
    if (const int error = changeImage(from, QStringLiteral("mmove"), arguments)) {
        if (to.exists || makeRoomFor(to) != dos::Ok
            || changeImage(from, QStringLiteral("mmove"), arguments) != dos::Ok)
            return error;
    }
    // mmove moves the directory entry, attributes and all.
    return before == attributes ? dos::Ok : setAttributesOf(to, attributes);
}

int FatImageBackend::remove(const Location &file)
{
    return changeImage(file, QStringLiteral("mdel"), {BackendPlace::entry(file)});
}

int FatImageBackend::makeDirectory(const Location &directory)
{
    if (!isStorableName(directory.name))
        return dos::PathNotFound;
    return changeImage(directory, QStringLiteral("mmd"), {pathOfName(directory, directory.name)});
}

int FatImageBackend::removeTree(const Location &directory)
{
    return changeImage(directory, QStringLiteral("mdeltree"), {BackendPlace::entry(directory)});
}

// One mcopy of all the files into the staging folder, one mattrib for each set of attributes
// other than archive, one mmove of all the copies to their names. The move goes from another
// folder: mtools 4.0 aborts a rename inside one folder whose new name makes that folder grow.
bool FatImageBackend::copyTogether(const QList<Location> &sources, const QStringList &names,
                                   const Location &folder, const QString &stagingPrefix)
{
    std::shared_ptr<const FatVolume> volume;
    const auto target = currentEntry(folder, &volume);
    if (!target.ok() || !target.value->isDirectory() || !target.value->entries().ok())
        return false;
    const QString staging = stagingName(*target.value, stagingPrefix);
    if (staging.isEmpty())
        return false;
    const QString stagingPath = below(BackendPlace::entry(folder), staging);
    QStringList copied;
    QStringList staged;
    QSet<QString> stagedNames;  // case-folded: two names FAT holds as one
    QMap<quint8, QStringList> attributeSets;
    for (qsizetype at = 0; at < sources.size(); ++at) {
        const FatEntry *source = entryOf(*volume, sources[at]).value;
        const FatEntry *earlier = target.value->find(names[at]);
        // A file replaced keeps the spelling of its name, as a copy file by file does.
        const QString name = earlier ? earlier->name : names[at];
        const QString folded = name.toCaseFolded();
        if (!source || source->isDirectory() || (earlier && earlier->isDirectory()) || !isPlainName(name)
            || !namesEntry(name, *source) || stagedNames.contains(folded))
            return false;
        stagedNames.insert(folded);
        copied.append(below(BackendPlace::folder(sources[at]), name));
        staged.append(below(stagingPath, name));
        const quint8 attributes = source->attributes & ~attr::Directory;
        if (attributes != attr::Archive)
            attributeSets[attributes].append(staged.last());
    }

    if (changeImage(folder, QStringLiteral("mmd"), {stagingPath}) != dos::Ok)
        return false;
    bool done = changeImage(folder, QStringLiteral("mcopy"),
                            QStringList{QStringLiteral("-m"), QStringLiteral("-o")} + copied
                                + QStringList{stagingPath + u'/'})
                == dos::Ok;
    for (auto set = attributeSets.cbegin(); done && set != attributeSets.cend(); ++set)
        done = changeImage(folder, QStringLiteral("mattrib"), attributeFlags(set.key()) + set.value())
               == dos::Ok;
    if (done) {
        done = changeImage(folder, QStringLiteral("mmove"),
                           QStringList{QStringLiteral("-D"), QStringLiteral("o")} + staged
                               + QStringList{below(BackendPlace::entry(folder), {})})
               == dos::Ok;
    }
    // An empty staging folder left behind goes with the next run into the folder; what a failed
    // step left in it goes now, and the caller's copies file by file report the failure.
    (void)changeImage(folder, done ? QStringLiteral("mrd") : QStringLiteral("mdeltree"), {stagingPath});
    return done;
}

DosResult<QString> FatImageBackend::hostPath(const Location &)
{
    return {dos::AccessDenied, {}};  // the files lie inside the image
}

std::unique_ptr<DriveBackend> makeFatImageBackend()
{
    return std::make_unique<FatImageBackend>();
}

}  // namespace platform::detail
