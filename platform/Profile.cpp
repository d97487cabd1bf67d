#include "platform/Profile.h"

#include "platform/AnsiText.h"
#include "platform/Files.h"

namespace platform {

namespace {

// Windows' code for a request it cannot carry out as given.
constexpr int InvalidParameter = 87;

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
    QStringList lines = text.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    for (QString line : std::as_const(lines)) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            const QString name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
            document.m_sections.append(Section{name, {}, {}});
            continue;
        }
        if (document.m_sections.isEmpty())
            document.m_sections.append(Section{});
        Section &section = document.m_sections.last();
        const qsizetype equals = trimmed.indexOf(u'=');
        const QString key = equals > 0 ? trimmed.left(equals).trimmed() : QString();
        if (key.isEmpty() || trimmed.startsWith(u';')) {
            section.lines.append(Line{{}, {}, line});
            continue;
        }
        // Of two equal keys, Windows reads and writes the first.
        if (!section.entryLines.contains(keyOf(key)))
            section.entryLines.insert(keyOf(key), section.lines.size());
        section.lines.append(Line{key, trimmed.mid(equals + 1).trimmed(), {}});
    }
    return document;
}

QString ProfileDocument::text() const
{
    QString text;
    for (qsizetype index = 0; index < m_sections.size(); ++index) {
        const Section &section = m_sections[index];
        if (index > 0 || !section.name.isEmpty())
            text += u'[' + section.name + QStringLiteral("]\r\n");
        for (const Line &line : section.lines) {
            text += line.key.isEmpty() ? line.raw : line.key + u'=' + line.value;
            text += QStringLiteral("\r\n");
        }
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

QString ProfileDocument::value(const QString &section, const QString &key,
                               const QString &defaultValue) const
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
        m_sections.append(Section{section.trimmed(), {}, {}});
        found = &m_sections.last();
    }
    const QString folded = keyOf(key);
    if (const qsizetype line = found->entryLines.value(folded, -1); line >= 0) {
        found->lines[line].value = value;
        return;
    }
    qsizetype position = found->lines.size();
    while (position > 0 && found->lines[position - 1].key.isEmpty()
           && isBlank(found->lines[position - 1].raw)) {
        --position;
    }
    found->lines.insert(position, Line{key.trimmed(), value, {}});
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

bool ProfileDocument::isEmpty() const
{
    return m_sections.isEmpty()
        || (m_sections.size() == 1 && m_sections[0].name.isEmpty() && m_sections[0].lines.isEmpty());
}

DosResult<ProfileDocument> readProfile(const QString &path)
{
    const auto bytes = readFile(path);
    if (bytes.error == dos::FileNotFound || bytes.error == dos::PathNotFound)
        return {dos::Ok, {}};
    if (!bytes.ok())
        return {bytes.error, {}};
    return {dos::Ok, ProfileDocument::parse(fromAnsi(bytes.value))};
}

int writeProfile(const QString &path, const ProfileDocument &document)
{
    const auto bytes = toAnsi(document.text());
    if (!bytes)
        return InvalidParameter;
    return replaceFile(path, *bytes);
}

QString profileString(const QString &path, const QString &section, const QString &key,
                      const QString &defaultValue)
{
    const auto document = readProfile(path);
    return document.ok() ? document.value.value(section, key, defaultValue) : defaultValue;
}

int writeProfileString(const QString &path, const QString &section, const QString &key,
                       const QString &value)
{
    auto document = readProfile(path);
    if (!document.ok())
        return document.error;
    document.value.setValue(section, key, value);
    return writeProfile(path, document.value);
}

}  // namespace platform
