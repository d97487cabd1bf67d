#include "platform/files/FileMove.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QtTest>

using namespace platform;

namespace {

const QString From = QStringLiteral("D:\\Backups\\~VS0001.TMP");
const QString To = QStringLiteral("D:\\Backups\\Eine lange Datei.txt");

// A fresh look at the machine: what the layer recorded on disk, not what it holds in memory.
void reloadMachine(const TestMachine &pc)
{
    QString error;
    setMachine(Machine::load(pc.folder(), &error));
    QVERIFY2(hasMachine(), qPrintable(error));
}

int attributes(const QString &path)
{
    const auto result = fileAttributes(path);
    return result.ok() ? result.value : -1;
}

}  // namespace

class FileMoveTest : public QObject {
    Q_OBJECT

private slots:
    void moveKeepsAttributesAndTime_data()
    {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("new name") << false;
        QTest::newRow("replacing") << true;
    }

    void moveKeepsAttributesAndTime()
    {
        QFETCH(bool, targetExists);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        pc.writeFile(QStringLiteral("D:\\Backups\\Eine lange Anmerkung.txt"), "Nachbar");
        if (targetExists)
            pc.writeFile(To, "alt", attr::System);
        pc.writeFile(From, "neu", attr::ReadOnly | attr::System | attr::Archive);
        const QDateTime written(QDate(1999, 12, 7), QTime(14, 5, 32));
        QFile host(pc.host(From));
        QVERIFY(host.open(QIODevice::ReadWrite));
        QVERIFY(host.setFileTime(written, QFileDevice::FileModificationTime));
        host.close();

        QCOMPARE(moveFileReplacing(From, To), 0);
        reloadMachine(pc);
        QVERIFY(!fileExists(From));
        QCOMPARE(pc.readFile(To), QByteArray("neu"));
        QCOMPARE(attributes(To), 37);
        QCOMPARE(lastWriteTime(To).value, written);
        QCOMPARE(files(QStringLiteral("D:\\Backups")).value,
                 QStringList(
                     {QStringLiteral("Eine lange Anmerkung.txt"), QStringLiteral("Eine lange Datei.txt")}));
        QCOMPARE(shortPathName(QStringLiteral("D:\\Backups\\Eine lange Anmerkung.txt")).value,
                 QStringLiteral("D:\\BACKUPS\\EINELA~1.TXT"));
        // A replaced file keeps its alias; a new one is numbered after its neighbour.
        QCOMPARE(shortPathName(To).value, QStringLiteral("D:\\BACKUPS\\EINELA~2.TXT"));
    }

    void moveToOtherFolderOfTheDrive()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups"));
        pc.makeDirectory(QStringLiteral("D:\\Alt"));
        pc.writeFile(From, "neu", attr::Hidden);
        QCOMPARE(moveFileReplacing(From, QStringLiteral("D:\\Alt\\Neu.txt")), 0);
        reloadMachine(pc);
        QCOMPARE(files(QStringLiteral("D:\\Backups")).value, QStringList());
        QCOMPARE(attributes(QStringLiteral("D:\\Alt\\Neu.txt")), int(attr::Hidden));
    }

    void refusals_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("error");
        QTest::newRow("missing source") << QStringLiteral("D:\\Backups\\Fehlt.txt") << To << 2;
        QTest::newRow("read-only target") << From << QStringLiteral("D:\\Backups\\Schreibgeschützt.txt") << 5;
        QTest::newRow("hidden target") << From << QStringLiteral("D:\\Backups\\Versteckt.txt") << 5;
        QTest::newRow("directory target") << From << QStringLiteral("D:\\Backups\\Ordner") << 5;
        QTest::newRow("other drive") << From << QStringLiteral("C:\\Neu.txt") << 5;
        QTest::newRow("cd-rom") << From << QStringLiteral("F:\\Neu.txt") << 5;
        QTest::newRow("missing folder") << From << QStringLiteral("D:\\Fehlt\\Neu.txt") << 3;
    }

    void refusals()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, error);
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Backups\\Ordner"));
        pc.writeFile(From, "neu");
        pc.writeFile(QStringLiteral("D:\\Backups\\Schreibgeschützt.txt"), "alt", attr::ReadOnly);
        pc.writeFile(QStringLiteral("D:\\Backups\\Versteckt.txt"), "alt", attr::Hidden);

        QCOMPARE(moveFileReplacing(from, to), error);
        QCOMPARE(pc.readFile(From), QByteArray("neu"));
        if (fileExists(to))
            QCOMPARE(pc.readFile(to), QByteArray("alt"));
    }
};

QTEST_GUILESS_MAIN(FileMoveTest)
#include "FileMoveTest.moc"
