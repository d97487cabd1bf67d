#include "backup/core/BackupRun.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

using namespace backup;

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");
const QString WindowsDirectory = QStringLiteral("C:\\WINDOWS");

const QString ProgramDirectoryRefusal = QStringLiteral("Es kann nicht in das gleiche Verzeichnis, in dem\n\r"
                                                       "Velko Save installiert ist, gesichert werden !\n\r"
                                                       "Bitte wählen sie ein anderes Verzeichnis !");

QString notAllowed(const QString &destination)
{
    return QStringLiteral("Die Sicherung nach ") + destination
           + QStringLiteral(" ist nicht erlaubt !\n\rBitte wählen sie ein anderes Verzeichnis !");
}

}  // namespace

class BackupRunTest : public QObject {
    Q_OBJECT

private slots:
    void destinationRefusal_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("programDirectory");
        QTest::addColumn<QString>("refusal");  // empty: accepted

        QTest::newRow("program directory") << ProgramDirectory << ProgramDirectory << ProgramDirectoryRefusal;
        QTest::newRow("program directory in other case")
            << QStringLiteral("c:\\PROGRAMME\\velko save") << ProgramDirectory << ProgramDirectoryRefusal;
        QTest::newRow("program directory on a root")
            << QStringLiteral("D:\\") << QStringLiteral("D:") << ProgramDirectoryRefusal;
        QTest::newRow("program directory on the root of C:")
            << QStringLiteral("C:\\") << QStringLiteral("C:") << ProgramDirectoryRefusal;
        QTest::newRow("windows directory")
            << WindowsDirectory << ProgramDirectory << notAllowed(WindowsDirectory);
        QTest::newRow("windows directory in other case")
            << QStringLiteral("c:\\Windows") << ProgramDirectory << notAllowed(QStringLiteral("c:\\Windows"));
        QTest::newRow("root of C:") << QStringLiteral("C:\\") << ProgramDirectory
                                    << notAllowed(QStringLiteral("C:\\"));

