#include "backup/core/BackupList.h"

#include "platform/drives/Files.h"
#include "platform/text/CheckMark.h"

namespace backup {

QString BackupList::name(int row) const
{
    const Row &listed = m_rows[row];
    return listed.ownName.isNull() ? platform::fileNamePart(listed.path) : listed.ownName;
}

void BackupList::append(const QString &path, bool checked)
{
    append(QList<NewRow>{{path, checked}});
}

void BackupList::append(QList<NewRow> rows)
{
    if (rows.isEmpty())
        return;
    const int first = size();
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    m_rows.reserve(first + rows.size());
    m_states.reserve(first + rows.size());
    for (NewRow &row : rows) {
        m_rows.append({std::move(row.path), {}});
        m_states.append(row.checked ? Qt::Checked : Qt::Unchecked);
    }
    endInsertRows();
}

void BackupList::remove(int row)
{
    removeRows(row, 1);
}

void BackupList::clear()
{
    beginResetModel();
    m_rows.clear();
    m_states.clear();
    endResetModel();
}

void BackupList::setChecked(int row, bool checked)
{
    setState(row, platform::afterSetChecked(state(row), checked));
}

// One change for each stretch of rows that changed: a change per row of a long list would have
// every view look at each row on its own.
void BackupList::setAllChecked(bool checked)
{
    const auto changes = [checked](Qt::CheckState state) { return platform::afterSetChecked(state, checked) != state; };
    Qt::CheckState *states = m_states.data();  // m_states[row] would check for a shared copy at every row
    const int rows = size();
    int row = 0;
    while (row < rows) {
        while (row < rows && !changes(states[row]))
            ++row;
        const int stretch = row;
        for (; row < rows && changes(states[row]); ++row)
            states[row] = platform::afterSetChecked(states[row], checked);
        if (stretch < row)
            emit dataChanged(index(stretch), index(row - 1), {Qt::CheckStateRole});
    }
}

void BackupList::setGrayed(int row)
{
    setState(row, Qt::PartiallyChecked);
}

QList<MarkedFile> BackupList::markedFiles() const
{
    QList<MarkedFile> marked;
    for (int row = 0; row < size(); ++row) {
        if (isChecked(row))
            marked.append({row, m_rows[row].path, name(row)});
    }
    return marked;
}

// A list view asks for every row's index when it lays out a long list: straight, not through the
// virtual row and column counts.
QModelIndex BackupList::index(int row, int column, const QModelIndex &parent) const
{
    return row >= 0 && row < size() && column == 0 && !parent.isValid() ? createIndex(row, column) : QModelIndex();
}

int BackupList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : size();
}

QVariant BackupList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= size())
        return {};
    const Row &row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return name(index.row());
    case PathRole:
        return row.path;
    case Qt::CheckStateRole:
        return int(m_states[index.row()]);
    default:
        return {};
    }
}

bool BackupList::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || index.row() >= size())
        return false;
    Row &row = m_rows[index.row()];
    switch (role) {
    case Qt::CheckStateRole:
        setState(index.row(), Qt::CheckState(value.toInt()));
        return true;
    case PathRole:
        row.path = value.toString();
        row.ownName = QString();
        break;
    case Qt::DisplayRole:
    case Qt::EditRole:
        row.ownName = value.toString();
        break;
    default:
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags BackupList::flags(const QModelIndex &index) const
{
    // Not user-checkable: the list control decides how a click changes the state.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool BackupList::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > size() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_rows.insert(row, count, Row{});
    m_states.insert(row, count, Qt::Unchecked);
    endInsertRows();
    return true;
}

bool BackupList::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_rows.remove(row, count);
    m_states.remove(row, count);
    endRemoveRows();
    return true;
}

void BackupList::setState(int row, Qt::CheckState state)
{
    if (m_states[row] == state)
        return;
    m_states[row] = state;
    const QModelIndex changed = index(row);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

}  // namespace backup
