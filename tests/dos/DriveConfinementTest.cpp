// Symbolic links, devices and FIFOs in a drive folder: no file service and no MS-DOS command
// reaches, creates, changes or deletes a host file outside the drive, and none waits for good.
#include "platform/drives/Files.h"
#include "platform/files/FileMove.h"
#include "platform/files/FileStream.h"
#include "platform/files/Profile.h"
#include "tests/support/HeadlessDos.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace platform;

namespace {

const QByteArray OutsideContent("außerhalb des PCs\n");

void writeHost(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

void link(const QString &target, const QString &at)
{
    QVERIFY2(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0,
             qPrintable(at));
}

void makeFifo(const QString &at)
{
    QVERIFY2(::mkfifo(QFile::encodeName(at).constData(), 0666) == 0, qPrintable(at));
}

// Every entry below a host folder, links as links: kind, bytes and last-write time. In the machine
// folder itself the drives' folders change, so only their names count there.
QStringList snapshot(const QString &folder, bool wholeTree)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    wholeTree ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QString line = info.filePath();
        if (wholeTree || !info.isDir())
            line += u' ' + QString::number(info.lastModified().toMSecsSinceEpoch());
        if (info.isSymLink())
            line += QStringLiteral(" -> ") + info.symLinkTarget();
        else if (info.isFile()) {
            QFile file(info.filePath());
            if (file.open(QIODevice::ReadOnly))
                line += u' ' + QString::fromLatin1(file.readAll().toHex());
        }
        entries.append(line);
    }
    entries.sort();
    return entries;
}

}  // namespace

class DriveConfinementTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestMachine> m_pc;
    std::unique_ptr<QTemporaryDir> m_outside;
    QStringList m_outsideBefore;
    QStringList m_machineFolderBefore;

    QString outside(const QString &name = {}) const
    {
        return name.isEmpty() ? m_outside->path() : m_outside->filePath(name);
    }
    QString driveC(const QString &name) const { return m_pc->folder() + QStringLiteral("/drive_c/") + name; }
    // A relative link from the host folder `from` to `to`.
    static QString relative(const QString &from, const QString &to)
    {
        return QDir(from).relativeFilePath(to);
    }

    static int run(const QString &operation, const QString &path);

