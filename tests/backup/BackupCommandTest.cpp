// The command "&Sicherung starten !" without its window: the checks that refuse a run before
// anything changes, and a run over the Backup list that greys what is missing.
#include "backup/core/BackupCommand.h"
#include "backup/core/BackupList.h"
#include "backup/core/BackupRun.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace backup;

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");

// Writes down the reports in the order they come.
struct Recorder : RunObserver {
    QStringList events;
    void started() override { events << QStringLiteral("started"); }
    void missing(const MarkedFile &file) override { events << QStringLiteral("missing %1").arg(file.row); }
    void copyFailed(const MarkedFile &file, const QString &, int) override
    {
        events << QStringLiteral("copy failed %1").arg(file.row);
    }
    void folderFailed(int error) override { events << QStringLiteral("folder failed %1").arg(error); }
    void scriptFailed() override { events << QStringLiteral("script failed"); }
    void pifFailed() override { events << QStringLiteral("pif failed"); }
    void progress(int, int) override {}
};

// A list of the given paths; a path starting with '-' is unchecked, with '~' greyed.
void fill(BackupList &list, const QStringList &rows)
{
    for (const QString &row : rows) {
        const bool plain = !row.startsWith(u'-') && !row.startsWith(u'~');
        list.append(plain ? row : row.mid(1), plain);
        if (row.startsWith(u'~'))
            list.setGrayed(list.size() - 1);
    }
}

QList<Qt::CheckState> states(const BackupList &list)
{
    QList<Qt::CheckState> result;
    for (int i = 0; i < list.size(); ++i)
        result << list.state(i);
    return result;
}

}  // namespace

Q_DECLARE_METATYPE(QList<Qt::CheckState>)

