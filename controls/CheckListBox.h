#pragma once

#include <QAbstractItemView>

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
// Every row is as high and as wide as the last row needs (at least as wide as the list), so a row's
// place follows from its number alone: the list keeps no layout of its rows, and adding, removing
// or marking rows costs as little in a long list as in a short one. The vertical scroll bar counts
// rows.
class CheckListBox : public QAbstractItemView {
    Q_OBJECT
public:
    explicit CheckListBox(QWidget *parent = nullptr);

    // Shows the rows of `rows` (not owned) instead of the list's own, each by its text in `textRole`.
    void showRows(QAbstractItemModel *rows, int textRole = Qt::DisplayRole);
    void setModel(QAbstractItemModel *rows) override;

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

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint &point) const override;

signals:
    void clickCheck(int row);

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex &index) const override;
    void setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection &selection) const override;
    void updateGeometries() override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent *event) override;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;

private:
    class Delegate;
    Delegate *m_delegate;
    QStandardItemModel *m_ownRows;
    int m_textRole = Qt::DisplayRole;
    mutable QSize m_rowSize;  // of the last row, measured when first needed after a layout

    QModelIndex rowIndex(int row) const;
    QSize rowSize() const;
    int rowHeight() const { return rowSize().height(); }
    int rowAt(int y) const;  // the row under a viewport's y, or -1
    int rowsOnPage() const;  // rows wholly shown, at least 1
    QRect checkBoxRect(const QModelIndex &index) const;
    void rowsRemoved(int first, int last);
    void setState(int row, CheckState state);
    void toggleByUser(int row);
};

}  // namespace controls
