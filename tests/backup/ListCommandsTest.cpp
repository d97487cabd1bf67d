// The Backup list's commands without the window: adding files with its refusals, the counter,
// the file information and which list entries are enabled.
#include "backup/core/ListCommands.h"
#include "backup/core/BackupList.h"

#include <QtTest>

using namespace backup;

namespace {

const QString Clash =
    QStringLiteral("' befindet sich bereits in der Sicherungsliste !\n\r"
                   "Kein Dateiname darf hier 2x vorkommen. Der Vorgang wird deshalb abgebrochen.\n\r"
                   "Bitte wählen sie erneut die Datei(en) aus, die sie hinzufügen möchten.");

QStringList paths(const BackupList &list)
{
    QStringList result;
    for (int i = 0; i < list.size(); ++i)
        result << list.path(i) + (list.isChecked(i) ? QString() : QStringLiteral(" (not checked)"));
    return result;
}

}  // namespace

class ListCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void addFiles_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("warnings");
        QTest::addColumn<QStringList>("after");
        const QStringList listed = {"C:\\WINDOWS\\Win.ini", "C:\\Config.sys"};
        QTest::newRow("new files at the end, checked")
            << listed << QStringList{"D:\\Daten\\Eins.txt", "D:\\Daten\\Zwei.txt"} << QStringList()
            << QStringList{"C:\\WINDOWS\\Win.ini", "C:\\Config.sys", "D:\\Daten\\Eins.txt",
                           "D:\\Daten\\Zwei.txt"};
        QTest::newRow("a name in other letter case")
            << listed << QStringList{"D:\\WIN.INI"}
            << QStringList{"Eine Datei mit dem Namen 'WIN.INI" + Clash} << listed;
        QTest::newRow("two clashes of three: nothing added")
            << listed << QStringList{"D:\\A\\config.sys", "D:\\A\\Neu.txt", "D:\\A\\win.ini"}
            << QStringList{"Eine Datei mit dem Namen 'config.sys" + Clash,
                           "Eine Datei mit dem Namen 'win.ini" + Clash}
            << listed;
        QTest::newRow("a name listed twice clashes twice")
            << QStringList{"C:\\Win.ini", "D:\\Win.ini"} << QStringList{"E:\\win.INI"}
            << QStringList{"Eine Datei mit dem Namen 'win.INI" + Clash,
                           "Eine Datei mit dem Namen 'win.INI" + Clash}
            << QStringList{"C:\\Win.ini", "D:\\Win.ini"};
        QTest::newRow("a path Windows cannot store")
            << listed << QStringList{"D:\\Neu.txt", QStringLiteral("D:\\\u65E5\u672C.txt"), "D:\\Win.ini"}
            << QStringList{QStringLiteral(
                   "Der Pfad 'D:\\\u65E5\u672C.txt' enthält Zeichen, die Windows nicht "
                   "speichern kann !\n\rDie Datei(en) wurden deshalb nicht in die "
                   "Sicherungsliste aufgenommen.")}
            << listed;
    }

    void addFiles()
    {
        QFETCH(QStringList, listed);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, warnings);
        QFETCH(QStringList, after);
        BackupList list;
        for (const QString &path : listed)
            list.append(path, true);

        QCOMPARE(backup::addFiles(list, chosen), warnings);
        QCOMPARE(paths(list), after);
    }

    void counterText_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << 0 << "0 Datei(en) in Liste";
        QTest::newRow("eleven") << 11 << "11 Datei(en) in Liste";
    }

    void counterText()
    {
        QFETCH(int, rows);
        QFETCH(QString, text);
        QCOMPARE(backup::counterText(rows), text);
    }

    void fileInformationIsTheFullPath()
    {
        BackupList list;
        list.append(QStringLiteral("C:\\WINDOWS\\Win.ini"), false);
        list.append(QStringLiteral("D:\\Daten\\Eins.txt"), true);
        QCOMPARE(fileInformation(list, 1), QStringLiteral("Ort: D:\\Daten\\Eins.txt"));
    }

    void listEntryStates_data()
    {
        QTest::addColumn<QList<int>>("rows");  // Qt::CheckState of each row
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<bool>>("enabled");  // mark all, unmark all, remove one, remove all, info
        QTest::newRow("empty list") << QList<int>() << -1 << QList<bool>{false, false, false, false, false};
        QTest::newRow("all checked, none selected")
            << QList<int>{Qt::Checked, Qt::Checked} << -1 << QList<bool>{false, true, false, true, false};
        QTest::newRow("a greyed row counts as not checked")
            << QList<int>{Qt::PartiallyChecked} << 0 << QList<bool>{true, false, true, true, true};
        QTest::newRow("mixed, one selected")
            << QList<int>{Qt::Unchecked, Qt::Checked} << 1 << QList<bool>{true, true, true, true, true};
    }

    void listEntryStates()
    {
        QFETCH(QList<int>, rows);
        QFETCH(int, selected);
        QFETCH(QList<bool>, enabled);
        BackupList list;
        for (const int state : rows) {
            list.append(QStringLiteral("C:\\Datei%1.txt").arg(list.size()), state == Qt::Checked);
            if (state == Qt::PartiallyChecked)
                list.setGrayed(list.size() - 1);
        }
        const ListEntryStates states = backup::listEntryStates(list, selected);
        QCOMPARE((QList<bool>{states.markAll, states.unmarkAll, states.removeSelected, states.removeAll,
                              states.fileInformation}),
                 enabled);
    }
};

QTEST_GUILESS_MAIN(ListCommandsTest)
#include "ListCommandsTest.moc"
