#include "backup/core/RestoreScript.h"

#include "backup/core/BackupFolder.h"
#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"
#include "platform/text/OemText.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace backup {

namespace {

const QString starLine = QStringLiteral("echo ") + QString(65, QLatin1Char('*'));

QStringList head(const QString &windowsShort, const QString &date, const QString &time)
{
    // Line 6 is neither padded nor cut: a longer date moves its closing asterisk.
    const QString dateLine = QStringLiteral("echo *       Sicherungskopien vom ") + date
                             + QStringLiteral(";  Uhrzeit:") + time + QStringLiteral("        *");
    return {
        QStringLiteral("echo off"),
        QStringLiteral("Path ") + windowsShort + QStringLiteral("\\Command"),
        QStringLiteral("cls"),
        starLine,
        QStringLiteral("echo *    VELKO RESTORE - Wiederherstellung von Sicherungsdateien    *"),
        dateLine,
        starLine,
        QStringLiteral("echo *   DIESES PROGRAMM DARF NICHT UNTER WINDOWS IN EINER MS-DOS-   *"),
        QStringLiteral("echo *                    BOX AUSGEFUEHRT WERDEN !                   *"),
        QStringLiteral("echo *            Die Benutzung erfolgt auf eigene Gefahr !          *"),
        starLine,
        QStringLiteral("echo *    ALLE zuletzt in das ausgewaehlte Verzeichnis gesicherten   *"),
        QStringLiteral("echo *             Dateien werden wiederhergestellt.                 *"),
        starLine,
        QStringLiteral("echo *         ABBRUCH DIESES PROGRAMMS JETZT MIT \"STRG+C\" !         *"),
        starLine,
        QStringLiteral("echo."),
        QStringLiteral("pause"),
        QStringLiteral("cls"),
        QStringLiteral("echo kopieren der Sicherungsdateien ..."),
        QStringLiteral("echo."),
        QString(),
    };
}

// The report line only shows the long name; a character MS-DOS's code page lacks shows as "?"
// there rather than keep the whole script from being written. Names that commands use are short
// names, which code page 850 always holds.
QString shownUnderDos(const QString &name)
{
    const auto isShown = [](QChar c) { return c.unicode() < 0x80 || platform::isOemCharacter(c); };
    if (std::all_of(name.cbegin(), name.cend(), isShown))
        return name;
    QString shown = name;
    for (QChar &c : shown) {
        if (!platform::isOemCharacter(c))
            c = u'?';
    }
    return shown;
}

// The script's lines go to a list or straight into their bytes; each line comes in pieces, so
// that a script of many files needs no string for each of its lines.
class LineList {
public:
    void line(std::initializer_list<QStringView> pieces)
    {
        qsizetype size = 0;
        for (const QStringView piece : pieces)
            size += piece.size();
        QString text;
        text.reserve(size);
        for (const QStringView piece : pieces)
            text += piece;
        lines.append(text);
    }
    QStringList lines;
};

// Code page 850, each line followed by CR LF; null once a line cannot be encoded.
class OemLines {
public:
    explicit OemLines(qsizetype expectedSize) { m_bytes->reserve(expectedSize); }
    void line(std::initializer_list<QStringView> pieces)
    {
        if (m_bytes && !platform::appendOemLine(pieces, &*m_bytes))
            m_bytes.reset();
    }
    const std::optional<QByteArray> &bytes() const { return m_bytes; }

private:
    std::optional<QByteArray> m_bytes = QByteArray();
};

template <typename Lines>
void addBlock(Lines &lines, const ScriptFile &file)
{
    const QString &p = file.shortSourcePath;
    const QString &n = file.copyDosName;
    const QString suffix = attributeSuffix(file.attributes);
    lines.line({u"if exist ", p, u" attrib ", p, u" -r -h -s -a"});
    lines.line({u"attrib ", n, u" -r -h -s -a"});
    lines.line({u"copy ", n, u" ", p});
    lines.line({u"attrib ", p, suffix});
    lines.line({u"attrib ", n, suffix});
    lines.line({u"echo ", shownUnderDos(file.displayName), u" bearbeitet !"});
    lines.line({u"echo ---"});
    lines.line({});
}

// The text between a fixed start and end of a line; null when the line has neither.
std::optional<QString> between(const QString &line, const QString &start, const QString &end)
{
    if (line.size() < start.size() + end.size() || !line.startsWith(start) || !line.endsWith(end))
        return std::nullopt;
    return line.mid(start.size(), line.size() - start.size() - end.size());
}

// The values of one file's block; its lines are checked as a whole when the script is composed again.
std::optional<ScriptFile> parseBlock(const QStringList &lines, qsizetype first)
{
    const QString clear = QStringLiteral(" -r -h -s -a");
    // Line a names P twice around " attrib ", so P's length follows from the line's.
    const auto twice = between(lines[first], QStringLiteral("if exist "), clear);
    const QString separator = QStringLiteral(" attrib ");
    if (!twice || (twice->size() - separator.size()) % 2 != 0 || twice->size() < separator.size())
        return std::nullopt;
    const QString shortSource = twice->left((twice->size() - separator.size()) / 2);
    const auto copy = between(lines[first + 1], QStringLiteral("attrib "), clear);
    const auto shown = between(lines[first + 5], QStringLiteral("echo "), QStringLiteral(" bearbeitet !"));
    const auto suffix = between(lines[first + 3], QStringLiteral("attrib ") + shortSource, QString());
    if (!copy || !shown || !suffix)
        return std::nullopt;
    for (int value = 0; value <= 39; ++value) {
        const auto attributes = quint8(value);
        if (attributeSuffix(attributes) == *suffix)
            return ScriptFile{shortSource, *copy, *shown, attributes};
    }
    return std::nullopt;
}

const QStringList tail = {
    QStringLiteral("echo."),
    QStringLiteral("echo ... Velko Restore wurde ausgefuehrt !"),
    QStringLiteral("echo."),
};

int writeScriptBytes(const QString &path, const QByteArray &bytes)
{
    return writeInPlace(path, [&bytes](const QString &temporary) { return platform::writeFile(temporary, bytes); })
        .error;
}

template <typename Lines>
void compose(Lines &lines, const QString &windowsShort, const QString &date, const QString &time,
             const QList<ScriptFile> &files)
{
    for (const QString &line : head(windowsShort, date, time))
        lines.line({line});
    for (const ScriptFile &file : files)
        addBlock(lines, file);
    for (const QString &line : tail)
        lines.line({line});
}

}  // namespace

