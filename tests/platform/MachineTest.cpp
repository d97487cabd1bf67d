#include "platform/machine/Machine.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using platform::DriveKind;
using platform::Machine;

class MachineTest : public QObject {
    Q_OBJECT

private:
    static void writeIni(const QString &folder, const QString &text)
    {
        QFile ini(folder + QStringLiteral("/machine.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(text.toUtf8());
    }

private slots:
    void readsDrivesAndWindowsDirectory()
    {
        TestMachine pc;
        const Machine &machine = platform::machine();
        QCOMPARE(machine.windowsDirectory(), QStringLiteral("C:\\WINDOWS"));
        QCOMPARE(machine.folder(), QDir(pc.folder()).absolutePath());

        QString letters;
        for (const platform::Drive &drive : machine.drives())
            letters += drive.letter;
        QCOMPARE(letters, QStringLiteral("ACDEF"));

        const platform::Drive *a = machine.drive(u'a');
        QVERIFY(a);
        QCOMPARE(a->kind, DriveKind::Floppy);
        QCOMPARE(a->hostPath, pc.folder() + QStringLiteral("/floppy-a.img"));
        QVERIFY(!a->writeProtected);
        QCOMPARE(machine.drive(u'C')->hostPath, pc.folder() + QStringLiteral("/drive_c"));
        QVERIFY(!machine.drive(u'C')->writeProtected);
        QVERIFY(machine.drive(u'E')->hostPath.isEmpty());
        QVERIFY(machine.drive(u'F')->writeProtected);
        QCOMPARE(machine.drive(u'F')->kind, DriveKind::CdRom);
        QVERIFY(!machine.drive(u'G'));
    }

    void readonlyFloppyAndAbsoluteFolder()
    {
        QTemporaryDir elsewhere;
        TestMachine pc(QStringLiteral("; a comment\n"
                                      "[windows]\r\n"
                                      "directory = D:\\WIN98\\\r\n"
                                      "[Drives]\n"
                                      "b = floppy , b.img , readonly\n"
                                      "D=fixed,%1\n")
                           .arg(elsewhere.path()));
        const Machine &machine = platform::machine();
        QCOMPARE(machine.windowsDirectory(), QStringLiteral("D:\\WIN98"));
        QVERIFY(machine.drive(u'B')->writeProtected);
        QCOMPARE(machine.drive(u'D')->hostPath, QDir::cleanPath(elsewhere.path()));
    }

    // A hard disk's or CD's volume label; a floppy carries its own on the disk.
    void volumeLabels()
    {
        TestMachine pc(QStringLiteral("[Labels]\nc = Win98\nF=TREIBER-CD\n"
                                      "[Windows]\nDirectory=C:\\WINDOWS\n"
                                      "[Drives]\nA=floppy,floppy-a.img\nC=fixed,drive_c\n"
                                      "D=fixed,drive_d\nF=cdrom,cd-f\n"));
        const Machine &machine = platform::machine();
        QCOMPARE(machine.drive(u'C')->label, QStringLiteral("Win98"));
        QCOMPARE(machine.drive(u'F')->label, QStringLiteral("TREIBER-CD"));
        QVERIFY(machine.drive(u'D')->label.isEmpty());
        QVERIFY(machine.drive(u'A')->label.isEmpty());
    }

    void refusesMalformedFiles_data()
    {
        QTest::addColumn<QString>("ini");
        const QString windows = QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n");
        QTest::newRow("no Windows directory") << QStringLiteral("[Drives]\nC=fixed,c\n");
        QTest::newRow("relative Windows directory")
            << QStringLiteral("[Windows]\nDirectory=WINDOWS\n[Drives]\nC=fixed,c\n");
        QTest::newRow("unknown kind") << windows + QStringLiteral("C=harddisk,c\n");
        QTest::newRow("floppy on C") << windows + QStringLiteral("C=floppy,c.img\n");
        QTest::newRow("readonly fixed drive") << windows + QStringLiteral("C=fixed,c,readonly\n");
        QTest::newRow("fixed without folder") << windows + QStringLiteral("C=fixed\n");
        QTest::newRow("letter listed twice") << windows + QStringLiteral("C=fixed,c\nc=fixed,d\n");
        QTest::newRow("no letter") << windows + QStringLiteral("CD=fixed,c\n");
        QTest::newRow("line without =") << windows + QStringLiteral("C fixed c\n");
        QTest::newRow("open header") << QStringLiteral("[Windows\nDirectory=C:\\WINDOWS\n");
        QTest::newRow("label of an unlisted drive")
            << windows + QStringLiteral("C=fixed,c\n[Labels]\nD=DATEN\n");
        QTest::newRow("label of a floppy drive")
            << windows + QStringLiteral("A=floppy,a.img\nC=fixed,c\n[Labels]\nA=NOTFALL\n");
        QTest::newRow("label of 12 characters")
            << windows + QStringLiteral("C=fixed,c\n[Labels]\nC=ZWOELFZEICHN\n");
    }

    void refusesMalformedFiles()
    {
        QFETCH(QString, ini);
        QTemporaryDir folder;
        writeIni(folder.path(), ini);
        QString error;
        QVERIFY(!Machine::load(folder.path(), &error));
        QVERIFY(!error.isEmpty());
    }

    // The message names the line at fault as an editor counts it, whatever ends the lines.
    void errorsNameTheLine_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<int>("line");
        const QString windows = QStringLiteral("[Windows]\r\nDirectory=C:\\WINDOWS\r\n[Drives]\r\n");
        QTest::newRow("line without =") << windows + QStringLiteral("C=fixed,c\r\nD fixed d\r\n") << 5;
        QTest::newRow("open header") << QStringLiteral("; Kopf\n[Windows\nDirectory=C:\\WINDOWS\n") << 2;
        QTest::newRow("letter listed twice")
            << windows + QStringLiteral("C=fixed,c\r\n\r\nc=fixed,d\r\n") << 6;
        QTest::newRow("label of a floppy drive")
            << windows + QStringLiteral("A=floppy,a.img\r\n[Labels]\r\nA=NOTFALL\r\n") << 6;
        QTest::newRow("labels before the drives")
            << QStringLiteral("[Labels]\nC=DATEN\n[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nD=fixed,d\n")
            << 2;
    }

    void errorsNameTheLine()
    {
        QFETCH(QString, ini);
        QFETCH(int, line);
        QTemporaryDir folder;
        writeIni(folder.path(), ini);
        QString error;
        QVERIFY(!Machine::load(folder.path(), &error));
        QVERIFY2(error.contains(QStringLiteral("machine.ini, line %1: ").arg(line)), qPrintable(error));
    }

    // A section listed twice counts with all its lines; a UTF-8 mark before the text is no text.
    void drivesSectionMayRecur()
    {
        TestMachine pc(QStringLiteral("\uFEFF[Drives]\nC=fixed,drive_c\n[Windows]\nDirectory=C:\\WINDOWS\n"
                                      "[drives]\nD=fixed,drive_d\n"));
        QVERIFY(platform::machine().drive(u'C'));
        QVERIFY(platform::machine().drive(u'D'));
    }

    void missingIniIsAnError()
    {
        QTemporaryDir folder;
        QString error;
        QVERIFY(!Machine::load(folder.path(), &error));
        QVERIFY(error.contains(QStringLiteral("machine.ini")));
    }

    void findFolderWalksUp()
    {
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkpath(QStringLiteral("pc/drive_c/Programme/Velko Save")));
        writeIni(top.path() + QStringLiteral("/pc"), QString());
        const QString pc = QDir::cleanPath(top.path() + QStringLiteral("/pc"));
        QCOMPARE(Machine::findFolder(pc + QStringLiteral("/drive_c/Programme/Velko Save")), pc);
        QCOMPARE(Machine::findFolder(pc), pc);
        QCOMPARE(Machine::findFolder(top.path()), QString());
    }

