#include "platform/drives/detail/DriveBackend.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/BackendPlace.h"
#include "platform/drives/detail/Folder.h"
#include "platform/drives/detail/PathResolver.h"
#include "platform/drives/detail/RecentlyUsed.h"
#include "platform/host/detail/HostFiles.h"
#include "platform/text/detail/FileNames.h"

#include <algorithm>
#include <array>
#include <optional>

namespace platform::detail {

namespace {

struct Found {
    QString name;
    bool isDirectory = false;
    QString shortName{};  // where the listing has it fixed already (a kept alias)
    bool listedAsFile = false;  // a regular file, no link, in the folder's listing
};

QString below(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : folder + u'/' + name;
}

// A Location of this backend keeps as its place (BackendPlace) the paths of the folder and of the entry
// below the drive's folder, which confines them. A file found in a folder leaves its entry's path
// to be put together from the folder's and its name where it is asked for: a run keeps the
// look-ups of all its files, and mostly never asks.
QString entryPlace(const Location &location)
{
    const QString &entry = BackendPlace::entry(location);
    if (!entry.isNull() || location.name.isEmpty())
        return entry;
    return below(BackendPlace::folder(location), location.name);
}

HostPath hostFolderOf(const Location &location)
{
    return {location.drive->hostPath, BackendPlace::folder(location), BackendPlace::openRoot(location)};
}

HostPath hostFileOf(const Location &location)
{
    return {location.drive->hostPath, entryPlace(location), BackendPlace::openRoot(location)};
}

// A folder whose records cannot be read still shows its entries by name, so that they do not
// count as missing; any other name, which might be an alias, gets the folder's error, and so
// does everything that needs the records (attributes, aliases, changes).
DosResult<std::optional<Found>> foundWithoutRecords(const HostPath &hostFolder, const QString &name,
                                                    int folderError)
{
    const auto spelled = hostSpellingOf(hostFolder, name);
    if (!spelled.ok())
        return {spelled.error, std::nullopt};
    if (!spelled.value)
        return {folderError, std::nullopt};
    const auto info = statHost(hostFolder.child(*spelled.value));
    return {dos::Ok, Found{*spelled.value, info && S_ISDIR(info->st_mode)}};
}

// By name, by a spelling that differs from the host's, or by 8.3 alias.
DosResult<std::optional<Found>> findIn(Folder &folder, const Drive &drive, const QString &name)
{
    const FolderEntry *entry = folder.find(name);
    if (!entry)
        return {dos::Ok, std::nullopt};
    const Found found{entry->name, entry->isDirectory, entry->aliasKept ? entry->shortName : QString(),
                      entry->listedAsFile};
    const bool byAlias = entry->name != name && upperCaseName(entry->name) != upperCaseName(name);
    if (byAlias && !drive.writeProtected) {
        if (const int error = folder.keepAlias(found.name))
            return {error, std::nullopt};
    }
    return {dos::Ok, found};
}

DosResult<std::optional<Found>> findListed(const Drive &drive, const HostPath &hostFolder,
                                           const QString &name)
{
    const auto folder = folderAt(hostFolder);
    if (!folder.ok())
        return foundWithoutRecords(hostFolder, name, folder.error);
    return findIn(*folder.value, drive, name);
}

// The exact spelling is tried first, so that most names cost no listing of the folder.
DosResult<std::optional<Found>> findEntry(const Drive &drive, const HostPath &hostFolder, const QString &name)
{
    if (const auto info = statHost(hostFolder.child(name)))
        return {dos::Ok, Found{name, S_ISDIR(info->st_mode)}};
    return findListed(drive, hostFolder, name);
}

// The entry found in a folder, or a new entry of that name there. Made afresh rather than copied
// from the folder's and changed, which would take and let go each of its strings once more.
Location entryIn(const Location &folder, const QString &name, const std::optional<Found> &found)
{
    Location location;
    location.drive = folder.drive;
    BackendPlace::openRoot(location) = BackendPlace::openRoot(folder);
    BackendPlace::folder(location) = entryPlace(folder);
    location.exists = found.has_value();
    if (found) {
        location.isDirectory = found->isDirectory;
        location.name = found->name;
        location.shortName = found->shortName;
        BackendPlace::listedAsFile(location) = found->listedAsFile;
    } else {
        location.name = name;
    }
    // A file's paths are put together where they are asked for; a folder's are kept, as the
    // paths of the entries looked up in it start from them.
    if (location.isDirectory) {
        BackendPlace::entry(location) = below(BackendPlace::folder(location), location.name);
        location.setWindowsPath(windowsPathIn(folder.windowsPath(), location.name));
    } else {
        location.setWindowsPathIn(folder.windowsPath());
    }
    return location;
}

// One name further down: to the entry found, or to a new entry of that name.
void descend(Location &location, const QString &name, const std::optional<Found> &found)
{
    location = entryIn(location, name, found);
}

// The names below it are found one by one, through the folder listings where a spelling differs.
DosResult<Location> walk(Location location, const QStringList &names)
{
    for (const QString &name : names) {
        if (!location.exists || !location.isDirectory)
            return {dos::PathNotFound, {}};
        const auto found = findEntry(*location.drive, hostFileOf(location), name);
        if (!found.ok())
            return {found.error, {}};
        descend(location, name, found.value);
    }
    return {dos::Ok, std::move(location)};
}

Location rootOf(const Drive &drive, const OpenRoot &open)
{
    Location location;
    location.drive = &drive;
    BackendPlace::openRoot(location) = open;
    location.setWindowsPath(QString(drive.letter) + QStringLiteral(":\\"));
    location.exists = true;
    location.isDirectory = true;
    return location;
}

// An existing entry whose names are all spelled as on the host, found with one stat; a root
// only when its folder is there.
std::optional<Location> spelledAsOnHost(const Drive &drive, const QStringList &names, const OpenRoot &open)
{
    Location location = rootOf(drive, open);
    for (const QString &name : names) {
        BackendPlace::folder(location) = BackendPlace::entry(location);
        BackendPlace::entry(location) = below(BackendPlace::folder(location), name);
    }
    const auto info = statHost(hostFileOf(location));
    if (!info || (names.isEmpty() && !S_ISDIR(info->st_mode)))
        return std::nullopt;
    if (!names.isEmpty()) {
        location.name = names.last();
        location.setWindowsPath(location.windowsPath() + names.join(u'\\'));
        location.isDirectory = S_ISDIR(info->st_mode);
    }
    return location;
}

// A held folder a path was found in lately: a run goes through the paths of a few folders again
// and again (sources, backup folder), and each then costs no new look for its folder.
struct HeldPlace {
    int version = -1;  // heldFoldersVersion() when found; the folder is valid while it is the same
    const Drive *drive = nullptr;
    OpenRoot open;
    QStringList folderNames;
    Folder *folder = nullptr;
    Location location;  // of the folder
};

struct HeldPlaces {
    std::array<HeldPlace, 4> places;
    size_t next = 0;  // the one to replace
};

// During a file run, a path whose folder the run holds is found in the folder's listing, and
// such a folder itself is known to be there, without a look at the host. Only a folder spelled as
// on the host can match one held.
std::optional<DosResult<Location>> fromHeldFolder(const Drive &drive, const QStringList &names,
                                                  const OpenRoot &open, HeldPlaces &lately)
{
    if (names.isEmpty())
        return std::nullopt;
    const qsizetype depth = names.size() - 1;
    const int version = heldFoldersVersion();
    const auto known =
        std::find_if(lately.places.cbegin(), lately.places.cend(), [&](const HeldPlace &place) {
            return place.version == version && place.drive == &drive && place.open == open
                   && std::equal(names.cbegin(), names.cbegin() + depth, place.folderNames.cbegin(),
                                 place.folderNames.cend());
        });
    if (known != lately.places.cend()) {
        const auto found = findIn(*known->folder, drive, names.last());
        if (!found.ok())
            return DosResult<Location>{found.error, {}};
        return DosResult<Location>{dos::Ok, entryIn(known->location, names.last(), found.value)};
    }
    Location location = rootOf(drive, open);
    const QStringList folderNames = names.first(depth);
    for (const QString &name : folderNames)
        BackendPlace::entry(location) = below(BackendPlace::entry(location), name);
    Folder *folder = heldFolder(hostFileOf(location));
    if (!folder) {
        // A held folder whose parent the run does not hold, such as the folder a run writes to.
        const QString parent = BackendPlace::entry(location);
        BackendPlace::entry(location) = below(parent, names.last());
        if (!heldFolder(hostFileOf(location)))
            return std::nullopt;
        BackendPlace::folder(location) = parent;
        location.name = names.last();
        location.setWindowsPath(location.windowsPath() + names.join(u'\\'));
        return DosResult<Location>{dos::Ok, std::move(location)};
    }
    location.setWindowsPath(location.windowsPath() + folderNames.join(u'\\'));
    lately.places[lately.next] = {version, &drive, open, folderNames, folder, location};
    lately.next = (lately.next + 1) % lately.places.size();
    const auto found = findIn(*folder, drive, names.last());
    if (!found.ok())
        return DosResult<Location>{found.error, {}};
    descend(location, names.last(), found.value);
    return DosResult<Location>{dos::Ok, std::move(location)};
}

bool isReady(const Drive &drive)
{
    const auto info = statHost(drive.hostPath);
    return info && S_ISDIR(info->st_mode);
}

// The 8.3 name of an existing entry; a name that is one already needs no look at its folder.
DosResult<QString> shortNameIn(const Drive &drive, const HostPath &hostFolder, const QString &name)
{
    if (isShortName(name))
        return {dos::Ok, upperCaseName(name)};
    const auto folder = folderAt(hostFolder);
    if (!folder.ok())
        return {folder.error, {}};
    const FolderEntry *entry = folder.value->find(name);
    if (!entry)
        return {dos::PathNotFound, {}};
    const QString shortName = entry->shortName;
    if (!drive.writeProtected && !entry->aliasKept) {
        if (const int error = folder.value->keepAlias(name))
            return {error, {}};
    }
    return {dos::Ok, shortName};
}

// The entry's 8.3 name: the one its look-up fixed already, else from its folder.
DosResult<QString> shortNameOf(const Location &entry)
{
    if (!entry.shortName.isEmpty())
        return {dos::Ok, entry.shortName};
    return shortNameIn(*entry.drive, hostFolderOf(entry), entry.name);
}

// The folder a write goes to, rid first of the temporary files killed writers left there.
DosResult<std::shared_ptr<Folder>> folderToWrite(const Location &location)
{
    auto folder = folderAt(hostFolderOf(location));
    if (folder.ok())
        folder.value->removeLeftovers();
    return folder;
}

// Makes a copy at `to` by `copied` and records it with `attributes`.
template <typename Copy>
int keepCopy(const Location &to, quint8 attributes, Copy copied)
{
    const auto folder = folderToWrite(to);
    if (!folder.ok())
        return folder.error;
    if (const int error = copied()) {
        // A failed copy removes what it wrote; the listing must not keep the old file.
        if (to.exists && !statHost(hostFileOf(to)))
            (void)folder.value->remove(to.name);  // the copy's error is the one to report
        return error;
    }
    if (to.exists)
        return folder.value->setAttributes(to.name, attributes);
    return folder.value->add(to.name, false, attributes);
}

class HostInput : public InputStream {
public:
    DosResult<qsizetype> read(char *buffer, qsizetype size) override { return reader.read(buffer, size); }
    HostReader reader;
};

// The folder's records learn of the file only when it is in place.
class HostOutput : public OutputStream {
public:
    explicit HostOutput(Location file, quint8 attributes)
        : m_file(std::move(file)),
          m_attributes(attributes)
    {}
    int open()
    {
        const auto folder = folderToWrite(m_file);
        if (!folder.ok())
            return folder.error;
        return m_replacement.open(hostFileOf(m_file), temporaryIn(hostFolderOf(m_file)));
    }
    int write(const char *data, qsizetype size) override { return m_replacement.write(data, size); }
    int commit() override
    {
        const auto folder = folderAt(hostFolderOf(m_file));
        if (!folder.ok())
            return folder.error;
        if (const int error = m_replacement.commit())
            return error;
        if (m_file.exists)
            return folder.value->setAttributes(m_file.name, m_attributes);
        return folder.value->add(m_file.name, false, m_attributes);
    }

private:
    Location m_file;
    quint8 m_attributes;
    HostReplacement m_replacement;
};

// A host folder (fixed disk or cd-rom) with its attributes and aliases in record files.
class HostFolderBackend : public DriveBackend {
public:
    DosResult<Location> locate(const Drive &drive, const QStringList &names) override;
    DosResult<Location> locateIn(const Location &folder, const QString &name) override;
    DosResult<quint8> attributes(const Location &entry) override;
    int setAttributes(const Location &entry, quint8 attributes) override;
    DosResult<QDateTime> lastWriteTime(const Location &entry) override;
    DosResult<QString> shortPath(const Location &entry) override;
    DosResult<QString> shortName(const Location &entry) override;
    DosResult<QString> hostPath(const Location &entry) override;
    DosResult<QList<DirectoryEntry>> entries(const Location &directory) override;
    bool isSameFile(const Location &a, const Location &b) override;
    DosResult<QByteArray> read(const Location &file) override;
    int write(const Location &file, const QByteArray &data, WriteMode mode, quint8 attributes) override;
    int copy(const Location &from, const Location &to, quint8 attributes) override;
    int writeCopy(const Location &to, const FileCopy &file, quint8 attributes) override;
    InPlaceCopy copyReplacing(const Location &from, const Location &to, quint8 attributes,
                              const QString &prefix) override;
    int move(const Location &from, const Location &to, quint8 attributes) override;
    int remove(const Location &file) override;
    int makeDirectory(const Location &directory) override;
    int removeTree(const Location &directory) override;
    DosResult<std::unique_ptr<InputStream>> openInput(const Location &file) override;
    DosResult<std::unique_ptr<OutputStream>> openReplacing(const Location &file, quint8 attributes) override;

private:
    OpenRoot openRootOf(const Drive &drive);
    HostPath writeFolderOf(const Location &file);
    HostSource sourceOf(const Location &file);
    DosResult<QString> shortFolderPath(const Location &entry);

