#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Line differences between a saved copy and the file at its place, for the files that are text.
namespace compare {

// Text by content, as the start-up files are: no NUL byte and none that Windows-1252 leaves
// unassigned. A binary file is compared byte by byte only.
bool isText(const QByteArray &bytes);

// The lines of a Windows-1252 text; CR LF, LF and CR all end a line, and a last line end adds no
// empty line.
QStringList textLines(const QByteArray &bytes);

struct DiffLine {
    enum class Kind {
        Hunk,  // "@@ -a,b +c,d @@" before each group of changes with its context
        Context,  // the same in both
        Removed,  // only in the saved copy: the restore would bring it back
        Added,  // only in the file at its place: the restore would take it away
    };
    Kind kind = Kind::Context;
    QString text;
    int copyLine = 0;  // 1-based; 0 where the line is not in the copy
    int originalLine = 0;  // 1-based; 0 where the line is not in the file at its place
};

// A unified diff from the copy to the file at its place, with `context` unchanged lines around
// each change. Empty when the lines are the same.
QList<DiffLine> unifiedDiff(const QStringList &copy, const QStringList &original, int context = 3);

}  // namespace compare
