#pragma once

#include "platform/drives/detail/RecentlyUsed.h"
#include "platform/host/detail/HostFiles.h"
#include "platform/text/DosError.h"
#include "platform/text/detail/FileNameIndex.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

#include <sys/types.h>
#include <time.h>

// Inside the platform layer only: a host folder as Windows sees it.
namespace platform::detail {

struct FolderEntry {
    QString name;  // spelled as on the host
    bool isDirectory = false;
    bool listedAsFile = false;  // a regular file, no link, in the folder's listing
    quint8 attributes = 0;  // read-only, hidden, system, archive; never the directory bit
    QString shortName;  // the name itself upper-cased, or its alias
    bool aliasKept = false;  // the alias is recorded and no longer changes
};

// The entries of one host folder with their attributes and 8.3 names. Attributes and aliases
// are recorded in a file (ReservedPrefix) in the folder: each change appends a line, a later line
// for a name replaces the earlier ones, and the file is rewritten once it is mostly stale.
// An alias that was never recorded, or whose record is not a sound 8.3 name of its own, is worked
// out again from the folder's names on each load: such names are taken in case-insensitive order
// and each gets the lowest free number.
class Folder {
public:
    [[nodiscard]] static DosResult<std::shared_ptr<Folder>> load(const HostPath &hostFolder);
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    // By name, then by 8.3 name, without regard to case. Valid until the folder changes.
    const FolderEntry *find(const QString &name) const;
    QList<const FolderEntry *> sortedEntries() const;  // case-insensitively by name

    // Bookkeeping after the layer changed the host folder; each returns the recording's error.
    // A new long name gets its alias here, numbered against all names and aliases present.
    // The 8.3 name it gets goes to *shortName, where asked for.
    [[nodiscard]] int add(const QString &name, bool isDirectory, quint8 attributes,
                          QString *shortName = nullptr);
    [[nodiscard]] int remove(const QString &name);
    [[nodiscard]] int setAttributes(const QString &name, quint8 attributes);
    [[nodiscard]] int keepAlias(const QString &name);  // an alias that was handed out must not change

    // False once anything else changed the host folder or its records since the last look.
    bool isCurrent() const;

    // Removes the temporary files (temporaryIn) that processes which are gone left here when they
    // were killed; called before the layer writes in the folder. Those of processes that still
    // run, and one that cannot be removed, stay for a later write.
    void removeLeftovers();

    const HostPath &hostFolder() const { return m_hostFolder; }
    // While held by a file run, changes to the records are kept in memory; release() writes them
    // in one go and returns the error of that write.
    void hold();
    [[nodiscard]] int release();

private:
    struct Stamp {
        timespec folderTime{};
        timespec recordsTime{};
        off_t recordsSize = -1;
        ino_t recordsInode = 0;
        bool operator==(const Stamp &other) const;
    };
    struct Record {
        quint8 attributes = 0;
        QString alias;
    };

    explicit Folder(const HostPath &hostFolder);
    Stamp currentStamp() const;
    HostPath recordsPath() const;
    [[nodiscard]] int readRecords(QHash<QString, Record> *records);
    [[nodiscard]] int readEntries(const QHash<QString, Record> &records);
    void keepSoundAliases(const QList<std::pair<qsizetype, QString>> &storedAliases);
    void assignAlias(qsizetype number);  // of the entry with that number in m_entries
    void forget(qsizetype number);
    // How the indexes see the entries' names and aliases.
    auto nameAt() const
    {
        return [this](qsizetype number) { return QStringView(m_entries.at(number).name); };
    }
    auto aliasAt() const
    {
        return [this](qsizetype number) { return QStringView(m_entries.at(number).shortName); };
    }
    void noteFolderChanged();
    void noteRecordsChanged();
    [[nodiscard]] int record(const FolderEntry &entry);
    [[nodiscard]] int recordRemoval(const QString &name);
    [[nodiscard]] int appendRecordLine(const QString &line);
    [[nodiscard]] int rewriteRecords();

    HostPath m_hostFolder;
    QList<FolderEntry> m_entries;  // in no order
    FileNameIndex m_byName;  // each entry's name -> its number in m_entries
    FileNameIndex m_byAlias;  // alias of a long name -> its entry's number
    // Per alias stem, a number below which every alias is taken; void once a name goes away.
    QHash<QString, int> m_lowestFreeNumbers;
    // The stem asked for last and its number there, valid until m_lowestFreeNumbers changes: the
    // new names of a run mostly share one stem.
    QString m_lastStem;
    int *m_lastLowestFree = nullptr;
    QSet<QString> m_recorded;  // names with a live line in the records file
    QList<HostPath> m_leftovers;  // temporary files (temporaryIn) seen in the last listing
    int m_recordLines = 0;
    Stamp m_stamp;
    bool m_held = false;
    bool m_recordsPending = false;
};

// The host folders one PC has looked at: a small cache that notices changes made outside the
// layer, and the folders of a file run under way. A file run: from its start to its end, the
// folders it touches keep their listing and records in memory. Runs may nest; the outermost end
// writes each folder's changed records once, through a temporary file, and returns the first error.
class FolderCache {
public:
    // During a file run, the run's own copy without a look at the host.
    [[nodiscard]] DosResult<std::shared_ptr<Folder>> folderAt(const HostPath &hostFolder);
    void beginRun();
    [[nodiscard]] int endRun();
    Folder *held(const HostPath &hostFolder) const;  // null when the run under way holds none
    // The file run under way, numbered from 1 in the order they began; 0 when there is none.
    int runUnderWay() const { return m_runs > 0 ? m_runNumber : 0; }
    // Changes whenever a folder is held or let go: a held folder found earlier stays valid while
    // it is the same.
    int heldVersion() const { return m_heldVersion; }
    void forget(const HostPath &hostFolder);  // the folder and all below it
    void forgetAll();

private:
    void holdForRun(const std::shared_ptr<Folder> &folder);

    QHash<QString, std::shared_ptr<Folder>> m_folders;  // keyed by the host path as a whole
    int m_runs = 0;  // file runs open inside each other
    int m_runNumber = 0;  // of the outermost run, the last one begun
    int m_heldVersion = 0;
    QHash<QString, std::shared_ptr<Folder>> m_held;
    // The held folders asked for last, found by their path's parts without the whole path being
    // put together; valid while the held folders are the same (m_heldVersion).
    RecentlyUsed<std::shared_ptr<Folder>> m_recentlyHeld;
    int m_recentlyHeldVersion = -1;
};

// The FolderCache services for the current PC.
[[nodiscard]] DosResult<std::shared_ptr<Folder>> folderAt(const HostPath &hostFolder);
Folder *heldFolder(const HostPath &hostFolder);
int fileRunUnderWay();
int heldFoldersVersion();
void forgetFolders(const HostPath &hostFolder);
void forgetAllFolders();

// A new name for a temporary file in the folder, hidden from Windows and marked with this
// process, so that one a killed process left can be told from one that is being written.
HostPath temporaryIn(const HostPath &hostFolder);

// The host spelling of a name in a folder, found without its records (when they cannot be read):
// by name only, as an alias is known only from them. Empty when no entry has that name.
[[nodiscard]] DosResult<std::optional<QString>> hostSpellingOf(const HostPath &hostFolder,
                                                               const QString &name);

}  // namespace platform::detail
