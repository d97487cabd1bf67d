#include "platform/text/detail/FileNameIndex.h"

#include <QSysInfo>

#include <cstring>
#include <utility>

namespace platform::detail {

namespace {

// One letter as upperCaseName makes it.
char16_t folded(char16_t c)
{
    if (c < 128)
        return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c;
    if (QChar::isSurrogate(c))
        return c;
    return QChar(c).toUpper().unicode();
}

constexpr quint64 Lanes = 0x0001000100010001ULL;

// Four characters as the hash takes them, the first in the lowest lane.
quint64 foldedWord(const QChar *four)
{
    static_assert(QSysInfo::ByteOrder == QSysInfo::LittleEndian, "the first character in the lowest lane");
    quint64 word;
    std::memcpy(&word, four, sizeof word);
    if ((word & (0xFF80 * Lanes)) == 0) {
        // Plain ASCII, the usual case, four at once: each lane is below 0x80, so adding keeps
        // within it and bit 7 tells "at least 'a'" and "above 'z'".
        const quint64 fromA = word + (0x80 - 'a') * Lanes;
        const quint64 aboveZ = word + (0x80 - 'z' - 1) * Lanes;
        const quint64 small = fromA & ~aboveZ & (0x80 * Lanes);
        return word & ~(small >> 2);  // 0x80 >> 2 is the 0x20 between 'a' and 'A'
    }
    quint64 result = 0;
    for (int lane = 0; lane < 4; ++lane)
        result |= quint64(folded(four[lane].unicode())) << (16 * lane);
    return result;
}

quint64 mixed(quint64 hash, quint64 word)
{
    return (hash ^ word) * 1099511628211ULL;
}

}  // namespace

bool sameFileName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype at = 0; at < a.size(); ++at) {
        const char16_t x = a[at].unicode();
        const char16_t y = b[at].unicode();
        if (x != y && folded(x) != folded(y))
            return false;
    }
    return true;
}

// FNV-1a over the folded characters four at a time, with the length and a final mix, so that the
// low bits the index takes depend on every character.
size_t fileNameHash(QStringView name)
{
    quint64 hash = 14695981039346656037ULL;
    qsizetype at = 0;
    for (; at + 4 <= name.size(); at += 4)
        hash = mixed(hash, foldedWord(name.data() + at));
    if (at < name.size()) {
        quint64 word = 0;
        for (int lane = 0; at < name.size(); ++at, ++lane)
            word |= quint64(folded(name[at].unicode())) << (16 * lane);
        hash = mixed(hash, word);
    }
    hash ^= quint64(name.size());
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return size_t(hash);
}

// The slots after the freed one move back where their probe allows, so that no search stops
// short at the gap.
void FileNameIndex::removeSlot(qsizetype at)
{
    const size_t mask = size_t(m_slots.size()) - 1;
    size_t gap = size_t(at);
    --m_used;
    for (size_t next = (gap + 1) & mask;; next = (next + 1) & mask) {
        const Slot slot = m_slots[qsizetype(next)];
        if (slot.number < 0)
            break;
        const size_t home = slot.hash & mask;
        // The slot may fill the gap unless its home lies after the gap, up to the slot itself.
        const bool homeAfterGap = gap <= next ? (gap < home && home <= next) : (gap < home || home <= next);
        if (homeAfterGap)
            continue;
        m_slots[qsizetype(gap)] = slot;
        gap = next;
    }
    m_slots[qsizetype(gap)] = Slot();
}

void FileNameIndex::rehash(qsizetype size)
{
    const QList<Slot> old = std::exchange(m_slots, QList<Slot>(size));
    const size_t mask = size_t(size) - 1;
    for (const Slot &slot : old) {
        if (slot.number < 0)
            continue;
        size_t at = slot.hash & mask;
        while (m_slots[qsizetype(at)].number >= 0)
            at = (at + 1) & mask;
        m_slots[qsizetype(at)] = slot;
    }
}

}  // namespace platform::detail
