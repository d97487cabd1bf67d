#include "emergency/core/SystemFiles.h"

#include "platform/drives/Files.h"

namespace emergency {

namespace {

const SystemFile &byCopyName(const QString &copyName)
{
    for (const SystemFile &file : scriptOrder()) {
        if (file.copyName == copyName)
            return file;
    }
    Q_UNREACHABLE();
}

}  // namespace

QString SystemFile::source(const QString &windowsDirectory) const
{
    return (inRoot ? QStringLiteral("C:") : windowsDirectory) + u'\\' + scriptName;
}

const QList<SystemFile> &scriptOrder()
{
    static const QList<SystemFile> files = {
        {QStringLiteral("Autoexec.bat"), QStringLiteral("autoexec.bat"), true, false, false},
        {QStringLiteral("Command.com"), QStringLiteral("command.com"), true, true, false},
        {QStringLiteral("Config.sys"), QStringLiteral("config.sys"), true, false, false},
        {QStringLiteral("Io.sys"), QStringLiteral("io.sys"), true, true, true},
        {QStringLiteral("Msdos.sys"), QStringLiteral("msdos.sys"), true, true, true},
        {QStringLiteral("Protocol.ini"), QStringLiteral("protocol.ini"), false, false, false},
        {QStringLiteral("Control.ini"), QStringLiteral("control.ini"), false, false, false},
        {QStringLiteral("System.dat"), QStringLiteral("system.dat"), false, true, true},
        {QStringLiteral("System.ini"), QStringLiteral("system.ini"), false, false, false},
        {QStringLiteral("User.dat"), QStringLiteral("user.dat"), false, true, true},
        {QStringLiteral("Win.ini"), QStringLiteral("win.ini"), false, false, false},
    };
    return files;
}

const QList<SystemFile> &copyOrder()
{
    static const QList<SystemFile> files = [] {
        QList<SystemFile> ordered;
        for (const char *name :
             {"User.dat", "System.dat", "Protocol.ini", "Control.ini", "System.ini", "Win.ini",
              "Autoexec.bat", "Command.com", "Config.sys", "Io.sys", "Msdos.sys"})
            ordered.append(byCopyName(QString::fromLatin1(name)));
        return ordered;
    }();
    return files;
}

QString notfallFolder(const QString &programDirectory)
{
    return platform::withoutRootBackslash(programDirectory) + QStringLiteral("\\Notfall");
}

}  // namespace emergency
