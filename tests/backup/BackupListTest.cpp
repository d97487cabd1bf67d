// The Backup list's model, without a window: rows, check rules and what the run takes.
#include "backup/core/BackupList.h"

#include <QSignalSpy>
#include <QtTest>

using backup::BackupList;

class BackupListTest : public QObject {
    Q_OBJECT

private slots:
    void appendedRowShowsItsNameAndKeepsItsPath()
    {
        BackupList list;
        list.append(QStringLiteral("C:\\WINDOWS\\Win.ini"), true);
        list.append(QStringLiteral("C:\\Config.sys"), false);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.path(0), QStringLiteral("C:\\WINDOWS\\Win.ini"));
        QCOMPARE(list.name(0), QStringLiteral("Win.ini"));
        QCOMPARE(list.data(list.index(0), Qt::DisplayRole).toString(), QStringLiteral("Win.ini"));
        QCOMPARE(list.data(list.index(0), BackupList::PathRole).toString(),
                 QStringLiteral("C:\\WINDOWS\\Win.ini"));
        QCOMPARE(list.state(0), Qt::Checked);
        QCOMPARE(list.state(1), Qt::Unchecked);
    }

    // Rows start checked, unchecked and greyed; then one command.
    void checkRules_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QList<int>>("states");
        QTest::newRow("check all") << "check all" << QList<int>{Qt::Checked, Qt::Checked, Qt::Checked};
        QTest::newRow("uncheck all keeps the greyed row")
            << "uncheck all" << QList<int>{Qt::Unchecked, Qt::Unchecked, Qt::PartiallyChecked};
        QTest::newRow("check the greyed row")
            << "check 2" << QList<int>{Qt::Checked, Qt::Unchecked, Qt::Checked};
        QTest::newRow("uncheck the greyed row")
            << "uncheck 2" << QList<int>{Qt::Checked, Qt::Unchecked, Qt::PartiallyChecked};
        QTest::newRow("grey a checked row")
            << "grey 0" << QList<int>{Qt::PartiallyChecked, Qt::Unchecked, Qt::PartiallyChecked};
        QTest::newRow("set through the view's role")
            << "role 1" << QList<int>{Qt::Checked, Qt::Checked, Qt::PartiallyChecked};
    }

    void checkRules()
    {
        QFETCH(QString, command);
        QFETCH(QList<int>, states);
        BackupList list;
        list.append(QStringLiteral("C:\\A.txt"), true);
        list.append(QStringLiteral("C:\\B.txt"), false);
        list.append(QStringLiteral("C:\\C.txt"), false);
        list.setGrayed(2);
        QSignalSpy changes(&list, &QAbstractItemModel::dataChanged);

        if (command == QLatin1String("check all"))
            list.setAllChecked(true);
        else if (command == QLatin1String("uncheck all"))
            list.setAllChecked(false);
        else if (command == QLatin1String("check 2"))
            list.setChecked(2, true);
        else if (command == QLatin1String("uncheck 2"))
            list.setChecked(2, false);
        else if (command == QLatin1String("grey 0"))
            list.setGrayed(0);
        else if (command == QLatin1String("role 1"))
            QVERIFY(list.setData(list.index(1), int(Qt::Checked), Qt::CheckStateRole));

        int changed = 0;
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(int(list.state(row)), states[row]);
            changed += list.state(row)
                       != (row == 0   ? Qt::Checked
                           : row == 1 ? Qt::Unchecked
                                      : Qt::PartiallyChecked);
        }
        QCOMPARE(changes.count(), changed);  // each changed row once, no other
    }

    void markedFilesAreTheCheckedRowsInOrder()
    {
        BackupList list;
        list.append(QStringLiteral("C:\\Io.sys"), true);
        list.append(QStringLiteral("C:\\Fehlt.txt"), true);
        list.append(QStringLiteral("C:\\Config.sys"), false);
        list.append(QStringLiteral("C:\\WINDOWS\\Win.ini"), true);
        list.setGrayed(1);
        const QList<backup::MarkedFile> marked = list.markedFiles();
        QCOMPARE(marked.size(), 2);
        QCOMPARE(marked[0].row, 0);
        QCOMPARE(marked[0].path, QStringLiteral("C:\\Io.sys"));
        QCOMPARE(marked[1].row, 3);
        QCOMPARE(marked[1].displayName, QStringLiteral("Win.ini"));
    }

    void removingAndClearing()
    {
        BackupList list;
        for (const char *path : {"C:\\A.txt", "C:\\B.txt", "C:\\C.txt"})
            list.append(QString::fromLatin1(path), true);
        list.setGrayed(2);
        list.remove(1);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.path(1), QStringLiteral("C:\\C.txt"));
        QCOMPARE(list.state(1), Qt::PartiallyChecked);  // the state moves with its row
        list.clear();
        QCOMPARE(list.size(), 0);
        QCOMPARE(list.rowCount(), 0);
    }

    void rowAddedThroughTheModelTakesItsNameFromThePath()
    {
        BackupList list;
        QVERIFY(list.insertRows(0, 1));
        QVERIFY(list.setData(list.index(0), QStringLiteral("D:\\Daten\\Brief.doc"), BackupList::PathRole));
        QCOMPARE(list.name(0), QStringLiteral("Brief.doc"));
        QCOMPARE(list.state(0), Qt::Unchecked);
    }
};

QTEST_GUILESS_MAIN(BackupListTest)
#include "BackupListTest.moc"
