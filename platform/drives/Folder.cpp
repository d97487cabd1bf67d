#include "platform/drives/detail/Folder.h"

#include "platform/drives/Files.h"
#include "platform/drives/detail/PcState.h"
#include "platform/host/detail/HostFiles.h"
#include "platform/text/detail/FileNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <optional>

#include <signal.h>

namespace platform::detail {

namespace {

constexpr quint8 RecordedAttributes = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
constexpr int FolderCacheLimit = 64;
constexpr int MinimumLinesBeforeRewrite = 64;

quint8 defaultAttributes(bool isDirectory)
{
    return isDirectory ? 0 : attr::Archive;
}

bool sameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// One line of the records file, put straight into the text: a held folder of many new names
// writes a line for each at once.
void putRecordLine(QString &text, QStringView name, QStringView attributes, QStringView alias)
{
    text += name;
    text += u'\t';
    text += attributes;
    text += u'\t';
    text += alias;
    text += u'\n';
}

QString recordLine(const QString &name, const QString &attributes, const QString &alias)
{
    QString line;
    putRecordLine(line, name, attributes, alias);
    return line;
}

void appendEntryLine(QString &text, const FolderEntry &entry)
{
    // The attributes in decimal, without a string of their own.
    char16_t digits[3];
    qsizetype count = 0;
    if (entry.attributes >= 100)
        digits[count++] = char16_t(u'0' + entry.attributes / 100);
    if (entry.attributes >= 10)
        digits[count++] = char16_t(u'0' + entry.attributes / 10 % 10);
    digits[count++] = char16_t(u'0' + entry.attributes % 10);
    putRecordLine(text, entry.name, QStringView(digits, count),
                  entry.aliasKept ? QStringView(entry.shortName) : QStringView());
}

QString entryLine(const FolderEntry &entry)
{
    QString line;
    appendEntryLine(line, entry);
    return line;
}

bool needsRecord(const FolderEntry &entry)
{
    return entry.aliasKept || entry.attributes != defaultAttributes(entry.isDirectory);
}

// The Windows name of a host entry; none for names Windows cannot hold or the layer's own files.
std::optional<QString> windowsName(const QByteArray &encoded)
{
    const QString name = QFile::decodeName(encoded);
    if (QFile::encodeName(name) != encoded || !isValidLongName(name))
        return std::nullopt;
    return name;
}

// BASE~N or BASE~N.EXT: only a name of this form can be taken as some stem's alias.
bool hasAliasForm(const QString &name)
{
    const QString base = name.section(u'.', 0, 0);
    const qsizetype tilde = base.lastIndexOf(u'~');
    if (tilde <= 0 || tilde == base.size() - 1)
        return false;
    return std::all_of(base.cbegin() + tilde + 1, base.cend(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The process that made a temporary file of temporaryIn; none for any other name.
std::optional<qint64> temporaryWriter(const QString &name)
{
    static const QRegularExpression pattern(
        QStringLiteral("^%1-new-([0-9]{1,9})-[0-9]{1,9}$").arg(QRegularExpression::escape(ReservedPrefix)));
    const auto match = pattern.match(name);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLongLong();
}

// A process that still runs may still be writing its temporary file; one that cannot be signalled
// runs as well.
bool isRunning(qint64 pid)
{
    return pid == QCoreApplication::applicationPid() || ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// The zero time for a folder that cannot be examined.
timespec folderTimeOf(const HostPath &hostFolder)
{
    const auto folder = statHost(hostFolder);
    return folder ? folder->st_mtim : timespec{};
}

bool isBelow(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(hostChild(folder, QString()));
}

}  // namespace

bool Folder::Stamp::operator==(const Stamp &other) const
{
    return sameTime(folderTime, other.folderTime) && sameTime(recordsTime, other.recordsTime)
           && recordsSize == other.recordsSize && recordsInode == other.recordsInode;
}

Folder::Folder(const HostPath &hostFolder)
    : m_hostFolder(hostFolder)
{}

DosResult<std::shared_ptr<Folder>> Folder::load(const HostPath &hostFolder)
{
    std::shared_ptr<Folder> folder(new Folder(hostFolder));
    // Stamped before reading, so that a change made meanwhile is noticed on the next look.
    folder->m_stamp = folder->currentStamp();
    QHash<QString, Record> records;
    if (const int error = folder->readRecords(&records))
        return {error, {}};
    if (const int error = folder->readEntries(records))
        return {error, {}};
    return {dos::Ok, folder};
}

HostPath Folder::recordsPath() const
{
    return m_hostFolder.child(ReservedPrefix);
}

Folder::Stamp Folder::currentStamp() const
{
    Stamp stamp;
    stamp.folderTime = folderTimeOf(m_hostFolder);
    if (const auto records = statHost(recordsPath())) {
        stamp.recordsTime = records->st_mtim;
        stamp.recordsSize = records->st_size;
        stamp.recordsInode = records->st_ino;
    }
    return stamp;
}

bool Folder::isCurrent() const
{
    return currentStamp() == m_stamp;
}

void Folder::removeLeftovers()
{
    const qsizetype before = m_leftovers.size();
    // One whose writer still runs, or that cannot be removed, waits for a later write.
    m_leftovers.removeIf([](const HostPath &leftover) {
        const auto writer = temporaryWriter(leftover.below.section(u'/', -1));
        return writer && !isRunning(*writer) && removeHostFile(leftover) == dos::Ok;
    });
    if (m_leftovers.size() != before)
        noteFolderChanged();
}

int Folder::readRecords(QHash<QString, Record> *records)
{
    const auto file = readHostFile(recordsPath());
    if (file.error == dos::FileNotFound)
        return dos::Ok;
    if (!file.ok())
        return file.error;
    const QStringList lines = QString::fromUtf8(file.value).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        ++m_recordLines;
        const QStringList fields = line.split(u'\t');
        if (fields.size() != 3)
            continue;
        const QString &name = fields[0];
        if (fields[1] == u"-") {
            records->remove(name);
            m_recorded.remove(name);
            continue;
        }
        bool isNumber = false;
        const uint attributes = fields[1].toUInt(&isNumber);
        if (!isNumber)
            continue;
        records->insert(name, {quint8(attributes & RecordedAttributes), fields[2]});
        m_recorded.insert(name);
    }
    return dos::Ok;
}

int Folder::readEntries(const QHash<QString, Record> &records)
{
    const auto listing = listHostFolder(m_hostFolder);
    if (!listing.ok())
        return listing.error;
    QList<std::pair<qsizetype, QString>> storedAliases;  // number of a long name, its recorded alias
    m_entries.reserve(listing.value.size());  // a folder of many files grows its table once
    for (const HostEntry &hostEntry : listing.value) {
        const auto name = windowsName(hostEntry.name);
        if (!name) {
            const QString hostName = QFile::decodeName(hostEntry.name);
            if (temporaryWriter(hostName))
                m_leftovers.append(m_hostFolder.child(hostName));
            continue;
        }
        // Of two host names that differ in case only, Windows sees the first.
        if (m_byName.find(*name, nameAt()) >= 0)
            continue;
        const qsizetype number = m_entries.size();
        FolderEntry entry;
        entry.name = *name;
        entry.isDirectory = hostEntry.isDirectory;
        entry.listedAsFile = hostEntry.isFile;
        const auto record = records.constFind(*name);
        entry.attributes =
            record != records.cend() ? record->attributes : defaultAttributes(entry.isDirectory);
        if (isShortName(*name))
            entry.shortName = upperCaseName(*name);
        else if (record != records.cend() && !record->alias.isEmpty())
            storedAliases.append({number, upperCaseName(record->alias)});
        m_entries.append(std::move(entry));
        m_byName.insert(*name, number, nameAt());
    }
    keepSoundAliases(storedAliases);

    // In the order of the upper-cased names, as Windows numbers them.
    QList<std::pair<QString, qsizetype>> withoutAlias;
    for (qsizetype number = 0; number < m_entries.size(); ++number) {
        if (m_entries[number].shortName.isEmpty())
            withoutAlias.append({upperCaseName(m_entries[number].name), number});
    }
    std::sort(withoutAlias.begin(), withoutAlias.end());
    for (const auto &[key, number] : std::as_const(withoutAlias))
        assignAlias(number);
    return dos::Ok;
}

// A recorded alias ends up in restore scripts: it is kept only where it is an 8.3 name that no
// other name or recorded alias of the folder has. The others are worked out afresh.
void Folder::keepSoundAliases(const QList<std::pair<qsizetype, QString>> &storedAliases)
{
    QHash<QString, int> claims;
    for (const auto &stored : storedAliases)
        ++claims[stored.second];
    for (const auto &[number, alias] : storedAliases) {
        if (!isShortName(alias) || claims.value(alias) > 1 || m_byName.find(alias, nameAt()) >= 0)
            continue;
        FolderEntry &entry = m_entries[number];
        entry.shortName = alias;
        entry.aliasKept = true;
        m_byAlias.insert(alias, number, aliasAt());
    }
}

// The lowest free number; where many names share a stem, the search goes on from the last one.
void Folder::assignAlias(qsizetype number)
{
    FolderEntry &entry = m_entries[number];
    const AliasStem stem = aliasStem(entry.name);
    if (!m_lastLowestFree || stem.key() != m_lastStem) {
        m_lastStem = stem.key().toString();
        m_lastLowestFree = &m_lowestFreeNumbers[m_lastStem];  // 0 when new
    }
    int &lowestFree = *m_lastLowestFree;
    int aliasNumber = qMax(lowestFree, 1);
    QString alias = aliasOf(stem, aliasNumber);
    while (m_byName.find(alias, nameAt()) >= 0 || m_byAlias.find(alias, aliasAt()) >= 0)
        alias = aliasOf(stem, ++aliasNumber);
    lowestFree = aliasNumber + 1;
    entry.shortName = alias;
    m_byAlias.insert(alias, number, aliasAt());
}

// A name or alias that goes away may free a lower number for a stem. Other names (a temporary
// ~VS1234.TMP) leave the numbers alone, so that copies going through them stay cheap. The last
// entry takes the place of the one that goes; the indexes learn of it while both are in place.
void Folder::forget(qsizetype number)
{
    const FolderEntry &entry = m_entries.at(number);
    if (m_byAlias.find(entry.shortName, aliasAt()) == number)
        m_byAlias.remove(entry.shortName, aliasAt());
    // Letter case does not change the form: ~ . and digits have none.
    if (hasAliasForm(entry.name) || hasAliasForm(entry.shortName)) {
        m_lowestFreeNumbers.clear();
        m_lastLowestFree = nullptr;
    }
    m_byName.remove(entry.name, nameAt());
    const qsizetype last = m_entries.size() - 1;
    if (number != last) {
        const FolderEntry &moving = m_entries.at(last);
        m_byName.renumber(moving.name, number, nameAt());
        if (m_byAlias.find(moving.shortName, aliasAt()) == last)
            m_byAlias.renumber(moving.shortName, number, aliasAt());
        m_entries[number] = std::move(m_entries[last]);
    }
    m_entries.removeLast();
}

const FolderEntry *Folder::find(const QString &name) const
{
    if (const qsizetype number = m_byName.find(name, nameAt()); number >= 0)
        return &m_entries[number];
    // Aliases are 8.3 names, twelve characters at most: a longer name is none.
    if (name.size() > 12)
        return nullptr;
    if (const qsizetype number = m_byAlias.find(name, aliasAt()); number >= 0)
        return &m_entries[number];
    return nullptr;
}

QList<const FolderEntry *> Folder::sortedEntries() const
{
    QList<const FolderEntry *> sorted;
    sorted.reserve(m_entries.size());
    for (const FolderEntry &entry : m_entries)
        sorted.append(&entry);
    std::sort(sorted.begin(), sorted.end(), [](const FolderEntry *a, const FolderEntry *b) {
        const int order = a->name.compare(b->name, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a->name < b->name;
    });
    return sorted;
}

int Folder::add(const QString &name, bool isDirectory, quint8 attributes, QString *shortName)
{
    if (const qsizetype old = m_byName.find(name, nameAt()); old >= 0)
        forget(old);
    const qsizetype number = m_entries.size();
    FolderEntry entry;
    entry.name = name;
    entry.isDirectory = isDirectory;
    entry.attributes = attributes & RecordedAttributes;
    const bool isShort = isShortName(name);
    if (isShort)
        entry.shortName = upperCaseName(name);
    m_entries.append(std::move(entry));
    if (!isShort) {
        assignAlias(number);
        m_entries[number].aliasKept = true;
    }
    m_byName.insert(name, number, nameAt());
    const FolderEntry &added = m_entries.last();
    if (shortName)
        *shortName = added.shortName;
    // Without a line to write, the records stay as last seen: only the folder's time moved.
    if (!needsRecord(added) && !m_recorded.contains(name)) {
        noteFolderChanged();
        return dos::Ok;
    }
    const int error = record(added);
    noteRecordsChanged();
    return error;
}

int Folder::remove(const QString &name)
{
    const qsizetype number = m_byName.find(name, nameAt());
    if (number < 0)
        return dos::Ok;
    const QString spelled = m_entries[number].name;
    forget(number);
    if (!m_recorded.contains(spelled)) {
        noteFolderChanged();
        return dos::Ok;
    }
    const int error = recordRemoval(spelled);
    noteRecordsChanged();
    return error;
}

int Folder::setAttributes(const QString &name, quint8 attributes)
{
    const qsizetype number = m_byName.find(name, nameAt());
    if (number < 0)
        return dos::FileNotFound;
    FolderEntry &entry = m_entries[number];
    attributes &= RecordedAttributes;
    if (entry.attributes == attributes)
        return dos::Ok;
    entry.attributes = attributes;
    const int error = record(entry);
    noteRecordsChanged();
    return error;
}

int Folder::keepAlias(const QString &name)
{
    const qsizetype number = m_byName.find(name, nameAt());
    if (number < 0)
        return dos::Ok;
    FolderEntry &entry = m_entries[number];
    if (entry.aliasKept || isShortName(entry.name))
        return dos::Ok;
    entry.aliasKept = true;
    const int error = record(entry);
    noteRecordsChanged();
    return error;
}

// The layer's own changes must not make the folder look changed by someone else. A held folder
// takes its stamp once, when it is let go.
void Folder::noteFolderChanged()
{
    if (!m_held)
        m_stamp.folderTime = folderTimeOf(m_hostFolder);
}

void Folder::noteRecordsChanged()
{
    if (!m_held)
        m_stamp = currentStamp();
}

void Folder::hold()
{
    m_held = true;
}

int Folder::release()
{
    m_held = false;
    int error = dos::Ok;
    if (m_recordsPending) {
        m_recordsPending = false;
        error = rewriteRecords();
    }
    m_stamp = currentStamp();
    return error;
}

// A held folder's records are written whole at release, from the entries, which also tells
// anew which names have lines: until then the set need not follow.
int Folder::record(const FolderEntry &entry)
{
    if (m_held) {
        m_recordsPending = true;
        return dos::Ok;
    }
    m_recorded.insert(entry.name);
    return appendRecordLine(entryLine(entry));
}

int Folder::recordRemoval(const QString &name)
{
    if (m_held) {
        m_recordsPending = true;
        return dos::Ok;
    }
    m_recorded.remove(name);
    return appendRecordLine(recordLine(name, QStringLiteral("-"), QString()));
}

int Folder::appendRecordLine(const QString &line)
{
    ++m_recordLines;
    if (m_recordLines > MinimumLinesBeforeRewrite && m_recordLines > 2 * m_recorded.size())
        return rewriteRecords();
    const int error = appendHostFile(recordsPath(), line.toUtf8());
    // Appending never goes through a link; the records then take the link's place.
    if (error != dos::Ok && isHostLink(recordsPath()))
        return rewriteRecords();
    return error;
}

int Folder::rewriteRecords()
{
    QString text;
    QSet<QString> recorded;
    recorded.reserve(m_entries.size());  // mostly every entry of a folder a run wrote into
    for (const FolderEntry &entry : std::as_const(m_entries)) {
        if (!needsRecord(entry))
            continue;
        appendEntryLine(text, entry);
        recorded.insert(entry.name);
    }
    m_recorded = recorded;
    m_recordLines = int(recorded.size());
    if (recorded.isEmpty()) {
        const int error = removeHostFile(recordsPath());
        return error == dos::FileNotFound ? dos::Ok : error;
    }
    return replaceHostFile(recordsPath(), temporaryIn(m_hostFolder), text.toUtf8());
}

DosResult<std::shared_ptr<Folder>> FolderCache::folderAt(const HostPath &hostFolder)
{
    if (m_recentlyHeldVersion != m_heldVersion) {
        m_recentlyHeld.clear();
        m_recentlyHeldVersion = m_heldVersion;
    }
    // The same parts make the same whole path, so m_held would give this folder.
    if (const auto *folder = m_recentlyHeld.find([&hostFolder](const std::shared_ptr<Folder> &held) {
            return held->hostFolder().below == hostFolder.below && held->hostFolder().root == hostFolder.root;
        }))
        return {dos::Ok, *folder};
    const QString key = hostFolder.text();
    if (const auto folder = m_held.constFind(key); folder != m_held.cend()) {
        m_recentlyHeld.remember(*folder);
        return {dos::Ok, *folder};
    }
    const auto cached = m_folders.constFind(key);
    if (cached != m_folders.cend() && (*cached)->isCurrent()) {
        holdForRun(*cached);
        return {dos::Ok, *cached};
    }
    m_folders.remove(key);
    auto loaded = Folder::load(hostFolder);
    if (!loaded.ok())
        return loaded;
    if (m_folders.size() >= FolderCacheLimit)
        m_folders.clear();
    m_folders.insert(key, loaded.value);
    holdForRun(loaded.value);
    return loaded;
}

void FolderCache::holdForRun(const std::shared_ptr<Folder> &folder)
{
    if (m_runs == 0)
        return;
    folder->hold();
    m_held.insert(folder->hostFolder().text(), folder);
    ++m_heldVersion;
}

void FolderCache::beginRun()
{
    if (m_runs++ == 0)
        ++m_runNumber;
}

int FolderCache::endRun()
{
    if (m_runs == 0 || --m_runs > 0)
        return dos::Ok;
    int firstError = dos::Ok;
    for (const auto &folder : std::as_const(m_held)) {
        const int error = folder->release();
        if (firstError == dos::Ok)
            firstError = error;
    }
    m_held.clear();
    ++m_heldVersion;
    return firstError;
}

Folder *FolderCache::held(const HostPath &hostFolder) const
{
    return m_held.value(hostFolder.text()).get();
}

void FolderCache::forget(const HostPath &hostFolder)
{
    const QString gone = hostFolder.text();
    m_folders.removeIf([&](const auto &folder) { return isBelow(folder.key(), gone); });
    // A held folder that is gone has no records left to write.
    m_held.removeIf([&](const auto &folder) { return isBelow(folder.key(), gone); });
    ++m_heldVersion;
}

void FolderCache::forgetAll()
{
    m_folders.clear();
    m_held.clear();
    ++m_heldVersion;
}

DosResult<std::shared_ptr<Folder>> folderAt(const HostPath &hostFolder)
{
    return currentPcState().folders.folderAt(hostFolder);
}

Folder *heldFolder(const HostPath &hostFolder)
{
    return currentPcState().folders.held(hostFolder);
}

int heldFoldersVersion()
{
    return currentPcState().folders.heldVersion();
}

int fileRunUnderWay()
{
    return currentPcState().folders.runUnderWay();
}

void forgetFolders(const HostPath &hostFolder)
{
    currentPcState().folders.forget(hostFolder);
}

void forgetAllFolders()
{
    currentPcState().folders.forgetAll();
}

// The count belongs to the process, not to a PC: the name must be unique for the process ID in
// it, and two PCs may have a host folder in common.
HostPath temporaryIn(const HostPath &hostFolder)
{
    static int counter = 0;
    return hostFolder.child(QStringLiteral("%1-new-%2-%3")
                                .arg(ReservedPrefix)
                                .arg(QCoreApplication::applicationPid())
                                .arg(++counter));
}

DosResult<std::optional<QString>> hostSpellingOf(const HostPath &hostFolder, const QString &name)
{
    const auto listing = listHostFolder(hostFolder);
    if (!listing.ok())
        return {listing.error, std::nullopt};
    const QString wanted = upperCaseName(name);
    for (const HostEntry &hostEntry : listing.value) {
        const auto spelled = windowsName(hostEntry.name);
        if (spelled && upperCaseName(*spelled) == wanted)
            return {dos::Ok, spelled};
    }
    return {dos::Ok, std::nullopt};
}

}  // namespace platform::detail
