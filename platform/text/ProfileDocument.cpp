#include "platform/text/ProfileDocument.h"

#include <algorithm>

namespace platform {

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool isBlank(const QString &line)
{
    return line.trimmed().isEmpty();
}

}  // namespace

// One pass over the text; a line costs its own text and, for an entry, its key and value.
ProfileDocument ProfileDocument::parse(const QString &text)
{
    ProfileDocument document;
    // Raw data of the caller's may go before the document does: such text is copied.
    document.m_source = text.capacity() > 0 ? text : QString(text.constData(), text.size());
    const QStringView all(document.m_source);
    // The next CR and LF at or after the line's start, each searched for again only once passed.
    auto nextOf = [&all](char16_t end, qsizetype from) {
        const qsizetype found = all.indexOf(QChar(end), from);
        return found < 0 ? all.size() : found;
    };
    qsizetype nextCr = -1;
    qsizetype nextLf = -1;
    qsizetype start = 0;
    qsizetype number = 0;
    while (start < all.size()) {
        Line line;
        line.number = ++number;
        if (nextCr < start)
            nextCr = nextOf(u'\r', start);
        if (nextLf < start)
            nextLf = nextOf(u'\n', start);
        const qsizetype stop = std::min(nextCr, nextLf);
        line.raw = QString::fromRawData(all.data() + start, stop - start);
        if (stop == all.size()) {
            line.end = LineEnd::None;
            start = stop;
        } else if (all[stop] == u'\n') {
            line.end = LineEnd::Lf;
            start = stop + 1;
        } else if (stop + 1 < all.size() && all[stop + 1] == u'\n') {
            line.end = LineEnd::CrLf;
            start = stop + 2;
        } else {
            line.end = LineEnd::Cr;
            start = stop + 1;
        }

        const QStringView trimmed = QStringView(line.raw).trimmed();
        // Windows needs the closing bracket and takes the name up to the last one.
        const qsizetype close = trimmed.startsWith(u'[') ? trimmed.lastIndexOf(u']') : -1;
        if (close > 0) {
            const QString name = trimmed.sliced(1, close - 1).trimmed().toString();
            document.m_sections.append(Section{name, std::move(line), {}, {}});
            continue;
        }
        if (document.m_sections.isEmpty())
            document.m_sections.append(Section{});
        Section &section = document.m_sections.last();
        const qsizetype equals = line.raw.indexOf(u'=');
        const QStringView key = equals > 0 ? QStringView(line.raw).first(equals).trimmed() : QStringView();
        if (!key.isEmpty() && !trimmed.startsWith(u';') && !trimmed.startsWith(u'['))
            line.equals = equals;
        section.lines.append(std::move(line));
    }
    // Each section's keys once its entries are known, so that the index is made at its size.
    for (Section &section : document.m_sections) {
        section.entryLines.reserve(std::count_if(section.lines.cbegin(), section.lines.cend(),
                                                 [](const Line &line) { return line.isEntry(); }));
        for (qsizetype index = 0; index < section.lines.size(); ++index) {
            Line &line = section.lines[index];
            // Of two equal keys, Windows reads and writes the first.
            if (line.isEntry())
                line.repeated = section.list(line.keyText(), index) != index;
        }
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
        text += line.raw;
        switch (line.end) {
        case LineEnd::None:
            break;
        case LineEnd::CrLf:
            text += CrLf;
            break;
        case LineEnd::Cr:
            text += u'\r';
            break;
        case LineEnd::Lf:
            text += u'\n';
            break;
        }
        lineOpen = line.end == LineEnd::None;
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
    const qsizetype line = found->lineOf(key);
    return line < 0 ? defaultValue : found->lines[line].value();
}

// A new key goes after the section's last non-blank line, so that a blank line before the next
// header stays where it is.
void ProfileDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *found = findSection(section);
    if (!found) {
        const QString name = section.trimmed();
        m_sections.append(Section{name, Line{u'[' + name + u']', LineEnd::CrLf, 0, -1}, {}, {}});
        found = &m_sections.last();
    }
    if (const qsizetype index = found->lineOf(key); index >= 0) {
        Line &line = found->lines[index];
        const QString spelled = line.key();
        line.raw = spelled + u'=' + value;
        line.equals = spelled.size();
        return;
    }
    qsizetype position = found->lines.size();
    while (position > 0 && !found->lines[position - 1].isEntry()
           && isBlank(found->lines[position - 1].raw)) {
        --position;
    }
    const QString spelled = key.trimmed();
    found->lines.insert(position, Line{spelled + u'=' + value, LineEnd::CrLf, 0, spelled.size()});
    found->list(spelled, position);
}

QStringList ProfileDocument::keys(const QString &section) const
{
    QStringList keys;
    if (const Section *found = findSection(section)) {
        for (const Line &line : found->lines) {
            if (line.isEntry())
                keys.append(line.key());
        }
    }
    return keys;
}

void ProfileDocument::forEachKeyValue(const QString &section,
                                      const std::function<void(QStringView key, QStringView value)> &visit) const
{
    const Section *found = findSection(section);
    if (!found)
        return;
    for (const Line &line : found->lines) {
        if (!line.isEntry())
            continue;
        const Line &read = line.repeated ? found->lines[found->lineOf(line.keyText())] : line;
        visit(line.keyText().trimmed(), read.valueText());
    }
}

QList<ProfileDocument::NumberedLine> ProfileDocument::entries(const QString &section) const
{
    QList<NumberedLine> entries;
    const QString wanted = section.trimmed();
    for (const Section &candidate : m_sections) {
        if (candidate.name.compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        for (const Line &line : candidate.lines) {
            if (line.isEntry())
                entries.append({line.number, line.key(), line.value()});
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
            if (!line.isEntry() && !trimmed.isEmpty() && !trimmed.startsWith(u';'))
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
