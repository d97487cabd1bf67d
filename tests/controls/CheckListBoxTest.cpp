#include "controls/CheckListBox.h"

#include <QAccessible>
#include <QApplication>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleFactory>
#include <QTest>

using controls::CheckListBox;
using controls::CheckState;

Q_DECLARE_METATYPE(controls::CheckState)

namespace {

// A shown list of three rows whose middle row starts in the given state.
struct ShownList {
    explicit ShownList(CheckState middle)
    {
        for (const char *name : {"WIN.INI", "SYSTEM.INI", "CONFIG.SYS"})
            list.appendRow(QString::fromLatin1(name));
        if (middle == CheckState::Checked)
            list.setChecked(1, true);
        else if (middle == CheckState::Grayed)
            list.setGrayed(1);
        list.resize(200, 120);
        list.show();
    }
    QPoint checkBoxOf(int row) const
    {
        const QRect rect = list.visualRect(list.model()->index(row, 0));
        return {rect.left() + 8, rect.center().y()};
    }
    QPoint textOf(int row) const
    {
        const QRect rect = list.visualRect(list.model()->index(row, 0));
        return {rect.right() - 10, rect.center().y()};
    }
    CheckListBox list;
};

// A shown list of `rows` rows 16 pixels high, ten of them on a page.
struct LongList {
    explicit LongList(int rows)
    {
        for (int row = 0; row < rows; ++row)
            list.appendRow(QStringLiteral("Datei %1").arg(row));
        list.setRowHeight(16);
        list.resize(200, 10 * 16 + 2 * list.frameWidth());
        list.show();
    }
    int firstShownRow() const { return list.indexAt(QPoint(5, 1)).row(); }
    bool isShown(int row) const
    {
        return list.viewport()->rect().contains(list.visualRect(list.model()->index(row, 0)));
    }
    CheckListBox list;
};

bool isOneColour(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
        }
    }
    return true;
}

// The region of each paint of the watched widget.
class PaintRecorder : public QObject {
public:
    using QObject::QObject;
    QRegion painted;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

class CheckListBoxTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Windows"))); }

