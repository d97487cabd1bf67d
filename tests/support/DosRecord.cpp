#include "tests/support/DosRecord.h"

#include "platform/machine/Machine.h"

#include <QFile>

DosRecord::DosRecord()
{
    qputenv("VELKO_DOS_RECORD", m_dir.path().toLocal8Bit());
}

DosRecord::~DosRecord()
{
    qunsetenv("VELKO_DOS_RECORD");
}

QList<QStringList> DosRecord::commands() const
{
    QFile file(m_dir.filePath(QStringLiteral("commands.txt")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> commands;
    const QStringList texts =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\n\n"), Qt::SkipEmptyParts);
    for (const QString &command : texts)
        commands << command.split(u'\n');
    return commands;
}

QByteArray DosRecord::input(int number) const
{
    QFile file(m_dir.filePath(QStringLiteral("input-%1.bin").arg(number)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

QStringList hiddenDosArguments(const QString &commandLine)
{
    return {QStringLiteral("--machine"),
            platform::machine().folder(),
            QStringLiteral("--headless"),
            QStringLiteral("--directory"),
            QStringLiteral("C:"),
            QStringLiteral("/c"),
            commandLine};
}