        QTest::newRow("subdirectory of C:")
            << QStringLiteral("C:\\Sicherung") << ProgramDirectory << QString();
        QTest::newRow("subdirectory of the windows directory")
            << QStringLiteral("C:\\WINDOWS\\Sicherung") << ProgramDirectory << QString();
        QTest::newRow("subdirectory of the program directory")
            << QStringLiteral("C:\\Programme\\Velko Save\\Backups") << ProgramDirectory << QString();
        QTest::newRow("root of D:") << QStringLiteral("D:\\") << ProgramDirectory << QString();
        QTest::newRow("subdirectory of a root program directory")
            << QStringLiteral("D:\\Backups") << QStringLiteral("D:") << QString();
    }

    void destinationRefusal()
    {
        QFETCH(QString, destination);
        QFETCH(QString, programDirectory);
        QFETCH(QString, refusal);
        const auto refused = backup::destinationRefusal(destination, programDirectory, WindowsDirectory);
        QCOMPARE(refused.value_or(QString()), refusal);
    }

    void targets_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("target");
        QTest::newRow("root of D:") << QStringLiteral("D:\\") << QStringLiteral("C:\\WINDOWS\\WIN.INI")
                                    << QStringLiteral("D:") << QStringLiteral("D:\\WIN.INI");
        QTest::newRow("root of Z:") << QStringLiteral("Z:\\") << QStringLiteral("C:\\Io.sys")
                                    << QStringLiteral("Z:") << QStringLiteral("Z:\\Io.sys");
        QTest::newRow("subdirectory")
            << QStringLiteral("D:\\Backups") << QStringLiteral("C:\\Programme\\Eine lange Datei.txt")
            << QStringLiteral("D:\\Backups") << QStringLiteral("D:\\Backups\\Eine lange Datei.txt");
        QTest::newRow("subdirectory of C:")
            << QStringLiteral("C:\\Sicherung") << QStringLiteral("C:\\Config.sys")
            << QStringLiteral("C:\\Sicherung") << QStringLiteral("C:\\Sicherung\\Config.sys");
    }

    void targets()
    {
        QFETCH(QString, destination);
        QFETCH(QString, source);
        QFETCH(QString, base);
        QFETCH(QString, target);
        QCOMPARE(destinationBase(destination), base);
        QCOMPARE(backupTarget(base, source), target);
    }

    void statusText_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("marked");
        QTest::addColumn<QString>("text");
        const QString nothing = QStringLiteral("Status: Es konnte keine Datei gesichert werden !");
        QTest::newRow("0 of 0") << 0 << 0 << nothing;
        QTest::newRow("0 of 3") << 0 << 3 << nothing;
        QTest::newRow("1 of 1") << 1 << 1 << QStringLiteral("Status: Es wurde 1 markierte Datei gesichert !");
        QTest::newRow("1 of 2") << 1 << 2
                                << QStringLiteral("Status: Es wurde 1 Datei von 2 markierten gesichert !");
        QTest::newRow("2 of 2") << 2 << 2
                                << QStringLiteral("Status: Es wurden alle 2 markierten Dateien gesichert !");
        QTest::newRow("12 of 12") << 12 << 12
                                  << QStringLiteral(
                                         "Status: Es wurden alle 12 markierten Dateien gesichert !");
        QTest::newRow("2 of 5") << 2 << 5
                                << QStringLiteral("Status: Es wurden 2 Dateien von 5 markierten gesichert !");
        QTest::newRow("10 of 11") << 10 << 11
                                  << QStringLiteral(
                                         "Status: Es wurden 10 Dateien von 11 markierten gesichert !");
    }

    void statusText()
    {
        QFETCH(int, saved);
        QFETCH(int, marked);
        QFETCH(QString, text);
        QCOMPARE(backupStatusText(saved, marked), text);
    }

    void duplicateNames_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("first");  // empty: no duplicate
        QTest::addColumn<QString>("second");
        QTest::newRow("empty list") << QStringList() << QString() << QString();
        QTest::newRow("different names")
            << QStringList{QStringLiteral("C:\\Config.sys"), QStringLiteral("C:\\WINDOWS\\Win.ini"),
                           QStringLiteral("C:\\WINDOWS\\Win.ini.bak")}
            << QString() << QString();
        QTest::newRow("folder names do not count")
            << QStringList{QStringLiteral("C:\\A\\B"), QStringLiteral("C:\\B\\A")} << QString() << QString();
        QTest::newRow("same name in other case")
            << QStringList{QStringLiteral("C:\\Config.sys"), QStringLiteral("C:\\WINDOWS\\Win.ini"),
                           QStringLiteral("D:\\Alt\\CONFIG.SYS")}
            << QStringLiteral("C:\\Config.sys") << QStringLiteral("D:\\Alt\\CONFIG.SYS");
        QTest::newRow("the pair that closes first")
            << QStringList{QStringLiteral("C:\\A\\X.INI"), QStringLiteral("C:\\A\\Y.INI"),
                           QStringLiteral("C:\\B\\Y.INI"), QStringLiteral("C:\\B\\X.INI")}
            << QStringLiteral("C:\\A\\Y.INI") << QStringLiteral("C:\\B\\Y.INI");
        QTest::newRow("umlaut in other case")
            << QStringList{QStringLiteral("C:\\Übersicht.txt"), QStringLiteral("D:\\übersicht.TXT")}
            << QStringLiteral("C:\\Übersicht.txt") << QStringLiteral("D:\\übersicht.TXT");
    }

    void duplicateNames()
    {
        QFETCH(QStringList, paths);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const auto pair = backup::duplicateNames(paths);
        QCOMPARE(pair.has_value(), !first.isEmpty());
        if (pair) {
            QCOMPARE(pair->first, first);
            QCOMPARE(pair->second, second);
        }
    }

    void messageTexts()
    {
        QCOMPARE(duplicateNamesText(QStringLiteral("C:\\Config.sys"), QStringLiteral("D:\\CONFIG.SYS")),
                 QStringLiteral("Die Dateien 'C:\\Config.sys' und 'D:\\CONFIG.SYS' haben denselben "
                                "Namen und würden sich im Sicherungsverzeichnis gegenseitig "
                                "überschreiben !\n\rBitte entfernen sie eine der beiden Dateien aus "
                                "der Sicherungsliste."));
        QCOMPARE(copyFailureText(QStringLiteral("C:\\Io.sys"), QStringLiteral("D:\\Backups\\Io.sys"), 5),
                 QStringLiteral("Die Datei C:\\Io.sys konnte nicht nach D:\\Backups\\Io.sys kopiert "
                                "werden:\n\rDateizugriff verweigert"));
        QCOMPARE(copyFailureText(QStringLiteral("C:\\Io.sys"), QStringLiteral("D:\\Io.sys"), 101),
                 QStringLiteral("Die Datei C:\\Io.sys konnte nicht nach D:\\Io.sys kopiert "
                                "werden:\n\rZu wenig Speicherplatz"));
    }

    void folderFailureTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("reason");
        QTest::newRow("gone") << 3 << "Das Verzeichnis ist nicht mehr vorhanden.";
        QTest::newRow("full") << 101 << "Auf dem Datenträger ist nicht genügend Speicherplatz frei.";
        QTest::newRow("write-protected") << 19 << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("not ready") << 21 << "Das Laufwerk ist nicht bereit.";
        QTest::newRow("refused")
            << 5 << "In das Verzeichnis kann nicht geschrieben werden (Dateizugriff verweigert).";
    }

    void folderFailureTexts()
    {
        QFETCH(int, error);
        QFETCH(QString, reason);
        QCOMPARE(folderFailureText(QStringLiteral("D:\\Backups"), error),
                 QStringLiteral("Die Sicherung nach D:\\Backups wurde abgebrochen:\n\r") + reason
                     + QStringLiteral("\n\rRestore.bat und Restore.pif wurden nicht neu geschrieben."));
    }

    // Restore.bat and Restore.pif of an earlier run go only when every marked file was missing.
    void finishRun_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("missing");
        QTest::addColumn<int>("marked");
        QTest::addColumn<bool>("scriptStays");
        QTest::addColumn<QString>("status");
        const QString nothing = QStringLiteral("Status: Es konnte keine Datei gesichert werden !");
        const QString kept =
            nothing + QStringLiteral(" Die Restore.bat der früheren Sicherung bleibt erhalten.");
        QTest::newRow("all missing") << 0 << 2 << 2 << false << nothing;
        QTest::newRow("all copies failed") << 0 << 0 << 2 << true << kept;
        QTest::newRow("one missing, one failed") << 0 << 1 << 2 << true << kept;
        QTest::newRow("one saved") << 1 << 1 << 2 << true
                                   << QStringLiteral("Status: Es wurde 1 Datei von 2 markierten gesichert !");
    }

    void finishRun()
    {
        QFETCH(int, saved);
        QFETCH(int, missing);
        QFETCH(int, marked);
        QFETCH(bool, scriptStays);
        QFETCH(QString, status);
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Restore.bat"), "echo off\r\n");
        pc.writeFile(QStringLiteral("D:\\Restore.pif"), "pif");
        QCOMPARE(backup::finishRun(QStringLiteral("D:"), saved, missing, marked), status);
        QCOMPARE(platform::fileExists(QStringLiteral("D:\\Restore.bat")), scriptStays);
        QCOMPARE(platform::fileExists(QStringLiteral("D:\\Restore.pif")), scriptStays);
    }

    void finishRunWithoutEarlierScript()
    {
        TestMachine pc;
        QCOMPARE(backup::finishRun(QStringLiteral("D:"), 0, 0, 2),
                 QStringLiteral("Status: Es konnte keine Datei gesichert werden !"));
    }
};

QTEST_GUILESS_MAIN(BackupRunTest)
#include "BackupRunTest.moc"
