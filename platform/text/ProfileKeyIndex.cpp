#include "platform/text/detail/ProfileKeyIndex.h"

#include <QString>
#include <QSysInfo>

#include <algorithm>
#include <cstring>
#include <optional>

namespace platform::detail {

namespace {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; });
}

char16_t asciiLower(QChar c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c.unicode() + (u'a' - u'A')) : c.unicode();
}

// FNV-1a over the folded characters four at a time, with the length and a final mix, so that the
// low bits the index takes depend on every character.
class KeyHash {
public:
    void add(char16_t c)
    {
        m_word |= quint64(c) << (16 * m_inWord);
        if (++m_inWord == 4)
            flush();
        ++m_length;
    }
    // Four characters at once, where none is pending.
    void addWord(quint64 word)
    {
        m_word = word;
        m_length += 4;
        flush();
    }
    size_t value()
    {
        flush();
        quint64 hash = m_hash ^ m_length;
        hash ^= hash >> 33;
        hash *= 0xFF51AFD7ED558CCDULL;
        hash ^= hash >> 33;
        return static_cast<size_t>(hash);
    }

private:
    void flush()
    {
        m_hash ^= m_word;
        m_hash *= 1099511628211ULL;
        m_word = 0;
        m_inWord = 0;
    }

    quint64 m_hash = 14695981039346656037ULL;
    quint64 m_word = 0;
    quint64 m_length = 0;
    int m_inWord = 0;
};

size_t foldedKeyHash(QStringView trimmed)
{
    KeyHash folded;
    for (const QChar f : trimmed.toString().toCaseFolded())
        folded.add(f.unicode());
    return folded.value();
}

// Four UTF-16 characters at once, each lowered if it is an ASCII capital; nullopt if one of them is
// not ASCII. The word is laid out as KeyHash::add gathers four characters.
std::optional<quint64> asciiLowerWord(const QChar *four)
{
    static_assert(QSysInfo::ByteOrder == QSysInfo::LittleEndian, "lanes in the order add() gathers them");
    quint64 word;
    std::memcpy(&word, four, sizeof word);
    constexpr quint64 Lanes = 0x0001000100010001ULL;
    if (word & (0xFF80 * Lanes))
        return std::nullopt;
    // Each lane is below 0x80, so adding keeps within it: bit 7 tells "at least 'A'" and "above 'Z'".
    const quint64 fromA = word + (0x80 - 'A') * Lanes;
    const quint64 aboveZ = word + (0x80 - 'Z' - 1) * Lanes;
    const quint64 capitals = fromA & ~aboveZ & (0x80 * Lanes);
    return word | (capitals >> 2);  // 0x80 >> 2 is the 0x20 between 'A' and 'a'
}

}  // namespace

// Plain ASCII keys, the usual ones, are folded four letters at a time without a copy.
size_t profileKeyHash(QStringView key)
{
    const QStringView trimmed = key.trimmed();
    KeyHash hash;
    qsizetype at = 0;
    for (; at + 4 <= trimmed.size(); at += 4) {
        const std::optional<quint64> word = asciiLowerWord(trimmed.data() + at);
        if (!word)
            return foldedKeyHash(trimmed);
        hash.addWord(*word);
    }
    for (; at < trimmed.size(); ++at) {
        const QChar c = trimmed[at];
        if (c.unicode() >= 128)
            return foldedKeyHash(trimmed);
        hash.add(asciiLower(c));
    }
    return hash.value();
}

bool sameProfileKey(QStringView a, QStringView b)
{
    const QStringView left = a.trimmed();
    const QStringView right = b.trimmed();
    if (isAscii(left) && isAscii(right)) {
        return left.size() == right.size()
               && std::equal(left.begin(), left.end(), right.begin(),
                             [](QChar x, QChar y) { return asciiLower(x) == asciiLower(y); });
    }
    return left.toString().toCaseFolded() == right.toString().toCaseFolded();
}

void ProfileKeyIndex::reserve(qsizetype keys)
{
    if (keys <= 0)
        return;
    qsizetype size = 16;
    while (size * 3 < keys * 4)
        size *= 2;
    if (size > m_slots.size())
        rehash(size);
}

void ProfileKeyIndex::grow()
{
    rehash(std::max<qsizetype>(16, m_slots.size() * 2));
}

void ProfileKeyIndex::rehash(qsizetype size)
{
    const QList<Slot> old = std::exchange(m_slots, QList<Slot>(size));
    const quint32 mask = quint32(m_slots.size()) - 1;
    for (const Slot &slot : old) {
        if (slot.line == Slot::Free)
            continue;
        quint32 at = slot.hash & mask;
        while (m_slots[at].line != Slot::Free)
            at = (at + 1) & mask;
        m_slots[at] = slot;
    }
}

}  // namespace platform::detail