private slots:
    // Links at every level: a drive's subfolder, deeper in the path, the last name; absolute and
    // relative, up into the machine folder; a device, FIFOs inside and outside, and links that
    // stay inside the drive.
    void init()
    {
        m_pc.reset();  // one machine at a time
        m_pc = std::make_unique<TestMachine>();
        m_outside = std::make_unique<QTemporaryDir>();
        QVERIFY(m_outside->isValid());
        writeHost(outside(QStringLiteral("fremd.txt")), OutsideContent);
        writeHost(outside(QStringLiteral("y.txt")), OutsideContent);
        writeHost(outside(QStringLiteral("z.txt")), OutsideContent);
        QVERIFY(QDir(outside()).mkdir(QStringLiteral("Ordner")));
        writeHost(outside(QStringLiteral("Ordner/tief.txt")), OutsideContent);
        makeFifo(outside(QStringLiteral("pipe")));

        m_pc->writeFile(QStringLiteral("C:\\AUTOEXEC.BAT"), "@echo off\r\n");
        m_pc->writeFile(QStringLiteral("C:\\DATA\\A.TXT"), "alpha\r\n");
        m_pc->makeDirectory(QStringLiteral("C:\\DATA\\SUB"));
        m_pc->makeDirectory(QStringLiteral("C:\\WINDOWS\\COMMAND"));
        m_pc->writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\ATTRIB.EXE"),
                        "ATTRIB.EXE - stand-in for the attribute command.\r\n");
        m_pc->writeFile(QStringLiteral("C:\\WINDOWS\\COMMAND\\SCANDISK.EXE"),
                        "SCANDISK.EXE - stand-in for ScanDisk.\r\n");

        link(outside(), driveC(QStringLiteral("OUT")));
        link(relative(driveC(QStringLiteral("DATA")), outside()), driveC(QStringLiteral("DATA/REL")));
        link(relative(driveC(QStringLiteral("DATA/SUB")), outside(QStringLiteral("Ordner"))),
             driveC(QStringLiteral("DATA/SUB/TIEF")));
        link(QStringLiteral(".."), driveC(QStringLiteral("PC")));
        link(outside(QStringLiteral("fremd.txt")), driveC(QStringLiteral("FREMD.TXT")));
        link(relative(driveC(QStringLiteral("DATA")), outside(QStringLiteral("y.txt"))),
             driveC(QStringLiteral("DATA/REL.TXT")));
        link(QStringLiteral("/dev/zero"), driveC(QStringLiteral("ZERO.TXT")));
        link(outside(QStringLiteral("pipe")), driveC(QStringLiteral("ROHR.TXT")));
        makeFifo(driveC(QStringLiteral("PIPE.TXT")));
        link(QStringLiteral("DATA"), driveC(QStringLiteral("INNEN")));
        link(QStringLiteral("../AUTOEXEC.BAT"), driveC(QStringLiteral("DATA/HOCH.TXT")));

        m_outsideBefore = snapshot(outside(), true);
        m_machineFolderBefore = snapshot(m_pc->folder(), false);
    }

    void cleanup()
    {
        const QStringList outsideAfter = snapshot(outside(), true);
        const QStringList machineFolderAfter = snapshot(m_pc->folder(), false);
        m_pc.reset();
        m_outside.reset();
        QCOMPARE(outsideAfter, m_outsideBefore);
        QCOMPARE(machineFolderAfter, m_machineFolderBefore);
    }

    void servicesStayInside_data();
    void servicesStayInside();

    // What leads out of the drive is no file or folder of the PC; what stays inside is.
    void listingsShowWhatIsInsideOnly()
    {
        QCOMPARE(subdirectories(QStringLiteral("C:\\")).value,
                 (QStringList{QStringLiteral("DATA"), QStringLiteral("INNEN"), QStringLiteral("WINDOWS")}));
        QCOMPARE(files(QStringLiteral("C:\\")).value,
                 (QStringList{QStringLiteral("AUTOEXEC.BAT"), QStringLiteral("PIPE.TXT")}));
        QCOMPARE(subdirectories(QStringLiteral("C:\\DATA")).value, QStringList{QStringLiteral("SUB")});
        QCOMPARE(files(QStringLiteral("C:\\DATA")).value,
                 (QStringList{QStringLiteral("A.TXT"), QStringLiteral("HOCH.TXT")}));
        QCOMPARE(files(QStringLiteral("C:\\DATA\\SUB")).value, QStringList());
        QVERIFY(!directoryExists(QStringLiteral("C:\\OUT")));
        QVERIFY(!directoryExists(QStringLiteral("C:\\DATA\\SUB\\TIEF")));
        QVERIFY(!fileExists(QStringLiteral("C:\\FREMD.TXT")));
        QVERIFY(!fileExists(QStringLiteral("C:\\PC\\machine.ini")));
    }

    // Links that stay inside the drive are followed for reading and lead to the drive's files.
    void linksInsideAreFollowed()
    {
        QCOMPARE(readFile(QStringLiteral("C:\\INNEN\\A.TXT")).value, QByteArray("alpha\r\n"));
        QCOMPARE(readFile(QStringLiteral("C:\\DATA\\HOCH.TXT")).value, QByteArray("@echo off\r\n"));
        QCOMPARE(writeFile(QStringLiteral("C:\\INNEN\\B.TXT"), "beta"), dos::Ok);
        QCOMPARE(readFile(QStringLiteral("C:\\DATA\\B.TXT")).value, QByteArray("beta"));
        const auto host = hostPathOf(QStringLiteral("C:\\INNEN\\A.TXT"));
        QCOMPARE(host.error, dos::Ok);
        QCOMPARE(host.value, driveC(QStringLiteral("INNEN/A.TXT")));
    }

    void dosCommandsStayInside_data();
    void dosCommandsStayInside();
};

