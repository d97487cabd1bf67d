#include "backup/core/BackupRun.h"

#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"
#include "platform/text/LineBreak.h"

#include <QHash>

namespace backup {

namespace {

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
    return QStringLiteral("Die Sicherung nach ") + destinationPath + QStringLiteral(" ist nicht erlaubt !")
           + platform::LineBreak + QStringLiteral("Bitte wählen sie ein anderes Verzeichnis !");
}

}  // namespace

std::optional<QString> destinationRefusal(const QString &destinationPath, const QString &programDirectory,
                                          const QString &windowsDirectory)
{
    if (sameText(destinationPath, withRootBackslash(programDirectory))) {
        return QStringLiteral("Es kann nicht in das gleiche Verzeichnis, in dem") + platform::LineBreak
               + QStringLiteral("Velko Save installiert ist, gesichert werden !") + platform::LineBreak
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
           + platform::LineBreak
           + QStringLiteral("Bitte entfernen sie eine der beiden Dateien aus der Sicherungsliste.");
}

std::optional<QString> scriptNameClash(const QStringList &markedPaths)
{
    for (const QString &path : markedPaths) {
        if (isScriptFileName(platform::fileNamePart(path)))
            return path;
    }
    return std::nullopt;
}

QString scriptNameClashText(const QString &path)
{
    return QStringLiteral("Die Datei '") + path
           + QStringLiteral("' kann nicht gesichert werden, da ihr Name im Sicherungsverzeichnis "
                            "für die Wiederherstellung benötigt wird !")
           + platform::LineBreak + QStringLiteral("Bitte entfernen sie die Datei aus der Sicherungsliste.");
}

CopyOutcome copyIntoBackup(const QString &source, const QString &target)
{
    return copyInPlace(platform::resolvePath(source), target);
}

CopyOutcome copyIntoBackup(const platform::ResolvedPath &source, const QString &target)
{
    return copyInPlace({platform::dos::Ok, source}, target);
}

CopyOutcome copyIntoBackup(const platform::ResolvedPath &source, const platform::ResolvedPath &folder,
                           const QString &base, const QString &name)
{
    return copyInPlace({platform::dos::Ok, source}, folder, base, name);
}

QString copyFailureText(const QString &source, const QString &target, int error)
{
    return QStringLiteral("Die Datei ") + source + QStringLiteral(" konnte nicht nach ") + target
           + QStringLiteral(" kopiert werden:") + platform::LineBreak + platform::fileErrorText(error);
}

QString folderFailureText(const QString &destinationPath, int error)
{
    QString reason;
    switch (error) {
    case platform::dos::PathNotFound:
        reason = QStringLiteral("Das Verzeichnis ist nicht mehr vorhanden.");
        break;
    case platform::dos::DiskFull:
        reason = QStringLiteral("Auf dem Datenträger ist nicht genügend Speicherplatz frei.");
        break;
    case platform::dos::WriteProtected:
        reason = QStringLiteral("Der Datenträger ist schreibgeschützt.");
        break;
    case platform::dos::NotReady:
    case platform::dos::InvalidDrive:
        reason = QStringLiteral("Das Laufwerk ist nicht bereit.");
        break;
    default:
        reason = QStringLiteral("In das Verzeichnis kann nicht geschrieben werden (")
                 + platform::fileErrorText(error) + QStringLiteral(").");
    }
    return QStringLiteral("Die Sicherung nach ") + destinationPath + QStringLiteral(" wurde abgebrochen:")
           + platform::LineBreak + reason + platform::LineBreak
           + QStringLiteral("Restore.bat und Restore.pif wurden nicht neu geschrieben.");
}

QString finishRun(const QString &destinationBase, int saved, int missing, int marked)
{
    const QString status = backupStatusText(saved, marked);
    if (saved > 0)
        return status;
    const QString script = restoreScriptPath(destinationBase);
    if (missing == marked) {
        // A folder whose run found none of its files holds no script to restore from; a failing
        // deletion is ignored.
        (void)platform::deleteFile(script);
        (void)platform::deleteFile(restorePifPath(destinationBase));
        return status;
    }
    if (platform::fileExists(script))
        return status + QStringLiteral(" Die Restore.bat der früheren Sicherung bleibt erhalten.");
    return status;
}

}  // namespace backup