platform::DosResult<ScriptFile> scriptFileFor(const QString &source, const QString &copy,
                                              const QString &displayName)
{
    const auto resolvedSource = platform::resolvePath(source);
    if (!resolvedSource.ok())
        return {resolvedSource.error, {}};
    const auto resolvedCopy = platform::resolvePath(copy);
    if (!resolvedCopy.ok())
        return {resolvedCopy.error, {}};
    return scriptFileFor(resolvedSource.value, resolvedCopy.value, std::nullopt, displayName);
}

platform::DosResult<ScriptFile> scriptFileFor(const platform::ResolvedPath &source,
                                              const platform::ResolvedPath &copy,
                                              std::optional<quint8> attributes, const QString &displayName)
{
    const auto shortSource = platform::shortPathName(source);
    if (!shortSource.ok())
        return {shortSource.error, {}};
    const auto shortCopy = platform::shortFileName(copy);
    if (!shortCopy.ok())
        return {shortCopy.error, {}};
    if (!attributes) {
        const auto read = platform::fileAttributes(source);
        if (!read.ok())
            return {read.error, {}};
        attributes = read.value;
    }
    return {platform::dos::Ok, {shortSource.value, shortCopy.value, displayName, *attributes}};
}

namespace {

QString composedSuffix(quint8 attributes)
{
    // Only these exact values get flags; a directory bit or any other extra bit gives none.
    const bool known = (attributes >= 1 && attributes <= 7) || (attributes >= 32 && attributes <= 39);
    if (!known)
        return {};
    QString suffix;
    if (attributes & platform::attr::ReadOnly)
        suffix += QStringLiteral(" +r");
    if (attributes & platform::attr::Hidden)
        suffix += QStringLiteral(" +h");
    if (attributes & platform::attr::System)
        suffix += QStringLiteral(" +s");
    if (attributes & platform::attr::Archive)
        suffix += QStringLiteral(" +a");
    return suffix;
}

}  // namespace

