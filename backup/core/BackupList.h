#pragma once

#include "backup/core/Runner.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>

// The Backup list: each row a file's full path, the name the list shows, and its check state
// (Qt::PartiallyChecked is a greyed row). The main window's hidden list of paths and its visible
// list of names both show this one model, so they cannot drift apart.
namespace backup {

// One row of the Backup list, but for its check state.
struct BackupListRow {
    QString path;
    QString ownName;  // null but for a name set apart from the path: a long list keeps one string a row
};

class BackupList : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int PathRole = Qt::UserRole;  // Qt::DisplayRole is the shown name

    using QAbstractListModel::QAbstractListModel;

    int size() const { return int(m_rows.size()); }
    QString path(int row) const { return m_rows[row].path; }
    QString name(int row) const;
    Qt::CheckState state(int row) const { return m_states[row]; }
    bool isChecked(int row) const { return state(row) == Qt::Checked; }

    struct NewRow {
        QString path;
        bool checked = false;
    };
    void append(const QString &path, bool checked);
    void append(QList<NewRow> rows);  // at the end, in one insertion
    void remove(int row);
    void clear();

    // By the check list box's rule (platform/text/CheckMark.h): a greyed row stays greyed when unchecked.
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    void setGrayed(int row);

    // The checked rows, in list order, as the backup run takes them.
    QList<MarkedFile> markedFiles() const;

    QModelIndex index(int row, int column = 0, const QModelIndex &parent = QModelIndex()) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

private:
    using Row = BackupListRow;
    void setState(int row, Qt::CheckState state);

    QList<Row> m_rows;
    QList<Qt::CheckState> m_states;  // apart from the rows: marking all goes through a short array
};

}  // namespace backup

// Rows are moved as bytes when a row is removed from the middle of a long list, and new rows as a
// long list of them grows.
Q_DECLARE_TYPEINFO(backup::BackupListRow, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(backup::BackupList::NewRow, Q_RELOCATABLE_TYPE);
