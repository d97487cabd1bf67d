#include "platform/shell/Desktop.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using platform::help::ShowContents;
using platform::help::ShowTopic;

// Desktop::showHelp starts the help viewer, a program of its own, with the help file's host path.
// A stand-in viewer writes each command line it gets as one line of a log.
class ShowHelpTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void startsTheViewerOnTheHelpFile_data();
    void startsTheViewerOnTheHelpFile();
    void startsNothingForAMissingFileOrAnUnknownCommand_data();
    void startsNothingForAMissingFileOrAnUnknownCommand();

private:
    QByteArray waitForLog() const;
    QTemporaryDir m_viewerFolder;
    QString m_log;
};

namespace {
const QString HelpFile = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.hlp");
}

void ShowHelpTest::init()
{
    m_log = m_viewerFolder.filePath(QStringLiteral("log"));
    QFile::remove(m_log);
    const QString viewer = m_viewerFolder.filePath(QStringLiteral("velko-winhelp"));
    QFile script(viewer);
    QVERIFY(script.open(QIODevice::WriteOnly));
    // One write per line, so that a line is never read half written.
    script.write("#!/bin/sh\nline=$(printf '%s|' \"$@\")\necho \"$line\" >> '" + m_log.toUtf8() + "'\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("VELKO_WINHELP", viewer.toUtf8());
}

QByteArray ShowHelpTest::waitForLog() const
{
    [this] { QTRY_VERIFY(QFileInfo(m_log).size() > 0); }();
    QFile log(m_log);
    return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
}

void ShowHelpTest::startsTheViewerOnTheHelpFile_data()
{
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("command");
    QTest::addColumn<QByteArray>("arguments");
    QTest::newRow("topic") << HelpFile << HelpFile << ShowTopic << QByteArray("|--topic|5|");
    QTest::newRow("contents") << HelpFile << HelpFile << ShowContents << QByteArray("|--contents|");
    QTest::newRow("other letter case")
        << HelpFile << "c:\\programme\\velko save\\ORVEL.HLP" << ShowTopic << QByteArray("|--topic|5|");
    QTest::newRow("bare name, current directory") << "C:\\Orvel.hlp"
                                                  << "Orvel.hlp" << ShowTopic << QByteArray("|--topic|5|");
    QTest::newRow("bare name, Windows help folder") << "C:\\WINDOWS\\HELP\\Orvel.hlp"
                                                    << "Orvel.hlp" << ShowTopic << QByteArray("|--topic|5|");
}

void ShowHelpTest::startsTheViewerOnTheHelpFile()
{
    QFETCH(QString, installed);
    QFETCH(QString, asked);
    QFETCH(int, command);
    QFETCH(QByteArray, arguments);
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
    pc.makeDirectory(QStringLiteral("C:\\WINDOWS\\HELP"));
    pc.writeFile(installed, "help");

    platform::desktop().showHelp(nullptr, asked, command, 5);
    QCOMPARE(waitForLog(), pc.host(installed).toUtf8() + arguments + '\n');
}

void ShowHelpTest::startsNothingForAMissingFileOrAnUnknownCommand_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<int>("command");
    QTest::newRow("missing file") << "C:\\Programme\\Velko Save\\Fehlt.hlp" << ShowTopic;
    QTest::newRow("missing folder") << "C:\\Fehlt\\Orvel.hlp" << ShowContents;
    QTest::newRow("bare name found nowhere") << "Fehlt.hlp" << ShowTopic;
    QTest::newRow("unknown command") << HelpFile << 2;
}

void ShowHelpTest::startsNothingForAMissingFileOrAnUnknownCommand()
{
    QFETCH(QString, asked);
    QFETCH(int, command);
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
    pc.writeFile(HelpFile, "help");

    platform::desktop().showHelp(nullptr, asked, command, 5);
    // A request that works, after the one that must not: only its line may come.
    platform::desktop().showHelp(nullptr, HelpFile, ShowTopic, 6);
    QCOMPARE(waitForLog(), pc.host(HelpFile).toUtf8() + "|--topic|6|\n");
}

QTEST_MAIN(ShowHelpTest)
#include "ShowHelpTest.moc"
