#include "controls/DirectoryListBox.h"
#include "platform/drives/Files.h"
#include "platform/text/DosError.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <QSignalSpy>
#include <QTest>

using controls::DirectoryListBox;

namespace {

QStringList rowsOf(const QListWidget &tree)
{
    QStringList rows;
    for (int i = 0; i < tree.count(); ++i)
        rows << tree.item(i)->text();
    return rows;
}

QString currentRowText(const QListWidget &tree)
{
    return tree.currentItem() ? tree.currentItem()->text() : QString();
}

int rowNamed(const QListWidget &tree, const QString &name)
{
    const QList<QListWidgetItem *> found = tree.findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? -1 : tree.row(found.first());
}

}  // namespace

// A machine with C:\Backups\Juni and C:\Daten, current directory C:\.
class DirectoryListBoxTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        m_machine = std::make_unique<TestMachine>();
        m_machine->makeDirectory(QStringLiteral("C:\\Backups"));
        m_machine->makeDirectory(QStringLiteral("C:\\Backups\\Juni"));
        m_machine->makeDirectory(QStringLiteral("C:\\Daten"));
    }
    void cleanup() { m_machine.reset(); }

    void startsAtTheCurrentDirectory()
    {
        QCOMPARE(platform::setCurrentDirectory(QStringLiteral("C:\\Backups")), 0);
        DirectoryListBox tree;

        QCOMPARE(tree.directory(), QStringLiteral("C:\\Backups"));
        QCOMPARE(tree.drive(), QChar(u'C'));
        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Juni"}));
        QCOMPARE(currentRowText(tree), QStringLiteral("Backups"));
    }

    void doubleClickOpensADirectory()
    {
        DirectoryListBox tree;
        tree.resize(200, 200);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Daten", "WINDOWS"}));
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        const QRect backups = tree.visualItemRect(tree.item(rowNamed(tree, "Backups")));
        // The second press of a double-click reaches a widget as a double-click event.
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, backups.center());
        QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, backups.center());
        QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, backups.center());

        QCOMPARE(tree.directory(), QStringLiteral("C:\\Backups"));
        QCOMPARE(platform::currentDirectory(), QStringLiteral("C:\\Backups"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), QStringLiteral("C:\\Backups"));
        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Juni"}));
        QCOMPARE(currentRowText(tree), QStringLiteral("Backups"));
    }

    void enterOpensTheCurrentRow()
    {
        QCOMPARE(platform::setCurrentDirectory(QStringLiteral("C:\\Backups\\Juni")), 0);
        DirectoryListBox tree;
        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Juni"}));
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        tree.setCurrentRow(0);
        QTest::keyClick(&tree, Qt::Key_Return);

        QCOMPARE(tree.directory(), QStringLiteral("C:\\"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(currentRowText(tree), QStringLiteral("C:\\"));
    }

    void directoryIsSpelledAsTheSystemReportsIt_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("reported");
        QTest::newRow("other drive's root") << "D:\\"
                                            << "D:\\";
        QTest::newRow("letter case from disk") << "c:\\backups\\JUNI"
                                               << "C:\\Backups\\Juni";
        QTest::newRow("trailing backslash") << "C:\\Daten\\"
                                            << "C:\\Daten";
    }

    void directoryIsSpelledAsTheSystemReportsIt()
    {
        QFETCH(QString, requested);
        QFETCH(QString, reported);
        DirectoryListBox tree;
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        QCOMPARE(tree.setDirectory(requested), 0);

        QCOMPARE(tree.directory(), reported);
        QCOMPARE(platform::currentDirectory(), reported);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.at(0).at(0).toString(), reported);
    }

    void sameDirectoryAgainIsNoChange()
    {
        DirectoryListBox tree;
        QCOMPARE(tree.setDirectory(QStringLiteral("C:\\Daten")), 0);
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        QCOMPARE(tree.setDirectory(QStringLiteral("c:\\daten")), 0);

        QCOMPARE(changes.count(), 0);
        QCOMPARE(tree.directory(), QStringLiteral("C:\\Daten"));
    }

    void failedMoveLeavesEverythingAsItWas_data()
    {
        QTest::addColumn<bool>("byDrive");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("error");
        QTest::newRow("missing directory") << false << "C:\\Fehlt" << int(platform::dos::PathNotFound);
        QTest::newRow("no such drive") << true << "Q" << int(platform::dos::InvalidDrive);
        QTest::newRow("cd drive without medium") << true << "E" << int(platform::dos::NotReady);
    }

    void failedMoveLeavesEverythingAsItWas()
    {
        QFETCH(bool, byDrive);
        QFETCH(QString, target);
        QFETCH(int, error);
        QCOMPARE(platform::setCurrentDirectory(QStringLiteral("C:\\Backups")), 0);
        DirectoryListBox tree;
        const QStringList rowsBefore = rowsOf(tree);
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        QCOMPARE(byDrive ? tree.setDrive(target.at(0)) : tree.setDirectory(target), error);

        QCOMPARE(tree.directory(), QStringLiteral("C:\\Backups"));
        QCOMPARE(platform::currentDirectory(), QStringLiteral("C:\\Backups"));
        QCOMPARE(rowsOf(tree), rowsBefore);
        QCOMPARE(currentRowText(tree), QStringLiteral("Backups"));
        QCOMPARE(changes.count(), 0);
    }

    void setDriveReturnsToThatDrivesDirectory()
    {
        DirectoryListBox tree;
        QCOMPARE(tree.setDirectory(QStringLiteral("C:\\Backups")), 0);

        QCOMPARE(tree.setDrive(u'D'), 0);
        QCOMPARE(tree.directory(), QStringLiteral("D:\\"));
        QCOMPARE(tree.drive(), QChar(u'D'));

        QCOMPARE(tree.setDrive(u'C'), 0);
        QCOMPARE(tree.directory(), QStringLiteral("C:\\Backups"));
    }

    void rereadShowsCreatedAndRemovedDirectories()
    {
        DirectoryListBox tree;
        m_machine->makeDirectory(QStringLiteral("C:\\Neu"));
        QCOMPARE(platform::removeDirectoryTree(QStringLiteral("C:\\Daten")), 0);
        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Daten", "WINDOWS"}));

        tree.rereadTree();

        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups", "Neu", "WINDOWS"}));
        QCOMPARE(currentRowText(tree), QStringLiteral("C:\\"));
    }

    void rereadAfterTheCurrentDirectoryVanished()
    {
        DirectoryListBox tree;
        QCOMPARE(tree.setDirectory(QStringLiteral("C:\\Backups\\Juni")), 0);
        QCOMPARE(platform::removeDirectoryTree(QStringLiteral("C:\\Backups\\Juni")), 0);

        tree.rereadTree();

        QCOMPARE(rowsOf(tree), QStringList({"C:\\", "Backups"}));
        QCOMPARE(currentRowText(tree), QStringLiteral("Backups"));
    }

    void openingAVanishedDirectoryIsReported()
    {
        TestUser user;
        DirectoryListBox tree;
        QCOMPARE(platform::removeDirectoryTree(QStringLiteral("C:\\Daten")), 0);
        QSignalSpy changes(&tree, &DirectoryListBox::directoryChanged);

        tree.setCurrentRow(rowNamed(tree, "Daten"));
        QTest::keyClick(&tree, Qt::Key_Enter);

        QCOMPARE(user.events, QStringList({"error: C:\\Daten\n\rUngültiger Dateiname."}));
        QCOMPARE(tree.directory(), QStringLiteral("C:\\"));
        QCOMPARE(changes.count(), 0);
    }

private:
    std::unique_ptr<TestMachine> m_machine;
};

QTEST_MAIN(DirectoryListBoxTest)
#include "DirectoryListBoxTest.moc"
