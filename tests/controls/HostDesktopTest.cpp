// The program's desktop hands web and mail addresses to the host desktop's default handlers.
#include "controls/HostDesktop.h"
#include "platform/shell/ShellLink.h"
#include "tests/support/TestMachine.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>

// Stands in for the browser and the mail program.
class AddressRecorder : public QObject {
    Q_OBJECT
public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

class HostDesktopTest : public QObject {
    Q_OBJECT
private slots:
    void addressesReachTheDefaultHandlers_data();
    void addressesReachTheDefaultHandlers();
};

void HostDesktopTest::addressesReachTheDefaultHandlers_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("opened");
    QTest::newRow("web, default verb")
        << ""
        << "https://velko-save.example/" << QStringList{"https://velko-save.example/"};
    QTest::newRow("mail, open") << "open"
                                << "mailto:info@velko-save.example"
                                << QStringList{"mailto:info@velko-save.example"};
    QTest::newRow("other verb") << "print"
                                << "https://velko-save.example/" << QStringList{};
    QTest::newRow("file") << "open"
                          << "C:\\liesmich.txt" << QStringList{};
}

void HostDesktopTest::addressesReachTheDefaultHandlers()
{
    QFETCH(QString, verb);
    QFETCH(QString, target);
    QFETCH(QStringList, opened);
    TestMachine pc;
    AddressRecorder recorder;
    for (const char *scheme : {"https", "mailto", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    controls::HostDesktop desktop;
    desktop.shellExecute(nullptr, verb, target, {}, {}, platform::showCommand::Normal);
    for (const char *scheme : {"https", "mailto", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    QCOMPARE(recorder.opened, opened);
}

QTEST_MAIN(HostDesktopTest)
#include "HostDesktopTest.moc"
