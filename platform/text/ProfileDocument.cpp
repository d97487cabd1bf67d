#include "platform/text/ProfileDocument.h"

namespace platform {

namespace {

const QString CrLf = QStringLiteral("\r\n");

QString keyOf(const QString &name)
{
    return name.trimmed().toCaseFolded();
}

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

}  // namespace

ProfileDocument ProfileDocument::parse(const QString &text)
{
    ProfileDocument document;
    qsizetype start = 0;
    qsizetype number = 0;
    while (start < text.size()) {
        Line line;
        line.number = ++number;
        qsizetype stop = start;
        while (stop < text.size() && text[stop] != u'\r' && text[stop] != u'\n')
            ++stop;
        line.raw = text.mid(start, stop - start);
        const qsizetype endLength = stop == text.size() ? 0 : text.mid(stop, 2) == u"\r\n" ? 2 : 1;
        line.end = text.mid(stop, endLength);
        start = stop + endLength;

        const QString trimmed = line.raw.trimmed();
        // Windows needs the closing bracket and takes the name up to the last one.
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (trimmed.startsWith(u'[') && close > 0) {
            const QString name = trimmed.mid(1, close - 1).trimmed();
            document.m_sections.append(Section{name, line, {}, {}});
            continue;
        }
        if (document.m_sections.isEmpty())
            document.m_sections.append(Section{});
        Section &section = document.m_sections.last();
        const qsizetype equals = trimmed.indexOf(u'=');
        const QString key = equals > 0 ? trimmed.left(equals).trimmed() : QString();
        if (!key.isEmpty() && !trimmed.startsWith(u';') && !trimmed.startsWith(u'[')) {
            line.key = key;
            line.value = trimmed.mid(equals + 1).trimmed();
            // Of two equal keys, Windows reads and writes the first.
            if (!section.entryLines.contains(keyOf(key)))
                section.entryLines.insert(keyOf(key), section.lines.size());
        }
        section.lines.append(line);
    }
    return document;
}

QString ProfileDocument::text() const
{
    QString text;
    bool lineOpen = false;  // the last line so far had no end; one follows before the next
    auto append = [&text, &lineOpen](const Line &line) {
        if (lineOpen)
            text += CrLf;
        text += line.raw + line.end;
        lineOpen = line.end.isEmpty();
    };
    for (const Section &section : m_sections) {
        if (!section.header.raw.isEmpty())
            append(section.header);
        for (const Line &line : section.lines)
            append(line);
    }
    return text;
}

ProfileDocument::Section *ProfileDocument::findSection(const QString &name)
{
    const QString wanted = name.trimmed();
    for (Section &section : m_sections) {
        if (section.name.compare(wanted, Qt::CaseInsensitive) == 0)
            return &section;
    }
    return nullptr;
}

const ProfileDocument::Section *ProfileDocument::findSection(const QString &name) const
{
    return const_cast<ProfileDocument *>(this)->findSection(name);
}

QString ProfileDocument::value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const Section *found = findSection(section);
    if (!found)
        return defaultValue;
    const qsizetype line = found->entryLines.value(keyOf(key), -1);
    return line < 0 ? defaultValue : found->lines[line].value;
}

// A new key goes after the section's last non-blank line, so that a blank line before the next
// header stays where it is.
void ProfileDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *found = findSection(section);
    if (!found) {
        const QString name = section.trimmed();
        m_sections.append(Section{name, Line{{}, {}, u'[' + name + u']', CrLf, 0}, {}, {}});
        found = &m_sections.last();
    }
    const QString folded = keyOf(key);
    if (const qsizetype index = found->entryLines.value(folded, -1); index >= 0) {
        Line &line = found->lines[index];
        line.value = value;
        line.raw = line.key + u'=' + value;
        return;
    }
    qsizetype position = found->lines.size();
    while (position > 0 && found->lines[position - 1].key.isEmpty()
           && isBlank(found->lines[position - 1].raw)) {
        --position;
    }
    const QString spelled = key.trimmed();
    found->lines.insert(position, Line{spelled, value, spelled + u'=' + value, CrLf, 0});
    found->entryLines.insert(folded, position);
}

QStringList ProfileDocument::keys(const QString &section) const
{
    QStringList keys;
    if (const Section *found = findSection(section)) {
        for (const Line &line : found->lines) {
            if (!line.key.isEmpty())
                keys.append(line.key);
        }
    }
    return keys;
}

QList<ProfileDocument::NumberedLine> ProfileDocument::entries(const QString &section) const
{
    QList<NumberedLine> entries;
    const QString wanted = section.trimmed();
    for (const Section &candidate : m_sections) {
        if (candidate.name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line &line : candidate.lines) {
            if (!line.key.isEmpty())
                entries.append({line.number, line.key, line.value});
        }
    }
    return entries;
}

QList<ProfileDocument::NumberedLine> ProfileDocument::strayLines() const
{
    QList<NumberedLine> stray;
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines) {
            const QString trimmed = line.raw.trimmed();
            if (line.key.isEmpty() && !trimmed.isEmpty() && !trimmed.startsWith(u';'))
                stray.append({line.number, {}, trimmed});
        }
    }
    return stray;
}

bool ProfileDocument::isEmpty() const
{
    return m_sections.isEmpty()
           || (m_sections.size() == 1 && m_sections[0].name.isEmpty() && m_sections[0].lines.isEmpty());
}

}  // namespace platform
