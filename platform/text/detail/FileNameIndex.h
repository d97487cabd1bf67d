#pragma once

#include <QList>
#include <QStringView>

#include <algorithm>

// Inside the platform layer only: names of a folder found as FAT compares them.
namespace platform::detail {

// Equal as upperCaseName makes them, without making the upper-case copies.
bool sameFileName(QStringView a, QStringView b);
// The same for names that sameFileName takes as equal.
size_t fileNameHash(QStringView name);

// Numbers of names, found by the name without regard to case (sameFileName). The index keeps
// only each name's hash and number, eight bytes, so that a folder of many names stays in the
// processor's cache and growing hashes no name again; it compares with the names themselves
// through nameAt(number), which must give the name listed under each number.
class FileNameIndex {
public:
    // The number listed under the name, or -1.
    template <typename NameAt>
    qsizetype find(QStringView name, const NameAt &nameAt) const
    {
        if (m_used == 0)
            return -1;
        return m_slots[slotOf(name, hashOf(name), nameAt)].number;
    }

    // Lists a name that is not listed yet; nameAt(number) gives it already.
    template <typename NameAt>
    void insert(QStringView name, qsizetype number, const NameAt &nameAt)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            rehash(std::max<qsizetype>(16, m_slots.size() * 2));
        const quint32 hash = hashOf(name);
        Slot &slot = m_slots[slotOf(name, hash, nameAt)];
        if (slot.number < 0)
            ++m_used;
        slot = {hash, qint32(number)};
    }

    // Lists the name under a new number; nothing when it is not listed. nameAt gives the name
    // under its old number until this returns.
    template <typename NameAt>
    void renumber(QStringView name, qsizetype number, const NameAt &nameAt)
    {
        if (m_used == 0)
            return;
        Slot &slot = m_slots[slotOf(name, hashOf(name), nameAt)];
        if (slot.number >= 0)
            slot.number = qint32(number);
    }

    // Takes the name out; nothing when it is not listed.
    template <typename NameAt>
    void remove(QStringView name, const NameAt &nameAt)
    {
        if (m_used == 0)
            return;
        const qsizetype at = slotOf(name, hashOf(name), nameAt);
        if (m_slots[at].number >= 0)
            removeSlot(at);
    }

    qsizetype size() const { return m_used; }

private:
    struct Slot {
        quint32 hash = 0;
        qint32 number = -1;  // -1: free
    };

    static quint32 hashOf(QStringView name) { return quint32(fileNameHash(name)); }

    // The name's slot, or the free one where it would go (open addressing, linear probing).
    template <typename NameAt>
    qsizetype slotOf(QStringView name, quint32 hash, const NameAt &nameAt) const
    {
        const size_t mask = size_t(m_slots.size()) - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot &slot = m_slots[qsizetype(at)];
            if (slot.number < 0 || (slot.hash == hash && sameFileName(nameAt(slot.number), name)))
                return qsizetype(at);
        }
    }
    void removeSlot(qsizetype at);
    void rehash(qsizetype size);

    QList<Slot> m_slots;  // a power of two in size, at most half in use
    qsizetype m_used = 0;
};

}  // namespace platform::detail
