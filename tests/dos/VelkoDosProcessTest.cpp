#include "platform/Files.h"
#include "platform/ShellLink.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Result {
    int exitCode = -1;
    QString output;
};

Result velkoDos(const TestMachine &pc, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(qEnvironmentVariable("VELKO_DOS"));
    process.setArguments(QStringList{QStringLiteral("--machine"), pc.folder(), QStringLiteral("--headless")}
                         + arguments);
    process.start();
    if (!process.waitForFinished(60000))
        qFatal("velko-dos did not end");
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

}  // namespace

class VelkoDosProcessTest : public QObject {
    Q_OBJECT
private slots:
    void msDosModeRunsTheScriptAndNamesTheAutostart();
    void commandLineRunsOneCommand();
    void cutShortScriptEndsWithCode1();
    void wrongCommandLineEndsWithCode2();
};

void VelkoDosProcessTest::msDosModeRunsTheScriptAndNamesTheAutostart()
{
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("D:\\BACKUP"));
    pc.writeFile(QStringLiteral("D:\\BACKUP\\Restore.bat"),
                 "echo off\r\necho Sicherung\r\npause\r\ncopy EINS.TXT C:\\\r\n");
    pc.writeFile(QStringLiteral("D:\\BACKUP\\EINS.TXT"), "eins");
    pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
    pc.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe"), "program");
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart"));
    platform::ShellLink link;
    link.targetPath = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe");
    link.workingDirectory = QStringLiteral("C:\\Programme\\Velko Save");
    QCOMPARE(platform::writeShellLink(
                 QStringLiteral("C:\\WINDOWS\\Startmenü\\Programme\\Autostart\\Orvel.lnk"), link),
             0);

    const QString screenFile = pc.folder() + QStringLiteral("/screen.txt");
    const Result result =
        velkoDos(pc, {QStringLiteral("--keys"), QStringLiteral("x"), QStringLiteral("--screen"), screenFile,
                      QStringLiteral("--msdos-mode"), QStringLiteral("D:\\BACKUP\\Restore.bat")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.output, QStringLiteral("AUTOSTART C:\\Programme\\Velko Save\\Orvel.exe|"
                                           "C:\\Programme\\Velko Save\n"));
    QFile screen(screenFile);
    QVERIFY(screen.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(screen.readAll()).split(u'\n');
    // The script runs in its own folder, so its copy finds EINS.TXT there.
    QCOMPARE(lines.mid(0, 5),
             QStringList({"", "D:\\BACKUP>echo off", "Sicherung", "Weiter mit beliebiger Taste . . .",
                          "        1 Datei(en) kopiert"}));
    QCOMPARE(lines.size(), 25 + 1);  // the 25 screen lines, then the file's last line end
    QCOMPARE(pc.readFile(QStringLiteral("C:\\EINS.TXT")), QByteArray("eins"));
}

void VelkoDosProcessTest::commandLineRunsOneCommand()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\A.TXT"), "a");
    const Result result = velkoDos(pc, {QStringLiteral("/c"), QStringLiteral("copy"),
                                        QStringLiteral("C:\\A.TXT"), QStringLiteral("D:\\")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.output.startsWith(QStringLiteral("        1 Datei(en) kopiert\n")));
    QCOMPARE(pc.readFile(QStringLiteral("D:\\A.TXT")), QByteArray("a"));
}

void VelkoDosProcessTest::cutShortScriptEndsWithCode1()
{
    TestMachine pc;
    pc.writeFile(QStringLiteral("C:\\X.BAT"), "pause\r\n");
    QCOMPARE(velkoDos(pc, {QStringLiteral("--window"), QStringLiteral("C:\\X.BAT")}).exitCode, 1);
    QCOMPARE(velkoDos(pc, {QStringLiteral("--window"), QStringLiteral("C:\\KEIN.BAT")}).exitCode, 1);
}

void VelkoDosProcessTest::wrongCommandLineEndsWithCode2()
{
    TestMachine pc;
    QCOMPARE(velkoDos(pc, {QStringLiteral("--frob")}).exitCode, 2);
    QCOMPARE(velkoDos(pc, {}).exitCode, 2);
}

QTEST_GUILESS_MAIN(VelkoDosProcessTest)
#include "VelkoDosProcessTest.moc"
