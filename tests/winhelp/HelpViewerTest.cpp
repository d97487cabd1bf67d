#include "winhelp/HelpViewer.h"
#include "platform/shell/Desktop.h"
#include "platform/shell/HelpRequest.h"
#include "winhelp/HelpBrowser.h"
#include "winhelp/HelpFile.h"
#include "winhelp/TopicWindow.h"
#include "winhelp/TopicsDialog.h"
#include "winhelp/ViewerServer.h"

#include <QHelpContentWidget>
#include <QHelpIndexWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using platform::help::ShowContents;
using platform::help::ShowTopic;

// The viewer's windows on the help file the build made, driven as a person would.
class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void topicRequestShowsThatTopic();
    void unknownContextNumberShowsTheContents();
    void hilfethemenShowsTheContents();
    void contentsEntryShowsItsTopic();
    void backReturnsAfterFollowingALink();
    void indexLeadsToTheEmergencyDisk();
    void searchLeadsToTheEmergencyDisk();
    void secondRequestGoesToTheRunningViewer();

private:
    QPushButton *button(const char *name) const;
    QTemporaryDir *m_cache = nullptr;
    std::unique_ptr<winhelp::HelpFile> m_file;
    std::unique_ptr<winhelp::HelpViewer> m_viewer;
};

void HelpViewerTest::init()
{
    m_cache = new QTemporaryDir;
    QString error;
    m_file = winhelp::HelpFile::open(qEnvironmentVariable("VELKO_HELP_FILE"), m_cache->path(), &error);
    QVERIFY2(m_file, qPrintable(error));
    m_viewer = std::make_unique<winhelp::HelpViewer>(*m_file);
}

void HelpViewerTest::cleanup()
{
    m_viewer.reset();
    m_file.reset();
    delete m_cache;
}

QPushButton *HelpViewerTest::button(const char *name) const
{
    return m_viewer->topicWindow().findChild<QPushButton *>(QLatin1String(name));
}

void HelpViewerTest::topicRequestShowsThatTopic()
{
    m_viewer->execute(ShowTopic, 5);
    QVERIFY(m_viewer->topicWindow().isVisible());
    QVERIFY(!m_viewer->topicsDialog().isVisible());
    QCOMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Das Hauptfenster"));
    QCOMPARE(m_viewer->topicWindow().windowTitle(), QStringLiteral("Velko Save - Hilfe"));
    QVERIFY(!button("BackButton")->isEnabled());
}

void HelpViewerTest::unknownContextNumberShowsTheContents()
{
    m_viewer->execute(ShowTopic, 4);
    QVERIFY(!m_viewer->topicWindow().isVisible());
    QVERIFY(m_viewer->topicsDialog().isVisible());
    QCOMPARE(m_viewer->topicsDialog().tabs()->currentIndex(), int(winhelp::TopicsDialog::ContentsTab));
}

void HelpViewerTest::hilfethemenShowsTheContents()
{
    m_viewer->execute(ShowTopic, 7);
    button("TopicsButton")->click();
    winhelp::TopicsDialog &topics = m_viewer->topicsDialog();
    QVERIFY(topics.isVisible());
    QCOMPARE(topics.windowTitle(), QStringLiteral("Hilfethemen: Velko Save - Hilfe"));
    QCOMPARE(topics.tabs()->tabText(topics.tabs()->currentIndex()), QStringLiteral("Inhalt"));
    QAbstractItemModel *contents = topics.contents()->model();
    QTRY_COMPARE(contents->rowCount(), 1);
    const QModelIndex book = contents->index(0, 0);
    QCOMPARE(book.data().toString(), QStringLiteral("Velko Save - Hilfe"));
    QCOMPARE(contents->rowCount(book), 8);
    QCOMPARE(contents->index(1, 0, book).data().toString(), QStringLiteral("Das Hauptfenster"));
}

