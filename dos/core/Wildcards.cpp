#include "dos/core/Wildcards.h"

#include "platform/drives/Files.h"

namespace dos {

namespace {

bool matchesPart(QStringView pattern, QStringView text)
{
    if (pattern.isEmpty())
        return text.isEmpty();
    const QChar first = pattern.front();
    if (first == u'*') {
        for (qsizetype skip = 0; skip <= text.size(); ++skip) {
            if (matchesPart(pattern.mid(1), text.mid(skip)))
                return true;
        }
        return false;
    }
    // '?' is one letter of the name or the extension, never their dot; at a part's end it also
    // stands for no letter at all.
    if (first == u'?') {
        if (text.isEmpty() || text.front() == u'.')
            return matchesPart(pattern.mid(1), text);
        return matchesPart(pattern.mid(1), text.mid(1));
    }
    if (text.isEmpty() || first.toUpper() != text.front().toUpper())
        return false;
    return matchesPart(pattern.mid(1), text.mid(1));
}

QString applyPart(QStringView pattern, QStringView name)
{
    QString result;
    for (qsizetype index = 0; index < pattern.size(); ++index) {
        const QChar c = pattern.at(index);
        if (c == u'*') {
            if (index < name.size())
                result += name.mid(index);
            break;
        }
        if (c == u'?') {
            if (index < name.size())
                result += name.at(index);
        } else {
            result += c;
        }
    }
    return result;
}

std::pair<QString, QString> split(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return {name, {}};
    return {name.left(dot), name.mid(dot + 1)};
}

QString joined(const QString &folder, const QString &name)
{
    if (folder.endsWith(u'\\'))
        return folder + name;
    return folder + u'\\' + name;
}

}  // namespace

bool hasWildcards(const QString &name)
{
    return name.contains(u'*') || name.contains(u'?');
}

bool matchesPattern(const QString &pattern, const QString &name)
{
    if (pattern == u"*" || pattern == u"*.*")
        return true;
    if (pattern.endsWith(QStringLiteral(".*")) && !name.contains(u'.'))
        return matchesPart(QStringView(pattern).chopped(2), name);
    if (pattern.endsWith(u'.'))
        return !name.contains(u'.') && matchesPart(QStringView(pattern).chopped(1), name);
    return matchesPart(pattern, name);
}

QString appliedPattern(const QString &pattern, const QString &name)
{
    const auto [patternBase, patternExtension] = split(pattern);
    const auto [base, extension] = split(name);
    const QString newBase = applyPart(patternBase, base);
    const QString newExtension = applyPart(patternExtension, extension);
    return newExtension.isEmpty() ? newBase : newBase + u'.' + newExtension;
}

bool FolderEntry::isDirectory() const
{
    return attributes & platform::attr::Directory;
}

platform::DosResult<QList<FolderEntry>> folderEntries(const QString &folder, const QString &pattern)
{
    const auto folders = platform::subdirectories(folder);
    if (!folders.ok())
        return {folders.error, {}};
    const auto files = platform::files(folder);
    if (!files.ok())
        return {files.error, {}};
    QList<FolderEntry> entries;
    const auto add = [&](const QString &name, bool isFile) -> int {
        FolderEntry entry;
        entry.name = name;
        entry.path = joined(folder, name);
        const auto shortPath = platform::shortPathName(entry.path);
        if (!shortPath.ok())
            return shortPath.error;
        entry.shortName = platform::fileNamePart(shortPath.value);
        if (!matchesPattern(pattern, entry.name) && !matchesPattern(pattern, entry.shortName))
            return platform::dos::Ok;
        const auto attributes = platform::fileAttributes(entry.path);
        if (!attributes.ok())
            return attributes.error;
        entry.attributes = attributes.value;
        const auto time = platform::lastWriteTime(entry.path);
        if (time.ok())
            entry.lastWrite = time.value;
        if (isFile) {
            const auto content = platform::readFile(entry.path);
            if (!content.ok())
                return content.error;
            entry.size = content.value.size();
        }
        entries.append(entry);
        return platform::dos::Ok;
    };
    for (const QString &name : folders.value) {
        if (const int error = add(name, false))
            return {error, {}};
    }
    for (const QString &name : files.value) {
        if (const int error = add(name, true))
            return {error, {}};
    }
    return {platform::dos::Ok, entries};
}

}  // namespace dos
