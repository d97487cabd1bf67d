// Velko Save on the hard-disk image of a Windows 98 installation, as an emulator keeps it: a
// machine made by tools/machine-from-image, the restore cycle through velko-dos and the
// emergency disk, checked on the image with mtools and fsck.fat; and the images it refuses.
#include "controls/OpenFileDialog.h"
#include "platform/drives/Files.h"
#include "platform/shell/Shell.h"
#include "tests/app/ProgramFixture.h"
#include "tests/support/DemoPc.h"
#include "tests/support/DiskImages.h"
#include "tests/support/FileState.h"
#include "tests/support/FloppyImages.h"
#include "tests/support/HeadlessDos.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace platform;

Q_DECLARE_METATYPE(DiskFormat)

namespace {

const QStringList SystemFiles = demoSystemFiles();

// "::/WINDOWS/USER.DAT" for C:\WINDOWS\USER.DAT.
QString inImage(const QString &path)
{
    return QStringLiteral("::/") + path.mid(3).replace(u'\\', u'/');
}

// The demo PC's drive C: in a new image, and the machine tools/machine-from-image makes around
// it; the test's PC gets that machine's machine.ini.
class ImageMachine {
public:
    explicit ImageMachine(DiskFormat format)
    {
        image = m_folder.filePath(QStringLiteral("win98.img"));
        made = m_folder.filePath(QStringLiteral("machine"));
        makeDemoDiskImage(image, format);
        QProcess tool;
        tool.start(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/tools/machine-from-image"),
                   {QStringLiteral("--build-dir"), qEnvironmentVariable("VELKO_BUILD_DIR"), image, made});
        if (!tool.waitForFinished(120000) || tool.exitCode() != 0)
            qFatal("machine-from-image: %s", tool.readAllStandardError().constData());
        QFile ini(made + QStringLiteral("/machine.ini"));
        if (!ini.open(QIODevice::ReadOnly))
            qFatal("machine-from-image made no machine.ini");
        machineIni = QString::fromUtf8(ini.readAll());
    }

    QTemporaryDir m_folder;
    QString image;
    QString made;  // the machine folder the tool made
    QString machineIni;
};

void overwrite(const QString &path, const QByteArray &bytes)
{
    QCOMPARE(setFileAttributes(path, attr::Archive), 0);
    QCOMPARE(writeFile(path, bytes), 0);
}

void copyShippedPif(ProgramFixture &program, const QString &programDirectory)
{
    QFile pif(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/program/restore.pif"));
    QVERIFY(pif.open(QIODevice::ReadOnly));
    program.machine.writeFile(programDirectory + QStringLiteral("\\restore.pif"), pif.readAll());
}

}  // namespace

class DiskImageCycleTest : public QObject {
    Q_OBJECT

private slots:
    // What machine-from-image makes: C: on the image, the Windows directory from its MSDOS.SYS,
    // an empty floppy slot, the program on D:, and the image untouched.
    void machineAroundAnImage()
    {
        ImageMachine machine(DiskFormat::Fat32);
        QVERIFY2(machine.machineIni.contains(QStringLiteral("C=disk,") + QFileInfo(machine.image).canonicalFilePath()),
                 qPrintable(machine.machineIni));
        QVERIFY(machine.machineIni.contains(QStringLiteral("Directory=C:\\WINDOWS\n")));
        QVERIFY(machine.machineIni.contains(QStringLiteral("A=floppy,floppy-a.img\n")));
        QVERIFY(!QFileInfo::exists(machine.made + QStringLiteral("/floppy-a.img")));
        for (const char *file : {"Orvel.exe", "velko-dos", "Orvel.hlp", "restore.pif", "liesmich.txt"})
            QVERIFY2(QFileInfo::exists(machine.made + QStringLiteral("/drive_d/Velko Save/") + QLatin1String(file)), file);
        const QString root = mtoolsOnDisk(QStringLiteral("mdir"), machine.image, {QStringLiteral("-b"), QStringLiteral("::/")});
        QVERIFY2(!root.contains(QStringLiteral("Programme/Velko")), qPrintable(root));
        QVERIFY(partitionProblems(machine.image).isEmpty());
    }