    void windowsPathOfHostPaths()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
        const Machine &machine = platform::machine();
        QCOMPARE(machine.windowsPathOf(pc.folder() + QStringLiteral("/drive_c/Programme/Velko Save")),
                 QStringLiteral("C:\\Programme\\Velko Save"));
        QCOMPARE(machine.windowsPathOf(pc.folder() + QStringLiteral("/drive_c")), QStringLiteral("C:\\"));
        QCOMPARE(machine.windowsPathOf(pc.folder() + QStringLiteral("/cd-f")), QStringLiteral("F:\\"));
        QCOMPARE(machine.windowsPathOf(pc.folder()), QString());
        QCOMPARE(machine.windowsPathOf(pc.folder() + QStringLiteral("/drive_c/Missing")), QString());
    }

    void startsInTheHostWorkingDirectory()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Velko"));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(pc.folder() + QStringLiteral("/drive_d/Velko")));
        QString error;
        platform::setMachine(Machine::load(pc.folder(), &error));
        const QString current = platform::currentDirectory();
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(current, QStringLiteral("D:\\Velko"));
    }

    void startsAtCWhenTheHostDirectoryIsElsewhere()
    {
        TestMachine pc;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(pc.folder()));
        QString error;
        platform::setMachine(Machine::load(pc.folder(), &error));
        const QString current = platform::currentDirectory();
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(current, QStringLiteral("C:\\"));
    }

    void machineIsReplaceable()
    {
        QVERIFY(!platform::hasMachine());
        {
            TestMachine pc;
            QVERIFY(platform::hasMachine());
        }
        QVERIFY(!platform::hasMachine());
    }
};

QTEST_GUILESS_MAIN(MachineTest)
#include "MachineTest.moc"
