#include "dos/core/Commands.h"
#include "dos/core/Interpreter.h"
#include "dos/core/Messages.h"
#include "dos/core/Wildcards.h"
#include "platform/drives/DiskSpace.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"

namespace dos {

namespace {

// A 1.44 MB disk: 2847 clusters of one 512-byte sector for files and folders.
constexpr qint64 FloppyDataBytes = 2847 * 512;
constexpr qint64 FloppyCluster = 512;
constexpr int WideColumns = 5;
constexpr int WideWidth = 16;

struct DirOptions {
    bool wide = false;
    bool paged = false;
    quint8 required = 0;  // attributes an entry must have
    quint8 excluded = platform::attr::Hidden | platform::attr::System;  // and must not have
};

// /W, /P, /A and /A:HSDRA with '-' for "not"; empty after a wrong switch was reported.
std::optional<DirOptions> dirOptions(Interpreter &shell, const QStringList &switches)
{
    DirOptions options;
    for (const QString &argument : switches) {
        const QString upper = argument.toUpper();
        if (upper == u"/W") {
            options.wide = true;
        } else if (upper == u"/P") {
            options.paged = true;
        } else if (upper.startsWith(QStringLiteral("/A"))) {
            options.excluded = 0;
            bool negated = false;
            for (const QChar letter : upper.mid(2)) {
                static const QString Letters = QStringLiteral("RHSDA");
                static const quint8 Bits[] = {platform::attr::ReadOnly, platform::attr::Hidden,
                                              platform::attr::System, platform::attr::Directory,
                                              platform::attr::Archive};
                const qsizetype bit = Letters.indexOf(letter);
                if (letter == u':' && !negated) {
                    continue;
                } else if (letter == u'-' && !negated) {
                    negated = true;
                    continue;
                } else if (bit < 0) {
                    shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
                    return std::nullopt;
                }
                (negated ? options.excluded : options.required) |= Bits[bit];
                negated = false;
            }
        } else {
            shell.printLine(message::InvalidSwitch + QStringLiteral(" - ") + argument);
            return std::nullopt;
        }
    }
    return options;
}

QString withThousands(qint64 number)
{
    QString digits = QString::number(number);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, u'.');
    return digits;
}

// The bytes the files and folders below `folder` take on a floppy, cluster by cluster.
qint64 usedOnFloppy(const QString &folder)
{
    qint64 used = 0;
    const auto files = platform::files(folder);
    for (const QString &name : files.value) {
        const auto content = platform::readFile(folder + u'\\' + name);
        used += (content.value.size() + FloppyCluster - 1) / FloppyCluster * FloppyCluster;
    }
    const auto folders = platform::subdirectories(folder);
    for (const QString &name : folders.value)
        used += FloppyCluster + usedOnFloppy(folder + u'\\' + name);
    return used;
}

platform::DosResult<qint64> freeBytes(QChar drive)
{
    const platform::Drive *found = platform::machine().drive(drive);
    if (found && found->kind == platform::DriveKind::Floppy)
        return {platform::dos::Ok,
                std::max<qint64>(0, FloppyDataBytes - usedOnFloppy(QString(drive) + u':'))};
    const auto space = platform::diskSpace(drive);
    return {space.error, space.value.free};
}

// "NAME     EXT" of an 8.3 name.
QString shortColumns(const QString &shortName)
{
    const qsizetype dot = shortName.lastIndexOf(u'.');
    if (dot <= 0 || shortName == u"..")
        return shortName.leftJustified(12);
    return shortName.left(dot).leftJustified(8) + u' ' + shortName.mid(dot + 1).leftJustified(3);
}

QString entryLine(const FolderEntry &entry)
{
    const QString size =
        entry.isDirectory() ? QStringLiteral("   <DIR>      ") : withThousands(entry.size).rightJustified(14);
    const QString shortName = entry.name == u"." || entry.name == u".." ? entry.name : entry.shortName;
    return shortColumns(shortName) + size + QStringLiteral("  ")
           + entry.lastWrite.toString(QStringLiteral("dd.MM.yy  HH:mm")) + u' ' + entry.name;
}

QString wideName(const FolderEntry &entry)
{
    return entry.isDirectory() ? u'[' + entry.shortName + u']' : entry.shortName;
}

// Lines of a listing, with a pause after each screenful for /P.
class Listing {
public:
    Listing(Interpreter &shell, bool paged, QString folder)
        : m_shell(shell),
          m_paged(paged),
          m_folder(std::move(folder))
    {}

