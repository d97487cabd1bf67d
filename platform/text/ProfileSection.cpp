#include "platform/text/ProfileSection.h"

#include "platform/text/AnsiText.h"
#include "platform/text/detail/ProfileKeyIndex.h"

#include <cstring>

namespace platform {

namespace {

// The bytes whose Windows-1252 characters QChar::isSpace takes for blanks, as ProfileDocument
// trims them: tab to carriage return, space and the no-break space.
bool isBlank(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    return code == ' ' || (code >= '\t' && code <= '\r') || code == 0xA0;
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && isBlank(bytes[from]))
        ++from;
    while (to > from && isBlank(bytes[to - 1]))
        --to;
    return bytes.sliced(from, to - from);
}

// Of equal keys Windows reads the first one's value.
void takeFirstValues(ProfileSection &section)
{
    QList<ProfileSection::Entry> &entries = section.entries;
    detail::ProfileKeyIndex index;
    index.reserve(entries.size());
    const auto keyAt = [&entries](qsizetype entry) { return QStringView(entries.at(entry).key); };
    for (qsizetype entry = 0; entry < entries.size(); ++entry) {
        const qsizetype first = index.insert(entries[entry].key, entry, keyAt);
        if (first != entry)
            entries[entry].value = entries[first].value;
    }
}

// The lines of the text one by one, each ended by CR LF, CR or LF as in ProfileDocument::parse.
class Lines {
public:
    explicit Lines(QByteArrayView text) : m_text(text) {}

    bool next(QByteArrayView &line)
    {
        if (m_start >= m_text.size())
            return false;
        // The next CR and LF are each searched for again only once passed.
        if (m_nextCr < m_start)
            m_nextCr = nextOf('\r');
        if (m_nextLf < m_start)
            m_nextLf = nextOf('\n');
        const qsizetype stop = std::min(m_nextCr, m_nextLf);
        line = m_text.sliced(m_start, stop - m_start);
        m_start = stop + 1;
        if (stop < m_text.size() && m_text[stop] == '\r' && m_start < m_text.size() && m_text[m_start] == '\n')
            ++m_start;
        return true;
    }

private:
    qsizetype nextOf(char end) const
    {
        const void *found = std::memchr(m_text.data() + m_start, end, size_t(m_text.size() - m_start));
        return found ? static_cast<const char *>(found) - m_text.data() : m_text.size();
    }

    QByteArrayView m_text;
    qsizetype m_start = 0;
    qsizetype m_nextCr = -1;
    qsizetype m_nextLf = -1;
};

}  // namespace

QString ProfileSection::value(QStringView key, const QString &defaultValue) const
{
    for (const Entry &entry : entries) {
        if (detail::sameProfileKey(entry.key, key))
            return fromAnsi(entry.value);
    }
    return defaultValue;
}

QList<ProfileSection> readProfileSections(const QByteArray &bytes, const QStringList &names)
{
    QList<ProfileSection> sections(names.size());
    QStringList wanted;
    for (const QString &name : names)
        wanted.append(name.trimmed());
    QList<bool> met(names.size(), false);  // a section of the name has been met: later ones do not count
    qsizetype unmet = names.size();
    qsizetype reading = -1;  // the section the lines belong to, or -1 for one not asked for
    // The section a header or the lines before the first header begin: the first one of its name.
    const auto begin = [&](const QString &name) {
        reading = -1;
        for (qsizetype at = 0; at < wanted.size(); ++at) {
            if (met[at] || wanted[at].compare(name, Qt::CaseInsensitive) != 0)
                continue;
            met[at] = true;
            --unmet;
            if (reading < 0)
                reading = at;
        }
    };

    const QByteArrayView mark("\xEF\xBB\xBF");
    const QByteArrayView text = QByteArrayView(bytes).startsWith(mark) ? QByteArrayView(bytes).sliced(mark.size())
                                                                       : QByteArrayView(bytes);
    Lines lines(text);
    QByteArrayView line;
    bool beforeHeaders = true;
    while ((reading >= 0 || unmet > 0) && lines.next(line)) {
        const QByteArrayView trimmedLine = trimmed(line);
        // Windows needs the closing bracket and takes the name up to the last one.
        const qsizetype close = trimmedLine.startsWith('[') ? trimmedLine.lastIndexOf(']') : -1;
        if (close > 0) {
            beforeHeaders = false;
            begin(fromAnsi(trimmed(trimmedLine.sliced(1, close - 1))));
            continue;
        }
        if (beforeHeaders) {
            beforeHeaders = false;
            begin(QString());
        }
        if (reading < 0 || trimmedLine.startsWith(';') || trimmedLine.startsWith('['))
            continue;
        const qsizetype equals = line.indexOf('=');
        const QByteArrayView key = equals > 0 ? trimmed(line.first(equals)) : QByteArrayView();
        if (!key.isEmpty())
            sections[reading].entries.append({fromAnsi(key), trimmed(line.sliced(equals + 1))});
    }

    for (qsizetype at = 0; at < sections.size(); ++at) {
        qsizetype same = 0;
        while (wanted[same].compare(wanted[at], Qt::CaseInsensitive) != 0)
            ++same;
        if (same < at)
            sections[at] = sections[same];  // a name asked for twice
        else
            takeFirstValues(sections[at]);
    }
    return sections;
}

}  // namespace platform
