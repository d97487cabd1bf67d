#include "controls/CheckListBox.h"

#include "platform/text/CheckMark.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QStyledItemDelegate>

namespace controls {

namespace {

// The state lives in the model's check-state role, so the standard delegate draws the box; a greyed
// row is Qt's partial state, which the style draws as a greyed check. The rows are not marked
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
// fixed height and their text from the list's text role.
class CheckListBox::Delegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    int rowHeight = 0;  // 0: as high as the font needs
    int textRole = Qt::DisplayRole;

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (textRole != Qt::DisplayRole)
            option->text = index.data(textRole).toString();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (rowHeight > 0)
            size.setHeight(rowHeight);
        return size;
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
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

CheckListBox::CheckListBox(QWidget *parent)
    : QListView(parent),
      m_delegate(new Delegate(this)),
      m_ownRows(new QStandardItemModel(this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(m_delegate);
    // Every row has the same height, so appending rows never measures the ones already there.
    setUniformItemSizes(true);
    setModel(m_ownRows);
}

void CheckListBox::showRows(QAbstractItemModel *rows, int textRole)
{
    m_textRole = textRole;
    m_delegate->textRole = textRole;
    setModel(rows);
}

int CheckListBox::rowCount() const
{
    return model()->rowCount();
}

void CheckListBox::appendRow(const QString &text)
{
    if (model() == m_ownRows) {
        auto *item = new QStandardItem(text);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setData(Qt::Unchecked, Qt::CheckStateRole);
        m_ownRows->appendRow(item);
        return;
    }
    const int row = rowCount();
    model()->insertRow(row);
    model()->setData(rowIndex(row), text, m_textRole);
}

QString CheckListBox::rowText(int row) const
{
    return rowIndex(row).data(m_textRole).toString();
}

void CheckListBox::deleteRow(int row)
{
    model()->removeRow(row);
}

void CheckListBox::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const int selected = selectedRow();
    QListView::rowsAboutToBeRemoved(parent, start, end);
    // Qt would move the selection on to the next row; a Windows list box has none left.
    if (selected >= start && selected <= end)
        clearSelection();
}

// A check mark changes no row's size: the rows are drawn again without being laid out again, which
// QListView does for a change of many rows and a long list feels.
void CheckListBox::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (roles != QList<int>{Qt::CheckStateRole} || topLeft == bottomRight) {
        QListView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

// A list that is not shown lays out its rows only once it is: a hidden list that shares a long
// list's rows would otherwise go through all of them after each change.
void CheckListBox::doItemsLayout()
{
    if (!isVisible()) {
        m_layoutWaiting = true;
        return;
    }
    m_layoutWaiting = false;
    QListView::doItemsLayout();
}

void CheckListBox::showEvent(QShowEvent *event)
{
    if (m_layoutWaiting)
        doItemsLayout();
    QListView::showEvent(event);
}

void CheckListBox::clearRows()
{
    model()->removeRows(0, rowCount());
}

CheckState CheckListBox::state(int row) const
{
    return fromQt(Qt::CheckState(rowIndex(row).data(Qt::CheckStateRole).toInt()));
}

void CheckListBox::setChecked(int row, bool checked)
{
    setState(row, fromQt(platform::afterSetChecked(toQt(state(row)), checked)));
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

int CheckListBox::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void CheckListBox::setCurrentRow(int row)
{
    selectionModel()->setCurrentIndex(rowIndex(row), QItemSelectionModel::ClearAndSelect);
}

QModelIndex CheckListBox::rowIndex(int row) const
{
    return model()->index(row, 0);
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
    QListView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;

    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data(m_textRole).toString();
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
    QListView::mouseReleaseEvent(event);
}

void CheckListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && currentRow() >= 0) {
        setCurrentRow(currentRow());
        toggleByUser(currentRow());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

void CheckListBox::setState(int row, CheckState state)
{
    model()->setData(rowIndex(row), toQt(state), Qt::CheckStateRole);
}

void CheckListBox::toggleByUser(int row)
{
    setState(row, state(row) == CheckState::Checked ? CheckState::Unchecked : CheckState::Checked);
    emit clickCheck(row);
}

}  // namespace controls
