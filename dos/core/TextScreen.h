#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace dos {

// The 80x25 text screen of a PC in MS-DOS mode: characters, cursor, scrolling. Lines that
// scroll off the top, or are cleared by cls, are kept as the transcript's history: the last
// HistoryLines of them, so that a script that never ends cannot fill the memory.
class TextScreen {
public:
    static constexpr int Columns = 80;
    static constexpr int Rows = 25;
    static constexpr int HistoryLines = 5000;

    TextScreen();

    // Writes at the cursor: '\n' starts the next line, '\r' returns to its start, '\b' steps back,
    // '\t' moves to the next multiple of 8; a full line wraps.
    void write(const QString &text);
    void writeLine(const QString &text = {});
    void clear();
    // Puts the cursor at a cell, as a full-screen menu does.
    void moveCursor(int row, int column);
    // A row shown inverted (a menu's chosen entry); -1 for none. Clearing or scrolling ends it.
    void setHighlightedRow(int row);
    int highlightedRow() const { return m_highlightedRow; }

    QChar at(int row, int column) const { return m_cells[row][column]; }
    QString line(int row) const;  // trailing blanks trimmed
    int cursorRow() const { return m_row; }
    int cursorColumn() const { return m_column; }

    // History, then the 25 lines of the screen, each trimmed, joined with '\n'.
    QString transcript() const;
    const QStringList &history() const { return m_history; }

    // Called after every change, for a window that shows the screen.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

private:
    void put(QChar c);
    void lineFeed();
    void scrollUp();
    void notify();
    void keep(const QString &line);

    std::array<std::array<QChar, Columns>, Rows> m_cells;
    int m_row = 0;
    int m_column = 0;
    int m_highlightedRow = -1;
    QStringList m_history;
    std::function<void()> m_changed;
};

}  // namespace dos
