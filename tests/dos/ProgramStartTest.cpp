#include "platform/shell/ProgramStart.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QTest>

class ProgramStartTest : public QObject {
    Q_OBJECT
private slots:
    void programStartsInItsWorkingDirectory();
    void failuresAreReported_data();
    void failuresAreReported();
};

void ProgramStartTest::programStartsInItsWorkingDirectory()
{
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme"));
    pc.makeDirectory(QStringLiteral("D:\\Arbeit"));
    pc.writeFile(QStringLiteral("C:\\Programme\\Start.exe"), "#!/bin/sh\necho gestartet > Zeichen.txt\n");
    QVERIFY(QFile::setPermissions(pc.host(QStringLiteral("C:\\Programme\\Start.exe")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QCOMPARE(platform::startProgram(QStringLiteral("C:\\Programme\\Start.exe"), QStringLiteral("D:\\Arbeit")),
             0);
    QTRY_VERIFY(platform::fileExists(QStringLiteral("D:\\Arbeit\\Zeichen.txt")));
}

void ProgramStartTest::failuresAreReported_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<int>("error");
    QTest::newRow("no such program") << "C:\\Programme\\Fehlt.exe"
                                     << "" << 2;
    QTest::newRow("no such directory") << "C:\\Programme\\Text.exe"
                                       << "D:\\Fehlt" << 3;
    QTest::newRow("not a program") << "C:\\Programme\\Text.exe"
                                   << "" << 31;
}

void ProgramStartTest::failuresAreReported()
{
    QFETCH(QString, program);
    QFETCH(QString, directory);
    QFETCH(int, error);
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme"));
    pc.writeFile(QStringLiteral("C:\\Programme\\Text.exe"), "kein Programm");
    QCOMPARE(platform::startProgram(program, directory), error);
}

QTEST_GUILESS_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
