// Deleting the destination directory without the main window: what is refused, what the answer
// decides, and the reset of the stored destination.
#include "app/core/DirectoryDeletion.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

namespace {

const QString ProgramDirectory = QStringLiteral("C:\\Programme\\Velko Save");
const QString SettingsFile = ProgramDirectory + QStringLiteral("\\Orvel.ini");
const QByteArray StoredSettings = "[Pfad]\r\nPfad=D:\\Sicherung\\Juni\r\n";

}  // namespace

class DirectoryDeletionTest : public QObject {
    Q_OBJECT

private slots:
    void refusedWithoutAQuestion_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("programDirectory");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("drive root") << "D:\\" << ProgramDirectory
                                    << "Laufwerk D:\\ kann nicht gelöscht werden !";
        QTest::newRow("program directory, other case")
            << "c:\\PROGRAMME\\velko save" << ProgramDirectory
            << "Das Velko Save- Verzeichnis darf nicht gelöscht werden !";
        QTest::newRow("holds the program directory")
            << "C:\\Programme" << ProgramDirectory
            << "Das Velko Save- Verzeichnis darf nicht gelöscht werden !";
    }

    void refusedWithoutAQuestion()
    {
        QFETCH(QString, directory);
        QFETCH(QString, programDirectory);
        QFETCH(QString, refusal);
        TestMachine pc;
        pc.makeDirectory(ProgramDirectory);
        pc.writeFile(SettingsFile, StoredSettings);
        bool asked = false;

        const auto outcome =
            destination::deleteDirectory(directory, programDirectory, false, [&](const QString &) {
                asked = true;
                return true;
            });

        QCOMPARE(outcome.refusal, std::optional<QString>(refusal));
        QVERIFY(!outcome.deleted);
        QVERIFY(!asked);
        QVERIFY(platform::directoryExists(ProgramDirectory));
        QCOMPARE(pc.readFile(SettingsFile), StoredSettings);
    }

    // D:\Sicherung\Juni holds a file and a folder and is the current directory.
    void theAnswerDecides_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("unreadableAtStart");
        QTest::addColumn<QString>("programDirectory");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("settingsRefused");
        QTest::addColumn<int>("settingsError");
        QTest::newRow("no") << false << false << ProgramDirectory << false << StoredSettings << false << 0;
        QTest::newRow("yes") << true << false << ProgramDirectory << true
                             << QByteArray("[Pfad]\r\nPfad=C:\\Programme\\Velko Save\r\n") << false << 0;
        QTest::newRow("yes, settings unreadable at start")
            << true << true << ProgramDirectory << true << StoredSettings << true << 0;
        QTest::newRow("yes, program directory unknown")
            << true << false << "" << true << StoredSettings << true << 0;
        QTest::newRow("yes, program directory on a CD")
            << true << false << "F:" << true << StoredSettings << false << int(platform::dos::AccessDenied);
    }

    void theAnswerDecides()
    {
        QFETCH(bool, yes);
        QFETCH(bool, unreadableAtStart);
        QFETCH(QString, programDirectory);
        QFETCH(bool, gone);
        QFETCH(QByteArray, settings);
        QFETCH(bool, settingsRefused);
        QFETCH(int, settingsError);
        TestMachine pc;
        pc.makeDirectory(ProgramDirectory);
        pc.writeFile(SettingsFile, StoredSettings);
        const QString directory = QStringLiteral("D:\\Sicherung\\Juni");
        pc.makeDirectory(directory + QStringLiteral("\\Tiefer"));
        pc.writeFile(directory + QStringLiteral("\\Restore.bat"), "echo off\r\n");
        QCOMPARE(platform::setCurrentDirectory(directory), platform::dos::Ok);
        QStringList questions;

        const auto outcome = destination::deleteDirectory(directory, programDirectory, unreadableAtStart,
                                                          [&](const QString &question) {
                                                              questions << question;
                                                              return yes;
                                                          });

        QCOMPARE(questions, QStringList(QStringLiteral(
                                "ACHTUNG: Sie sind im Begriff, folgendes Verzeichnis\n\rincl. aller "
                                "Unterverzeichnisse und Dateien zu löschen:\n\r\n\rD:\\Sicherung\\Juni"
                                "\n\r\n\rSind sie wirklich sicher, daß sie dieses Verzeichnis\n\r"
                                "löschen wollen ?")));
        QVERIFY(!outcome.refusal);
        QCOMPARE(outcome.deleted, yes);
        QCOMPARE(platform::directoryExists(directory), !gone);
        QVERIFY(outcome.removalWarning.isEmpty());
        QCOMPARE(pc.readFile(SettingsFile), settings);
        QCOMPARE(outcome.settingsRefusal.has_value(), settingsRefused);
        QCOMPARE(outcome.settingsError, settingsError);
        if (yes) {
            QCOMPARE(outcome.parent, QStringLiteral("D:\\Sicherung"));
            QCOMPARE(platform::currentDirectory(), QStringLiteral("D:\\Sicherung"));
        }
    }
};

QTEST_GUILESS_MAIN(DirectoryDeletionTest)
#include "DirectoryDeletionTest.moc"
