#include "tests/support/HeadlessDos.h"

#include "platform/shell/Shell.h"

#include <QProcess>

QString runDosHeadless(const QString &machineFolder, const QString &keys, const QStringList &action)
{
    QProcess dos;
    dos.start(platform::dosProgram(),
              QStringList{QStringLiteral("--machine"), machineFolder, QStringLiteral("--headless"),
                          QStringLiteral("--keys"), keys}
                  + action);
    if (!dos.waitForFinished(60000) || dos.exitStatus() != QProcess::NormalExit || dos.exitCode() != 0)
        qWarning("velko-dos: %s", dos.readAllStandardError().constData());
    return QString::fromUtf8(dos.readAllStandardOutput());
}
