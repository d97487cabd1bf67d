// The emergency disk from end to end on a demo PC: the wizard on a blank floppy, then Windows no
// longer starts, and the PC boots from the floppy, whose Autoexec.bat puts the system files back.
#include "platform/drives/Files.h"
#include "platform/drives/Floppy.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/DemoPc.h"
#include "tests/support/FileState.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/HeadlessDos.h"

#include <QtTest>

using namespace platform;

namespace {

const QString FinalMessage = QStringLiteral("message: Die Notfalldiskette wurde soeben erstellt . Nehmen\n\r"
                                            "sie sie jetzt aus dem Laufwerk und beschriften sie sie.");

}  // namespace

class EmergencyDiskCycleTest : public QObject {
    Q_OBJECT

private slots:
    void makeTheDiskBreakWindowsAndBootFromIt()
    {
        ProgramFixture program;
        seedDemoPc(program.machine);
        insertFormattedDisk(program.machine, u'A', QString(), true);
        TForm1 &form = program.start();

        const QString systemIni = QStringLiteral("C:\\WINDOWS\\SYSTEM.INI");
        const QString ioSys = QStringLiteral("C:\\IO.SYS");
        const FileState systemIniBefore = stateOf(systemIni);
        const FileState ioSysBefore = stateOf(ioSys);
        QCOMPARE(ioSysBefore.attributes, attr::ReadOnly | attr::Hidden | attr::System);

        program.user.events.clear();
        pressInDialogs({QStringLiteral("Button3"), QStringLiteral("BitBtn1")},
                       [&form] { form.Notfalldisketteanfertigen1Click(); });
        QCOMPARE(program.user.events.join(u'\n'), FinalMessage);

        // The disk: bootable, labelled, with its script, and nothing of what was on it before.
        QVERIFY(fileSystemIsSound(floppyImage(program.machine, u'A')));
        QCOMPARE(volumeLabel(u'A').value, QStringLiteral("NOTFALL"));
        const quint8 system = attr::ReadOnly | attr::Hidden | attr::System;
        QCOMPARE(fileAttributes(QStringLiteral("A:\\IO.SYS")).value & system, system);
        QCOMPARE(fileAttributes(QStringLiteral("A:\\MSDOS.SYS")).value & system, system);
        QVERIFY(fileExists(QStringLiteral("A:\\COMMAND.COM")));
        QVERIFY(fileExists(QStringLiteral("A:\\AUTOEXEC.BAT")));
        QVERIFY(!fileExists(QStringLiteral("A:\\ALT.TXT")));

        // Windows no longer starts.
        QCOMPARE(writeFile(systemIni, "[boot]\r\nkaputt\r\n"), 0);
        QCOMPARE(setFileAttributes(ioSys, attr::Archive), 0);
        QCOMPARE(deleteFile(ioSys), 0);

        // The PC started with the disk inserted; a key for the script's pause.
        const QString screen =
            runDosHeadless(program.machine.folder(), QStringLiteral(" "), {QStringLiteral("--boot-floppy")});
        QVERIFY2(screen.contains(QStringLiteral("Velko Restore wurde ausgefuehrt")), qPrintable(screen));
        QVERIFY(stateOf(systemIni).bytes == systemIniBefore.bytes);
        QVERIFY(stateOf(ioSys).bytes == ioSysBefore.bytes);
        QCOMPARE(stateOf(ioSys).attributes & system, system);
    }

    // Without SYS.COM the disk is formatted but cannot start the PC: the run says so.
    void withoutSysComTheDiskIsNotReportedAsMade()
    {
        ProgramFixture program;
        seedDemoPc(program.machine);
        QCOMPARE(deleteFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\SYS.COM")), 0);
        insertFormattedDisk(program.machine, u'A', QString(), true);
        TForm1 &form = program.start();

        program.user.events.clear();
        pressInDialogs({QStringLiteral("Button3"), QStringLiteral("BitBtn1")},
                       [&form] { form.Notfalldisketteanfertigen1Click(); });
        QCOMPARE(
            program.user.events,
            QStringList({"beep", "message: Die Notfalldiskette ist nicht startfähig !\n\rAuf der Diskette in "
                                 "Laufwerk A:\\ fehlen IO.SYS, MSDOS.SYS und COMMAND.COM.\n\rMit dieser "
                                 "Diskette kann der PC nicht gestartet werden.\n\rDas Formatieren oder die "
                                 "Systemübertragung ist fehlgeschlagen. Wiederholen sie den Vorgang, "
                                 "gegebenenfalls mit einer anderen Diskette."}));
        QCOMPARE(volumeLabel(u'A').value, QStringLiteral("NOTFALL"));
        QVERIFY(fileExists(QStringLiteral("A:\\AUTOEXEC.BAT")));

        const QString screen =
            runDosHeadless(program.machine.folder(), QStringLiteral(" "), {QStringLiteral("--boot-floppy")});
        QVERIFY2(screen.contains(QStringLiteral("Kein System oder Datenträgerfehler")), qPrintable(screen));
    }
};

QTEST_MAIN(EmergencyDiskCycleTest)
#include "EmergencyDiskCycleTest.moc"