    HeldPlaces m_heldLately;

    struct HeldRoot {
        HostRoot root;
        int checkedInRun = 0;  // the file run that has checked it already (fileRunUnderWay)
    };
    QHash<QString, HeldRoot> m_roots;  // by the drive's host folder
    // The drives looked at last and their entries in m_roots, valid until m_roots gets another:
    // a run goes back and forth between two drives (sources, backup folder).
    struct LastRoot {
        const Drive *drive = nullptr;
        QString hostPath;
        HeldRoot *held = nullptr;
    };
    RecentlyUsed<LastRoot> m_lastRoots;
    HeldRoot &heldRootOf(const Drive &drive);

    // A folder below a drive's folder as one file run saw it: valid for that run only, until it
    // holds or lets go a folder.
    struct SeenInRun {
        int run = 0;
        int version = -1;  // heldFoldersVersion()
        const Drive *drive = nullptr;
        OpenRoot driveRoot;
        QString place;  // below the drive's folder

        bool is(const SeenInRun &now) const
        {
            return now.run != 0 && run == now.run && version == now.version && drive == now.drive
                   && driveRoot == now.driveRoot && place == now.place;
        }
    };

    // A folder a file run copies into (writeFolderOf) or from (sourceOf), held open for the run.
    struct RunFolder {
        SeenInRun seen;
        OpenRoot open;
        QString text;  // the folder's host path, which names it in messages only
    };
    OpenRoot heldInRun(RunFolder &held, const Location &file);