    // False when the listing is to stop (Ctrl+C answered J, no key came).
    bool line(const QString &text)
    {
        m_shell.printLine(text);
        if (!m_paged || ++m_lines < TextScreen::Rows - 2)
            return true;
        m_lines = 0;
        if (!m_shell.pause())
            return false;
        m_shell.printLine(message::DirContinuing.arg(m_folder));
        ++m_lines;
        return true;
    }

private:
    Interpreter &m_shell;
    bool m_paged;
    QString m_folder;
    int m_lines = 0;
};

}  // namespace

// dir [X:][PATH][PATTERN] [/W] [/P] [/A[:ATTRIBUTES]]
void dirCommand(Interpreter &shell, const QStringList &arguments)
{
    QStringList names;
    QStringList switches;
    for (const QString &argument : arguments)
        (isSwitch(argument) ? switches : names).append(argument);
    const auto options = dirOptions(shell, switches);
    if (!options)
        return;
    if (names.size() > 1) {
        shell.printLine(message::TooManyParameters);
        return;
    }
    QString path = shell.absolutePath(names.value(0));
    const QChar drive = path.at(0).toUpper();
    if (shell.directoryOf(drive).isEmpty()) {
        shell.printLine(message::InvalidDrive);
        return;
    }
    QString pattern = QStringLiteral("*.*");
    if (!platform::directoryExists(path)) {
        pattern = platform::fileNamePart(path);
        path = platform::directoryPart(path);
    }
    const auto folder = platform::shortPathName(path);
    if (!folder.ok() || !platform::directoryExists(path)) {
        shell.printLine(folder.error == platform::dos::NotReady ? message::NotReady : message::FileNotFound);
        return;
    }
    const auto entries = folderEntries(path, pattern);
    if (!entries.ok()) {
        shell.printLine(message::forError(entries.error));
        return;
    }

    const auto volume = volumeLine(drive);
    if (!volume.ok()) {
        shell.printLine(message::forError(volume.error));
        return;
    }
    Listing listing(shell, options->paged, folder.value);
    for (const QString &line : {QString(), volume.value, message::DirectoryOf.arg(folder.value), QString()}) {
        if (!listing.line(line))
            return;
    }

    QList<FolderEntry> shown;
    if (folder.value.size() > 3 && matchesPattern(pattern, QStringLiteral("."))) {
        const auto time = platform::lastWriteTime(path);
        for (const QString &dots : {QStringLiteral("."), QStringLiteral("..")})
            shown.append(FolderEntry{dots, dots, path, platform::attr::Directory, 0, time.value});
    }
    for (const FolderEntry &entry : entries.value) {
        if ((entry.attributes & options->required) == options->required
            && !(entry.attributes & options->excluded))
            shown.append(entry);
    }
    if (shown.isEmpty()) {
        shell.printLine(message::FileNotFound);
        return;
    }

    int files = 0;
    int folders = 0;
    qint64 bytes = 0;
    QString row;
    int inRow = 0;
    for (const FolderEntry &entry : shown) {
        if (entry.isDirectory()) {
            ++folders;
        } else {
            ++files;
            bytes += entry.size;
        }
        if (!options->wide) {
            if (!listing.line(entryLine(entry)))
                return;
            continue;
        }
        row += wideName(entry).leftJustified(WideWidth);
        if (++inRow == WideColumns) {
            if (!listing.line(row.trimmed()))
                return;
            row.clear();
            inRow = 0;
        }
    }
    if (!row.isEmpty() && !listing.line(row.trimmed()))
        return;
    const auto free = freeBytes(drive);
    listing.line(message::DirFiles.arg(files, 10).arg(withThousands(bytes), 15));
    listing.line(message::DirFolders.arg(folders, 10)
                     .arg(free.ok() ? withThousands(free.value) : QStringLiteral("0"), 15));
}

}  // namespace dos
