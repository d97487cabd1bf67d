#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// Inside the platform layer only: names of a folder found as FAT compares them.
namespace platform::detail {

// Equal as upperCaseName makes them, without making the upper-case copies.
bool sameFileName(QStringView a, QStringView b);
// The same for names that sameFileName takes as equal.
size_t fileNameHash(QStringView name);

// Names, each with a number, found without regard to case (sameFileName). Each slot keeps its
// name's hash, so that growing the table hashes no name again; a kept name shares its text with
// the caller's string.
class FileNameIndex {
public:
    // The number listed under the name, or -1.
    qsizetype find(QStringView name) const;
    // Lists a name that is not listed yet.
    void insert(const QString &name, qsizetype number);
    // Lists the name under a new number; nothing when it is not listed.
    void renumber(QStringView name, qsizetype number);
    // Takes the name out; nothing when it is not listed.
    void remove(QStringView name);
    qsizetype size() const { return m_used; }

private:
    struct Slot {
        size_t hash = 0;
        QString name;
        qsizetype number = -1;  // -1: free
    };

    // The name's slot, or the free one where it would go (open addressing, linear probing).
    qsizetype slotOf(QStringView name, size_t hash) const;
    void rehash(qsizetype size);

    QList<Slot> m_slots;  // a power of two in size, at most half in use
    qsizetype m_used = 0;
};

}  // namespace platform::detail