    // The held folders locateIn found last: a run finds its sources in one and its copies in
    // another, by turns.
    struct HeldIn {
        SeenInRun seen;
        Folder *folder = nullptr;
    };
    RecentlyUsed<HeldIn> m_heldIn;
    RunFolder m_writeFolder;
    RunFolder m_sourceFolder;

    // The folders whose short forms a file run asked for last (shortFolderPath).
    struct ShortFolder {
        SeenInRun seen;
        QString shortPath;
    };
    RecentlyUsed<ShortFolder> m_shortFolders;
};

HostFolderBackend::HeldRoot &HostFolderBackend::heldRootOf(const Drive &drive)
{
    if (const LastRoot *last = m_lastRoots.find([&drive](const LastRoot &root) {
            return root.drive == &drive && root.hostPath == drive.hostPath;
        }))
        return *last->held;
    auto held = m_roots.find(drive.hostPath);
    if (held == m_roots.end()) {
        held = m_roots.insert(drive.hostPath, {});
        m_lastRoots.clear();  // the table may have moved its entries
    }
    m_lastRoots.remember({&drive, drive.hostPath, &*held});
    return *held;
}

// Each drive's folder stays open. Every look checks first that the folder is still the one the
// machine names, so that one removed or replaced meanwhile is seen as before; a file run, which
// sees no changes made by others, checks once.
OpenRoot HostFolderBackend::openRootOf(const Drive &drive)
{
    HeldRoot &held = heldRootOf(drive);
    HostRoot &root = held.root;
    const int run = fileRunUnderWay();
    if (root.open() && run != 0 && held.checkedInRun == run)
        return root.open();
    held.checkedInRun = run;
    const OpenRoot before = root.open();
    (void)root.refresh(drive.hostPath);  // a folder that is gone is found missing below
    // The folders known of the old one would be looked at through it.
    if (before && before != root.open())
        forgetFolders(drive.hostPath);
    return root.open();
}

// A file run copies into the same folder again and again, and sees no changes made by others:
// the folder is opened once for the run, and again only after the run held or let go a folder
// (a folder removed meanwhile is let go). Outside a run it is opened for each use. The folder as
// a root of its own, held open; as the file's path names it where it cannot be opened, so that
// the file's own path finds what is wrong.
HostPath HostFolderBackend::writeFolderOf(const Location &file)
{
    const OpenRoot open = heldInRun(m_writeFolder, file);
    if (!open)
        return hostFolderOf(file);
    if (open == m_writeFolder.open)
        return {m_writeFolder.text, QString(), open};
    return {hostFolderOf(file).text(), QString(), open};
}

OpenRoot HostFolderBackend::heldInRun(RunFolder &held, const Location &file)
{
    const SeenInRun now{fileRunUnderWay(), heldFoldersVersion(), file.drive, BackendPlace::openRoot(file),
                        BackendPlace::folder(file)};
    if (held.seen.is(now) && held.open)
        return held.open;
    OpenRoot open = holdHostFolder(hostFolderOf(file));
    if (now.run == 0)
        return open;
    held = {now, open, hostFolderOf(file).text()};
    return open;
}

// A file run copies many files of one folder: that folder is held for the run like the one it
// copies into, and a regular file in it is opened by name. Outside a run the path is resolved as
// always.
HostSource HostFolderBackend::sourceOf(const Location &file)
{
    HostSource source{hostFolderOf(file), file.name, {}, BackendPlace::listedAsFile(file)};
    if (fileRunUnderWay() != 0)
        source.held = heldInRun(m_sourceFolder, file);
    return source;
}

// Most paths are spelled as on the host, or name a new entry in a folder that is: they cost a
// stat or two instead of one per name.
DosResult<Location> HostFolderBackend::locate(const Drive &drive, const QStringList &names)
{
    if (drive.hostPath.isEmpty())
        return {dos::NotReady, {}};
    const OpenRoot open = openRootOf(drive);
    if (auto held = fromHeldFolder(drive, names, open, m_heldLately))
        return std::move(*held);
    if (auto whole = spelledAsOnHost(drive, names, open))
        return {dos::Ok, std::move(*whole)};
    if (!names.isEmpty()) {
        if (auto location = spelledAsOnHost(drive, names.first(names.size() - 1), open)) {
            if (!location->isDirectory)
                return {dos::PathNotFound, {}};
            // The last name is not there as spelled; only the listing can still know it.
            const auto found = findListed(drive, hostFileOf(*location), names.last());
            if (!found.ok())
                return {found.error, {}};
            descend(*location, names.last(), found.value);
            return {dos::Ok, std::move(*location)};
        }
    }
    if (!isReady(drive))
        return {dos::NotReady, {}};
    return walk(rootOf(drive, open), names);
}

// During a file run, a plain name in a folder the run holds is found in the folder's listing, as
// locate() would find it there; anything else goes along the whole path.
DosResult<Location> HostFolderBackend::locateIn(const Location &folder, const QString &name)
{
    if (fileRunUnderWay() == 0 || !folder.exists || !folder.isDirectory || !isValidLongName(name)
        || BackendPlace::openRoot(folder) != openRootOf(*folder.drive))
        return DriveBackend::locateIn(folder, name);
    const SeenInRun now{fileRunUnderWay(), heldFoldersVersion(), folder.drive, BackendPlace::openRoot(folder),
                        entryPlace(folder)};
    const HeldIn *kept = m_heldIn.find([&now](const HeldIn &heldIn) { return heldIn.seen.is(now); });
    Folder *held = kept ? kept->folder : heldFolder(hostFileOf(folder));
    if (!held)
        return DriveBackend::locateIn(folder, name);
    if (!kept)
        m_heldIn.remember({now, held});
    const auto found = findIn(*held, *folder.drive, name);
    if (!found.ok())
        return {found.error, {}};
    return {dos::Ok, entryIn(folder, name, found.value)};
}

DosResult<quint8> HostFolderBackend::attributes(const Location &entry)
{
    if (entry.isRoot())
        return {dos::Ok, attr::Directory};
    const auto folder = folderAt(hostFolderOf(entry));
    if (!folder.ok())
        return {folder.error, 0};
    const FolderEntry *found = folder.value->find(entry.name);
    if (!found)
        return {dos::FileNotFound, 0};
    return {dos::Ok, quint8(found->attributes | (found->isDirectory ? attr::Directory : 0))};
}

int HostFolderBackend::setAttributes(const Location &entry, quint8 attributes)
{
    const auto folder = folderToWrite(entry);
    if (!folder.ok())
        return folder.error;
    return folder.value->setAttributes(entry.name, attributes);
}

DosResult<QDateTime> HostFolderBackend::lastWriteTime(const Location &entry)
{
    const auto info = statHost(hostFileOf(entry));
    if (!info)
        return {dos::FileNotFound, {}};
    const qint64 milliseconds = qint64(info->st_mtim.tv_sec) * 1000 + info->st_mtim.tv_nsec / 1000000;
    return {dos::Ok, QDateTime::fromMSecsSinceEpoch(milliseconds)};
}

// The 8.3 form of the folder that holds an entry, name by name along its place below the
// drive's folder, which holds the same names. During a file run the last few are kept: no alias
// of a folder the run holds changes until it holds or lets go a folder.
DosResult<QString> HostFolderBackend::shortFolderPath(const Location &entry)
{
    const Drive &drive = *entry.drive;
    const OpenRoot &driveRoot = BackendPlace::openRoot(entry);
    const QString &place = BackendPlace::folder(entry);
    const SeenInRun now{fileRunUnderWay(), heldFoldersVersion(), &drive, driveRoot, place};
    if (const ShortFolder *kept =
            m_shortFolders.find([&now](const ShortFolder &folder) { return folder.seen.is(now); }))
        return {dos::Ok, kept->shortPath};

    QString shortPath = entry.windowsPath().left(3);
    for (qsizetype start = 0; start < place.size();) {
        qsizetype end = place.indexOf(u'/', start);
        if (end < 0)
            end = place.size();
        const QString folder = start > 0 ? place.left(start - 1) : QString();
        const auto shortName =
            shortNameIn(drive, {drive.hostPath, folder, driveRoot}, place.mid(start, end - start));
        if (!shortName.ok())
            return shortName;
        if (start > 0)
            shortPath += u'\\';
        shortPath += shortName.value;
        start = end + 1;
    }
    if (now.run != 0)
        m_shortFolders.remember({now, shortPath});
    return {dos::Ok, shortPath};
}

DosResult<QString> HostFolderBackend::shortPath(const Location &entry)
{
    if (entry.isRoot())
        return {dos::Ok, entry.windowsPath().left(3)};
    auto shortPath = shortFolderPath(entry);
    if (!shortPath.ok())
        return shortPath;
    const auto shortName = shortNameOf(entry);
    if (!shortName.ok())
        return shortName;
    // Put together in one piece: the folder's part is shared with the ones kept.
    if (BackendPlace::folder(entry).isEmpty())
        return {dos::Ok, shortPath.value + shortName.value};
    return {dos::Ok, shortPath.value + u'\\' + shortName.value};
}

// The folder's part is asked for all the same, as it fixes the folders' aliases as shortPath does.
DosResult<QString> HostFolderBackend::shortName(const Location &entry)
{
    if (entry.isRoot())
        return {dos::Ok, QString()};
    const auto folder = shortFolderPath(entry);
    if (!folder.ok())
        return folder;
    return shortNameOf(entry);
}

DosResult<QList<DirectoryEntry>> HostFolderBackend::entries(const Location &directory)
{
    const auto folder = folderAt(hostFileOf(directory));
    if (!folder.ok())
        return {folder.error, {}};
    QList<DirectoryEntry> entries;
    for (const FolderEntry *entry : folder.value->sortedEntries())
        entries.append({entry->name, entry->isDirectory});
    return {dos::Ok, entries};
}

// Another program opens the path itself: only a file or folder of the PC, as it was found inside
// the drive's folder, is handed out.
DosResult<QString> HostFolderBackend::hostPath(const Location &entry)
{
    const HostPath path = hostFileOf(entry);
    const auto info = statHost(path);
    if (!info)
        return {dos::FileNotFound, {}};
    if (!S_ISREG(info->st_mode) && !S_ISDIR(info->st_mode))
        return {dos::AccessDenied, {}};
    return {dos::Ok, path.text()};
}

bool HostFolderBackend::isSameFile(const Location &a, const Location &b)
{
    return isSameHostFile(hostFileOf(a), hostFileOf(b));
}

DosResult<QByteArray> HostFolderBackend::read(const Location &file)
{
    return readHostFile(hostFileOf(file));
}

int HostFolderBackend::write(const Location &file, const QByteArray &data, WriteMode mode, quint8 attributes)
{
    const auto folder = folderToWrite(file);
    if (!folder.ok())
        return folder.error;
    int error = dos::Ok;
    switch (mode) {
    case WriteMode::Truncate:
        error = writeHostFile(hostFileOf(file), data);
        break;
    case WriteMode::Replace:
        error = replaceHostFile(hostFileOf(file), temporaryIn(hostFolderOf(file)), data);
        break;
    case WriteMode::CreateNew:
        error = writeHostFile(hostFileOf(file), data, true);
        break;
    }
    if (error != dos::Ok)
        return error;
    if (file.exists)
        return folder.value->setAttributes(file.name, attributes);
    return folder.value->add(file.name, false, attributes);
}

int HostFolderBackend::copy(const Location &from, const Location &to, quint8 attributes)
{
    return keepCopy(to, attributes, [&] { return copyHostFile(hostFileOf(from), hostFileOf(to)); });
}

int HostFolderBackend::writeCopy(const Location &to, const FileCopy &file, quint8 attributes)
{
    return keepCopy(to, attributes, [&] { return writeHostCopy(hostFileOf(to), file.data, file.lastWrite); });
}

// Between two host folders the temporary stays open from its creation to the rename, and the
// records learn only of the finished copy.
InPlaceCopy HostFolderBackend::copyReplacing(const Location &from, const Location &to, quint8 attributes,
                                             const QString &prefix)
{
    if (&from.backend() != this)
        return DriveBackend::copyReplacing(from, to, attributes, prefix);
    const auto folder = folderToWrite(to);
    if (!folder.ok())
        return {folder.error, true, {}};
    // Inside the folder held open, both names are found without finding the folder again.
    const HostPath hostFolder = writeFolderOf(to);
    const bool held = hostFolder.open && hostFolder.below.isEmpty();
    const HostPath target = held ? hostFolder.child(to.name) : hostFileOf(to);
    const HostSource source = sourceOf(from);
    TemporaryNames names(prefix);
    while (const auto name = names.next()) {
        if (folder.value->find(*name))
            continue;
        const HostPath temporary = hostFolder.child(*name);
        const ReplacingCopy copy = copyHostFileReplacing(source, target, temporary);
        // Someone else took the name meanwhile.
        if (copy.temporaryRefused && copy.error == dos::AccessDenied && statHost(temporary))
            continue;
        if (copy.error != dos::Ok)
            return {copy.error, copy.temporaryRefused, {}};
        if (to.exists)
            return {folder.value->setAttributes(to.name, attributes), false, {}};
        // A new name's 8.3 name is fixed as it is added: the script of a run need not ask again.
        InPlaceCopy added;
        added.error = folder.value->add(to.name, false, attributes, &added.shortName);
        return added;
    }
    return {dos::AccessDenied, true, {}};
}

int HostFolderBackend::move(const Location &from, const Location &to, quint8 attributes)
{
    // Both folders are fetched before the rename: their bookkeeping follows the host change.
    const auto sourceFolder = folderToWrite(from);
    if (!sourceFolder.ok())
        return sourceFolder.error;
    const bool sameFolder = to.drive == from.drive && BackendPlace::folder(to) == BackendPlace::folder(from);
    const auto targetFolder = sameFolder ? sourceFolder : folderToWrite(to);
    if (!targetFolder.ok())
        return targetFolder.error;
    if (const int error = renameHostFile(hostFileOf(from), hostFileOf(to)))
        return error;
    if (const int error = sourceFolder.value->remove(from.name))
        return error;
    // A replaced file keeps its 8.3 name; a new long name gets its alias among its new neighbours.
    if (to.exists)
        return targetFolder.value->setAttributes(to.name, attributes);
    return targetFolder.value->add(to.name, false, attributes);
}

int HostFolderBackend::remove(const Location &file)
{
    const auto folder = folderToWrite(file);
    if (!folder.ok())
        return folder.error;
    if (const int error = removeHostFile(hostFileOf(file)))
        return error;
    return folder.value->remove(file.name);
}

int HostFolderBackend::makeDirectory(const Location &directory)
{
    const auto folder = folderToWrite(directory);
    if (!folder.ok())
        return folder.error;
    if (const int error = makeHostFolder(hostFileOf(directory)))
        return error;
    return folder.value->add(directory.name, true, 0);
}

int HostFolderBackend::removeTree(const Location &directory)
{
    const auto folder = folderToWrite(directory);
    if (!folder.ok())
        return folder.error;
    const int error = removeHostTree(hostFileOf(directory));
    forgetFolders(hostFileOf(directory));
    if (error != dos::Ok)
        return error;
    return folder.value->remove(directory.name);
}

DosResult<std::unique_ptr<InputStream>> HostFolderBackend::openInput(const Location &file)
{
    auto input = std::make_unique<HostInput>();
    if (const int error = input->reader.open(hostFileOf(file)))
        return {error, nullptr};
    return {dos::Ok, std::move(input)};
}

DosResult<std::unique_ptr<OutputStream>> HostFolderBackend::openReplacing(const Location &file,
                                                                          quint8 attributes)
{
    auto output = std::make_unique<HostOutput>(file, attributes);
    if (const int error = output->open())
        return {error, nullptr};
    return {dos::Ok, std::move(output)};
}

}  // namespace

std::unique_ptr<DriveBackend> makeHostFolderBackend()
{
    return std::make_unique<HostFolderBackend>();
}

}  // namespace platform::detail
