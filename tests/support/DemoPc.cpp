#include "tests/support/DemoPc.h"

#include "tests/support/TestMachine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

void seedDemoPc(const TestMachine &pc)
{
    const QString seed = qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/demo-pc");
    for (const QString &drive : {QStringLiteral("drive_c"), QStringLiteral("drive_d")}) {
        const QDir from(seed + u'/' + drive);
        const QDir to(pc.folder() + u'/' + drive);
        QDirIterator entries(from.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            const QString source = entries.next();
            const QString target = to.filePath(from.relativeFilePath(source));
            bool ok = true;
            if (entries.fileInfo().isDir()) {
                ok = to.mkpath(target);
            } else {
                QFile::remove(target);  // the test PC's own copy, where it has one
                ok = QFile::copy(source, target);
            }
            if (!ok)
                qFatal("seedDemoPc: cannot copy %s", qPrintable(source));
        }
    }
}

QStringList demoSystemFiles()
{
    return {QStringLiteral("C:\\AUTOEXEC.BAT"),        QStringLiteral("C:\\CONFIG.SYS"),
            QStringLiteral("C:\\IO.SYS"),              QStringLiteral("C:\\MSDOS.SYS"),
            QStringLiteral("C:\\COMMAND.COM"),         QStringLiteral("C:\\WINDOWS\\SYSTEM.DAT"),
            QStringLiteral("C:\\WINDOWS\\USER.DAT"),    QStringLiteral("C:\\WINDOWS\\WIN.INI"),
            QStringLiteral("C:\\WINDOWS\\SYSTEM.INI"),  QStringLiteral("C:\\WINDOWS\\CONTROL.INI"),
            QStringLiteral("C:\\WINDOWS\\PROTOCOL.INI")};
}
