#pragma once

#include "backup/core/BackupList.h"
#include "platform/files/Profile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The settings file Orvel.ini: its defaults, the first-line test, reading and the saved form.
namespace settings {

inline const QString FileName = QStringLiteral("Orvel.ini");
inline const QString FilesSection = QStringLiteral("Sicherungsdateien");
inline const QString PathSection = QStringLiteral("Pfad");
inline const QString PathKey = QStringLiteral("Pfad");
inline const QString OptionsSection = QStringLiteral("Optionen");
inline const QString AutoQuitKey = QStringLiteral("Automatisch beenden");
inline const QString ShortHelpKey = QStringLiteral("Kurzhilfe");

// A row of the Backup list as stored: read rows go into the list as they are.
using ListRow = backup::BackupList::NewRow;

struct Settings {
    QList<ListRow> rows;
    QString destination;  // empty: leave the directory tree where it is
    bool autoQuit = true;
    bool shortHelp = true;
};

// The file in the program's directory, and the backup folder a first start creates beside it.
QString filePath(const QString &programDirectory);
QString backupsDirectory(const QString &programDirectory);

// The eleven system files of a Windows 9x installation, in list order.
QStringList defaultBackupList(const QString &windowsDirectory);

// The file written on a first start: files, "Pfad", "Optionen".
platform::ProfileDocument defaultDocument(const QString &programDirectory, const QString &windowsDirectory);

// True when the file's first line is exactly "[VK]", "0" or "1": such a file is replaced by the
// defaults.
bool firstLineRejects(const QByteArray &fileContents);

// A stored flag: zero is off, any other whole number on; empty or not a number gives on.
bool readFlag(QStringView value);

Settings read(const platform::ProfileDocument &document);
// The same from the file's bytes, without a document: a long list is read in one pass.
Settings read(const QByteArray &fileContents);

// The file as the save command writes it: files (absent for an empty list), "Optionen", "Pfad".
platform::ProfileDocument savedDocument(const QList<ListRow> &rows, bool autoQuit, bool shortHelp,
                                        const QString &destination);

// Why a path cannot be stored as a key of the files section and read back unchanged, or nullopt.
std::optional<QString> unstorablePathReason(const QString &path);

// A German message when the list or destination cannot be saved faithfully, or nullopt.
std::optional<QString> saveRefusal(const QList<ListRow> &rows, const QString &destination);

// Why Orvel.ini must not be written in this run, or nullopt: the Program directory is not known
// (the start-up work failed before it), or the file could not be read at start (unreadableAtStart)
// and would lose its contents.
std::optional<QString> writeRefusal(const QString &programDirectory, bool unreadableAtStart);

// The general error report's texts for a settings file that cannot be written, and for one that
// exists but cannot be read at start.
QString notWrittenText(const QString &settingsPath);
QString unreadableText(const QString &settingsPath, int error);

// What saving gave: a refusal (nothing written), a file error, or neither for a written file.
struct SaveResult {
    std::optional<QString> refusal;
    int error = 0;
};

// Writes the saved form into the program directory's file, unless the file must not be written
// in this run or the values cannot be stored faithfully.
SaveResult save(const QString &programDirectory, bool unreadableAtStart, const QList<ListRow> &rows,
                bool autoQuit, bool shortHelp, const QString &destination);

}  // namespace settings
