#include "controls/DriveComboBox.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QSignalSpy>
#include <QTest>

using controls::DriveComboBox;

namespace {

QString lettersSeen(const QSignalSpy &spy)
{
    QString letters;
    for (const QList<QVariant> &call : spy)
        letters += call.at(0).toChar();
    return letters;
}

}  // namespace

class DriveComboBoxTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheMachinesDrivesAndStartsOnTheCurrentOne()
    {
        TestMachine machine;
        QCOMPARE(platform::setCurrentDirectory(QStringLiteral("D:\\")), 0);
        DriveComboBox box;

        QStringList items;
        for (int i = 0; i < box.count(); ++i)
            items << box.itemText(i);
        QCOMPARE(items, QStringList({"A:", "C:", "D:", "E:", "F:"}));
        QCOMPARE(box.drive(), QChar(u'D'));
        QCOMPARE(box.currentText(), QStringLiteral("D:"));
        for (int i = 0; i < box.count(); ++i)
            QVERIFY(!box.itemIcon(i).isNull());
    }

    // The boot-drive picker's way: a drive with a volume label shows it in brackets, all in upper
    // case. A floppy's label lies on the disk, which the list does not read: its letter alone.
    void volumeNamesInUpperCase()
    {
        TestMachine machine(QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n"
                                           "A=floppy,floppy-a.img\nC=fixed,drive_c\nD=fixed,drive_d\n"
                                           "F=cdrom,cd-f\n[Labels]\nC=Win98\nD=Daten 2\nF=cd\n"));
        DriveComboBox box(DriveComboBox::Text::LettersAndVolumeNames);
        DriveComboBox plain;

        QStringList items;
        QStringList plainItems;
        for (int i = 0; i < box.count(); ++i) {
            items << box.itemText(i);
            plainItems << plain.itemText(i);
        }
        QCOMPARE(items, QStringList({"A:", "C: [WIN98]", "D: [DATEN 2]", "F: [CD]"}));
        QCOMPARE(plainItems, QStringList({"A:", "C:", "D:", "F:"}));
        box.setDrive(u'D');
        QCOMPARE(box.drive(), QChar(u'D'));
    }

    void setDriveAnnouncesOnlyRealChanges_data()
    {
        QTest::addColumn<QChar>("letter");
        QTest::addColumn<QChar>("shown");
        QTest::addColumn<QString>("announced");
        QTest::newRow("other drive") << QChar(u'F') << QChar(u'F') << "F";
        QTest::newRow("lower-case letter") << QChar(u'd') << QChar(u'D') << "D";
        QTest::newRow("same drive") << QChar(u'C') << QChar(u'C') << "";
        QTest::newRow("unlisted drive") << QChar(u'B') << QChar(u'C') << "";
    }

    void setDriveAnnouncesOnlyRealChanges()
    {
        QFETCH(QChar, letter);
        QFETCH(QChar, shown);
        QFETCH(QString, announced);
        TestMachine machine;
        DriveComboBox box;
        QSignalSpy changes(&box, &DriveComboBox::driveChanged);

        box.setDrive(letter);

        QCOMPARE(box.drive(), shown);
        QCOMPARE(lettersSeen(changes), announced);
    }

    void userChoiceIsAnnounced()
    {
        TestMachine machine;
        DriveComboBox box;
        QSignalSpy changes(&box, &DriveComboBox::driveChanged);

        QTest::keyClick(&box, Qt::Key_Down);

        QCOMPARE(box.drive(), QChar(u'D'));
        QCOMPARE(lettersSeen(changes), QStringLiteral("D"));
    }

    // The main window's handler sends the box back to another drive while handling a change.
    void handlerMaySetTheDriveAgain()
    {
        TestMachine machine;
        DriveComboBox box;
        QSignalSpy changes(&box, &DriveComboBox::driveChanged);
        QString handled;
        connect(&box, &DriveComboBox::driveChanged, &box, [&](QChar letter) {
            handled += letter;
            if (letter == u'A')
                box.setDrive(u'E');
            else if (letter == u'E')
                box.setDrive(u'C');
        });

        box.setDrive(u'A');

        QCOMPARE(box.drive(), QChar(u'C'));
        QCOMPARE(box.currentText(), QStringLiteral("C:"));
        QCOMPARE(handled, QStringLiteral("AEC"));
        QCOMPARE(lettersSeen(changes), QStringLiteral("AEC"));
    }
};

QTEST_MAIN(DriveComboBoxTest)
#include "DriveComboBoxTest.moc"
