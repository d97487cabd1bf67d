#include "controls/DirectoryListBox.h"

#include "controls/MessageDialog.h"
#include "platform/drives/Files.h"
#include "platform/text/DosError.h"

#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace controls {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int LevelRole = Qt::UserRole + 1;
constexpr int IndentStep = 12;

// Shifts each row to the right by its depth in the tree, as the Windows 3.1 tree draws it.
class IndentingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.setLeft(shifted.rect.left() + indent(index));
        QStyledItemDelegate::paint(painter, shifted, index);
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
    }

private:
    static int indent(const QModelIndex &index) { return index.data(LevelRole).toInt() * IndentStep; }
};

QString childPath(const QString &directory, const QString &name)
{
    if (directory.endsWith(u'\\'))
        return directory + name;
    return directory + u'\\' + name;
}

}  // namespace

DirectoryListBox::DirectoryListBox(QWidget *parent)
    : QListWidget(parent),
      m_directory(platform::currentDirectory())
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new IndentingDelegate(this));
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { openRow(row(item)); });
    fill();
}

QString DirectoryListBox::directory() const
{
    return m_directory;
}

QChar DirectoryListBox::drive() const
{
    return m_directory.at(0);
}

int DirectoryListBox::setDirectory(const QString &directory)
{
    const int error = platform::setCurrentDirectory(directory);
    if (error != platform::dos::Ok)
        return error;
    const QString previous = m_directory;
    m_directory = platform::currentDirectory();
    fill();
    if (m_directory != previous)
        emit directoryChanged(m_directory);
    return platform::dos::Ok;
}

int DirectoryListBox::setDrive(QChar letter)
{
    const platform::DosResult<QString> current = platform::driveCurrentDirectory(letter);
    if (!current.ok())
        return current.error;
    return setDirectory(current.value);
}

void DirectoryListBox::rereadTree()
{
    fill();
}

void DirectoryListBox::setTextColor(const QColor &color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

QColor DirectoryListBox::textColor() const
{
    return palette().color(QPalette::Text);
}

void DirectoryListBox::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        openRow(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

// Rows: the root, each directory on the way down (open folders), then the subdirectories of the
// deepest one (closed folders). Should the current directory have vanished, the path is shown only
// as far as it still exists.
void DirectoryListBox::fill()
{
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addRow = [this](const QIcon &icon, const QString &text, const QString &path, int level) {
        auto *row = new QListWidgetItem(icon, text);
        row->setData(PathRole, path);
        row->setData(LevelRole, level);
        addItem(row);
        return row;
    };

    clear();
    QString path = m_directory.left(3);
    QListWidgetItem *deepest = addRow(open, path, path, 0);
    int level = 0;
    for (const QString &name : m_directory.mid(3).split(u'\\', Qt::SkipEmptyParts)) {
        const QString next = childPath(path, name);
        if (!platform::directoryExists(next))
            break;
        path = next;
        deepest = addRow(open, name, path, ++level);
    }
    const platform::DosResult<QStringList> children = platform::subdirectories(path);
    if (children.ok()) {
        for (const QString &name : children.value)
            addRow(closed, name, childPath(path, name), level + 1);
    }
    setCurrentItem(deepest);
}

// A directory that cannot be opened (removed meanwhile, drive gone) is a file error like any other.
void DirectoryListBox::openRow(int row)
{
    const QString path = item(row)->data(PathRole).toString();
    runGuarded([this, &path] { platform::throwOnError(setDirectory(path), path); });
}

}  // namespace controls