int DriveConfinementTest::run(const QString &operation, const QString &path)
{
    if (operation == u"write")
        return writeFile(path, "neu");
    if (operation == u"replace")
        return replaceFile(path, "neu");
    if (operation == u"empty")
        return createEmptyFile(path);
    if (operation == u"read")
        return readFile(path).error;
    if (operation == u"delete")
        return deleteFile(path);
    if (operation == u"attributes")
        return setFileAttributes(path, attr::ReadOnly);
    if (operation == u"copy to")
        return copyFile(QStringLiteral("C:\\AUTOEXEC.BAT"), path);
    if (operation == u"copy from")
        return copyFile(path, QStringLiteral("C:\\KOPIE.TXT"));
    if (operation == u"move to")
        return moveFileReplacing(QStringLiteral("C:\\AUTOEXEC.BAT"), path);
    if (operation == u"move from")
        return moveFileReplacing(path, QStringLiteral("C:\\KOPIE.TXT"));
    if (operation == u"make folder")
        return createDirectory(path);
    if (operation == u"make folders")
        return forceDirectories(path);
    if (operation == u"remove tree")
        return removeDirectoryTree(path);
    if (operation == u"profile")
        return writeProfileString(path, QStringLiteral("Pfad"), QStringLiteral("Pfad"),
                                  QStringLiteral("C:\\"));
    if (operation == u"stream in")
        return InputFile::open(path).error;
    if (operation == u"stream out") {
        auto output = OutputFile::create(path);
        if (!output.ok())
            return output.error;
        if (const int error = output.value.write("neu", 3))
            return error;
        return output.value.commit();
    }
    if (operation == u"host path")
        return hostPathOf(path).error;
    if (operation == u"temporary file")
        return createTempFile(path, QStringLiteral("~VS")).error;
    if (operation == u"attributes of")
        return fileAttributes(path).error;
    qFatal("unknown operation");
}

void DriveConfinementTest::servicesStayInside_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("expected");
    const int pathNotFound = dos::PathNotFound;
    const int fileNotFound = dos::FileNotFound;
    const int denied = dos::AccessDenied;
    // Through a link that is the drive's subfolder, deeper down, relative and up into the PC's folder.
    const QStringList throughLinks = {
        QStringLiteral("C:\\OUT\\fremd.txt"), QStringLiteral("C:\\DATA\\REL\\y.txt"),
        QStringLiteral("C:\\DATA\\SUB\\TIEF\\tief.txt"), QStringLiteral("C:\\PC\\machine.ini")};
    const QStringList operations = {
        QStringLiteral("write"),      QStringLiteral("replace"),   QStringLiteral("empty"),
        QStringLiteral("read"),       QStringLiteral("delete"),    QStringLiteral("attributes"),
        QStringLiteral("copy to"),    QStringLiteral("copy from"), QStringLiteral("move to"),
        QStringLiteral("move from"),  QStringLiteral("profile"),   QStringLiteral("stream in"),
        QStringLiteral("stream out"), QStringLiteral("host path"), QStringLiteral("attributes of")};
    for (const QString &path : throughLinks) {
        for (const QString &operation : operations)
            QTest::addRow("%s %s", qPrintable(operation), qPrintable(path))
                << operation << path << pathNotFound;
    }
    QTest::newRow("make folder in a linked folder") << "make folder"
                                                    << "C:\\OUT\\Neu" << pathNotFound;
    QTest::newRow("make folder deeper") << "make folder"
                                        << "C:\\DATA\\SUB\\TIEF\\Neu" << pathNotFound;
    QTest::newRow("make folders in a linked folder") << "make folders"
                                                     << "C:\\OUT\\Neu\\Tiefer" << denied;
    QTest::newRow("remove a linked folder") << "remove tree"
                                            << "C:\\OUT" << pathNotFound;
    QTest::newRow("remove a folder of the linked one") << "remove tree"
                                                       << "C:\\OUT\\Ordner" << pathNotFound;
    QTest::newRow("remove a tree that holds links") << "remove tree"
                                                    << "C:\\DATA" << int(dos::Ok);
    QTest::newRow("temporary file in a linked folder") << "temporary file"
                                                       << "C:\\OUT" << pathNotFound;

    // A link as the last name leads nowhere; a write puts a file of the PC in its place.
    for (const QString &file : {QStringLiteral("C:\\FREMD.TXT"), QStringLiteral("C:\\DATA\\REL.TXT"),
                                QStringLiteral("C:\\ZERO.TXT"), QStringLiteral("C:\\ROHR.TXT")}) {
        QTest::addRow("read %s", qPrintable(file)) << "read" << file << fileNotFound;
        QTest::addRow("stream in %s", qPrintable(file)) << "stream in" << file << fileNotFound;
        QTest::addRow("copy from %s", qPrintable(file)) << "copy from" << file << fileNotFound;
        QTest::addRow("delete %s", qPrintable(file)) << "delete" << file << fileNotFound;
        QTest::addRow("attributes %s", qPrintable(file)) << "attributes" << file << fileNotFound;
        QTest::addRow("host path %s", qPrintable(file)) << "host path" << file << fileNotFound;
        QTest::addRow("write %s", qPrintable(file)) << "write" << file << int(dos::Ok);
        QTest::addRow("copy to %s", qPrintable(file)) << "copy to" << file << int(dos::Ok);
        QTest::addRow("stream out %s", qPrintable(file)) << "stream out" << file << int(dos::Ok);
    }

    // A FIFO inside the drive is no file to read or write, and nothing waits for its other end.
    QTest::newRow("read a FIFO") << "read"
                                 << "C:\\PIPE.TXT" << denied;
    QTest::newRow("stream in a FIFO") << "stream in"
                                      << "C:\\PIPE.TXT" << denied;
    QTest::newRow("copy from a FIFO") << "copy from"
                                      << "C:\\PIPE.TXT" << denied;
    QTest::newRow("write a FIFO") << "write"
                                  << "C:\\PIPE.TXT" << denied;
    QTest::newRow("copy to a FIFO") << "copy to"
                                    << "C:\\PIPE.TXT" << denied;
    QTest::newRow("profile in a FIFO") << "profile"
                                       << "C:\\PIPE.TXT" << denied;
    QTest::newRow("host path of a FIFO") << "host path"
                                         << "C:\\PIPE.TXT" << denied;
}

