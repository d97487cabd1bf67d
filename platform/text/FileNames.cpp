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

QString aliasCharacters(QString text)
{
    for (QChar &c : text) {
        if (QStringView(u"+,;=[]").contains(c) || (c.unicode() > 127 && !isOemInShortName(c)))
            c = u'_';
    }
    return text;
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

AliasStem aliasStem(const QString &longName)
{
    QString name = upperCaseName(longName);
    name.remove(u' ');
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    const qsizetype lastDot = name.lastIndexOf(u'.');
    QString base = lastDot < 0 ? name : name.left(lastDot);
    const QString extension = lastDot < 0 ? QString() : name.mid(lastDot + 1);
    base.remove(u'.');
    if (base.isEmpty())
        base = QStringLiteral("_");
    return {aliasCharacters(base.left(6)), aliasCharacters(extension.left(3))};
}

QString aliasOf(const AliasStem &stem, int number)
{
    const QString digits = QString::number(number);
    QString alias = stem.base.left(qMax(1, 7 - int(digits.size()))) + u'~' + digits;
    if (!stem.extension.isEmpty())
        alias += u'.' + stem.extension;
    return alias;
}

}  // namespace platform::detail
