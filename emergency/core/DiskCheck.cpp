#include "emergency/core/DiskCheck.h"

#include "platform/drives/Files.h"
#include "platform/drives/Floppy.h"
#include "platform/text/LineBreak.h"

namespace emergency {

namespace {

const QStringList SystemFiles = {QStringLiteral("IO.SYS"), QStringLiteral("MSDOS.SYS"),
                                 QStringLiteral("COMMAND.COM")};
const QString Label = QStringLiteral("Notfall");

// "A", "A und B", "A, B und C".
QString enumeration(const QStringList &items)
{
    if (items.size() < 2)
        return items.join(QString());
    return items.first(items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") + items.last();
}

}  // namespace

DiskShortfall checkEmergencyDisk(QChar floppy)
{
    DiskShortfall shortfall;
    const QString root = QString(floppy) + QStringLiteral(":\\");
    for (const QString &name : SystemFiles) {
        if (!platform::fileExists(root + name))
            shortfall.missingFiles << name;
    }
    const auto label = platform::volumeLabel(floppy);
    // FORMAT stores the label in upper case.
    shortfall.labelMissing = !label.ok() || label.value.compare(Label, Qt::CaseInsensitive) != 0;
    return shortfall;
}

QString shortfallWarning(QChar floppy, const DiskShortfall &shortfall)
{
    if (shortfall.isEmpty())
        return {};
    QStringList missing = shortfall.missingFiles;
    if (shortfall.labelMissing)
        missing << QStringLiteral("die Datenträgerbezeichnung \"") + Label + u'"';
    const bool cannotStart = !shortfall.missingFiles.isEmpty();
    QString text = cannotStart ? QStringLiteral("Die Notfalldiskette ist nicht startfähig !")
                               : QStringLiteral("Die Notfalldiskette wurde nicht vollständig erstellt !");
    text += platform::LineBreak + QStringLiteral("Auf der Diskette in Laufwerk ") + floppy
            + (missing.size() == 1 ? QStringLiteral(":\\ fehlt ") : QStringLiteral(":\\ fehlen "))
            + enumeration(missing) + QStringLiteral(".");
    if (cannotStart)
        text +=
            platform::LineBreak + QStringLiteral("Mit dieser Diskette kann der PC nicht gestartet werden.");
    return text + platform::LineBreak
           + QStringLiteral("Das Formatieren oder die Systemübertragung ist fehlgeschlagen. Wiederholen sie "
                            "den Vorgang, gegebenenfalls mit einer anderen Diskette.");
}

}  // namespace emergency
