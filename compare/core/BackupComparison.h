#pragma once

#include "compare/core/TextDiff.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A backup folder against the files at their places: what its Restore.bat would copy back, and
// how each copy differs from the file it would replace. Reads through the PC's file services
// only and never writes.
namespace compare {

enum class FileState {
    Unchanged,
    Changed,
    OriginalMissing,  // the restore brings it back
    CopyMissing,  // the restore would fail for it
    AttributesChanged,  // the same bytes, other attributes than the restore sets
    Unreadable,  // one side exists but cannot be read
};

// The state's name as the comparison window shows it ("unverändert", ...).
QString stateText(FileState state);

// One side of a row: the copy in the backup folder or the file at its place.
struct FileSide {
    QString path;  // as the restore names it: the copy by its 8.3 name, the original by its short path
    bool exists = false;
    qint64 size = 0;
    QDateTime written;
    quint8 attributes = 0;  // read-only, hidden, system, archive
};

struct ComparedFile {
    QString name;  // long name
    QString place;  // the folder the restore writes it to
    FileState state = FileState::Unchanged;
    FileSide copy;
    FileSide original;
    quint8 savedAttributes = 0;  // those the restore sets on the file at its place
    int readError = 0;  // the error that made the row Unreadable
};

struct Comparison {
    int error = 0;  // reading Restore.bat: FileNotFound, backup::ScriptNotRecognised or a read error
    QString scriptPath;
    QDateTime scriptWritten;
    QList<ComparedFile> files;  // in the script's order
};

// Compares every file the folder's Restore.bat names ("D:\" for a root).
Comparison compareBackup(const QString &folder);

struct Summary {
    int unchanged = 0;
    int changed = 0;  // contents or attributes only
    int missing = 0;  // original or copy
    int unreadable = 0;
};
Summary summarize(const QList<ComparedFile> &files);
// "N Dateien unverändert, M geändert, K fehlen", and ", L nicht lesbar" when some could not be read.
QString summaryText(const Summary &summary);

// What differs between a changed file's copy and its original, read afresh.
struct FileDifference {
    int error = 0;  // reading one of them failed
    bool text = false;  // both are text; else they are compared as binary files
    QList<DiffLine> lines;  // for text: empty when only the line ends differ
};
FileDifference differenceOf(const ComparedFile &file);

// "+r +h +s +a" style flags of an attribute value, "-" for none.
QString attributeFlags(quint8 attributes);

}  // namespace compare