class BackupCommandTest : public QObject {
    Q_OBJECT

private slots:
    void checksRefuseTheRun_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<bool>("nothingMarked");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("statusText");
        const QString elsewhere = QStringLiteral("\n\rBitte wählen sie ein anderes Verzeichnis !");
        QTest::newRow("nothing marked: unchecked and greyed rows")
            << QStringList{"-C:\\Config.sys", "~C:\\Fehlt.txt"} << "D:\\Ziel" << true
            << "Es muß zumindest eine Datei zur Sicherung ausgewählt werden !"
            << "Wählen sie zumindest eine Datei aus obiger Liste aus !";
        QTest::newRow("nothing marked: empty list")
            << QStringList() << "D:\\Ziel" << true
            << "Es muß zumindest eine Datei zur Sicherung ausgewählt "
               "werden !"
            << "Wählen sie zumindest eine Datei aus obiger Liste aus !";
        QTest::newRow("program directory, other case")
            << QStringList{"C:\\Config.sys"} << "c:\\programme\\velko save" << false
            << "Es kann nicht in das gleiche Verzeichnis, in dem\n\rVelko Save installiert ist, gesichert "
               "werden "
               "!" + elsewhere
            << "";
        QTest::newRow("Windows directory")
            << QStringList{"C:\\Config.sys"} << "C:\\WINDOWS" << false
            << "Die Sicherung nach C:\\WINDOWS ist nicht erlaubt !" + elsewhere << "";
        QTest::newRow("root of C:") << QStringList{"C:\\Config.sys"} << "C:\\" << false
                                    << "Die Sicherung nach C:\\ ist nicht erlaubt !" + elsewhere << "";
        QTest::newRow("two marked files of one name")
            << QStringList{"C:\\Config.sys", "-C:\\A\\Win.ini", "C:\\WINDOWS\\Win.ini", "D:\\WIN.INI"}
            << "D:\\Ziel" << false << duplicateNamesText("C:\\WINDOWS\\Win.ini", "D:\\WIN.INI") << "";
        QTest::newRow("a file the script would overwrite")
            << QStringList{"C:\\Config.sys", "D:\\restore.PIF"} << "D:\\Ziel" << false
            << scriptNameClashText("D:\\restore.PIF") << "";
    }

    void checksRefuseTheRun()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, destination);
        QFETCH(bool, nothingMarked);
        QFETCH(QString, message);
        QFETCH(QString, statusText);
        TestMachine pc;
        pc.makeDirectory(ProgramDirectory);
        pc.makeDirectory(QStringLiteral("D:\\Ziel"));
        pc.writeFile(QStringLiteral("C:\\Config.sys"), "files=30\r\n");
        BackupList list;
        fill(list, rows);
        const QList<Qt::CheckState> before = states(list);
        Recorder recorder;

        const BackupOutcome outcome = backUp(list, destination, ProgramDirectory, recorder);

        QVERIFY(outcome.refusal);
        QCOMPARE(outcome.refusal->nothingMarked, nothingMarked);
        QCOMPARE(outcome.refusal->message, message);
        QCOMPARE(outcome.refusal->statusText, statusText);
        QVERIFY(recorder.events.isEmpty());  // not even started
        QCOMPARE(states(list), before);
        QCOMPARE(platform::files(QStringLiteral("D:\\Ziel")).value, QStringList());
    }

    void runGreysWhatIsMissing_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QList<Qt::CheckState>>("states");
        QTest::addColumn<int>("saved");
        QTest::addColumn<bool>("holdsScript");
        QTest::newRow("all there") << QStringList{"C:\\Config.sys", "-C:\\Fehlt.txt"}
                                   << QStringList{"started"}
                                   << QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked} << 1 << true;
        QTest::newRow("one missing") << QStringList{"C:\\Fehlt.txt", "C:\\Config.sys"}
                                     << QStringList{"started", "missing 0"}
                                     << QList<Qt::CheckState>{Qt::PartiallyChecked, Qt::Checked} << 1 << true;
        QTest::newRow("all missing") << QStringList{"C:\\Fehlt.txt"} << QStringList{"started", "missing 0"}
                                     << QList<Qt::CheckState>{Qt::PartiallyChecked} << 0 << false;
    }

    void runGreysWhatIsMissing()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, events);
        QFETCH(QList<Qt::CheckState>, states);
        QFETCH(int, saved);
        QFETCH(bool, holdsScript);
        TestMachine pc;
        pc.makeDirectory(ProgramDirectory);
        pc.writeFile(ProgramDirectory + QStringLiteral("\\restore.pif"), "PIF");
        pc.makeDirectory(QStringLiteral("D:\\Ziel"));
        pc.writeFile(QStringLiteral("C:\\Config.sys"), "files=30\r\n");
        BackupList list;
        fill(list, rows);
        Recorder recorder;

        const BackupOutcome outcome = backUp(list, QStringLiteral("D:\\Ziel"), ProgramDirectory, recorder);

        QVERIFY(!outcome.refusal);
        QCOMPARE(recorder.events, events);
        QCOMPARE(::states(list), states);
        QCOMPARE(outcome.summary.saved, saved);
        QCOMPARE(outcome.summary.holdsScript, holdsScript);
        QCOMPARE(outcome.recordsError, platform::dos::Ok);
        QCOMPARE(platform::fileExists(QStringLiteral("D:\\Ziel\\Config.sys")), saved == 1);
    }

    void messagesOfTheRun()
    {
        QCOMPARE(missingFileText(QStringLiteral("C:\\Fehlt.txt")),
                 QStringLiteral("Die folgende Datei konnte auf ihrem System nicht gefunden werden:\n\r "
                                "C:\\Fehlt.txt\n\rSie können sie somit aus der Sicherungsliste entfernen."));
        QCOMPARE(restoreMayFailText(),
                 QStringLiteral("Möglicherweise können die gesicherten Dateien nicht\n\r"
                                "über \"Wiederherstellen\" zurückgeschrieben werden !"));
    }
};

QTEST_GUILESS_MAIN(BackupCommandTest)
#include "BackupCommandTest.moc"
