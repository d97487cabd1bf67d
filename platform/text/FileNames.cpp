#include "platform/text/detail/FileNames.h"

#include "platform/text/OemText.h"

#include <algorithm>

namespace platform::detail {

namespace {

// Asked for every letter of every name a path look-up checks.
bool isForbiddenInLongName(QChar c)
{
    switch (c.unicode()) {
    case u'\\':
    case u'/':
    case u':':
    case u'*':
    case u'?':
    case u'"':
    case u'<':
    case u'>':
    case u'|':
        return true;
    default:
        return c.unicode() < 32;
    }
}

// MS-DOS reads short names in its code page 850: a character it cannot hold there, in the upper
// case that short names use, cannot be in one.
bool isOemInShortName(QChar c)
{
    return isOemCharacter(c.toUpper());
}

bool isAllowedInShortName(QChar c)
{
    const char16_t code = c.unicode();
    if (code > 127)
        return isOemInShortName(c);
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9'))
        return true;
    return QStringView(u"!#$%&'()-@^_`{}~").contains(c);
}

bool isShortPart(QStringView part, int maxLength)
{
    if (part.size() > maxLength)
        return false;
    for (const QChar c : part) {
        if (!isAllowedInShortName(c))
            return false;
    }
    return true;
}

// One character of an alias stem, upper-cased as the name is.
QChar aliasCharacter(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 128) {
        if (code >= u'a' && code <= u'z')
            return QChar(char16_t(code - (u'a' - u'A')));
        return QStringView(u"+,;=[]").contains(c) ? QChar(u'_') : c;
    }
    const QChar upper = c.isSurrogate() ? c : c.toUpper();
    return isOemInShortName(upper) ? upper : QChar(u'_');
}

}  // namespace

// Every path look-up folds its names: ASCII, the usual case, without the Unicode tables, and a
// name that is upper case already without a copy.
QString upperCaseName(const QString &name)
{
    const auto isLower = [](QChar c) { return c.unicode() >= 128 || (c >= u'a' && c <= u'z'); };
    if (std::none_of(name.cbegin(), name.cend(), isLower))
        return name;
    QString upper = name;
    for (QChar &c : upper) {
        const char16_t code = c.unicode();
        if (code < 128) {
            if (code >= u'a' && code <= u'z')
                c = QChar(char16_t(code - (u'a' - u'A')));
        } else if (!c.isSurrogate()) {
            c = c.toUpper();
        }
    }
    return upper;
}

bool isValidLongName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    if (name.endsWith(u'.') || name.endsWith(u' '))
        return false;
    if (name.startsWith(ReservedPrefix, Qt::CaseInsensitive))
        return false;
    for (const QChar c : name) {
        if (isForbiddenInLongName(c))
            return false;
    }
    return true;
}

bool isShortName(const QString &name)
{
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0)
        return !name.isEmpty() && isShortPart(name, 8);
    const QStringView base = QStringView(name).first(dot);
    const QStringView extension = QStringView(name).sliced(dot + 1);
    return !base.isEmpty() && !extension.isEmpty() && isShortPart(base, 8) && isShortPart(extension, 3);
}

// Blanks and leading dots do not count; the last dot after them starts the extension. Built in
// one pass, as every new long name of a folder asks for it.
AliasStem aliasStem(const QString &longName)
{
    const auto first = std::find_if(longName.cbegin(), longName.cend(),
                                    [](QChar c) { return c != u' ' && c != u'.'; });
    const qsizetype start = first - longName.cbegin();
    qsizetype lastDot = longName.lastIndexOf(u'.');
    if (lastDot < start)
        lastDot = longName.size();
    AliasStem stem;
    for (qsizetype at = start; at < lastDot && stem.baseSize < 6; ++at) {
        const QChar c = longName[at];
        if (c != u' ' && c != u'.')
            stem.text[size_t(stem.baseSize++)] = aliasCharacter(c).unicode();
    }
    if (stem.baseSize == 0)
        stem.text[size_t(stem.baseSize++)] = u'_';
    stem.text[size_t(stem.baseSize)] = u'.';
    for (qsizetype at = lastDot + 1; at < longName.size() && stem.extensionSize < 3; ++at) {
        const QChar c = longName[at];
        if (c != u' ')
            stem.text[size_t(stem.baseSize + 1 + stem.extensionSize++)] = aliasCharacter(c).unicode();
    }
    return stem;
}

QString aliasOf(const AliasStem &stem, int number)
{
    // Written out by hand: every new long name of a folder asks for at least one.
    char digits[12];
    int digitCount = 0;
    for (unsigned rest = unsigned(qMax(number, 0)); digitCount == 0 || rest > 0; rest /= 10)
        digits[digitCount++] = char('0' + rest % 10);
    std::reverse(digits, digits + digitCount);
    QString alias;
    const QStringView base = stem.base();
    alias.reserve(8 + 1 + stem.extensionSize);
    alias += base.first(std::min(base.size(), qsizetype(qMax(1, 7 - digitCount))));
    alias += u'~';
    alias += QLatin1StringView(digits, digitCount);
    if (stem.extensionSize > 0) {
        alias += u'.';
        alias += stem.extension();
    }
    return alias;
}

}  // namespace platform::detail
