#pragma once

#include "platform/text/detail/ProfileKeyIndex.h"
#include "platform/text/detail/ProfileLine.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// An INI file in memory with the Windows private-profile behaviour: section and key names match
// without regard to case, writing an existing key replaces it in place, a new key goes to the end
// of its section, a new section to the end of the file, keys list in file order, and a missing
// key reads as the caller's default. Lines that are neither headers nor entries are kept.
class ProfileDocument {
public:
    // CR LF, CR and LF all end a line, as in Windows.
    static ProfileDocument parse(const QString &text);
    // Every line as it was read, with its own line end; a new or changed line ends in CR LF,
    // or keeps the end of the line it replaces.
    QString text() const;

    QString value(const QString &section, const QString &key, const QString &defaultValue) const;
    void setValue(const QString &section, const QString &key, const QString &value);
    QStringList keys(const QString &section) const;
    // Each of the section's keys in file order with the value Windows reads for it (of equal
    // keys, the first one's), both without their blanks: one pass without copies, for long
    // sections. The views last until the document changes.
    void forEachKeyValue(const QString &section,
                         const std::function<void(QStringView key, QStringView value)> &visit) const;
    bool isEmpty() const;

    // For a reader with stricter rules than Windows (machine.ini), which names the line at fault.
    struct NumberedLine {
        qsizetype number = 0;  // from 1 in the text parsed; 0 for an entry set since
        QString key;  // empty for a stray line
        QString value;  // a stray line's text
    };
    // Every entry of every section of that name, in file order, equal keys included.
    QList<NumberedLine> entries(const QString &section) const;
    // The lines Windows passes over: neither blank, a comment, a section header nor an entry.
    QList<NumberedLine> strayLines() const;

private:
    using LineEnd = detail::ProfileLineEnd;
    using Line = detail::ProfileLine;
    struct Section {
        QString name;  // empty for lines before the first header
        Line header;  // raw empty for lines before the first header
        QList<Line> lines;
        detail::ProfileKeyIndex entryLines;  // key -> its first line

        qsizetype lineOf(QStringView key) const
        {
            return entryLines.find(key, [this](qsizetype line) { return lines[line].keyText(); });
        }
        // The line listed under the key: this one, or an earlier one of the same key.
        qsizetype list(QStringView key, qsizetype line)
        {
            return entryLines.insert(key, line, [this](qsizetype at) { return lines[at].keyText(); });
        }
    };
    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;

    QList<Section> m_sections;
    // The text parsed: a line read and not written since refers into it instead of holding a copy.
    QString m_source;
};

}  // namespace platform
