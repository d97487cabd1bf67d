// A folder's attribute records (.dosattr) edited by hand or cut off: any bytes load, every entry
// gets an 8.3 name of its own, and the folder still takes a new file.
#include "fuzz/FuzzSupport.h"
#include "platform/drives/detail/Folder.h"
#include "platform/text/detail/FileNames.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {

// The host folder: names that share their first letters, umlauts and a long name.
const QStringList HostNames{QStringLiteral("AUTOEXEC.BAT"), QStringLiteral("Kleine Datei 1.ini"),
                            QStringLiteral("Kleine Datei 2.ini"), QStringLiteral("Größe.txt"),
                            QStringLiteral("Eine sehr lange Datei mit Blanks.txt")};

QString folderPath()
{
    static QTemporaryDir folder;
    static bool filled = false;
    if (!folder.isValid())
        fuzz::finding("no temporary folder");
    if (!filled) {
        for (const QString &name : HostNames) {
            QFile file(folder.filePath(name));
            if (!file.open(QIODevice::WriteOnly))
                fuzz::finding("the folder cannot be filled");
        }
        filled = true;
    }
    return folder.path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString folder = folderPath();
    QFile records(folder + u'/' + platform::detail::ReservedPrefix);
    if (!records.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || records.write(fuzz::bytesOf(data, size)) < 0)
        fuzz::finding("the records cannot be written");
    records.close();
    // A new name of an earlier run would make the next one differ.
    QFile::remove(folder + QStringLiteral("/Neue Datei.txt"));

    const auto loaded = platform::detail::Folder::load(platform::detail::HostPath(folder));
    if (!loaded.ok())
        return 0;
    platform::detail::Folder &loadedFolder = *loaded.value;
    QSet<QString> aliases;
    for (const platform::detail::FolderEntry *entry : loadedFolder.sortedEntries()) {
        const QString alias = entry->shortName.toUpper();
        if (alias.isEmpty() || aliases.contains(alias))
            fuzz::finding("two entries share an 8.3 name, or one has none");
        aliases.insert(alias);
    }
    QFile added(folder + QStringLiteral("/Neue Datei.txt"));
    if (!added.open(QIODevice::WriteOnly))
        fuzz::finding("the new file cannot be made");
    added.close();
    (void)loadedFolder.add(QStringLiteral("Neue Datei.txt"), false, 0x20);
    const platform::detail::FolderEntry *entry = loadedFolder.find(QStringLiteral("Neue Datei.txt"));
    if (!entry || aliases.contains(entry->shortName.toUpper()))
        fuzz::finding("a new file gets no 8.3 name of its own");
    return 0;
}