void HelpViewerTest::contentsEntryShowsItsTopic()
{
    m_viewer->execute(ShowContents, 0);
    winhelp::TopicsDialog &topics = m_viewer->topicsDialog();
    QVERIFY(topics.isVisible());
    QVERIFY(!m_viewer->topicWindow().isVisible());
    QAbstractItemModel *contents = topics.contents()->model();
    QTRY_COMPARE(contents->rowCount(), 1);
    topics.contents()->setCurrentIndex(contents->index(4, 0, contents->index(0, 0)));
    topics.findChild<QPushButton *>(QStringLiteral("ShowButton"))->click();
    QVERIFY(!topics.isVisible());
    QVERIFY(m_viewer->topicWindow().isVisible());
    QCOMPARE(m_viewer->topicWindow().topicTitle(),
             QStringLiteral("Velko Restore - Sicherungsdateien wiederherstellen"));
}

void HelpViewerTest::backReturnsAfterFollowingALink()
{
    m_viewer->execute(ShowTopic, 1);
    winhelp::HelpBrowser *browser = m_viewer->topicWindow().browser();
    // The keyboard way to a link: Tab selects the first one, Enter follows it.
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    QCOMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Das Hauptfenster"));
    QVERIFY(button("BackButton")->isEnabled());

    button("BackButton")->click();
    QCOMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Willkommen zu Velko Save"));
    QVERIFY(!button("BackButton")->isEnabled());
}

void HelpViewerTest::indexLeadsToTheEmergencyDisk()
{
    m_viewer->execute(ShowContents, 0);
    winhelp::TopicsDialog &topics = m_viewer->topicsDialog();
    topics.tabs()->setCurrentIndex(winhelp::TopicsDialog::IndexTab);
    QTRY_VERIFY(topics.index()->model()->rowCount() > 0);
    QTest::keyClicks(topics.indexInput(), QStringLiteral("Notfalld"));
    QCOMPARE(topics.index()->currentIndex().data().toString(), QStringLiteral("Notfalldiskette"));
    QTest::keyClick(topics.indexInput(), Qt::Key_Return);
    QVERIFY(!topics.isVisible());
    QCOMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Die Notfalldiskette"));
}

void HelpViewerTest::searchLeadsToTheEmergencyDisk()
{
    m_viewer->execute(ShowContents, 0);
    winhelp::TopicsDialog &topics = m_viewer->topicsDialog();
    topics.tabs()->setCurrentIndex(winhelp::TopicsDialog::SearchTab);
    QTest::keyClicks(topics.searchInput(), QStringLiteral("Notfalldiskette"));
    QTest::keyClick(topics.searchInput(), Qt::Key_Return);
    QListWidget *results = topics.searchResults();
    QTRY_VERIFY(!results->findItems(QStringLiteral("Die Notfalldiskette"), Qt::MatchExactly).isEmpty());
    QVERIFY(topics.isVisible());
    const QRect row = results->visualItemRect(
        results->findItems(QStringLiteral("Die Notfalldiskette"), Qt::MatchExactly).first());
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, row.center());
    topics.findChild<QPushButton *>(QStringLiteral("ShowButton"))->click();
    QCOMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Die Notfalldiskette"));
}

void HelpViewerTest::secondRequestGoesToTheRunningViewer()
{
    const QString helpFile = qEnvironmentVariable("VELKO_HELP_FILE");
    winhelp::ViewerServer server(helpFile);
    QVERIFY(server.isListening());
    connect(
        &server, &winhelp::ViewerServer::requestReceived, m_viewer.get(),
        [this](const platform::HelpRequest &request) { m_viewer->execute(request.command, request.topic); });
    m_viewer->execute(ShowTopic, 5);

    QVERIFY(winhelp::passToRunningViewer({helpFile, ShowTopic, 8}));
    QTRY_COMPARE(m_viewer->topicWindow().topicTitle(), QStringLiteral("Ein Verzeichnis anlegen"));
    QVERIFY(winhelp::passToRunningViewer({helpFile, ShowContents, 0}));
    QTRY_VERIFY(m_viewer->topicsDialog().isVisible());
}

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"
