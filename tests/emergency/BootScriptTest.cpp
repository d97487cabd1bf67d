// The floppy's Autoexec.bat, byte for byte, as the script step writes it.
#include "emergency/core/BootScript.h"
#include "platform/drives/Files.h"
#include "platform/machine/Clock.h"
#include "tests/support/TestMachine.h"

#include <QtTest>

namespace {

// Boot drive C:, ScanDisk present, the program in C:\Programme\Velko Save. Written out byte by
// byte on purpose: this is what MS-DOS reads.
const QByteArray UsualScript =
    "echo off\r\n"
    "Path C:\\WINDOWS\\Command\r\n"
    "cls\r\n"
    "echo *****************************************************************\r\n"
    "echo *      VELKO RESTORE - Wiederherstellung von Systemdateien      *\r\n"
    "echo *                      NOTFALLDISKETTE                          *\r\n"
    "echo *       Sicherungskopien vom 10.12.26;  Uhrzeit:07:05:09        *\r\n"
    "echo *****************************************************************\r\n"
    "echo *   DIESES PROGRAMM DARF NICHT UNTER WINDOWS IN EINER MS-DOS-   *\r\n"
    "echo *                    BOX AUSGEFUEHRT WERDEN !                   *\r\n"
    "echo *            Die Benutzung erfolgt auf eigene Gefahr !          *\r\n"
    "echo *****************************************************************\r\n"
    "echo *     Zu Beginn wird Microsoft Scandisk ausgefuehrt, um das     *\r\n"
    "echo *     Rootlaufwerk auf Fehler zu pruefen.                       *\r\n"
    "echo *****************************************************************\r\n"
    "echo *         ABBRUCH DIESES PROGRAMMS JETZT MIT \"STRG+C\" !         *\r\n"
    "echo *****************************************************************\r\n"
    "echo.\r\n"
    "pause\r\n"
    "scandisk.exe C: /AUTOFIX /NOSUMMARY\r\n"
    "cls\r\n"
    "echo kopieren der Systemdateien ...\r\n"
    "echo.\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\autoexec.bat copy "
    "C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\autoexec.bat C:\\ /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\autoexec.bat echo Autoexec.bat bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\autoexec.bat echo ---\r\n"
    "\r\n"
    "if exist C:\\command.com attrib -r -h -s C:\\command.com\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\command.com copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\command.com "
    "C:\\ /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\command.com echo Command.com bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\command.com echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\config.sys copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\config.sys "
    "C:\\ /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\config.sys echo Config.sys bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\config.sys echo ---\r\n"
    "\r\n"
    "if exist C:\\io.sys attrib -r -h -s C:\\io.sys\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\io.sys copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\io.sys C:\\ "
    "/V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\io.sys attrib +r +h +s C:\\io.sys\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\io.sys echo Io.sys bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\io.sys echo ---\r\n"
    "\r\n"
    "if exist C:\\msdos.sys attrib -r -h -s C:\\msdos.sys\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\msdos.sys copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\msdos.sys "
    "C:\\ /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\msdos.sys attrib +r +h +s C:\\msdos.sys\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\msdos.sys echo Msdos.sys bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\msdos.sys echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\protocol.ini copy "
    "C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\protocol.ini C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\protocol.ini echo Protocol.ini bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\protocol.ini echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\control.ini copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\control.ini "
    "C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\control.ini echo Control.ini bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\control.ini echo ---\r\n"
    "\r\n"
    "if exist C:\\WINDOWS\\system.dat attrib -r -h -s C:\\WINDOWS\\system.dat\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.dat copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.dat "
    "C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.dat attrib +r +h +s C:\\WINDOWS\\system.dat\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.dat echo System.dat bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.dat echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.ini copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.ini "
    "C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.ini echo System.ini bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\system.ini echo ---\r\n"
    "\r\n"
    "if exist C:\\WINDOWS\\user.dat attrib -r -h -s C:\\WINDOWS\\user.dat\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\user.dat copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\user.dat "
    "C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\user.dat attrib +r +h +s C:\\WINDOWS\\user.dat\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\user.dat echo User.dat bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\user.dat echo ---\r\n"
    "\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\win.ini copy C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\win.ini "
    "C:\\WINDOWS /V\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\win.ini echo Win.ini bearbeitet !\r\n"
    "if exist C:\\PROGRA~1\\VELKOS~1\\NOTFALL\\win.ini echo ---\r\n"
    "\r\n"
    "echo.\r\n"
    "echo ... Velko Restore wurde ausgefuehrt !\r\n"
    "echo.\r\n"
    "echo ... Entnehmen sie nun die Notfalldiskette und starten sie den Rechner neu !\r\n"
    "echo.\r\n";

using Replacements = QList<QPair<QByteArray, QByteArray>>;

QByteArray replaced(QByteArray bytes, const Replacements &replacements)
{
    for (const auto &[from, to] : replacements) {
        if (!bytes.contains(from))
            qFatal("BootScriptTest: the usual script has no %s", from.constData());
        bytes.replace(from, to);
    }
    return bytes;
}

}  // namespace

