#include "dos/core/TextScreen.h"

#include <algorithm>

namespace dos {

namespace {

constexpr int TabWidth = 8;

}  // namespace

TextScreen::TextScreen()
{
    for (auto &row : m_cells)
        row.fill(u' ');
}

void TextScreen::write(const QString &text)
{
    for (const QChar c : text)
        put(c);
    notify();
}

void TextScreen::writeLine(const QString &text)
{
    write(text + u'\n');
}

void TextScreen::clear()
{
    int used = Rows;
    while (used > 0 && line(used - 1).isEmpty())
        --used;
    for (int row = 0; row < used; ++row)
        keep(line(row));
    for (auto &row : m_cells)
        row.fill(u' ');
    m_row = 0;
    m_column = 0;
    m_highlightedRow = -1;
    notify();
}

void TextScreen::moveCursor(int row, int column)
{
    m_row = std::clamp(row, 0, Rows - 1);
    m_column = std::clamp(column, 0, Columns - 1);
    notify();
}

void TextScreen::setHighlightedRow(int row)
{
    m_highlightedRow = row >= 0 && row < Rows ? row : -1;
    notify();
}

QString TextScreen::line(int row) const
{
    const auto &cells = m_cells[row];
    int end = Columns;
    while (end > 0 && cells[end - 1] == u' ')
        --end;
    return QString(cells.data(), end);
}

QString TextScreen::transcript() const
{
    QStringList lines = m_history;
    for (int row = 0; row < Rows; ++row)
        lines.append(line(row));
    return lines.join(u'\n');
}

void TextScreen::put(QChar c)
{
    switch (c.unicode()) {
    case u'\n':
        m_column = 0;
        lineFeed();
        return;
    case u'\r':
        m_column = 0;
        return;
    case u'\b':
        if (m_column > 0)
            --m_column;
        return;
    case u'\t':
        do
            put(u' ');
        while (m_column % TabWidth != 0);
        return;
    default:
        break;
    }
    if (m_column == Columns) {
        m_column = 0;
        lineFeed();
    }
    m_cells[m_row][m_column++] = c;
}

void TextScreen::lineFeed()
{
    if (m_row == Rows - 1)
        scrollUp();
    else
        ++m_row;
}

void TextScreen::scrollUp()
{
    keep(line(0));
    m_highlightedRow = -1;
    for (int row = 1; row < Rows; ++row)
        m_cells[row - 1] = m_cells[row];
    m_cells[Rows - 1].fill(u' ');
}

void TextScreen::keep(const QString &line)
{
    if (m_history.size() == HistoryLines)
        m_history.removeFirst();
    m_history.append(line);
}

void TextScreen::notify()
{
    if (m_changed)
        m_changed();
}

}  // namespace dos
