#include "platform/Mtools.h"

#include "platform/DosError.h"

#include <QProcess>

namespace platform::detail {

namespace {

QProcessEnvironment mtoolsEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MTOOLSRC"), QStringLiteral("/dev/null"));
    environment.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));  // no ~/.mtoolsrc
    environment.insert(QStringLiteral("MTOOLS_SKIP_CHECK"), QStringLiteral("1"));
    environment.insert(QStringLiteral("MTOOLS_NO_VFAT"), QStringLiteral("0"));
    environment.insert(QStringLiteral("MTOOLS_LOWER_CASE"), QStringLiteral("0"));
    environment.insert(QStringLiteral("MTOOLS_NAME_NUMERIC_TAIL"), QStringLiteral("1"));
    environment.insert(QStringLiteral("DEFAULT_CODEPAGE"), QStringLiteral("850"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return environment;
}

int failureOf(const QByteArray &errors)
{
    if (errors.contains("Disk full") || errors.contains("No free clusters"))
        return dos::DiskFull;
    if (errors.contains("not found"))
        return dos::FileNotFound;
    return dos::GeneralFailure;
}

}  // namespace

MtoolsRun runMtools(const QString &command, const QString &image, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(mtoolsEnvironment());
    process.setStandardInputFile(QProcess::nullDevice());  // a question on a clash would wait forever
    process.start(command, QStringList{QStringLiteral("-i"), image} + arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return {dos::GeneralFailure, {}};
    const QByteArray output = process.readAllStandardOutput();
    if (process.exitCode() != 0)
        return {failureOf(process.readAllStandardError()), output};
    return {dos::Ok, output};
}

QString pathInImage(const QStringList &names)
{
    return QStringLiteral("::/") + names.join(u'/');
}

}  // namespace platform::detail
