#include "app/core/Settings.h"

#include "platform/drives/Files.h"
#include "platform/text/AnsiText.h"
#include "platform/text/LineBreak.h"
#include "platform/text/ProfileSection.h"

#include <QSet>

namespace settings {

QStringList defaultBackupList(const QString &windowsDirectory)
{
    const QString w = windowsDirectory;
    return {QStringLiteral("C:\\Autoexec.bat"),   QStringLiteral("C:\\Command.com"),
            QStringLiteral("C:\\Config.sys"),     w + QStringLiteral("\\Control.ini"),
            QStringLiteral("C:\\Io.sys"),         QStringLiteral("C:\\Msdos.sys"),
            w + QStringLiteral("\\Protocol.ini"), w + QStringLiteral("\\System.dat"),
            w + QStringLiteral("\\System.ini"),   w + QStringLiteral("\\User.dat"),
            w + QStringLiteral("\\Win.ini")};
}

QString filePath(const QString &programDirectory)
{
    return programDirectory + QLatin1Char('\\') + FileName;
}

QString backupsDirectory(const QString &programDirectory)
{
    return programDirectory + QStringLiteral("\\Backups");
}

platform::ProfileDocument defaultDocument(const QString &programDirectory, const QString &windowsDirectory)
{
    platform::ProfileDocument document;
    for (const QString &path : defaultBackupList(windowsDirectory))
        document.setValue(FilesSection, path, QStringLiteral("1"));
    document.setValue(PathSection, PathKey, backupsDirectory(programDirectory));
    document.setValue(OptionsSection, AutoQuitKey, QStringLiteral("0"));
    document.setValue(OptionsSection, ShortHelpKey, QStringLiteral("1"));
    return document;
}

bool firstLineRejects(const QByteArray &fileContents)
{
    // A UTF-8 byte-order mark is no part of the line; the profile reader skips it as well.
    const qsizetype start = fileContents.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // A text-mode read ends the first line at CR or LF.
    qsizetype end = start;
    while (end < fileContents.size() && fileContents[end] != '\r' && fileContents[end] != '\n')
        ++end;
    const QByteArray line = fileContents.mid(start, end - start);
    return line == "[VK]" || line == "0" || line == "1";
}

bool readFlag(QStringView value)
{
    bool isNumber = false;
    const QStringView text = value.trimmed();
    qlonglong number = 0;
    if (text.startsWith(u'$'))
        number = text.sliced(1).toLongLong(&isNumber, 16);
    else
        number = text.toLongLong(&isNumber, 10);
    return !isNumber || number != 0;
}

static QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

Settings read(const platform::ProfileDocument &document)
{
    Settings result;
    document.forEachKeyValue(FilesSection, [&result](QStringView path, QStringView checked) {
        result.rows.append({path.toString(), readFlag(checked)});
    });
    result.destination = document.value(PathSection, PathKey, QString());
    result.shortHelp = readFlag(document.value(OptionsSection, ShortHelpKey, QString()));
    result.autoQuit = readFlag(document.value(OptionsSection, AutoQuitKey, QString()));
    return result;
}

// The saved flags, "1" and "0", are told at once; any other value is decoded and read as a flag.
static bool ansiFlag(QByteArrayView ansiValue)
{
    if (ansiValue == "1")
        return true;
    if (ansiValue == "0")
        return false;
    return readFlag(platform::fromAnsi(ansiValue));
}

Settings read(const QByteArray &fileContents)
{
    QList<platform::ProfileSection> sections =
        platform::readProfileSections(fileContents, {FilesSection, PathSection, OptionsSection});
    Settings result;
    QList<platform::ProfileSection::Entry> &files = sections[0].entries;
    result.rows.reserve(files.size());
    for (platform::ProfileSection::Entry &file : files)
        result.rows.append({std::move(file.key), ansiFlag(file.value)});
    result.destination = sections[1].value(PathKey, QString());
    result.shortHelp = readFlag(sections[2].value(ShortHelpKey, QString()));
    result.autoQuit = readFlag(sections[2].value(AutoQuitKey, QString()));
    return result;
}

platform::ProfileDocument savedDocument(const QList<ListRow> &rows, bool autoQuit, bool shortHelp,
                                        const QString &destination)
{
    platform::ProfileDocument document;
    for (const ListRow &row : rows)
        document.setValue(FilesSection, row.path, flag(row.checked));
    document.setValue(OptionsSection, AutoQuitKey, flag(autoQuit));
    document.setValue(OptionsSection, ShortHelpKey, flag(shortHelp));
    document.setValue(PathSection, PathKey, destination);
    return document;
}

std::optional<QString> unstorablePathReason(const QString &path)
{
    if (!platform::toAnsi(path))
        return QStringLiteral("er enthält Zeichen, die Windows nicht speichern kann");
    if (path.contains(QLatin1Char('=')))
        return QStringLiteral("er enthält ein Gleichheitszeichen (=)");
    for (const QChar c : path) {
        if (c.unicode() < 32)
            return QStringLiteral("er enthält Steuerzeichen");
    }
    if (path.trimmed() != path || path.isEmpty())
        return QStringLiteral("er beginnt oder endet mit einem Leerzeichen");
    if (path.startsWith(QLatin1Char('[')) || path.startsWith(QLatin1Char(';')))
        return QStringLiteral("er beginnt mit einem Zeichen, das die Einstellungsdatei anders deutet");
    return std::nullopt;
}

std::optional<QString> saveRefusal(const QList<ListRow> &rows, const QString &destination)
{
    QSet<QString> seen;
    seen.reserve(rows.size());
    for (const ListRow &row : rows) {
        if (const auto reason = unstorablePathReason(row.path)) {
            return QStringLiteral("Die Einstellungen wurden nicht gespeichert:") + platform::LineBreak
                   + QStringLiteral("Der Pfad '") + row.path
                   + QStringLiteral("' kann nicht in der Sicherungsliste gespeichert werden, da ") + *reason
                   + QStringLiteral(" !");
        }
        const QString folded = platform::upperCaseFileName(row.path);
        if (seen.contains(folded)) {
            return QStringLiteral("Die Einstellungen wurden nicht gespeichert:") + platform::LineBreak
                   + QStringLiteral("Die Datei '") + row.path
                   + QStringLiteral("' steht mehrfach in der Sicherungsliste !") + platform::LineBreak
                   + QStringLiteral("Bitte entfernen sie einen der Einträge.");
        }
        seen.insert(folded);
    }
    if (!platform::toAnsi(destination)) {
        return QStringLiteral("Die Einstellungen wurden nicht gespeichert:") + platform::LineBreak
               + QStringLiteral("Das Zielverzeichnis '") + destination
               + QStringLiteral("' enthält Zeichen, die Windows nicht speichern kann !");
    }
    return std::nullopt;
}

std::optional<QString> writeRefusal(const QString &programDirectory, bool unreadableAtStart)
{
    if (programDirectory.isEmpty()) {
        // Without it the file's path would be "\Orvel.ini", the root of the current drive.
        return QStringLiteral("Die Einstellungen wurden nicht gespeichert:") + platform::LineBreak
               + QStringLiteral("Das Programmverzeichnis ist nicht bekannt, da Velko Save nicht vollständig "
                                "gestartet wurde. Bitte starten sie Velko Save erneut.");
    }
    if (!unreadableAtStart)
        return std::nullopt;
    return QStringLiteral("Die Einstellungsdatei ") + filePath(programDirectory)
           + QStringLiteral(" konnte beim Programmstart nicht gelesen werden.") + platform::LineBreak
           + QStringLiteral("Damit ihr Inhalt nicht verloren geht, wird sie bis zum Programmende nicht "
                            "überschrieben: Die Einstellungen wurden nicht gespeichert !");
}

QString notWrittenText(const QString &settingsPath)
{
    return QStringLiteral("nach %1 kann nicht geschrieben werden").arg(settingsPath);
}

QString unreadableText(const QString &settingsPath, int error)
{
    return QStringLiteral("Die Einstellungsdatei ") + settingsPath
           + QStringLiteral(" kann nicht gelesen werden:") + platform::LineBreak
           + platform::fileErrorText(error) + QStringLiteral(".") + platform::LineBreak
           + QStringLiteral("Die Einstellungen wurden nicht geladen. Damit ihr Inhalt nicht verloren geht, "
                            "wird die Datei bis zum Programmende nicht überschrieben.");
}

SaveResult save(const QString &programDirectory, bool unreadableAtStart, const QList<ListRow> &rows,
                bool autoQuit, bool shortHelp, const QString &destination)
{
    SaveResult result;
    result.refusal = writeRefusal(programDirectory, unreadableAtStart);
    if (!result.refusal)
        result.refusal = saveRefusal(rows, destination);
    if (!result.refusal)
        result.error = platform::writeProfile(filePath(programDirectory),
                                              savedDocument(rows, autoQuit, shortHelp, destination));
    return result;
}

}  // namespace settings
