#include "controls/CheckListBox.h"

#include "controls/CheckListBoxAccessible.h"
#include "platform/text/CheckMark.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
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
    bool drawsText = true;  // false while only the check boxes are drawn: the texts are not laid out

    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!drawsText)
            option->text.clear();
        else if (textRole != Qt::DisplayRole)
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
    : QAbstractItemView(parent),
      m_delegate(new Delegate(this)),
      m_ownRows(new QStandardItemModel(this))
{
    installCheckListBoxAccessible();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(m_delegate);
    setModel(m_ownRows);
}

void CheckListBox::showRows(QAbstractItemModel *rows, int textRole)
{
    m_textRole = textRole;
    m_delegate->textRole = textRole;
    setModel(rows);
}

void CheckListBox::setModel(QAbstractItemModel *rows)
{
    if (model() != nullptr)
        disconnect(model(), &QAbstractItemModel::rowsRemoved, this, nullptr);
    QAbstractItemView::setModel(rows);
    connect(rows, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    rowsRemoved(first, last);
            });
    updateGeometries();
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

void CheckListBox::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void CheckListBox::rowsAboutToBeRemoved(const QModelIndex &parent, int start, int end)
{
    const int selected = selectedRow();
    // Qt makes the next row current and would scroll to it, though the rows below move up into
    // the removed row's place: the list stays where it is.
    const bool scrolls = hasAutoScroll();
    setAutoScroll(false);
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
    setAutoScroll(scrolls);
    // Qt would move the selection on to the next row; a Windows list box has none left.
    if (selected >= start && selected <= end)
        clearSelection();
}

// The rows below the removed ones are moved up on the screen; only the rows that come into view
// are drawn anew.
void CheckListBox::rowsRemoved(int first, int last)
{
    const int scrolledTo = verticalScrollBar()->value();
    const int scrolledAcross = horizontalScrollBar()->value();
    const int top = first * rowHeight() - verticalOffset();
    updateGeometries();
    if (verticalScrollBar()->value() != scrolledTo || horizontalScrollBar()->value() != scrolledAcross || top < 0) {
        viewport()->update();
        return;
    }
    const int height = viewport()->height();
    if (top < height)
        viewport()->scroll(0, -(last - first + 1) * rowHeight(), QRect(0, top, viewport()->width(), height - top));
}

// A change of check marks is drawn without asking where each changed row is, which the item view
// would do for every row of the change, and only the check boxes of the rows shown are drawn.
void CheckListBox::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    if (roles != QList<int>{Qt::CheckStateRole} || topLeft == bottomRight) {
        QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        if (bottomRight.row() == rowCount() - 1)
            updateGeometries();  // the last row's text gives the rows their width
        return;
    }
    const int firstShown = qMax(topLeft.row(), verticalScrollBar()->value());
    const int lastShown = qMin(bottomRight.row(), verticalScrollBar()->value() + rowsOnPage());
    if (firstShown <= lastShown && lastShown < rowCount()) {
        const QRect firstBox = checkBoxRect(rowIndex(firstShown));
        const QRect lastRow = visualRect(rowIndex(lastShown));
        viewport()->update(QRect(QPoint(firstBox.left(), visualRect(rowIndex(firstShown)).top()),
                                 QPoint(firstBox.right(), lastRow.bottom())));
    }
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent event(this, QAccessibleTableModelChangeEvent::DataChanged);
        event.setFirstRow(topLeft.row());
        event.setFirstColumn(topLeft.column());
        event.setLastRow(bottomRight.row());
        event.setLastColumn(bottomRight.column());
        QAccessible::updateAccessibility(&event);
    }
}

// Assistive technology hears of the current and the selected row by their row numbers, which are
// the list's child numbers.
void CheckListBox::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (QAccessible::isActive() && current.isValid() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(current.row());
        QAccessible::updateAccessibility(&event);
    }
}

void CheckListBox::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    if (!selected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionAdd);
        event.setChild(selected.first().top());
        QAccessible::updateAccessibility(&event);
    }
    if (!deselected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionRemove);
        event.setChild(deselected.first().top());
        QAccessible::updateAccessibility(&event);
    }
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
    updateGeometries();
    viewport()->update();
}

// As a list of uniform rows, the last row is measured for all: it is the likeliest to be the
// longest, and a long list is not gone through.
QSize CheckListBox::rowSize() const
{
    if (m_rowSize.isValid())
        return m_rowSize;
    const int rows = rowCount();
    if (rows > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        m_rowSize = m_delegate->sizeHint(option, rowIndex(rows - 1));
    } else {
        m_rowSize = QSize(0, m_delegate->rowHeight > 0 ? m_delegate->rowHeight : fontMetrics().height());
    }
    m_rowSize.setHeight(qMax(1, m_rowSize.height()));
    return m_rowSize;
}

int CheckListBox::rowAt(int y) const
{
    const int inRows = y + verticalOffset();
    if (inRows < 0)
        return -1;
    const int row = inRows / rowHeight();
    return row < rowCount() ? row : -1;
}

int CheckListBox::rowsOnPage() const
{
    return qMax(1, viewport()->height() / rowHeight());
}

QRect CheckListBox::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != model() || index.parent().isValid() || index.column() != 0)
        return {};
    const int width = qMax(rowSize().width(), viewport()->width());
    return {-horizontalOffset(), index.row() * rowHeight() - verticalOffset(), width, rowHeight()};
}

