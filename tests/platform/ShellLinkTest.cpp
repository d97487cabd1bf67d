#include "platform/shell/ShellLink.h"
#include "platform/drives/Files.h"
#include "tests/support/TestMachine.h"

#include <QProcess>
#include <QtEndian>
#include <QtTest>

using namespace platform;

namespace {

quint32 u32At(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 u16At(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

ShellLink autostartLink()
{
    ShellLink link;
    link.targetPath = QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe");
    link.workingDirectory = QStringLiteral("C:\\Programme\\Velko Save\\");
    link.iconLocation = QStringLiteral("C:\\windows\\system\\shell32.dll");
    link.iconIndex = 29;
    return link;
}

// Little-endian bytes for hand-made fixtures.
struct Bytes {
    QByteArray data;
    Bytes &u16(quint16 value) { return little(value); }
    Bytes &u32(quint32 value) { return little(value); }
    template <typename T>
    Bytes &little(T value)
    {
        char stored[sizeof(T)];
        qToLittleEndian(value, stored);
        data.append(stored, sizeof stored);
        return *this;
    }
    Bytes &raw(const QByteArray &bytes)
    {
        data += bytes;
        return *this;
    }
    Bytes &unicode(const QString &text)
    {
        u16(quint16(text.size()));
        for (QChar c : text)
            u16(c.unicode());
        return *this;
    }
};

// A shortcut as Windows writes it for C:\Test\a.txt: an item ID list (My Computer, the drive,
// the folder, the file) instead of a LinkInfo, and Unicode strings.
QByteArray windowsWrittenLink()
{
    Bytes idList;
    idList.u16(20).raw(QByteArray::fromHex("1F50E04FD020EA3A6910A2D808002B30309D"));
    idList.u16(25).raw(QByteArray::fromHex("2F")).raw(QByteArray("C:\\").leftJustified(22, '\0'));
    for (const auto &[type, shortName] :
         {std::pair{char(0x31), QByteArray("TEST")}, std::pair{char(0x32), QByteArray("A.TXT")}}) {
        const QByteArray item = type + QByteArray(11, '\0') + shortName + '\0';
        idList.u16(quint16(item.size() + 2)).raw(item);
    }
    idList.u16(0);

    Bytes link;
    link.u32(0x4C).raw(QByteArray::fromHex("0114020000000000C000000000000046"));
    link.u32(0x01 | 0x04 | 0x10 | 0x80);  // ID list, name, working dir, Unicode
    link.u32(0x20).raw(QByteArray(24, '\0')).u32(0).u32(0);
    link.u32(7);  // show minimised without activation
    link.u16(0x0641).raw(QByteArray(10, '\0'));
    link.u16(quint16(idList.data.size())).raw(idList.data);
    link.unicode(QStringLiteral("Grüße")).unicode(QStringLiteral("C:\\Test")).u32(0);
    return link.data;
}

}  // namespace

class ShellLinkTest : public QObject {
    Q_OBJECT

private slots:
    void headerFields()
    {
        ShellLink link = autostartLink();
        link.showCommand = showCommand::Minimized;
        link.hotKey = 0x0353;  // Ctrl+Shift+S
        link.arguments = QStringLiteral("/nach Neustart");
        link.description = QStringLiteral("Velko Save");
        const QByteArray bytes = *encodeShellLink(link);

        QCOMPARE(u32At(bytes, 0), 0x4Cu);
        QCOMPARE(bytes.mid(4, 16).toHex(), QByteArray("0114020000000000c000000000000046"));
        QCOMPARE(u32At(bytes, 20), 0x02u | 0x04u | 0x10u | 0x20u | 0x40u);
        QCOMPARE(u32At(bytes, 56), 29u);
        QCOMPARE(u32At(bytes, 60), 6u);
        QCOMPARE(u16At(bytes, 64), quint16(0x0353));

        // The strings follow the LinkInfo in their fixed order, each counted, in Windows-1252.
        const qsizetype strings = 0x4C + u32At(bytes, 0x4C);
        QByteArray expected;
        for (const char *text : {"Velko Save", "C:\\Programme\\Velko Save\\", "/nach Neustart",
                                 "C:\\windows\\system\\shell32.dll"}) {
            const QByteArray data(text);
            expected += char(data.size()) + QByteArray(1, '\0') + data;
        }
        expected += QByteArray(4, '\0');
        QCOMPARE(bytes.mid(strings), expected);
    }

    void optionalStringsLeftOut()
    {
        ShellLink link;
        link.targetPath = QStringLiteral("C:\\Orvel.exe");
        const QByteArray bytes = *encodeShellLink(link);
        QCOMPARE(u32At(bytes, 20), 0x02u);  // LinkInfo only: no icon location, no strings
        QCOMPARE(u32At(bytes, 60), 1u);
        QCOMPARE(bytes.right(4), QByteArray(4, '\0'));
    }

    void textOutsideTheCodePageIsRefused()
    {
        ShellLink link = autostartLink();
        link.description = QStringLiteral("Sicherung \u20AC\u0141");  // € is in it, Ł is not
        QVERIFY(!encodeShellLink(link));
    }

    void writeThenRead()
    {
        TestMachine pc;
        pc.makeDirectory(QStringLiteral("C:\\Programme\\Velko Save"));
        pc.writeFile(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe"), "MZ program", 32 | 1);
        ShellLink link = autostartLink();
        link.arguments = QStringLiteral("Prüfung");
        link.hotKey = 0x0241;
        const QString linkPath = QStringLiteral("C:\\WINDOWS\\Velko Save.lnk");
        QCOMPARE(writeShellLink(linkPath, link), 0);

        const auto read = readShellLink(linkPath);
        QCOMPARE(read.error, 0);
        QCOMPARE(read.value.targetPath, link.targetPath);
        QCOMPARE(read.value.workingDirectory, link.workingDirectory);
        QCOMPARE(read.value.arguments, link.arguments);
        QCOMPARE(read.value.iconLocation, link.iconLocation);
        QCOMPARE(read.value.iconIndex, 29);
        QCOMPARE(read.value.hotKey, quint16(0x0241));
        QCOMPARE(read.value.showCommand, showCommand::Normal);
        QCOMPARE(read.value.targetAttributes, 33u);
        QCOMPARE(read.value.targetSize, 10u);
        QCOMPARE(read.value.targetWriteTime,
                 lastWriteTime(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe")).value);
    }

    void writeIntoMissingFolderWritesNothing()
    {
        TestMachine pc;
        QCOMPARE(writeShellLink(QStringLiteral("C:\\Fehlt\\Velko Save.lnk"), autostartLink()),
                 dos::PathNotFound);
        QVERIFY(!directoryExists(QStringLiteral("C:\\Fehlt")));
    }

    void lnkinfoReadsWhatWeWrite()
    {
        TestMachine pc;
        const QString linkPath = QStringLiteral("C:\\WINDOWS\\Velko Save.lnk");
        QCOMPARE(writeShellLink(linkPath, autostartLink()), 0);
        QProcess lnkinfo;
        lnkinfo.start(QStringLiteral("lnkinfo"), {pc.host(linkPath)});
        QVERIFY2(lnkinfo.waitForFinished(), "lnkinfo (liblnk-utils) is needed for this test");
        const QString output = QString::fromLocal8Bit(lnkinfo.readAllStandardOutput());
        QCOMPARE(lnkinfo.exitCode(), 0);
        QVERIFY2(output.contains(QStringLiteral("C:\\Programme\\Velko Save\\Orvel.exe")), qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Working directory\t\t: C:\\Programme\\Velko Save\\")),
                 qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Icon location\t\t\t: C:\\windows\\system\\shell32.dll")),
                 qPrintable(output));
        QVERIFY2(output.contains(QStringLiteral("Fixed")), qPrintable(output));
    }

    void readsWhatWindowsWrites()
    {
        const auto link = decodeShellLink(windowsWrittenLink());
        QVERIFY(link);
        QCOMPARE(link->targetPath, QStringLiteral("C:\\TEST\\A.TXT"));
        QCOMPARE(link->description, QStringLiteral("Grüße"));
        QCOMPARE(link->workingDirectory, QStringLiteral("C:\\Test"));
        QCOMPARE(link->showCommand, 7u);
        QCOMPARE(link->hotKey, quint16(0x0641));
        QCOMPARE(link->targetAttributes, 0x20u);
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text file") << QByteArray("@echo off\r\n").leftJustified(200, ' ');
        QByteArray wrongClass = *encodeShellLink(autostartLink());
        wrongClass[4] = 0x02;
        QTest::newRow("other class id") << wrongClass;
        QByteArray hugeString = *encodeShellLink(autostartLink());
        hugeString[hugeString.size() - 4 - 30] = char(0xFF);  // icon location count past the end
        QTest::newRow("string count past the end") << hugeString;
        QByteArray badLinkInfo = *encodeShellLink(autostartLink());
        badLinkInfo[0x4C + 4] = char(0xF0);  // LinkInfo header larger than the LinkInfo
        QTest::newRow("LinkInfo header too large") << badLinkInfo;
    }

    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!decodeShellLink(bytes));
    }

    // Every cut-off version of a good file is refused, none read past its end.
    void truncatedFilesAreRefused()
    {
        for (const QByteArray &whole : {*encodeShellLink(autostartLink()), windowsWrittenLink()}) {
            for (qsizetype size = 0; size < whole.size(); ++size)
                QVERIFY2(!decodeShellLink(whole.left(size)), qPrintable(QString::number(size)));
        }
    }

    void readingNonShortcutFile()
    {
        TestMachine pc;
        pc.writeFile(QStringLiteral("C:\\Kaputt.lnk"), "kein Verweis");
        QCOMPARE(readShellLink(QStringLiteral("C:\\Kaputt.lnk")).error, 13);
        QCOMPARE(readShellLink(QStringLiteral("C:\\Fehlt.lnk")).error, dos::FileNotFound);
    }
};

QTEST_GUILESS_MAIN(ShellLinkTest)
#include "ShellLinkTest.moc"
