#include "emergency/core/BootScript.h"

#include "emergency/core/SystemFiles.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"
#include "platform/text/OemText.h"

namespace emergency {

namespace {

const QString StarLine = QStringLiteral("echo ") + QString(65, u'*');

QStringList head(const BootScriptValues &values)
{
    QStringList lines = {
        QStringLiteral("echo off"),
        QStringLiteral("Path ") + values.windowsShort + QStringLiteral("\\Command"),
        QStringLiteral("cls"),
        StarLine,
        QStringLiteral("echo *      VELKO RESTORE - Wiederherstellung von Systemdateien      *"),
        QStringLiteral("echo *                      NOTFALLDISKETTE                          *"),
        QStringLiteral("echo *       Sicherungskopien vom ") + values.date + QStringLiteral(";  Uhrzeit:")
            + values.time + QStringLiteral("        *"),
        StarLine,
        QStringLiteral("echo *   DIESES PROGRAMM DARF NICHT UNTER WINDOWS IN EINER MS-DOS-   *"),
        QStringLiteral("echo *                    BOX AUSGEFUEHRT WERDEN !                   *"),
        QStringLiteral("echo *            Die Benutzung erfolgt auf eigene Gefahr !          *"),
        StarLine,
    };
    if (values.scanDisk) {
        lines << QStringLiteral("echo *     Zu Beginn wird Microsoft Scandisk ausgefuehrt, um das     *")
              << QStringLiteral("echo *     Rootlaufwerk auf Fehler zu pruefen.                       *");
    }
    lines << StarLine
          << QStringLiteral("echo *         ABBRUCH DIESES PROGRAMMS JETZT MIT \"STRG+C\" !         *")
          << StarLine << QStringLiteral("echo.") << QStringLiteral("pause");
    if (values.scanDisk)
        lines << QStringLiteral("scandisk.exe ") + values.bootDrive + QStringLiteral(": /AUTOFIX /NOSUMMARY");
    lines << QStringLiteral("cls") << QStringLiteral("echo kopieren der Systemdateien ...")
          << QStringLiteral("echo.") << QString();
    return lines;
}

QStringList block(const SystemFile &file, const BootScriptValues &values)
{
    const QString bootRoot = values.bootDrive + QStringLiteral(":\\");
    const QString targetFolder = file.inRoot ? bootRoot : values.windowsShort;
    // The boot root ends with its backslash, the Windows directory without one.
    const QString target = file.inRoot ? QString(bootRoot + file.scriptName)
                                       : QString(values.windowsShort + u'\\' + file.scriptName);
    const QString copy = values.notfallShort + u'\\' + file.scriptName;
    const QString ifCopy = QStringLiteral("if exist ") + copy + u' ';

    QStringList lines;
    if (file.clearAttributes)
        lines << QStringLiteral("if exist ") + target + QStringLiteral(" attrib -r -h -s ") + target;
    lines << ifCopy + QStringLiteral("copy ") + copy + u' ' + targetFolder + QStringLiteral(" /V");
    if (file.setAttributes)
        lines << ifCopy + QStringLiteral("attrib +r +h +s ") + target;
    lines << ifCopy + QStringLiteral("echo ") + file.copyName + QStringLiteral(" bearbeitet !")
          << ifCopy + QStringLiteral("echo ---") << QString();
    return lines;
}

// The short form of an existing path; empty where there is none, as Windows leaves it.
QString shortFormOrEmpty(const QString &path)
{
    const auto shortPath = platform::shortPathName(path);
    return shortPath.ok() ? shortPath.value : QString();
}

}  // namespace

QStringList composeBootScript(const BootScriptValues &values)
{
    QStringList lines = head(values);
    for (const SystemFile &file : scriptOrder())
        lines += block(file, values);
    lines << QStringLiteral("echo.") << QStringLiteral("echo ... Velko Restore wurde ausgefuehrt !")
          << QStringLiteral("echo.")
          << QStringLiteral(
                 "echo ... Entnehmen sie nun die Notfalldiskette und starten sie den Rechner neu !")
          << QStringLiteral("echo.");
    return lines;
}

void writeBootScript(QChar floppy, QChar bootDrive, const QString &programDirectory,
                     const QString &windowsDirectory)
{
    const QString folder = notfallFolder(programDirectory);
    // Not examined here: without the folder its short form is empty, and the first copy fails.
    (void)platform::forceDirectories(folder);

    const QDateTime moment = platform::now();
    BootScriptValues values;
    values.bootDrive = bootDrive.toUpper();
    values.notfallShort = shortFormOrEmpty(folder);
    values.windowsShort = shortFormOrEmpty(windowsDirectory);
    values.date = platform::shortDate(moment);
    values.time = platform::longTime(moment);
    values.scanDisk = platform::fileExists(windowsDirectory + QStringLiteral("\\command\\scandisk.exe"));

    const QString script = QString(floppy) + QStringLiteral(":\\Autoexec.bat");
    // Short names always fit code page 850; a path that does not is refused like an invalid name.
    const std::optional<QByteArray> bytes = platform::oemLines(composeBootScript(values));
    if (!bytes)
        throw platform::IoError(platform::dos::PathNotFound, script);
    platform::throwOnError(platform::replaceFile(script, *bytes), script);
}

}  // namespace emergency
