#pragma once

#include <QListWidget>

namespace controls {

enum class CheckState { Unchecked, Checked, Grayed };

// A list whose rows carry one of three check states and a single selection. As in a Windows list
// box, removing the selected row leaves no row selected, and a right-click leaves the selection
// alone (the context menu acts on the selected row). Setting a row checked
// works from any state; unchecking changes only a checked row (a greyed row stays greyed). The
// user's toggle (mouse on the box, or space on the current row) goes unchecked -> checked,
// checked -> unchecked, greyed -> checked, then emits clickCheck.
class CheckListBox : public QListWidget {
    Q_OBJECT
public:
    explicit CheckListBox(QWidget *parent = nullptr);

    int rowCount() const { return count(); }
    void appendRow(const QString &text);  // unchecked
    QString rowText(int row) const;
    void deleteRow(int row);
    void clearRows();

    CheckState state(int row) const;
    bool isChecked(int row) const { return state(row) == CheckState::Checked; }
    void setChecked(int row, bool checked);
    void setGrayed(int row);

    int selectedRow() const;  // -1 when no row is highlighted

    // Every row this many pixels high, as a Windows list box's item height.
    void setRowHeight(int pixels);

signals:
    void clickCheck(int row);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    class Delegate;
    Delegate *m_delegate;
    void setState(int row, CheckState state);
    void toggleByUser(int row);
};

}  // namespace controls
