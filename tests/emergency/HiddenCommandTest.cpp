// Commands for MS-DOS's command interpreter, started hidden and awaited: where Windows finds
// command.com, the command lines the emergency disk passes, and its answer file.
#include "emergency/core/FloppyCommands.h"
#include "platform/drives/Files.h"
#include "platform/machine/Machine.h"
#include "platform/shell/CommandLine.h"
#include "tests/support/DosRecord.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

namespace {}  // namespace

class HiddenCommandTest : public QObject {
    Q_OBJECT
private slots:
    void commandComIsFoundWhereWindowsLooks_data();
    void commandComIsFoundWhereWindowsLooks();
    void onlyTheCommandInterpreterRuns();
    void formatReadsItsAnswersFromAFileThatGoesAfterwards();
    void answerFileGoesAlsoWhenTheCommandCannotStart();
    void systemTransfer();
};

void HiddenCommandTest::commandComIsFoundWhereWindowsLooks_data()
{
    QTest::addColumn<QString>("placedAt");  // empty: nowhere
    QTest::addColumn<bool>("found");
    QTest::newRow("Windows directory") << "C:\\WINDOWS\\COMMAND.COM" << true;
    QTest::newRow("system directory") << "C:\\WINDOWS\\SYSTEM\\COMMAND.COM" << true;
    QTest::newRow("current directory") << "D:\\Arbeit\\command.com" << true;
    QTest::newRow("a root that is not current") << "C:\\COMMAND.COM" << false;
    QTest::newRow("Windows' command folder") << "C:\\WINDOWS\\COMMAND\\COMMAND.COM" << false;
    QTest::newRow("nowhere") << "" << false;
}

void HiddenCommandTest::commandComIsFoundWhereWindowsLooks()
{
    QFETCH(QString, placedAt);
    QFETCH(bool, found);
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("D:\\Arbeit"));
    QCOMPARE(platform::setCurrentDirectory(QStringLiteral("D:\\Arbeit")), platform::dos::Ok);
    if (!placedAt.isEmpty())
        pc.writeFile(placedAt, CommandComStandIn);
    const DosRecord record;

    const int result =
        platform::runHiddenAndWait(QStringLiteral("command.com /c sys A:"), QStringLiteral("C:"));

    QCOMPARE(result, found ? platform::dos::Ok : platform::dos::FileNotFound);
    QCOMPARE(record.commands(),
             found ? QList<QStringList>{hiddenDosArguments("sys A:")} : QList<QStringList>{});
}

void HiddenCommandTest::onlyTheCommandInterpreterRuns()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), "MS-DOS program code\r\n");
    const DosRecord record;
    QCOMPARE(platform::runHiddenAndWait(QStringLiteral("command.com /c sys A:"), QStringLiteral("C:")),
             platform::dos::GeneralFailure);
    QVERIFY(record.commands().isEmpty());
}

void HiddenCommandTest::formatReadsItsAnswersFromAFileThatGoesAfterwards()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    const DosRecord record;

    emergency::formatFloppy(u'B');

    const QList<QStringList> commands = record.commands();
    QCOMPARE(commands.size(), 1);
    const QString commandLine = commands.first().last();
    static const QRegularExpression expected(
        QStringLiteral(R"(^format B: /v:Notfall /Q < C:\\WINDOWS\\TEMP\\TMP[0-9A-F]{4}\.TMP$)"));
    QVERIFY2(expected.match(commandLine).hasMatch(), qPrintable(commandLine));
    QCOMPARE(commands.first(), hiddenDosArguments(commandLine));
    // Enter, Enter, "n", Enter: what format finds in the file while it runs.
    QCOMPARE(record.input(1), QByteArray("\r\n\r\nn\r\n\r\n"));
    QVERIFY(!platform::fileExists(commandLine.section(u'<', 1).trimmed()));
    QCOMPARE(platform::files(QStringLiteral("C:\\WINDOWS\\TEMP")).value, QStringList());
}

void HiddenCommandTest::answerFileGoesAlsoWhenTheCommandCannotStart()
{
    TestMachine pc;  // no COMMAND.COM anywhere
    const DosRecord record;
    emergency::formatFloppy(u'A');
    QVERIFY(record.commands().isEmpty());
    QCOMPARE(platform::files(QStringLiteral("C:\\WINDOWS\\TEMP")).value, QStringList());
}

void HiddenCommandTest::systemTransfer()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND.COM"), CommandComStandIn);
    const DosRecord record;
    emergency::transferSystem(u'A');
    QCOMPARE(record.commands(), QList<QStringList>{hiddenDosArguments("sys A:")});
}

QTEST_GUILESS_MAIN(HiddenCommandTest)
#include "HiddenCommandTest.moc"
