// The real program file: how it ends before showing anything.
#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString programFile()
{
    return qEnvironmentVariable("VELKO_PROGRAM");
}

}  // namespace

class ProgramProcessTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyEndsAtOnceWithoutTouchingAnything();
    void withoutSimulatedPcItStopsWithAMessage();
};

void ProgramProcessTest::secondCopyEndsAtOnceWithoutTouchingAnything()
{
    QTemporaryDir pc;
    QFile machineIni(pc.filePath(QStringLiteral("machine.ini")));
    QVERIFY(machineIni.open(QIODevice::WriteOnly));
    machineIni.write("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nC=fixed,drive_c\n");
    machineIni.close();
    QVERIFY(QDir(pc.path()).mkpath(QStringLiteral("drive_c/WINDOWS")));
    QVERIFY(QDir(pc.path()).mkpath(QStringLiteral("drive_c/Programme/Velko Save")));

    // Whoever holds the name (this test, or a copy a developer has running) is the first copy.
    platform::SingleInstance firstCopy(QStringLiteral("SCR03154"));
    firstCopy.acquire();

    QProcess second;
    second.setWorkingDirectory(pc.filePath(QStringLiteral("drive_c/Programme/Velko Save")));
    second.start(programFile(), {});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardError().isEmpty());
    QVERIFY(!QFile::exists(pc.filePath(QStringLiteral("drive_c/Programme/Velko Save/Orvel.ini"))));
}

void ProgramProcessTest::withoutSimulatedPcItStopsWithAMessage()
{
    QTemporaryDir nowhere;
    QProcess program;
    program.setWorkingDirectory(nowhere.path());
    program.start(programFile(), {});
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(program.readAllStandardError().contains("machine.ini"));
}

QTEST_GUILESS_MAIN(ProgramProcessTest)
#include "ProgramProcessTest.moc"
