// The Backup list's model, without a window: rows, check rules and what the run takes.
#include "backup/core/BackupList.h"

#include <QSignalSpy>
#include <QtTest>

using backup::BackupList;
using Stretches = QList<QPair<int, int>>;  // first and last row of each change signalled

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

        QList<int> changed;
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(int(list.state(row)), states[row]);
            if (list.state(row) != (row == 0 ? Qt::Checked : row == 1 ? Qt::Unchecked : Qt::PartiallyChecked))
                changed.append(row);
        }
        // Each changed row once, no other; neighbours may share one signal.
        QList<int> signalled;
        for (const QList<QVariant> &change : std::as_const(changes)) {
            for (int row = change[0].toModelIndex().row(); row <= change[1].toModelIndex().row(); ++row)
                signalled.append(row);
        }
        QCOMPARE(signalled, changed);
    }

    // A long list is changed in few signals: one per stretch of changed rows, one insertion.
    void bulkChangesSignalEachStretchOnce_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<Stretches>("stretches");
        QTest::newRow("check all") << "check all" << Stretches{{1, 4}};
        QTest::newRow("uncheck all") << "uncheck all" << Stretches{{0, 0}, {5, 5}};
        QTest::newRow("check all again") << "check all twice" << Stretches{{1, 4}};
    }

    void bulkChangesSignalEachStretchOnce()
    {
        QFETCH(QString, command);
        QFETCH(Stretches, stretches);
        BackupList list;
        list.append(QList<BackupList::NewRow>{{QStringLiteral("C:\\A.txt"), true},
                                              {QStringLiteral("C:\\B.txt"), false},
                                              {QStringLiteral("C:\\C.txt"), false},
                                              {QStringLiteral("C:\\D.txt"), false},
                                              {QStringLiteral("C:\\E.txt"), false},
                                              {QStringLiteral("C:\\F.txt"), true}});
        list.setGrayed(3);
        QSignalSpy changes(&list, &QAbstractItemModel::dataChanged);
        list.setAllChecked(command != u"uncheck all");
        if (command == u"check all twice")
            list.setAllChecked(true);
        Stretches signalled;
        for (const QList<QVariant> &change : std::as_const(changes))
            signalled.append({change[0].toModelIndex().row(), change[1].toModelIndex().row()});
        QCOMPARE(signalled, stretches);
    }

    void appendingManyRowsInsertsThemAtOnce()
    {
        BackupList list;
        list.append(QStringLiteral("C:\\Config.sys"), true);
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        list.append(QList<BackupList::NewRow>{{QStringLiteral("C:\\WINDOWS\\Win.ini"), false},
                                              {QStringLiteral("C:\\Io.sys"), true}});
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0][1].toInt(), 1);
        QCOMPARE(inserted[0][2].toInt(), 2);
        QCOMPARE(list.name(1), QStringLiteral("Win.ini"));
        QCOMPARE(list.state(1), Qt::Unchecked);
        QCOMPARE(list.path(2), QStringLiteral("C:\\Io.sys"));
        QCOMPARE(list.state(2), Qt::Checked);
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
