#include "compare/core/BackupComparison.h"

#include "backup/core/RestoreScript.h"
#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"

#include <optional>

namespace compare {

namespace {

constexpr quint8 RestoredAttributes =
    platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System | platform::attr::Archive;

// A file in the backup folder; a drive root gives "D:\NAME", never a doubled backslash.
QString inFolder(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'\\' + name;
}

bool isMissing(int error)
{
    return error == platform::dos::FileNotFound || error == platform::dos::PathNotFound;
}

// Reads one side. Null with side.exists false when there is no file (a folder in its place is no
// file to restore over either); null with the error when it exists but cannot be read.
std::optional<QByteArray> readSide(FileSide &side, int &error)
{
    const auto resolved = platform::resolvePath(side.path);
    if (isMissing(resolved.error) || (resolved.ok() && !resolved.value.isFile()))
        return std::nullopt;
    side.exists = true;
    if (!resolved.ok()) {
        error = resolved.error;
        return std::nullopt;
    }
    const auto bytes = platform::readFile(side.path);
    const auto attributes = platform::fileAttributes(side.path);
    const auto written = platform::lastWriteTime(side.path);
    for (const int failure : {bytes.error, attributes.error, written.error}) {
        if (failure != platform::dos::Ok) {
            error = failure;
            return std::nullopt;
        }
    }
    side.size = bytes.value.size();
    side.attributes = attributes.value & RestoredAttributes;
    side.written = written.value;
    return bytes.value;
}

// The long name and folder of the place the restore writes to, as far as they exist.
void nameThePlace(ComparedFile &compared, const backup::ScriptFile &file)
{
    if (const auto canonical = platform::canonicalPath(file.shortSourcePath); canonical.ok()) {
        compared.name = platform::fileNamePart(canonical.value);
        compared.place = platform::directoryPart(canonical.value);
        return;
    }
    // The script's long name shows "?" for what MS-DOS cannot write, but it is the best there is.
    compared.name = file.displayName;
    const QString folder = platform::directoryPart(file.shortSourcePath);
    const auto canonicalFolder = platform::canonicalPath(folder);
    compared.place = canonicalFolder.ok() ? canonicalFolder.value : folder;
}

ComparedFile compareFile(const QString &folder, const backup::ScriptFile &file)
{
    ComparedFile compared;
    compared.savedAttributes = file.attributes & RestoredAttributes;
    compared.copy.path = inFolder(folder, file.copyDosName);
    compared.original.path = file.shortSourcePath;
    nameThePlace(compared, file);

    int copyError = 0;
    int originalError = 0;
    const auto copy = readSide(compared.copy, copyError);
    const auto original = readSide(compared.original, originalError);
    if (!compared.copy.exists) {
        compared.state = FileState::CopyMissing;
    } else if (copyError != 0) {
        compared.state = FileState::Unreadable;
        compared.readError = copyError;
    } else if (!compared.original.exists) {
        compared.state = FileState::OriginalMissing;
    } else if (originalError != 0) {
        compared.state = FileState::Unreadable;
        compared.readError = originalError;
    } else if (*copy != *original) {
        compared.state = FileState::Changed;
    } else if (compared.original.attributes != compared.savedAttributes) {
        compared.state = FileState::AttributesChanged;
    } else {
        compared.state = FileState::Unchanged;
    }
    return compared;
}

}  // namespace

QString stateText(FileState state)
{
    switch (state) {
    case FileState::Unchanged:
        return QStringLiteral("unverändert");
    case FileState::Changed:
        return QStringLiteral("geändert");
    case FileState::OriginalMissing:
        return QStringLiteral("Original fehlt");
    case FileState::CopyMissing:
        return QStringLiteral("Kopie fehlt");
    case FileState::AttributesChanged:
        return QStringLiteral("nur Attribute geändert");
    case FileState::Unreadable:
        return QStringLiteral("nicht lesbar");
    }
    return {};
}

Comparison compareBackup(const QString &folder)
{
    Comparison result;
    result.scriptPath = backup::restoreScriptPath(folder);
    const auto script = backup::readRestoreScript(folder);
    if (!script.ok()) {
        result.error = script.error;
        return result;
    }
    const auto written = platform::lastWriteTime(result.scriptPath);
    if (!written.ok()) {
        result.error = written.error;
        return result;
    }
    result.scriptWritten = written.value;
    result.files.reserve(script.value.files.size());
    for (const backup::ScriptFile &file : script.value.files)
        result.files.append(compareFile(folder, file));
    return result;
}

Summary summarize(const QList<ComparedFile> &files)
{
    Summary summary;
    for (const ComparedFile &file : files) {
        switch (file.state) {
        case FileState::Unchanged:
            ++summary.unchanged;
            break;
        case FileState::Changed:
        case FileState::AttributesChanged:
            ++summary.changed;
            break;
        case FileState::OriginalMissing:
        case FileState::CopyMissing:
            ++summary.missing;
            break;
        case FileState::Unreadable:
            ++summary.unreadable;
            break;
        }
    }
    return summary;
}

QString summaryText(const Summary &summary)
{
    QString text = QStringLiteral("%1 Dateien unverändert, %2 geändert, %3 fehlen")
                       .arg(summary.unchanged)
                       .arg(summary.changed)
                       .arg(summary.missing);
    if (summary.unreadable > 0)
        text += QStringLiteral(", %1 nicht lesbar").arg(summary.unreadable);
    return text;
}

FileDifference differenceOf(const ComparedFile &file)
{
    FileDifference difference;
    const auto copy = platform::readFile(file.copy.path);
    const auto original = platform::readFile(file.original.path);
    difference.error = copy.ok() ? original.error : copy.error;
    if (difference.error != 0)
        return difference;
    difference.text = isText(copy.value) && isText(original.value);
    if (difference.text)
        difference.lines = unifiedDiff(textLines(copy.value), textLines(original.value));
    return difference;
}

QString attributeFlags(quint8 attributes)
{
    QStringList flags;
    if (attributes & platform::attr::ReadOnly)
        flags << QStringLiteral("+r");
    if (attributes & platform::attr::Hidden)
        flags << QStringLiteral("+h");
    if (attributes & platform::attr::System)
        flags << QStringLiteral("+s");
    if (attributes & platform::attr::Archive)
        flags << QStringLiteral("+a");
    return flags.isEmpty() ? QStringLiteral("-") : flags.join(u' ');
}

}  // namespace compare