    // --install-on-c puts the program into C:\Programme\Velko Save in the image, with a host copy
    // and its launcher beside machine.ini; an image without room for it is left as it was.
    void installOnC_data()
    {
        QTest::addColumn<QString>("megabytes");
        QTest::addColumn<bool>("fits");
        QTest::newRow("room for the program") << "512" << true;
        QTest::newRow("too small") << "64" << false;
    }
    void installOnC()
    {
        QFETCH(QString, megabytes);
        QFETCH(bool, fits);
        QTemporaryDir folder;
        const QString image = folder.filePath(QStringLiteral("win98.img"));
        QProcess make;
        make.start(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/tools/disk-image-from-folder"),
                   {QStringLiteral("--size"), megabytes,
                    qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/demo-pc/drive_c"), image});
        QVERIFY(make.waitForFinished(120000));
        QCOMPARE(make.exitCode(), 0);
        if (!fits) {
            // 60 of its 62 free MiB taken: no build of the program fits, with or without debug
            // information.
            QFile filler(folder.filePath(QStringLiteral("filler.bin")));
            QVERIFY(filler.open(QIODevice::WriteOnly) && filler.resize(qint64(60) << 20));
            filler.close();
            mtoolsOnDisk(QStringLiteral("mcopy"), image, {filler.fileName(), QStringLiteral("::/FILLER.BIN")});
        }
        QFile original(image);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray before = original.readAll();
        original.close();

        const QString made = folder.filePath(QStringLiteral("machine"));
        QProcess tool;
        tool.start(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/tools/machine-from-image"),
                   {QStringLiteral("--install-on-c"), QStringLiteral("--build-dir"),
                    qEnvironmentVariable("VELKO_BUILD_DIR"), image, made});
        QVERIFY(tool.waitForFinished(300000));
        const QString errors = QString::fromUtf8(tool.readAllStandardError());
        if (!fits) {
            QCOMPARE(tool.exitCode(), 1);
            QVERIFY2(errors.contains(QStringLiteral("nothing was written into it")), qPrintable(errors));
            QVERIFY(!QFileInfo::exists(made));
            QVERIFY(original.open(QIODevice::ReadOnly));
            QVERIFY(original.readAll() == before);
            return;
        }
        QVERIFY2(tool.exitCode() == 0, qPrintable(errors));
        const QString installed = mtoolsOnDisk(QStringLiteral("mdir"), image,
                                               {QStringLiteral("-b"), QStringLiteral("::/Programme/Velko Save")});
        for (const char *file : {"Orvel.exe", "velko-dos", "Orvel.hlp", "restore.pif"})
            QVERIFY2(installed.contains(QStringLiteral("/Programme/Velko Save/") + QLatin1String(file)), file);
        QVERIFY(QFileInfo(made + QStringLiteral("/start-velko-save")).isExecutable());
        QVERIFY(QFileInfo(made + QStringLiteral("/velko-save-host/Orvel.exe")).isExecutable());
        QVERIFY(QDir(made + QStringLiteral("/drive_d")).isEmpty());
        const QString problems = partitionProblems(image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The Windows directory comes from the image's MSDOS.SYS, as Windows 98 finds it there.
    void windowsDirectoryFromMsdosSys_data()
    {
        QTest::addColumn<QByteArray>("msdosSys");  // empty: no MSDOS.SYS
        QTest::addColumn<QString>("directory");
        QTest::newRow("WinDir in [Paths]") << QByteArray("[Paths]\r\nWinDir=C:\\WIN98\r\nWinBootDir=C:\\WIN98\r\n")
                                           << "C:\\WIN98";
        QTest::newRow("section and key in other case, blanks")
            << QByteArray("[Options]\r\nWinDir=C:\\FALSCH\r\n[paths]\r\nwindir = C:\\Windows\r\n") << "C:\\Windows";
        QTest::newRow("no WinDir") << QByteArray("[Options]\r\nBootGUI=1\r\n") << "C:\\WINDOWS";
        QTest::newRow("no MSDOS.SYS") << QByteArray() << "C:\\WINDOWS";
    }
    void windowsDirectoryFromMsdosSys()
    {
        QFETCH(QByteArray, msdosSys);
        QFETCH(QString, directory);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("drive_c")));
        if (!msdosSys.isEmpty()) {
            QFile file(folder.filePath(QStringLiteral("drive_c/MSDOS.SYS")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(msdosSys), msdosSys.size());
        }
        const QString image = folder.filePath(QStringLiteral("win98.img"));
        makeDiskImage(folder.filePath(QStringLiteral("drive_c")), image, DiskFormat::Fat16);
        const QString made = folder.filePath(QStringLiteral("machine"));
        QProcess tool;
        tool.start(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/tools/machine-from-image"),
                   {QStringLiteral("--build-dir"), qEnvironmentVariable("VELKO_BUILD_DIR"), image, made});
        QVERIFY(tool.waitForFinished(120000));
        QCOMPARE(tool.exitCode(), 0);
        QFile ini(made + QStringLiteral("/machine.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(ini.readAll()).contains(QStringLiteral("\nDirectory=") + directory + u'\n'),
                 qPrintable(directory));
    }

    // Backup, Windows broken (two files spoilt, IO.SYS deleted inside the image), the restore in
    // MS-DOS mode: every file back byte for byte with the attributes mattrib shows, and a
    // volume fsck.fat finds nothing wrong with.
    void restoreCycle_data()
    {
        QTest::addColumn<DiskFormat>("format");
        QTest::addColumn<QString>("programDirectory");
        QTest::newRow("FAT32, program and backup on the host drive D:") << DiskFormat::Fat32 << "D:\\Velko Save";
        QTest::newRow("FAT16, program and backup inside the image")
            << DiskFormat::Fat16 << "C:\\Programme\\Velko Save";
    }
    void restoreCycle()
    {
        QFETCH(DiskFormat, format);
        QFETCH(QString, programDirectory);
        ImageMachine made(format);
        ProgramFixture program(programDirectory, made.machineIni);
        copyShippedPif(program, programDirectory);
        TForm1 &form = program.start();
        controls::OpenFileDialog::setNextSelection({LongUmlautName});
        form.BitBtn2Click();
        form.BitBtn1Click();
        const QString backups = programDirectory + QStringLiteral("\\Backups");
        QVERIFY2(fileExists(backups + QStringLiteral("\\Restore.bat")), qPrintable(program.user.events.join(u'\n')));

        const QStringList saved = SystemFiles + QStringList{LongUmlautName};
        QHash<QString, FileState> before;
        QHash<QString, QString> attributesBefore;
        for (const QString &path : saved) {
            before.insert(path, stateOf(path));
            attributesBefore.insert(path, mattribOf(made.image, inImage(path)));
        }
        QCOMPARE(attributesBefore[QStringLiteral("C:\\IO.SYS")], QStringLiteral("SHR"));

        overwrite(QStringLiteral("C:\\WINDOWS\\SYSTEM.INI"), "[boot]\r\nkaputt\r\n");
        overwrite(QStringLiteral("C:\\WINDOWS\\USER.DAT"), "verdorben");
        overwrite(LongUmlautName, "");
        QCOMPARE(setFileAttributes(QStringLiteral("C:\\IO.SYS"), attr::Archive), 0);
        QCOMPARE(deleteFile(QStringLiteral("C:\\IO.SYS")), 0);
        QVERIFY(!mtoolsOnDisk(QStringLiteral("mdir"), made.image, {QStringLiteral("-a"), QStringLiteral("::/")})
                     .contains(QStringLiteral("IO       SYS")));

        program.user.events.clear();
        pressInDialogs({QStringLiteral("BitBtn1")}, [&form] { form.Button7Click(); });
        const QString script = backups + QStringLiteral("\\restore.bat");
        QCOMPARE(program.user.events.join(u"\n"), QStringLiteral("open: ") + script);
        const QString autostart =
            runDosHeadless(program.machine.folder(), QStringLiteral(" "), {QStringLiteral("--msdos-mode"), script});
        QVERIFY2(autostart.contains(QStringLiteral("AUTOSTART ")), qPrintable(autostart));

        for (const QString &path : saved) {
            QVERIFY2(stateOf(path) == before[path], qPrintable(path));
            QCOMPARE(mattribOf(made.image, inImage(path)), attributesBefore[path]);
        }
        const QString problems = partitionProblems(made.image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The emergency disk made on an image machine (SYS and the Notfall copies read from the
    // image) boots the PC and puts the system files back into the image.
    void emergencyDiskCycle()
    {
        ImageMachine made(DiskFormat::Fat32);
        ProgramFixture program(QStringLiteral("D:\\Velko Save"), made.machineIni);
        insertFormattedDisk(program.machine, u'A', QString(), true);
        TForm1 &form = program.start();
        const QString systemIni = QStringLiteral("C:\\WINDOWS\\SYSTEM.INI");
        const QString ioSys = QStringLiteral("C:\\IO.SYS");
        const FileState systemIniBefore = stateOf(systemIni);
        const FileState ioSysBefore = stateOf(ioSys);

        program.user.events.clear();
        // The program lies on D:; the PC starts from C:, the image, which shows its own label.
        QString bootDrive;
        pressInDialogs({QStringLiteral("Button3"), QStringLiteral("BitBtn1")},
                       [&form] { form.Notfalldisketteanfertigen1Click(); }, u'C', &bootDrive);
        QCOMPARE(bootDrive, QStringLiteral("C: [WIN98]"));
        QVERIFY2(program.user.events.join(u'\n').startsWith(QStringLiteral("message: Die Notfalldiskette wurde soeben erstellt")),
                 qPrintable(program.user.events.join(u'\n')));
        QVERIFY(fileSystemIsSound(floppyImage(program.machine, u'A')));
        QCOMPARE(readFile(QStringLiteral("A:\\IO.SYS")).value, ioSysBefore.bytes);

        QCOMPARE(writeFile(systemIni, "[boot]\r\nkaputt\r\n"), 0);
        QCOMPARE(setFileAttributes(ioSys, attr::Archive), 0);
        QCOMPARE(deleteFile(ioSys), 0);
        const QString screen =
            runDosHeadless(program.machine.folder(), QStringLiteral(" "), {QStringLiteral("--boot-floppy")});
        QVERIFY2(screen.contains(QStringLiteral("Velko Restore wurde ausgefuehrt")), qPrintable(screen));
        QVERIFY(stateOf(systemIni).bytes == systemIniBefore.bytes);
        QVERIFY2(stateOf(ioSys).bytes == ioSysBefore.bytes, qPrintable(screen));
        const quint8 system = attr::ReadOnly | attr::Hidden | attr::System;
        QCOMPARE(stateOf(ioSys).attributes & system, system);
        const QString problems = partitionProblems(made.image);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The program refuses to start on an image it cannot serve: a German message naming the
    // file, exit code 2, and neither the image nor the machine folder written.
    void refusedImages_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("dynamic VHD") << "dynamic-vhd" << "ist ein dynamisch wachsendes VHD-Abbild";
        QTest::newRow("qcow2") << "qcow2" << "ist ein QCOW2-Abbild (QEMU)";
        QTest::newRow("no FAT partition") << "linux" << "enthält keine primäre FAT-Partition";
        QTest::newRow("locked by a running emulator") << "locked" << "von einem anderen Programm gesperrt";
        QTest::newRow("truncated") << "truncated" << "ist abgeschnitten";
    }
    void refusedImages()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir machine;
        const QString image = machine.filePath(QStringLiteral("win98.img"));
        makeDemoDiskImage(image, DiskFormat::Fat16);
        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadWrite));
        if (kind == u"dynamic-vhd" || kind == u"qcow2") {
            QByteArray header(512, '\0');
            header.replace(0, 8, kind == u"qcow2" ? QByteArray("QFI\xFB\0\0\0\3", 8) : QByteArray("conectix"));
            qToBigEndian<quint32>(3, header.data() + 60);
            QVERIFY(file.resize(64 * 1024));
            QVERIFY(file.seek(0));
            QCOMPARE(file.write(header), 512);
        }
        if (kind == u"linux") {
            QVERIFY(file.seek(446 + 4));
            QCOMPARE(file.write("\x83", 1), 1);
        }
        if (kind == u"truncated")
            QVERIFY(file.resize(file.size() / 2));
        file.close();
        QFile ini(machine.filePath(QStringLiteral("machine.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(diskImageIni(QStringLiteral("win98.img")).toUtf8());
        ini.close();
        QVERIFY(QDir(machine.path()).mkdir(QStringLiteral("drive_d")));
        QFile original(image);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray bytesBefore = original.readAll();
        original.close();

        const int holder = ::open(QFile::encodeName(image).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(holder >= 0);
        if (kind == u"locked")
            QCOMPARE(::flock(holder, LOCK_EX), 0);
        QProcess orvel;
        orvel.setWorkingDirectory(machine.filePath(QStringLiteral("drive_d")));
        orvel.start(qEnvironmentVariable("VELKO_PROGRAM"), {});
        QVERIFY(orvel.waitForFinished(60000));
        ::close(holder);
        QCOMPARE(orvel.exitCode(), 2);
        const QString errors = QString::fromUtf8(orvel.readAllStandardError());
        QVERIFY2(errors.contains(QStringLiteral("Laufwerk C: ")) && errors.contains(message), qPrintable(errors));
        QVERIFY2(errors.contains(u'\u201E' + QFileInfo(image).canonicalFilePath() + u'\u201C'), qPrintable(errors));
        if (kind == u"dynamic-vhd" || kind == u"qcow2")
            QVERIFY(errors.contains(QStringLiteral("qemu-img convert -O raw")));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QVERIFY(original.readAll() == bytesBefore);
        QCOMPARE(QDir(machine.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList({QStringLiteral("drive_d"), QStringLiteral("machine.ini"), QStringLiteral("win98.img")}));
        QVERIFY(QDir(machine.filePath(QStringLiteral("drive_d"))).isEmpty());
    }
};

QTEST_MAIN(DiskImageCycleTest)
#include "DiskImageCycleTest.moc"
