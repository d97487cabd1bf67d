// The real program file: how it ends before showing anything.
#include "platform/machine/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString ProgramFolder = QStringLiteral("drive_c/Programme/Velko Save");
const QByteArray MachineIni("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nC=fixed,drive_c\n");

QString programFile()
{
    return qEnvironmentVariable("VELKO_PROGRAM");
}

// Starts the program in workingDirectory and waits for its end; false when it does not end.
bool runToEnd(QProcess &program, const QString &workingDirectory)
{
    program.setWorkingDirectory(workingDirectory);
    program.start(programFile(), {});
    return program.waitForFinished(20000);
}

void makePc(const QString &folder, const QByteArray &machineIni)
{
    QFile file(folder + QStringLiteral("/machine.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(machineIni);
    file.close();
    QVERIFY(QDir(folder).mkpath(QStringLiteral("drive_c/WINDOWS")));
    QVERIFY(QDir(folder).mkpath(ProgramFolder));
}

}  // namespace

class ProgramProcessTest : public QObject {
    Q_OBJECT
private slots:
    void secondCopyEndsAtOnceWithoutTouchingAnything();
    void aCopyOnAnotherPcDoesNotCount();
    void withoutSimulatedPcItStopsWithAMessage();
};

void ProgramProcessTest::secondCopyEndsAtOnceWithoutTouchingAnything()
{
    QTemporaryDir pc;
    makePc(pc.path(), MachineIni);

    // This test is the first copy on its PC, whatever runs on other PCs of the machine.
    platform::SingleInstance firstCopy(QStringLiteral("SCR03154"), pc.path());
    QVERIFY(firstCopy.acquire());

    QProcess second;
    QVERIFY(runToEnd(second, pc.filePath(ProgramFolder)));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(second.readAllStandardError().isEmpty());
    QVERIFY(!QFile::exists(pc.filePath(ProgramFolder + QStringLiteral("/Orvel.ini"))));
}

// A copy on another PC does not stop a start: this one goes on past the lock and then stops at
// its own damaged machine.ini with a message.
void ProgramProcessTest::aCopyOnAnotherPcDoesNotCount()
{
    QTemporaryDir otherPc;
    makePc(otherPc.path(), MachineIni);
    platform::SingleInstance otherCopy(QStringLiteral("SCR03154"), otherPc.path());
    QVERIFY(otherCopy.acquire());

    QTemporaryDir pc;
    makePc(pc.path(), "[Windows]\nDirectory=WINDOWS\n[Drives]\nC=fixed,drive_c\n");
    QProcess program;
    QVERIFY(runToEnd(program, pc.filePath(ProgramFolder)));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(program.readAllStandardError().contains("Directory"));
}

void ProgramProcessTest::withoutSimulatedPcItStopsWithAMessage()
{
    QTemporaryDir nowhere;
    QProcess program;
    QVERIFY(runToEnd(program, nowhere.path()));
    QCOMPARE(program.exitCode(), 2);
    QVERIFY(program.readAllStandardError().contains("machine.ini"));
}

QTEST_GUILESS_MAIN(ProgramProcessTest)
#include "ProgramProcessTest.moc"
