#pragma once

#include <QChar>
#include <QString>

// Choosing, creating and deleting the backup destination: the parts without widgets.
namespace backup {

QString driveRefusalText(QChar letter);  // "Nach Laufwerk X:\ kann nicht gesichert werden !" ...

// Everything before the last backslash; a drive root keeps its backslash (C:\Backups -> C:\).
QString parentDirectory(const QString &directory);

// Why the directory must not be deleted, or an empty text. programDirectory is held as "X:" for a
// root. A directory that contains the program's own folder is refused like that folder itself.
QString deletionRefusal(const QString &directory, const QString &programDirectory);

QString deletionQuestion(const QString &directory);

}  // namespace backup
