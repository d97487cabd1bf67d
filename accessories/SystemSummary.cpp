#include "accessories/SystemSummary.h"

#include "platform/drives/DiskSpace.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"

#include <QLocale>

namespace accessories {

namespace {

QString driveText(const platform::Drive &drive)
{
    using platform::DriveKind;
    if (drive.kind == DriveKind::Floppy) {
        const QString kind = QStringLiteral("3,5-Zoll-Diskettenlaufwerk, 1,44 MB");
        if (!platform::mediumPresent(drive.letter))
            return kind + QStringLiteral(", keine Diskette eingelegt");
        return kind
               + (drive.writeProtected ? QStringLiteral(", Diskette eingelegt, schreibgeschützt")
                                       : QStringLiteral(", Diskette eingelegt"));
    }
    const QString kind = drive.kind == DriveKind::CdRom ? QStringLiteral("CD-ROM-Laufwerk")
                                                        : QStringLiteral("Lokaler Datenträger");
    const auto space = platform::diskSpace(drive.letter);
    if (!space.ok())
        return kind
               + (drive.kind == DriveKind::CdRom ? QStringLiteral(", kein Datenträger eingelegt")
                                                 : QStringLiteral(", nicht bereit"));
    return kind + QStringLiteral(", Größe ") + sizeText(space.value.total) + QStringLiteral(", frei ")
           + sizeText(space.value.free);
}

}  // namespace

QString sizeText(qint64 bytes)
{
    const QLocale german(QLocale::German, QLocale::Germany);
    constexpr qint64 Kilo = 1024;
    constexpr qint64 Mega = Kilo * 1024;
    constexpr qint64 Giga = Mega * 1024;
    const auto scaled = [&](qint64 unit, const QString &name) -> QString {
        const double value = static_cast<double>(bytes) / static_cast<double>(unit);
        return german.toString(value, 'f', value < 10 ? 1 : 0) + u' ' + name;
    };
    if (bytes >= Giga)
        return scaled(Giga, QStringLiteral("GB"));
    if (bytes >= Mega)
        return scaled(Mega, QStringLiteral("MB"));
    if (bytes >= Kilo)
        return scaled(Kilo, QStringLiteral("KB"));
    return german.toString(bytes) + QStringLiteral(" Byte");
}

QList<SummaryLine> systemSummary()
{
    QList<SummaryLine> lines{
        {QStringLiteral("Betriebssystem"), QStringLiteral("Microsoft Windows 98")},
        {QStringLiteral("Windows-Verzeichnis"), platform::windowsDirectory()},
    };
    for (const platform::Drive &drive : platform::machine().drives())
        lines.append({QStringLiteral("Laufwerk ") + drive.letter + u':', driveText(drive)});
    return lines;
}

}  // namespace accessories
