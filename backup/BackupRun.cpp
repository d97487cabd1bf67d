#include "backup/BackupRun.h"

#include "controls/MessageDialog.h"
#include "platform/FileMove.h"
#include "platform/Files.h"

#include <QHash>

namespace backup {

namespace {

// Message texts break lines with LF followed by CR.
const QString lineBreak = QStringLiteral("\n\r");

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The Program directory keeps a root as "X:"; the directory tree reports it as "X:\".
QString withRootBackslash(const QString &directory)
{
    if (directory.size() == 2 && directory.at(1) == QLatin1Char(':'))
        return directory + QLatin1Char('\\');
    return directory;
}

QString refusedDestinationText(const QString &destinationPath)
{
    return QStringLiteral("Die Sicherung nach ") + destinationPath
           + QStringLiteral(" ist nicht erlaubt !") + lineBreak
           + QStringLiteral("Bitte wählen sie ein anderes Verzeichnis !");
}

// An earlier copy may carry read-only or hidden (a saved IO.SYS), which would refuse the
// replace; its attributes are cleared and handed back so that a failed replace can restore them.
platform::DosResult<std::optional<quint8>> unprotectEarlierCopy(const QString &target)
{
    if (!platform::fileExists(target))
        return {};
    const auto attributes = platform::fileAttributes(target);
    if (!attributes.ok())
        return {attributes.error, {}};
    if (const int error = platform::setFileAttributes(target, 0))
        return {error, {}};
    return {platform::dos::Ok, attributes.value};
}

// Removes the temporary copy after a failure; once copied it carries the source's attributes.
void discardTemporary(const QString &path)
{
    platform::setFileAttributes(path, 0);
    platform::deleteFile(path);
}

}  // namespace

std::optional<QString> destinationRefusal(const QString &destinationPath,
                                          const QString &programDirectory,
                                          const QString &windowsDirectory)
{
    if (sameText(destinationPath, withRootBackslash(programDirectory))) {
        return QStringLiteral("Es kann nicht in das gleiche Verzeichnis, in dem") + lineBreak
               + QStringLiteral("Velko Save installiert ist, gesichert werden !") + lineBreak
               + QStringLiteral("Bitte wählen sie ein anderes Verzeichnis !");
    }
    if (sameText(destinationPath, windowsDirectory) || sameText(destinationPath, QStringLiteral("C:\\")))
        return refusedDestinationText(destinationPath);
    return std::nullopt;
}

QString destinationBase(const QString &destinationPath)
{
    return platform::withoutRootBackslash(destinationPath);
}

QString backupTarget(const QString &destinationBase, const QString &sourcePath)
{
    return destinationBase + QLatin1Char('\\') + platform::fileNamePart(sourcePath);
}

QString backupStatusText(int saved, int marked)
{
    if (saved == 0)
        return QStringLiteral("Status: Es konnte keine Datei gesichert werden !");
    if (saved == 1) {
        if (marked == 1)
            return QStringLiteral("Status: Es wurde 1 markierte Datei gesichert !");
        return QStringLiteral("Status: Es wurde 1 Datei von %1 markierten gesichert !").arg(marked);
    }
    if (marked == saved)
        return QStringLiteral("Status: Es wurden alle %1 markierten Dateien gesichert !").arg(saved);
    return QStringLiteral("Status: Es wurden %1 Dateien von %2 markierten gesichert !")
        .arg(saved)
        .arg(marked);
}

std::optional<std::pair<QString, QString>> duplicateNames(const QStringList &markedPaths)
{
    QHash<QString, QString> pathByName;
    pathByName.reserve(markedPaths.size());
    for (const QString &path : markedPaths) {
        const QString name = platform::fileNamePart(path).toLower();
        const auto earlier = pathByName.constFind(name);
        if (earlier != pathByName.constEnd())
            return std::pair{*earlier, path};
        pathByName.insert(name, path);
    }
    return std::nullopt;
}

QString duplicateNamesText(const QString &firstPath, const QString &secondPath)
{
    return QStringLiteral("Die Dateien '") + firstPath + QStringLiteral("' und '") + secondPath
           + QStringLiteral("' haben denselben Namen und würden sich im Sicherungsverzeichnis "
                            "gegenseitig überschreiben !")
           + lineBreak
           + QStringLiteral("Bitte entfernen sie eine der beiden Dateien aus der Sicherungsliste.");
}

std::optional<QString> scriptNameClash(const QStringList &markedPaths)
{
    for (const QString &path : markedPaths) {
        const QString name = platform::fileNamePart(path);
        if (name.compare(QStringLiteral("Restore.bat"), Qt::CaseInsensitive) == 0
            || name.compare(QStringLiteral("Restore.pif"), Qt::CaseInsensitive) == 0) {
            return path;
        }
    }
    return std::nullopt;
}

QString scriptNameClashText(const QString &path)
{
    return QStringLiteral("Die Datei '") + path
           + QStringLiteral("' kann nicht gesichert werden, da ihr Name im Sicherungsverzeichnis "
                            "für die Wiederherstellung benötigt wird !")
           + lineBreak + QStringLiteral("Bitte entfernen sie die Datei aus der Sicherungsliste.");
}

CopyOutcome copyIntoBackup(const QString &source, const QString &target)
{
    const auto from = platform::resolvePath(source);
    if (!from.ok())
        return {from.error};
    if (!from.value.exists())
        return {platform::dos::FileNotFound};
    const auto to = platform::resolvePath(target);
    if (!to.ok())
        return {to.error};
    // Without an earlier copy there is nothing to protect; a failed copy removes what it wrote.
    if (!to.value.isFile())
        return {platform::copyFile(from.value, to.value)};

    const auto temporary = platform::createTempFile(platform::directoryPart(target),
                                                    QStringLiteral("~VS"));
    if (!temporary.ok())
        return {temporary.error};

    if (const int error = platform::copyFile(source, temporary.value)) {
        discardTemporary(temporary.value);
        return {error};
    }

    const auto earlier = unprotectEarlierCopy(target);
    if (!earlier.ok()) {
        discardTemporary(temporary.value);
        return {earlier.error};
    }
    if (const int error = platform::moveFileReplacing(temporary.value, target)) {
        discardTemporary(temporary.value);
        if (earlier.value)
            platform::setFileAttributes(target, *earlier.value);
        return {error};
    }
    return {};
}

QString copyFailureText(const QString &source, const QString &target, int error)
{
    return QStringLiteral("Die Datei ") + source + QStringLiteral(" konnte nicht nach ") + target
           + QStringLiteral(" kopiert werden:") + lineBreak + controls::fileErrorText(error);
}

}  // namespace backup
