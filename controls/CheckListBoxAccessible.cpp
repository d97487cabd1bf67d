#include "controls/CheckListBoxAccessible.h"

#include "controls/CheckListBox.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>

namespace controls {

namespace {

// One row. It follows its row while rows above it come and go, and is no longer valid once its
// row is gone. The list's own interface deletes it before the list goes.
class RowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(CheckListBox *list, const QModelIndex &index) : m_list(list), m_index(index) {}

    int row() const { return m_index.row(); }

    bool isValid() const override { return m_index.isValid(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_list->window()->windowHandle(); }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_list); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text which) const override
    {
        return which == QAccessible::Name && isValid() ? m_list->rowText(row()) : QString();
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect shown = m_list->visualRect(m_index);
        return {m_list->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QRect list(m_list->mapToGlobal(QPoint(0, 0)), m_list->size());
        state.invisible = !list.intersects(rect());
        state.selected = m_list->selectionModel()->isSelected(m_index);
        state.focused = m_list->currentRow() == row();
        state.checked = m_list->isChecked(row());
        const Qt::ItemFlags flags = m_index.flags();
        state.checkable = flags.testFlag(Qt::ItemIsUserCheckable);
        state.selectable = flags.testFlag(Qt::ItemIsSelectable);
        state.focusable = state.selectable;
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    // As in Qt's list views, the toggle selects or deselects the row.
    QStringList actionNames() const override { return {toggleAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    void doAction(const QString &name) override
    {
        if (name != toggleAction() || !isValid())
            return;
        if (m_list->selectionModel()->isSelected(m_index))
            m_list->selectionModel()->select(m_index, QItemSelectionModel::Deselect);
        else
            m_list->setCurrentRow(row());
    }

private:
    CheckListBox *m_list;
    QPersistentModelIndex m_index;
};

class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(CheckListBox *list) : QAccessibleWidget(list, QAccessible::List) {}

    ~ListAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return list()->rowCount(); }

    // One interface a row, made when first asked for and made anew once its row has moved.
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const auto known = m_rows.constFind(index);
        if (known != m_rows.cend()) {
            auto *row = static_cast<RowAccessible *>(QAccessible::accessibleInterface(*known));
            if (row != nullptr && row->isValid() && row->row() == index)
                return row;
            QAccessible::deleteAccessibleInterface(*known);
        }
        auto *row = new RowAccessible(list(), list()->model()->index(index, 0));
        m_rows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child == nullptr || child->role() != QAccessible::ListItem || child->parent() != this)
            return -1;
        return static_cast<const RowAccessible *>(child)->row();
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }

    QAccessibleInterface *focusChild() const override
    {
        const int current = list()->currentRow();
        return current < 0 ? nullptr : child(current);
    }

private:
    CheckListBox *list() const { return static_cast<CheckListBox *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_rows;
};

QAccessibleInterface *checkListBoxAccessible(const QString &className, QObject *object)
{
    auto *list = qobject_cast<CheckListBox *>(object);
    if (list == nullptr || className != QLatin1String(CheckListBox::staticMetaObject.className()))
        return nullptr;
    return new ListAccessible(list);
}

}  // namespace

void installCheckListBoxAccessible()
{
    static const bool installed = [] {
        QAccessible::installFactory(checkListBoxAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace controls
