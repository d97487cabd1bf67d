#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

// One section of a profile as read straight from the file's Windows-1252 bytes: for a long section
// read once at start, with one string per key and no ProfileDocument. Its entries are those
// ProfileDocument::forEachKeyValue gives for the same file, in the same order.
struct ProfileSection {
    struct Entry {
        QString key;  // without its blanks
        // The value Windows reads for the key (of equal keys, the first one's), without its blanks;
        // it points into the bytes the section was read from.
        QByteArrayView value;
    };
    QList<Entry> entries;

    // The value of the first entry of that key, decoded, or the default when there is none.
    QString value(QStringView key, const QString &defaultValue) const;
};

// The sections of those names (the first section of each name, as Windows reads it) from a
// profile's bytes, in the order of the names; a section the file lacks has no entries. A leading
// UTF-8 mark is skipped. The values point into `bytes`, which must outlive the sections.
QList<ProfileSection> readProfileSections(const QByteArray &bytes, const QStringList &names);

}  // namespace platform

// A long section's entries grow by moving their bytes.
Q_DECLARE_TYPEINFO(platform::ProfileSection::Entry, Q_RELOCATABLE_TYPE);
