#include "winhelp/ViewerServer.h"

#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// velko-winhelp as the platform starts it: one viewer per help file.
class ViewerProcessTest : public QObject {
    Q_OBJECT
private slots:
    void secondStartHandsItsRequestToTheFirst();
    void malformedCommandLineIsRefused();
};

namespace {

QProcess *startViewer(const QStringList &arguments, const QTemporaryDir &cache, QObject *parent)
{
    auto *viewer = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    viewer->setProcessEnvironment(environment);
    viewer->start(qEnvironmentVariable("VELKO_WINHELP"), arguments);
    return viewer;
}

bool viewerListens(const QString &helpFile)
{
    QLocalSocket probe;
    probe.connectToServer(winhelp::serverName(helpFile));
    return probe.waitForConnected(100);
}

}  // namespace

void ViewerProcessTest::secondStartHandsItsRequestToTheFirst()
{
    const QString helpFile = qEnvironmentVariable("VELKO_HELP_FILE");
    QTemporaryDir cache;
    QProcess *first = startViewer({helpFile, QStringLiteral("--topic"), QStringLiteral("5")}, cache, this);
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(viewerListens(helpFile), 20000);

    QProcess *second = startViewer({helpFile, QStringLiteral("--contents")}, cache, this);
    QVERIFY(second->waitForFinished(20000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);

    first->terminate();
    QVERIFY(first->waitForFinished());
}

void ViewerProcessTest::malformedCommandLineIsRefused()
{
    QTemporaryDir cache;
    QProcess *viewer = startViewer(
        {QStringLiteral("Orvel.hlp"), QStringLiteral("--topic"), QStringLiteral("fünf")}, cache, this);
    QVERIFY(viewer->waitForFinished());
    QCOMPARE(viewer->exitCode(), 2);
}

QTEST_MAIN(ViewerProcessTest)
#include "ViewerProcessTest.moc"
