#include "backup/core/Destination.h"
#include "platform/text/LineBreak.h"

namespace backup {

QString driveRefusalText(QChar letter)
{
    return QStringLiteral("Nach Laufwerk ") + letter + QStringLiteral(":\\ kann nicht gesichert werden !")
           + platform::LineBreak + QStringLiteral("Bitte wählen sie ein anderes Laufwerk !");
}

QString parentDirectory(const QString &directory)
{
    const qsizetype lastBackslash = directory.lastIndexOf(QLatin1Char('\\'));
    if (lastBackslash < 0)
        return directory;
    const QString parent = directory.left(lastBackslash);
    if (parent.size() == 2 && parent.at(1) == QLatin1Char(':'))
        return parent + QLatin1Char('\\');
    return parent;
}

QString deletionRefusal(const QString &directory, const QString &programDirectory)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (directory == QLatin1Char(letter) + QStringLiteral(":\\"))
            return QStringLiteral("Laufwerk ") + QLatin1Char(letter)
                   + QStringLiteral(":\\ kann nicht gelöscht werden !");
    }
    const bool isProgramDirectory = directory.compare(programDirectory, Qt::CaseInsensitive) == 0;
    const bool holdsProgramDirectory =
        programDirectory.startsWith(directory + QLatin1Char('\\'), Qt::CaseInsensitive);
    if (isProgramDirectory || holdsProgramDirectory)
        return QStringLiteral("Das Velko Save- Verzeichnis darf nicht gelöscht werden !");
    return {};
}

QString deletionQuestion(const QString &directory)
{
    return QStringLiteral("ACHTUNG: Sie sind im Begriff, folgendes Verzeichnis") + platform::LineBreak
           + QStringLiteral("incl. aller Unterverzeichnisse und Dateien zu löschen:") + platform::LineBreak
           + platform::LineBreak + directory + platform::LineBreak + platform::LineBreak
           + QStringLiteral("Sind sie wirklich sicher, daß sie dieses Verzeichnis") + platform::LineBreak
           + QStringLiteral("löschen wollen ?");
}

}  // namespace backup