void DriveConfinementTest::servicesStayInside()
{
    QFETCH(QString, operation);
    QFETCH(QString, path);
    QFETCH(int, expected);
    QCOMPARE(run(operation, path), expected);
    QVERIFY(!fileExists(QStringLiteral("C:\\KOPIE.TXT")));
}

void DriveConfinementTest::dosCommandsStayInside_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("expected");
    QTest::newRow("copy into a linked folder") << "copy C:\\AUTOEXEC.BAT C:\\OUT\\x.txt"
                                               << "Pfad nicht gefunden";
    QTest::newRow("copy deeper") << "copy C:\\AUTOEXEC.BAT C:\\DATA\\SUB\\TIEF\\x.txt"
                                 << "Pfad nicht gefunden";
    QTest::newRow("copy up into the PC folder") << "copy C:\\AUTOEXEC.BAT C:\\PC\\machine.ini"
                                                << "Pfad nicht gefunden";
    QTest::newRow("copy from outside") << "copy C:\\OUT\\fremd.txt C:\\KOPIE.TXT"
                                       << "Datei nicht gefunden";
    QTest::newRow("copy over a link") << "copy C:\\AUTOEXEC.BAT C:\\FREMD.TXT"
                                      << "1 Datei(en) kopiert";
    QTest::newRow("delete in a linked folder") << "del C:\\OUT\\y.txt"
                                               << "Datei nicht gefunden";
    QTest::newRow("delete relative") << "del C:\\DATA\\REL\\y.txt"
                                     << "Datei nicht gefunden";
    QTest::newRow("delete a link") << "del C:\\FREMD.TXT"
                                   << "Datei nicht gefunden";
    QTest::newRow("attrib in a linked folder") << "attrib +r C:\\OUT\\z.txt"
                                               << "Datei nicht gefunden";
    QTest::newRow("type outside") << "type C:\\OUT\\fremd.txt"
                                  << "Datei nicht gefunden";
    QTest::newRow("type a device") << "type C:\\ZERO.TXT"
                                   << "Datei nicht gefunden";
    QTest::newRow("type a FIFO outside") << "type C:\\ROHR.TXT"
                                         << "Datei nicht gefunden";
    QTest::newRow("type a FIFO") << "type C:\\PIPE.TXT"
                                 << "Zugriff verweigert";
    QTest::newRow("copy a FIFO") << "copy C:\\PIPE.TXT C:\\KOPIE.TXT"
                                 << "Zugriff verweigert";
    QTest::newRow("type inside") << "type C:\\INNEN\\A.TXT"
                                 << "alpha";
    QTest::newRow("cd out") << "cd C:\\OUT"
                            << "Ungültiges Verzeichnis";
    QTest::newRow("scandisk") << "scandisk C:"
                              << "ScanDisk hat auf Laufwerk C: keine Fehler gefunden.";
}

void DriveConfinementTest::dosCommandsStayInside()
{
    QFETCH(QString, command);
    QFETCH(QString, expected);
    const QString screen =
        runDosHeadless(m_pc->folder(), QStringLiteral("x"), {QStringLiteral("/c"), command});
    QVERIFY2(screen.contains(expected), qPrintable(screen));
}

QTEST_GUILESS_MAIN(DriveConfinementTest)
#include "DriveConfinementTest.moc"