    void appendedRowsKeepOrderAndStartUnchecked()
    {
        CheckListBox list;
        list.appendRow(QStringLiteral("Autoexec.bat"));
        list.appendRow(QStringLiteral("Config.sys"));
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.rowText(0), QStringLiteral("Autoexec.bat"));
        QCOMPARE(list.rowText(1), QStringLiteral("Config.sys"));
        QCOMPARE(list.state(1), CheckState::Unchecked);
        QCOMPARE(list.selectedRow(), -1);
    }

    void programSetsState_data()
    {
        QTest::addColumn<CheckState>("before");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<CheckState>("after");
        QTest::newRow("check unchecked") << CheckState::Unchecked << true << CheckState::Checked;
        QTest::newRow("check checked") << CheckState::Checked << true << CheckState::Checked;
        QTest::newRow("check greyed") << CheckState::Grayed << true << CheckState::Checked;
        QTest::newRow("uncheck unchecked") << CheckState::Unchecked << false << CheckState::Unchecked;
        QTest::newRow("uncheck checked") << CheckState::Checked << false << CheckState::Unchecked;
        QTest::newRow("uncheck greyed stays greyed") << CheckState::Grayed << false << CheckState::Grayed;
    }

    void programSetsState()
    {
        QFETCH(CheckState, before);
        QFETCH(bool, checked);
        QFETCH(CheckState, after);
        ShownList shown(before);
        QSignalSpy clicks(&shown.list, &CheckListBox::clickCheck);

        shown.list.setChecked(1, checked);

        QCOMPARE(shown.list.state(1), after);
        QCOMPARE(shown.list.isChecked(1), after == CheckState::Checked);
        QCOMPARE(shown.list.state(0), CheckState::Unchecked);
        QCOMPARE(clicks.count(), 0);
    }

    void userToggles_data()
    {
        QTest::addColumn<CheckState>("before");
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<CheckState>("after");
        for (bool keyboard : {false, true}) {
            const char *how = keyboard ? "space" : "click";
            QTest::addRow("%s on unchecked", how) << CheckState::Unchecked << keyboard << CheckState::Checked;
            QTest::addRow("%s on checked", how) << CheckState::Checked << keyboard << CheckState::Unchecked;
            QTest::addRow("%s on greyed", how) << CheckState::Grayed << keyboard << CheckState::Checked;
        }
    }

    void userToggles()
    {
        QFETCH(CheckState, before);
        QFETCH(bool, byKeyboard);
        QFETCH(CheckState, after);
        ShownList shown(before);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        QSignalSpy clicks(&shown.list, &CheckListBox::clickCheck);
        // The state must already have changed when the signal arrives.
        CheckState stateSeen = before;
        connect(&shown.list, &CheckListBox::clickCheck, &shown.list,
                [&](int row) { stateSeen = shown.list.state(row); });

        if (byKeyboard) {
            shown.list.setCurrentRow(1);
            QTest::keyClick(&shown.list, Qt::Key_Space);
        } else {
            QTest::mouseClick(shown.list.viewport(), Qt::LeftButton, {}, shown.checkBoxOf(1));
        }

        QCOMPARE(shown.list.state(1), after);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).toInt(), 1);
        QCOMPARE(stateSeen, after);
        QCOMPARE(shown.list.selectedRow(), 1);
        QCOMPARE(shown.list.state(0), CheckState::Unchecked);
        QCOMPARE(shown.list.state(2), CheckState::Unchecked);
    }

    void clickOnTextOnlySelects()
    {
        ShownList shown(CheckState::Checked);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        QSignalSpy clicks(&shown.list, &CheckListBox::clickCheck);

        QTest::mouseClick(shown.list.viewport(), Qt::LeftButton, {}, shown.textOf(1));

        QCOMPARE(shown.list.selectedRow(), 1);
        QCOMPARE(shown.list.state(1), CheckState::Checked);
        QCOMPARE(clicks.count(), 0);
    }

    void doubleClickReachesTheWindow()
    {
        ShownList shown(CheckState::Unchecked);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        QSignalSpy doubleClicks(&shown.list, &QAbstractItemView::doubleClicked);

        // The second press of a double-click reaches a widget as a double-click event.
        QTest::mouseClick(shown.list.viewport(), Qt::LeftButton, {}, shown.textOf(2));
        QTest::mouseDClick(shown.list.viewport(), Qt::LeftButton, {}, shown.textOf(2));
        QTest::mouseRelease(shown.list.viewport(), Qt::LeftButton, {}, shown.textOf(2));

        QCOMPARE(doubleClicks.count(), 1);
        QCOMPARE(shown.list.selectedRow(), 2);
        QCOMPARE(shown.list.state(2), CheckState::Unchecked);
    }

    void removingRowsKeepsTheOthersStates()
    {
        ShownList shown(CheckState::Grayed);
        shown.list.setChecked(2, true);

        shown.list.deleteRow(0);

        QCOMPARE(shown.list.rowCount(), 2);
        QCOMPARE(shown.list.rowText(0), QStringLiteral("SYSTEM.INI"));
        QCOMPARE(shown.list.state(0), CheckState::Grayed);
        QCOMPARE(shown.list.state(1), CheckState::Checked);
        shown.list.clearRows();
        QCOMPARE(shown.list.rowCount(), 0);
        QCOMPARE(shown.list.selectedRow(), -1);
    }

    void removingTheSelectedRowLeavesNoSelection_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("first row, selected") << 0 << 0 << -1;
        QTest::newRow("middle row, selected") << 1 << 1 << -1;
        QTest::newRow("last row, selected") << 2 << 2 << -1;
        QTest::newRow("another row") << 2 << 0 << 1;  // the selection moves with its row
    }

    void removingTheSelectedRowLeavesNoSelection()
    {
        QFETCH(int, selected);
        QFETCH(int, removed);
        QFETCH(int, selectedAfter);
        ShownList shown(CheckState::Unchecked);
        shown.list.setCurrentRow(selected);

        shown.list.deleteRow(removed);

        QCOMPARE(shown.list.selectedRow(), selectedAfter);
    }

    // As a model reports marking every row: one change of the rows' check state.
    void marksChangedTogetherAreDrawn_data()
    {
        QTest::addColumn<QList<int>>("roles");
        QTest::newRow("check state") << QList<int>{Qt::CheckStateRole};
        QTest::newRow("every role") << QList<int>();
    }

    void marksChangedTogetherAreDrawn()
    {
        QFETCH(QList<int>, roles);
        ShownList shown(CheckState::Unchecked);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        QCoreApplication::processEvents();
        auto *model = qobject_cast<QStandardItemModel *>(shown.list.model());
        QVERIFY(model);
        {
            const QSignalBlocker quiet(model);
            for (int row = 0; row < 3; ++row)
                model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
        }
        PaintRecorder recorder;
        shown.list.viewport()->installEventFilter(&recorder);
        emit model->dataChanged(model->index(0, 0), model->index(2, 0), roles);
        QTRY_VERIFY(!recorder.painted.isEmpty());
        for (int row = 0; row < 3; ++row) {
            QVERIFY(recorder.painted.contains(shown.list.visualRect(model->index(row, 0))));
            QCOMPARE(shown.list.state(row), CheckState::Checked);
        }
    }

    void keysMoveTheCurrentRowAndKeepItShown_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("firstShown");
        QTest::newRow("down") << 5 << int(Qt::Key_Down) << 6 << 0;
        QTest::newRow("down below the page") << 9 << int(Qt::Key_Down) << 10 << 1;
        QTest::newRow("down at the end") << 39 << int(Qt::Key_Down) << 39 << 30;
        QTest::newRow("up") << 5 << int(Qt::Key_Up) << 4 << 0;
        QTest::newRow("up at the start") << 0 << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("page down") << 5 << int(Qt::Key_PageDown) << 14 << 5;
        QTest::newRow("page down near the end") << 35 << int(Qt::Key_PageDown) << 39 << 30;
        QTest::newRow("page up") << 25 << int(Qt::Key_PageUp) << 16 << 16;
        QTest::newRow("page up near the start") << 5 << int(Qt::Key_PageUp) << 0 << 0;
        QTest::newRow("end") << 5 << int(Qt::Key_End) << 39 << 30;
        QTest::newRow("home") << 25 << int(Qt::Key_Home) << 0 << 0;
    }

    void keysMoveTheCurrentRowAndKeepItShown()
    {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(int, to);
        QFETCH(int, firstShown);
        LongList shown(40);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        shown.list.setCurrentRow(from);

        QTest::keyClick(&shown.list, Qt::Key(key));

        QCOMPARE(shown.list.currentRow(), to);
        QCOMPARE(shown.list.selectedRow(), to);
        QCOMPARE(shown.firstShownRow(), firstShown);
        QVERIFY(shown.isShown(to));
    }

    void scrollBarCountsTheRowsNotShown_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("maximum");
        QTest::newRow("fewer rows than a page") << 6 << 0 << 0;
        QTest::newRow("a page") << 10 << 0 << 0;
        QTest::newRow("four pages") << 40 << 0 << 30;
        QTest::newRow("four pages, five rows removed") << 40 << 5 << 25;
        QTest::newRow("down to a page") << 12 << 2 << 0;
    }

    void scrollBarCountsTheRowsNotShown()
    {
        QFETCH(int, rows);
        QFETCH(int, removed);
        QFETCH(int, maximum);
        LongList shown(rows);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));

        for (int i = 0; i < removed; ++i)
            shown.list.deleteRow(0);

        QScrollBar *bar = shown.list.verticalScrollBar();
        QCOMPARE(bar->maximum(), maximum);
        QCOMPARE(bar->pageStep(), 10);
        bar->setValue(bar->maximum());
        QCOMPARE(shown.firstShownRow(), maximum);
        QVERIFY(shown.isShown(rows - removed - 1));
    }

    void wheelScrollsByLines()
    {
        LongList shown(40);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        const QPoint at(20, 20);

        QWheelEvent down(at, shown.list.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(shown.list.viewport(), &down);

        QCOMPARE(shown.firstShownRow(), QApplication::wheelScrollLines());
        QCOMPARE(shown.list.selectedRow(), -1);
    }

    // The rows below move up into the removed row's place; the rows above stay where they are.
    void removingTheSelectedRowKeepsTheListWhereItIs_data()
    {
        QTest::addColumn<int>("removed");
        QTest::newRow("last row shown") << 19;
        QTest::newRow("first row shown") << 10;
        QTest::newRow("last row of the list") << 39;
    }

    void removingTheSelectedRowKeepsTheListWhereItIs()
    {
        QFETCH(int, removed);
        LongList shown(40);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        shown.list.verticalScrollBar()->setValue(removed == 39 ? 30 : 10);
        const int firstShown = shown.firstShownRow();
        shown.list.setCurrentRow(removed);

        shown.list.deleteRow(removed);

        QCOMPARE(shown.list.selectedRow(), -1);
        QCOMPARE(shown.firstShownRow(), removed == 39 ? 29 : firstShown);
        QCOMPARE(shown.list.rowText(removed == 39 ? 38 : removed),
                 QStringLiteral("Datei %1").arg(removed == 39 ? 38 : removed + 1));
    }

    // What is on the screen after rows went is what the list draws afresh.
    void removedRowsLeaveTheScreen_data()
    {
        QTest::addColumn<int>("removed");
        QTest::addColumn<int>("count");
        QTest::newRow("a row in the middle of the page") << 14 << 1;
        QTest::newRow("rows across the bottom") << 18 << 4;
        QTest::newRow("a row above the page") << 3 << 1;
        QTest::newRow("a row below the page") << 30 << 1;
        QTest::newRow("the last rows") << 36 << 4;
    }

    void removedRowsLeaveTheScreen()
    {
        QFETCH(int, removed);
        QFETCH(int, count);
        LongList shown(40);
        QApplication::setActiveWindow(&shown.list);
        QVERIFY(QTest::qWaitForWindowActive(&shown.list));
        shown.list.setFocus();
        shown.list.setCurrentRow(removed);  // the focused row goes, the next one gets the focus
        shown.list.verticalScrollBar()->setValue(removed >= 36 ? 30 : 10);
        shown.list.setChecked(removed + count, true);
        shown.list.setGrayed(removed + count + 1 < 40 ? removed + count + 1 : 0);
        QCoreApplication::processEvents();
        QScreen *screen = shown.list.screen();

        shown.list.model()->removeRows(removed, count);
        QCoreApplication::processEvents();

        const QImage onScreen = screen->grabWindow(shown.list.winId()).toImage();
        const QImage drawn = shown.list.grab().toImage();
        QCOMPARE(onScreen.convertToFormat(QImage::Format_RGB32), drawn.convertToFormat(QImage::Format_RGB32));
    }

    void lastRowGivesEveryRowItsWidth()
    {
        LongList shown(20);
        shown.list.appendRow(QStringLiteral("Ein Dateiname, der viel zu lang ist für diese Liste.txt"));
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        const int viewportWidth = shown.list.viewport()->width();
        const int rowWidth = shown.list.visualRect(shown.list.model()->index(0, 0)).width();

        QVERIFY(rowWidth > viewportWidth);
        QCOMPARE(shown.list.visualRect(shown.list.model()->index(20, 0)).width(), rowWidth);
        QCOMPARE(shown.list.horizontalScrollBar()->maximum(), rowWidth - viewportWidth);
        shown.list.deleteRow(20);
        QCOMPARE(shown.list.horizontalScrollBar()->maximum(), 0);
        QCOMPARE(shown.list.visualRect(shown.list.model()->index(0, 0)).width(), viewportWidth);
    }

    // Marking rows draws their check boxes alone; they look as when the whole list is drawn.
    void checkBoxesDrawnAloneLookAsInTheWholeList()
    {
        LongList shown(40);
        shown.list.setChecked(3, true);
        shown.list.setGrayed(4);
        shown.list.setGrayed(5);
        shown.list.setChecked(5, true);
        QApplication::setActiveWindow(&shown.list);
        QVERIFY(QTest::qWaitForWindowActive(&shown.list));
        shown.list.setFocus();
        shown.list.setCurrentRow(4);
        QVERIFY(shown.list.hasFocus());
        QWidget *viewport = shown.list.viewport();
        PaintRecorder recorder;
        viewport->installEventFilter(&recorder);
        QCoreApplication::processEvents();
        recorder.painted = QRegion();

        emit shown.list.model()->dataChanged(shown.list.model()->index(0, 0), shown.list.model()->index(39, 0),
                                             {Qt::CheckStateRole});
        QTRY_VERIFY(!recorder.painted.isEmpty());

        const QRect boxes = recorder.painted.boundingRect();
        QVERIFY(boxes.width() < viewport->width() / 2);
        QCOMPARE(boxes.top(), 0);
        QCOMPARE(boxes.bottom(), viewport->height() - 1);
        QImage whole(viewport->size(), QImage::Format_RGB32);
        viewport->render(&whole);
        QVERIFY(!isOneColour(whole.copy(QRect(boxes.right() + 1, 0, viewport->width() - boxes.right() - 1, 16))));
        QImage alone = whole;
        alone.fill(Qt::magenta);
        viewport->render(&alone, boxes.topLeft(), QRegion(boxes));
        QCOMPARE(alone.copy(boxes), whole.copy(boxes));
    }

    // Assistive technology sees a list whose items are the rows.
    void rowsAreTheListsAccessibleItems()
    {
        ShownList shown(CheckState::Checked);
        shown.list.setGrayed(2);
        shown.list.setCurrentRow(1);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&shown.list);
        QVERIFY(list);

        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->childCount(), 3);
        const QStringList names = {QStringLiteral("WIN.INI"), QStringLiteral("SYSTEM.INI"), QStringLiteral("CONFIG.SYS")};
        for (int row = 0; row < 3; ++row) {
            QAccessibleInterface *item = list->child(row);
            QVERIFY(item);
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), names.at(row));
            QCOMPARE(bool(item->state().checked), row == 1);
            QCOMPARE(bool(item->state().selected), row == 1);
            QCOMPARE(bool(item->state().focused), row == 1);
            QCOMPARE(list->indexOfChild(item), row);
            QCOMPARE(item->parent(), list);
            const QRect shownRow = shown.list.visualRect(shown.list.model()->index(row, 0));
            QCOMPARE(item->rect(), QRect(shown.list.viewport()->mapToGlobal(shownRow.topLeft()), shownRow.size()));
            QCOMPARE(list->childAt(item->rect().center().x(), item->rect().center().y()), item);
        }
        QCOMPARE(list->child(3), nullptr);
        QCOMPARE(list->focusChild(), list->child(1));

        QAccessibleInterface *removed = list->child(0);
        shown.list.deleteRow(0);

        QVERIFY(!removed->isValid());
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->child(0)->text(QAccessible::Name), names.at(1));
        QCOMPARE(list->child(1)->text(QAccessible::Name), names.at(2));
    }

    void rightClickKeepsTheSelection_data()
    {
        QTest::addColumn<int>("selected");
        QTest::newRow("no row selected") << -1;
        QTest::newRow("another row selected") << 0;
    }

    void rightClickKeepsTheSelection()
    {
        QFETCH(int, selected);
        ShownList shown(CheckState::Unchecked);
        QVERIFY(QTest::qWaitForWindowExposed(&shown.list));
        shown.list.setCurrentRow(selected);
        QSignalSpy clicks(&shown.list, &CheckListBox::clickCheck);

        QTest::mouseClick(shown.list.viewport(), Qt::RightButton, {}, shown.textOf(2));
        QTest::mouseClick(shown.list.viewport(), Qt::RightButton, {}, shown.checkBoxOf(2));

        QCOMPARE(shown.list.selectedRow(), selected);
        QCOMPARE(shown.list.state(2), CheckState::Unchecked);
        QCOMPARE(clicks.count(), 0);
    }
};

QTEST_MAIN(CheckListBoxTest)
#include "CheckListBoxTest.moc"