class BootScriptTest : public QObject {
    Q_OBJECT
private slots:
    void init() { platform::setFixedNow(QDateTime(QDate(2026, 12, 10), QTime(7, 5, 9))); }
    void cleanup() { platform::setFixedNow({}); }

    void scriptBytes_data();
    void scriptBytes();
    void secondRunReplacesTheScript();
    void unwritableFloppyIsReported();
};

void BootScriptTest::scriptBytes_data()
{
    QTest::addColumn<QString>("programDirectory");
    QTest::addColumn<QChar>("bootDrive");
    QTest::addColumn<bool>("scanDisk");
    QTest::addColumn<Replacements>("fromUsualScript");

    const QByteArray notfall = "C:\\PROGRA~1\\VELKOS~1\\NOTFALL";
    QTest::newRow("usual") << "C:\\Programme\\Velko Save" << QChar(u'C') << true << Replacements{};
    QTest::newRow("without ScanDisk")
        << "C:\\Programme\\Velko Save" << QChar(u'C') << false
        << Replacements{{"echo *     Zu Beginn wird Microsoft Scandisk ausgefuehrt, um das     *\r\n"
                         "echo *     Rootlaufwerk auf Fehler zu pruefen.                       *\r\n",
                         ""},
                        {"scandisk.exe C: /AUTOFIX /NOSUMMARY\r\n", ""}};
    // The five root files go back to D:, the Windows files still to C:\WINDOWS.
    QTest::newRow("boot drive D:") << "C:\\Programme\\Velko Save" << QChar(u'd') << true
                                   << Replacements{{"scandisk.exe C:", "scandisk.exe D:"},
                                                   {" C:\\ /V", " D:\\ /V"},
                                                   {"C:\\command.com", "D:\\command.com"},
                                                   {"C:\\io.sys", "D:\\io.sys"},
                                                   {"C:\\msdos.sys", "D:\\msdos.sys"}};
    QTest::newRow("program at a drive root")
        << "C:\\" << QChar(u'C') << true << Replacements{{notfall, "C:\\NOTFALL"}};
    // Ü is one byte in code page 850, as MS-DOS reads the name.
    QTest::newRow("umlaut in the program path") << "C:\\Programme\\Büro" << QChar(u'C') << true
                                                << Replacements{{notfall, "C:\\PROGRA~1\\B\x9aRO\\NOTFALL"}};
}

void BootScriptTest::scriptBytes()
{
    QFETCH(QString, programDirectory);
    QFETCH(QChar, bootDrive);
    QFETCH(bool, scanDisk);
    QFETCH(Replacements, fromUsualScript);
    TestMachine pc;
    pc.makeDirectory(programDirectory);
    if (scanDisk)
        pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\SCANDISK.EXE"),
                     "SCANDISK.EXE - stand-in for ...\r\n");

    // Drive D: stands in for the floppy; the script does not depend on the drive it lies on.
    emergency::writeBootScript(u'D', bootDrive, programDirectory, QStringLiteral("C:\\WINDOWS"));

    QVERIFY(platform::directoryExists(platform::withoutRootBackslash(programDirectory) + "\\Notfall"));
    QCOMPARE(pc.readFile(QStringLiteral("D:\\Autoexec.bat")), replaced(UsualScript, fromUsualScript));
}

void BootScriptTest::secondRunReplacesTheScript()
{
    TestMachine pc;
    pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
    pc.writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\SCANDISK.EXE"), "SCANDISK.EXE - stand-in for ...\r\n");
    pc.writeFile(QStringLiteral("D:\\AUTOEXEC.BAT"), QByteArray(5000, 'x'));
    emergency::writeBootScript(u'D', u'C', QStringLiteral("C:\\Programme\\Velko Save"),
                               QStringLiteral("C:\\WINDOWS"));
    platform::setFixedNow(QDateTime(QDate(2026, 12, 11), QTime(18, 30, 0)));
    emergency::writeBootScript(u'D', u'C', QStringLiteral("C:\\Programme\\Velko Save"),
                               QStringLiteral("C:\\WINDOWS"));

    QCOMPARE(pc.readFile(QStringLiteral("D:\\Autoexec.bat")),
             replaced(UsualScript, {{"vom 10.12.26;  Uhrzeit:07:05:09", "vom 11.12.26;  Uhrzeit:18:30:00"}}));
}

void BootScriptTest::unwritableFloppyIsReported()
{
    TestMachine pc;  // A: has no disk
    try {
        emergency::writeBootScript(u'A', u'C', QStringLiteral("C:\\Programme"),
                                   QStringLiteral("C:\\WINDOWS"));
        QFAIL("writing onto an empty drive was reported as success");
    } catch (const platform::IoError &error) {
        QCOMPARE(error.code(), platform::dos::NotReady);
        QCOMPARE(error.path(), QStringLiteral("A:\\Autoexec.bat"));
    }
}

QTEST_GUILESS_MAIN(BootScriptTest)
#include "BootScriptTest.moc"
