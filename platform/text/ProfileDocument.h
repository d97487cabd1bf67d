#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

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
    enum class LineEnd : quint8 { None, CrLf, Cr, Lf };  // None: a last line without one
    // An entry's key and value are read from its text, so that a line costs one string.
    struct Line {
        QString raw;  // the line without its end, as read or last written
        LineEnd end = LineEnd::CrLf;
        qsizetype number = 0;  // from 1 as parsed; 0 for a line written since
        qsizetype equals = -1;  // an entry's '=' in raw; -1: not an entry (blank, comment, header)
        bool isEntry() const { return equals >= 0; }
        QString key() const { return raw.first(equals).trimmed(); }
        QString value() const { return raw.sliced(equals + 1).trimmed(); }
    };
    struct Section {
        QString name;  // empty for lines before the first header
        Line header;  // raw empty for lines before the first header
        QList<Line> lines;
        QHash<QString, qsizetype> entryLines;  // case-folded key -> its first line
    };
    Section *findSection(const QString &name);
    const Section *findSection(const QString &name) const;

    QList<Section> m_sections;
};

}  // namespace platform
