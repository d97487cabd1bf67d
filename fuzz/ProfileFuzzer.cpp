// An INI file as Orvel.ini or machine.ini is read: every line kept as it was, every key readable
// in its section, a written key reading back without moving any other, and the sections read
// straight from the bytes (as the program reads Orvel.ini at start) giving what the document gives.
#include "fuzz/FuzzSupport.h"
#include "platform/files/Profile.h"
#include "platform/text/AnsiText.h"
#include "platform/text/ProfileDocument.h"
#include "platform/text/ProfileSection.h"

#include <QHash>
#include <QStringList>

namespace {

using platform::ProfileDocument;

// Each section's keys as value() reads them, the first section of a name winning as in Windows.
QHash<QString, QHash<QString, QString>> readable(const ProfileDocument &document, const QStringList &sections)
{
    QHash<QString, QHash<QString, QString>> values;
    for (const QString &section : sections) {
        QHash<QString, QString> &keys = values[section.toCaseFolded()];
        for (const QString &key : document.keys(section))
            keys.insert(key.toCaseFolded(), document.value(section, key, QString()));
    }
    return values;
}

// The names of the sections, taken from the headers of the text.
QStringList sectionNames(const QString &text)
{
    QStringList names{QString()};
    QString unified = text;
    unified.replace(u'\r', u'\n');
    for (const QStringView line : QStringView(unified).split(u'\n')) {
        const QStringView trimmed = line.trimmed();
        const qsizetype close = trimmed.lastIndexOf(u']');
        if (trimmed.startsWith(u'[') && close > 0)
            names.append(trimmed.sliced(1, close - 1).trimmed().toString());
    }
    return names;
}

void writeAndCheck(const QString &text, const QStringList &sections, const QString &section, const QString &key)
{
    ProfileDocument document = ProfileDocument::parse(text);
    auto expected = readable(document, sections);
    const QString value = QStringLiteral("C:\\Programme\\Velko Save\\Backups");
    document.setValue(section, key, value);
    expected[section.trimmed().toCaseFolded()].insert(key.trimmed().toCaseFolded(), value);

    const QString written = document.text();
    const ProfileDocument again = ProfileDocument::parse(written);
    if (again.value(section, key, QStringLiteral("<missing>")) != value)
        fuzz::finding("a written key does not read back");
    QStringList allSections = sections;
    allSections.append(section.trimmed());
    if (readable(again, allSections) != expected)
        fuzz::finding("writing a key changed what another key reads");
    if (again.text() != written)
        fuzz::finding("the written text does not read back line for line");
}

void checkStraightReading(const QByteArray &bytes)
{
    const ProfileDocument document = platform::profileOfBytes(bytes);
    const QStringList sections = sectionNames(document.text()) << QStringLiteral("Sicherungsdateien");
    const QList<platform::ProfileSection> straight = platform::readProfileSections(bytes, sections);
    for (qsizetype at = 0; at < sections.size(); ++at) {
        QStringList expected;
        document.forEachKeyValue(sections[at], [&expected](QStringView key, QStringView value) {
            expected << key.toString() << value.toString();
        });
        QStringList read;
        for (const platform::ProfileSection::Entry &entry : straight[at].entries)
            read << entry.key << platform::fromAnsi(entry.value);
        if (read != expected)
            fuzz::finding("a section read straight from the bytes differs from the document's");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkStraightReading(bytes);
    const QString text = platform::fromAnsi(bytes);
    const ProfileDocument document = ProfileDocument::parse(text);
    if (document.text() != text)
        fuzz::finding("parse and text() do not give back the lines read");

    const QStringList sections = sectionNames(text);
    // A key the program writes, and the first key the file has of its own.
    writeAndCheck(text, sections, QStringLiteral("Einstellungen"), QStringLiteral("Zielverzeichnis"));
    for (const QString &section : sections) {
        const QStringList keys = document.keys(section);
        if (!keys.isEmpty()) {
            writeAndCheck(text, sections, section, keys.first());
            break;
        }
    }
    return 0;
}
