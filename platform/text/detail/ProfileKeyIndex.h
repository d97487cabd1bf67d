#pragma once

#include <QList>
#include <QStringView>

// Inside the platform layer only: the key look-up of ProfileDocument.
namespace platform::detail {

// Profile keys match as in Windows: blanks around them do not count, ASCII letters match without
// regard to case, other letters by Unicode case folding.
size_t profileKeyHash(QStringView key);
bool sameProfileKey(QStringView a, QStringView b);

// The first line of each key of a section. It keeps hashes and line numbers only and compares a
// key with the line's own text (keyAt(line)), so that a long section copies none of its keys.
class ProfileKeyIndex {
public:
    // Room for this many keys without growing.
    void reserve(qsizetype keys);

    // The line listed under the key, or -1.
    template <typename KeyAt>
    qsizetype find(QStringView key, const KeyAt &keyAt) const
    {
        if (m_slots.isEmpty())
            return -1;
        return m_slots[slotOf(key, quint32(profileKeyHash(key)), keyAt)].listed();
    }

    // Lists the line under its key unless the key is listed already; the line listed under it.
    template <typename KeyAt>
    qsizetype insert(QStringView key, qsizetype line, const KeyAt &keyAt)
    {
        if ((m_used + 1) * 4 > m_slots.size() * 3)
            grow();
        const auto hash = quint32(profileKeyHash(key));
        Slot &slot = m_slots[slotOf(key, hash, keyAt)];
        if (slot.line == Slot::Free) {
            slot = {hash, quint32(line)};
            ++m_used;
        }
        return slot.listed();
    }

private:
    // Eight bytes: the index of a long section is made in fresh memory at start, a page fault every
    // 512 slots. No section has 2^32 lines.
    struct Slot {
        static constexpr quint32 Free = 0xFFFFFFFF;
        quint32 hash = 0;  // the low half of the key's hash
        quint32 line = Free;
        qsizetype listed() const { return line == Free ? -1 : qsizetype(line); }
    };

    // The key's slot, or the free one where it would go (open addressing, linear probing).
    template <typename KeyAt>
    qsizetype slotOf(QStringView key, quint32 hash, const KeyAt &keyAt) const
    {
        const quint32 mask = quint32(m_slots.size()) - 1;
        for (quint32 at = hash & mask;; at = (at + 1) & mask) {
            const Slot &slot = m_slots[at];
            if (slot.line == Slot::Free || (slot.hash == hash && sameProfileKey(keyAt(slot.line), key)))
                return at;
        }
    }
    void grow();
    void rehash(qsizetype size);

    QList<Slot> m_slots;  // a power of two in size, at most three quarters in use
    qsizetype m_used = 0;
};

}  // namespace platform::detail
