#pragma once

#include <QListView>

class QStandardItemModel;

namespace controls {

enum class CheckState { Unchecked, Checked, Grayed };

// A list whose rows carry one of three check states and a single selection. As in a Windows list
// box, removing the selected row leaves no row selected, and a right-click leaves the selection
// alone (the context menu acts on the selected row). Setting a row checked or unchecked follows
// platform/text/CheckMark.h (a greyed row stays greyed when unchecked). The user's toggle (mouse on the
// box, or space on the current row) goes unchecked -> checked, checked -> unchecked, greyed ->
// checked, then emits clickCheck.
// The rows live in a model: the list's own, or one shared with other lists (showRows), whose
// check state is the model's Qt::CheckStateRole (partly checked for greyed).
class CheckListBox : public QListView {
    Q_OBJECT
public:
    explicit CheckListBox(QWidget *parent = nullptr);

    // Shows the rows of `rows` (not owned) instead of the list's own, each by its text in `textRole`.
    void showRows(QAbstractItemModel *rows, int textRole = Qt::DisplayRole);

    int rowCount() const;
    void appendRow(const QString &text);  // unchecked
    QString rowText(int row) const;
    void deleteRow(int row);
    void clearRows();

    CheckState state(int row) const;
    bool isChecked(int row) const { return state(row) == CheckState::Checked; }
    void setChecked(int row, bool checked);
    void setGrayed(int row);

    int selectedRow() const;  // -1 when no row is highlighted
    int currentRow() const;
    void setCurrentRow(int row);  // makes the row current and selected

    // Every row this many pixels high, as a Windows list box's item height.
    void setRowHeight(int pixels);

signals:
    void clickCheck(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void doItemsLayout() override;
    void showEvent(QShowEvent *event) override;

private:
    class Delegate;
    Delegate *m_delegate;
    QStandardItemModel *m_ownRows;
    int m_textRole = Qt::DisplayRole;
    bool m_layoutWaiting = false;  // hidden while its rows changed: laid out when shown
    QModelIndex rowIndex(int row) const;
    void setState(int row, CheckState state);
    void toggleByUser(int row);
};

}  // namespace controls
