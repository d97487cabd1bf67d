#include "controls/CheckListBox.h"

#include <QApplication>
#include <QPaintEvent>
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
