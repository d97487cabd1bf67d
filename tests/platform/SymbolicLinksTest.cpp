// Host symbolic links inside the simulated PC: writes never reach what a link points to.
#include "platform/drives/Files.h"
#include "platform/files/Profile.h"
#include "platform/machine/Machine.h"
#include "tests/support/TestMachine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

const QByteArray OutsideContent("außerhalb des PCs\n");

void writeHostFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readHostFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
}

void reloadMachine(const TestMachine &pc)
{
    QString error;
    setMachine(Machine::load(pc.folder(), &error));
    QVERIFY2(hasMachine(), qPrintable(error));
}

}  // namespace

class SymbolicLinksTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_outside;

    QString outsideFile() const { return m_outside.filePath(QStringLiteral("fremd.txt")); }

private slots:
    void init()
    {
        QVERIFY(m_outside.isValid());
        writeHostFile(outsideFile(), OutsideContent);
    }

    // Each writes D:\Restore.bat, a link to a file outside the PC; the link gives way to a file.
    void writesReplaceTheLink_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("write") << "write" << QByteArray("@echo off\r\n");
        QTest::newRow("empty") << "empty" << QByteArray();
        QTest::newRow("replace") << "replace" << QByteArray("@echo off\r\n");
        QTest::newRow("copy") << "copy" << QByteArray("Quelle");
        // What lies outside is never read either.
        QTest::newRow("profile key") << "profile" << QByteArray("[Pfad]\r\nPfad=C:\\\r\n");
    }

    void writesReplaceTheLink()
    {
        QFETCH(QString, operation);
        QFETCH(QByteArray, expected);
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Quelle.txt"), "Quelle");
        const QString link = pc.folder() + QStringLiteral("/drive_d/Restore.bat");
        QVERIFY(QFile::link(outsideFile(), link));
        const QString path = QStringLiteral("D:\\Restore.bat");

        int error = -1;
        if (operation == u"write")
            error = writeFile(path, "@echo off\r\n");
        else if (operation == u"empty")
            error = createEmptyFile(path);
        else if (operation == u"replace")
            error = replaceFile(path, "@echo off\r\n");
        else if (operation == u"copy")
            error = copyFile(QStringLiteral("C:\\Quelle.txt"), path);
        else
            error = writeProfileString(path, QStringLiteral("Pfad"), QStringLiteral("Pfad"),
                                       QStringLiteral("C:\\"));
        QCOMPARE(error, 0);
        QCOMPARE(readHostFile(outsideFile()), OutsideContent);
        QVERIFY(!QFileInfo(link).isSymLink());
        QCOMPARE(pc.readFile(path), expected);
    }

    // The attribute records are appended to; a link in their place is replaced, not followed.
    void attributeRecordsReplaceTheLink()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("D:\\Io.sys"), "x");
        QVERIFY(QFile::link(outsideFile(), pc.folder() + QStringLiteral("/drive_d/.dosattr")));
        QCOMPARE(setFileAttributes(QStringLiteral("D:\\Io.sys"), attr::ReadOnly | attr::Hidden), 0);
        QCOMPARE(writeFile(QStringLiteral("D:\\Eine lange Datei.txt"), "x"), 0);
        QCOMPARE(readHostFile(outsideFile()), OutsideContent);
        reloadMachine(pc);
        QCOMPARE(fileAttributes(QStringLiteral("D:\\Io.sys")).value, quint8(attr::ReadOnly | attr::Hidden));
        QCOMPARE(shortPathName(QStringLiteral("D:\\Eine lange Datei.txt")).value,
                 QStringLiteral("D:\\EINELA~1.TXT"));
    }

    // The drive's folder named in machine.ini is taken as it is, a link (or a mounted disk) too;
    // only what lies below it is kept inside.
    void driveFolderMayBeALink()
    {
        QVERIFY(QDir(m_outside.path()).mkdir(QStringLiteral("Platte")));
        TestMachine pc(QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\nC=fixed,drive_c\n"
                                      "G=fixed,platte\n"));
        QVERIFY(QFile::link(m_outside.filePath(QStringLiteral("Platte")),
                            pc.folder() + QStringLiteral("/platte")));
        QVERIFY(QFile::link(outsideFile(), m_outside.filePath(QStringLiteral("Platte/Fremd.txt"))));
        QCOMPARE(createDirectory(QStringLiteral("G:\\Daten")), 0);
        QCOMPARE(writeFile(QStringLiteral("G:\\Daten\\Brief.txt"), "Brief"), 0);
        QCOMPARE(readHostFile(m_outside.filePath(QStringLiteral("Platte/Daten/Brief.txt"))),
                 QByteArray("Brief"));
        QCOMPARE(files(QStringLiteral("G:\\")).value, QStringList());
        QCOMPARE(readFile(QStringLiteral("G:\\Fremd.txt")).error, dos::FileNotFound);
    }

    void treeDeletionRemovesLinksOnly()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("D:\\Alt"));
        const QString folder = pc.folder() + QStringLiteral("/drive_d/Alt/");
        QVERIFY(QFile::link(outsideFile(), folder + QStringLiteral("Datei.txt")));
        QVERIFY(QFile::link(m_outside.path(), folder + QStringLiteral("Ordner")));
        QCOMPARE(removeDirectoryTree(QStringLiteral("D:\\Alt")), 0);
        QVERIFY(!directoryExists(QStringLiteral("D:\\Alt")));
        QCOMPARE(readHostFile(outsideFile()), OutsideContent);
    }
};

QTEST_GUILESS_MAIN(SymbolicLinksTest)
#include "SymbolicLinksTest.moc"
