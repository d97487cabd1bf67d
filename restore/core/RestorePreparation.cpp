#include "restore/core/RestorePreparation.h"

#include "backup/core/ScriptFiles.h"
#include "platform/drives/Files.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/ShellLink.h"
#include "platform/text/LineBreak.h"
#include "restore/core/AutostartShortcut.h"
#include "restore/core/TShellLink.h"

namespace restore {

QString noBackupText()
{
    return QStringLiteral("In diesem Verzeichnis befinden sich keine Sicherungskopien !")
           + platform::LineBreak + QStringLiteral("Bitte wählen sie ein anderes Verzeichnis.");
}

Preparation prepareRestore(const QString &backupDirectory, const QString &programDirectory, TShellLink &link,
                           const QObject *owner)
{
    const QString script = backup::restoreScriptPath(backupDirectory, backup::ScriptSpelling::LookedFor);
    if (!platform::fileExists(script))
        return Preparation::NoBackup;
    link.ProgramFile = programDirectory + QStringLiteral("\\Orvel.exe");
    link.LinkFile = autostartShortcutPath();
    link.Write();
    platform::desktop().shellExecute(owner, QStringLiteral("open"), script, {}, {},
                                     platform::showCommand::Normal);
    return Preparation::ScriptOpened;
}

}  // namespace restore
