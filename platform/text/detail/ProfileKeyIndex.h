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
        return m_slots[slotOf(key, profileKeyHash(key), keyAt)].line;
    }

    // Lists the line under its key unless the key is listed already; the line listed under it.
    template <typename KeyAt>
    qsizetype insert(QStringView key, qsizetype line, const KeyAt &keyAt)
    {
        if ((m_used + 1) * 2 > m_slots.size())
            grow();
        const size_t hash = profileKeyHash(key);
        Slot &slot = m_slots[slotOf(key, hash, keyAt)];
        if (slot.line < 0) {
            slot = {hash, line};
            ++m_used;
        }
        return slot.line;
    }

private:
    struct Slot {
        size_t hash = 0;
        qsizetype line = -1;  // -1: free
    };

    // The key's slot, or the free one where it would go (open addressing, linear probing).
    template <typename KeyAt>
    qsizetype slotOf(QStringView key, size_t hash, const KeyAt &keyAt) const
    {
        const size_t mask = size_t(m_slots.size()) - 1;
        for (size_t at = hash & mask;; at = (at + 1) & mask) {
            const Slot &slot = m_slots[qsizetype(at)];
            if (slot.line < 0 || (slot.hash == hash && sameProfileKey(keyAt(slot.line), key)))
                return qsizetype(at);
        }
    }
    void grow();
    void rehash(qsizetype size);

    QList<Slot> m_slots;  // a power of two in size, at most half in use
    qsizetype m_used = 0;
};

}  // namespace platform::detail
