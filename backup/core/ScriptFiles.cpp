#include "backup/core/ScriptFiles.h"

#include "platform/drives/Files.h"

namespace backup {

namespace {

const QString ScriptName = QStringLiteral("Restore.bat");
const QString PifName = QStringLiteral("Restore.pif");

}  // namespace

QString restoreScriptPath(const QString &folder, ScriptSpelling spelling)
{
    const QString name = spelling == ScriptSpelling::Written ? ScriptName : ScriptName.toLower();
    return platform::withoutRootBackslash(folder) + u'\\' + name;
}

QString restorePifPath(const QString &folder)
{
    return platform::withoutRootBackslash(folder) + u'\\' + PifName;
}

bool isScriptFileName(const QString &name)
{
    return name.compare(ScriptName, Qt::CaseInsensitive) == 0
           || name.compare(PifName, Qt::CaseInsensitive) == 0;
}

}  // namespace backup