QModelIndex CheckListBox::indexAt(const QPoint &point) const
{
    const int row = rowAt(point.y());
    return row < 0 ? QModelIndex() : rowIndex(row);
}

void CheckListBox::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid() || index.model() != model())
        return;
    const int row = index.row();
    const int page = rowsOnPage();
    int top = verticalScrollBar()->value();
    switch (hint) {
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + page)
            top = row - page + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - page + 1;
        break;
    case PositionAtCenter:
        top = row - (page - 1) / 2;
        break;
    }
    verticalScrollBar()->setValue(top);
}

QModelIndex CheckListBox::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = rowCount();
    if (rows == 0)
        return {};
    const int from = currentRow();
    if (from < 0)
        return rowIndex(0);
    int to = from;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        to = from - 1;
        break;
    case MoveDown:
    case MoveNext:
        to = from + 1;
        break;
    case MovePageUp:
        to = from - qMax(1, rowsOnPage() - 1);  // the row at the top of the page stays in view
        break;
    case MovePageDown:
        to = from + qMax(1, rowsOnPage() - 1);
        break;
    case MoveHome:
        to = 0;
        break;
    case MoveEnd:
        to = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return rowIndex(qBound(0, to, rows - 1));
}

int CheckListBox::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int CheckListBox::verticalOffset() const
{
    return verticalScrollBar()->value() * rowHeight();
}

bool CheckListBox::isIndexHidden(const QModelIndex &) const
{
    return false;
}

void CheckListBox::setSelection(const QRect &rect, QItemSelectionModel::SelectionFlags command)
{
    const QRect area = rect.normalized();
    const int rows = rowCount();
    const int top = area.top() + verticalOffset();
    const int bottom = area.bottom() + verticalOffset();
    QItemSelection selection;
    if (rows > 0 && bottom >= 0 && top < rows * rowHeight())
        selection.select(rowIndex(qMax(0, top / rowHeight())), rowIndex(qMin(rows - 1, bottom / rowHeight())));
    selectionModel()->select(selection, command);
}

QRegion CheckListBox::visualRegionForSelection(const QItemSelection &selection) const
{
    QRegion region;
    for (const QItemSelectionRange &range : selection) {
        if (range.isValid() && !range.parent().isValid() && range.left() == 0)
            region += visualRect(rowIndex(range.top())).united(visualRect(rowIndex(range.bottom())));
    }
    return region.intersected(viewport()->rect());
}

void CheckListBox::updateGeometries()
{
    m_rowSize = QSize();
    const int page = rowsOnPage();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, qMax(0, rowCount() - page));
    const int width = viewport()->width();
    horizontalScrollBar()->setSingleStep(qMax(1, width / 4));
    horizontalScrollBar()->setPageStep(width);
    horizontalScrollBar()->setRange(0, qMax(0, rowSize().width() - width));
    QAbstractItemView::updateGeometries();
}

void CheckListBox::initViewItemOption(QStyleOptionViewItem *option) const
{
    QAbstractItemView::initViewItemOption(option);
    if (!iconSize().isValid()) {
        const int side = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
        option->decorationSize = QSize(side, side);
    }
    option->decorationPosition = QStyleOptionViewItem::Left;
    option->showDecorationSelected = true;  // the selected row is highlighted across, check box included
}

void CheckListBox::scrollContentsBy(int dx, int dy)
{
    viewport()->scroll(dx, dy * rowHeight());
}

// Only the rows in the painted area are visited, and a paint of check boxes alone (marks changed)
// leaves out the texts, whose layout costs the most.
void CheckListBox::paintEvent(QPaintEvent *event)
{
    const int rows = rowCount();
    const QRect area = event->rect();
    const int first = qMax(0, (area.top() + verticalOffset()) / rowHeight());
    const int last = qMin(rows - 1, (area.bottom() + verticalOffset()) / rowHeight());
    if (first > last)
        return;

    const QRect firstBox = checkBoxRect(rowIndex(first));
    m_delegate->drawsText = area.left() < firstBox.left() || area.right() > firstBox.right();
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State listState = option.state;
    const bool enabled = listState & QStyle::State_Enabled;
    const QModelIndex current = currentIndex();
    const bool focused = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = rowIndex(row);
        option.rect = visualRect(index);
        option.state = listState;
        if (selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool rowEnabled = model()->flags(index) & Qt::ItemIsEnabled;
            option.state.setFlag(QStyle::State_Enabled, rowEnabled);
            option.palette.setCurrentColorGroup(rowEnabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focused && index == current)
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
    m_delegate->drawsText = true;
}

void CheckListBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();  // the context menu comes by its own event
        return;
    }
    QAbstractItemView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid())
        return;

    if (checkBoxRect(index).contains(event->position().toPoint()))
        toggleByUser(index.row());
}

QRect CheckListBox::checkBoxRect(const QModelIndex &index) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data(m_textRole).toString();
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

void CheckListBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();  // a release without our press must not count as a click
        return;
    }
    QAbstractItemView::mouseReleaseEvent(event);
}

void CheckListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && currentRow() >= 0) {
        setCurrentRow(currentRow());
        toggleByUser(currentRow());
        event->accept();
        return;
    }
    QAbstractItemView::keyPressEvent(event);
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