// Every saved file asks for one: each is made once and shared.
QString attributeSuffix(quint8 attributes)
{
    static const std::array<QString, 256> suffixes = [] {
        std::array<QString, 256> all;
        for (size_t value = 0; value < all.size(); ++value)
            all[value] = composedSuffix(quint8(value));
        return all;
    }();
    return suffixes[attributes];
}

QStringList composeRestoreScript(const QString &windowsShort, const QString &date, const QString &time,
                                 const QList<ScriptFile> &files)
{
    LineList lines;
    lines.lines.reserve(22 + 8 * files.size() + tail.size());
    compose(lines, windowsShort, date, time, files);
    return lines.lines;
}

int writeRestoreScript(const QString &path, const QStringList &lines)
{
    const std::optional<QByteArray> bytes = platform::oemLines(lines);
    if (!bytes)
        return ScriptNotEncodable;
    return writeScriptBytes(path, *bytes);
}

int writeRestoreScript(const QString &path, const QString &windowsShort, const QString &date,
                       const QString &time, const QList<ScriptFile> &files)
{
    // A file's block takes some 300 bytes.
    OemLines lines(2048 + 320 * files.size());
    compose(lines, windowsShort, date, time, files);
    if (!lines.bytes())
        return ScriptNotEncodable;
    return writeScriptBytes(path, *lines.bytes());
}

std::optional<SavedScript> parseRestoreScript(const QStringList &lines)
{
    const QStringList empty = composeRestoreScript(QString(), QString(), QString(), {});
    constexpr qsizetype HeadLines = 22;
    constexpr qsizetype BlockLines = 8;
    if (lines.size() < empty.size() || (lines.size() - empty.size()) % BlockLines != 0)
        return std::nullopt;
    SavedScript script;
    const auto windowsShort = between(lines[1], QStringLiteral("Path "), QStringLiteral("\\Command"));
    const auto stamp =
        between(lines[5], QStringLiteral("echo *       Sicherungskopien vom "), QStringLiteral("        *"));
    const QString timeMark = QStringLiteral(";  Uhrzeit:");
    if (!windowsShort || !stamp || !stamp->contains(timeMark))
        return std::nullopt;
    script.windowsShort = *windowsShort;
    script.date = stamp->left(stamp->indexOf(timeMark));
    script.time = stamp->mid(script.date.size() + timeMark.size());
    for (qsizetype first = HeadLines; first + BlockLines + tail.size() <= lines.size(); first += BlockLines) {
        const auto file = parseBlock(lines, first);
        if (!file)
            return std::nullopt;
        script.files.append(*file);
    }
    if (composeRestoreScript(script.windowsShort, script.date, script.time, script.files) != lines)
        return std::nullopt;
    return script;
}

platform::DosResult<SavedScript> readRestoreScript(const QString &folder)
{
    const auto bytes = platform::readFile(restoreScriptPath(folder, ScriptSpelling::LookedFor));
    if (!bytes.ok())
        return {bytes.error, {}};
    // Every line ends in CR LF, the last one too.
    const QString text = platform::fromOem(bytes.value);
    const QString lineEnd = QStringLiteral("\r\n");
    if (!text.endsWith(lineEnd))
        return {ScriptNotRecognised, {}};
    const auto script = parseRestoreScript(text.chopped(lineEnd.size()).split(lineEnd));
    if (!script)
        return {ScriptNotRecognised, {}};
    return {platform::dos::Ok, *script};
}

}  // namespace backup
