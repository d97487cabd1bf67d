#include "controls/CheckListBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

namespace controls {

namespace {

// The state lives in the item's check-state role, so the standard delegate draws the box; a greyed
// row is Qt's partial state, which the style draws as a greyed check. The items are not marked
// user-checkable: the list decides itself how a click changes the state.
Qt::CheckState toQt(CheckState state)
{
    switch (state) {
    case CheckState::Unchecked:
        return Qt::Unchecked;
    case CheckState::Checked:
        return Qt::Checked;
    case CheckState::Grayed:
        break;
    }
    return Qt::PartiallyChecked;
}

CheckState fromQt(Qt::CheckState state)
{
    switch (state) {
    case Qt::Unchecked:
        return CheckState::Unchecked;
    case Qt::Checked:
        return CheckState::Checked;
    case Qt::PartiallyChecked:
        break;
    }
    return CheckState::Grayed;
}

}  // namespace

// Item views draw a partial check like a full one; Windows greys a greyed row's check, so the
// box of such a row is drawn again with a grey mark on the button face. Also gives the rows their
// fixed height.
class CheckListBox::Delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int rowHeight = 0;  // 0: as high as the font needs

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (rowHeight > 0)
            size.setHeight(rowHeight);
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        if (index.data(Qt::CheckStateRole).toInt() != Qt::PartiallyChecked)
            return;
        QStyleOptionViewItem box(option);
        initStyleOption(&box, index);
        QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        box.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &box, option.widget);
        box.state = (box.state & QStyle::State_Enabled) | QStyle::State_NoChange;
        box.palette.setColor(QPalette::Base, option.palette.color(QPalette::Button));
        box.palette.setColor(QPalette::Text, option.palette.color(QPalette::Dark));
        painter->fillRect(box.rect, box.palette.base());
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &box, painter, option.widget);
    }
};

CheckListBox::CheckListBox(QWidget *parent) : QListWidget(parent), m_delegate(new Delegate(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(m_delegate);
    // Every row has the same height, so appending rows never measures the ones already there.
    setUniformItemSizes(true);
}

void CheckListBox::appendRow(const QString &text)
{
    auto *row = new QListWidgetItem(text);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    row->setData(Qt::CheckStateRole, Qt::Unchecked);
    addItem(row);
}

QString CheckListBox::rowText(int row) const
{
    return item(row)->text();
}

void CheckListBox::deleteRow(int row)
{
    const bool wasSelected = selectedRow() == row;
    delete takeItem(row);
    // Qt would move the selection on to the next row; a Windows list box has none left.
    if (wasSelected)
        clearSelection();
}

void CheckListBox::clearRows()
{
    clear();
}

CheckState CheckListBox::state(int row) const
{
    return fromQt(item(row)->checkState());
}

void CheckListBox::setChecked(int row, bool checked)
{
    if (checked)
        setState(row, CheckState::Checked);
    else if (state(row) == CheckState::Checked)
        setState(row, CheckState::Unchecked);
}

void CheckListBox::setGrayed(int row)
{
    setState(row, CheckState::Grayed);
}

int CheckListBox::selectedRow() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void CheckListBox::setRowHeight(int pixels)
{
    m_delegate->rowHeight = pixels;
    doItemsLayout();
}

void CheckListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();  // the context menu comes by its own event
        return;
    }
    QListWidget::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item(index.row())->text();
    const QRect box = style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
    if (box.contains(event->position().toPoint()))
        toggleByUser(index.row());
}

void CheckListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();  // a release without our press must not count as a click
        return;
    }
    QListWidget::mouseReleaseEvent(event);
}

void CheckListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && currentRow() >= 0) {
        setCurrentRow(currentRow());
        toggleByUser(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void CheckListBox::setState(int row, CheckState state)
{
    item(row)->setCheckState(toQt(state));
}

void CheckListBox::toggleByUser(int row)
{
    setState(row, state(row) == CheckState::Checked ? CheckState::Unchecked : CheckState::Checked);
    emit clickCheck(row);
}

}  // namespace controls
