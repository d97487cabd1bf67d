// The editor and the system information tool that the shell starts as companions.
#include "accessories/SystemInformation.h"
#include "accessories/SystemSummary.h"
#include "accessories/TextViewer.h"
#include "platform/drives/DiskSpace.h"
#include "tests/support/TestMachine.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

namespace {

QString summaryValue(const QString &item)
{
    for (const accessories::SummaryLine &line : accessories::systemSummary()) {
        if (line.item == item)
            return line.value;
    }
    return QStringLiteral("(no line %1)").arg(item);
}

}  // namespace

class AccessoriesTest : public QObject {
    Q_OBJECT
private slots:
    void editorShowsWindowsText();
    void editorShowsTheShippedReadMe();
    void sizeText_data();
    void sizeText();
    void summaryNamesEachDrive_data();
    void summaryNamesEachDrive();
    void systemInformationWindowShowsTheSummary();
};

void AccessoriesTest::editorShowsWindowsText()
{
    // Windows-1252 with CR LF, as the read-me is stored.
    const QByteArray bytes = "Gr\xf6\xdf"
                             "e f\xfcr \xc4nderungen\r\nZeile 2\r\n";
    accessories::TextViewer viewer(QStringLiteral("liesmich.txt"), accessories::editorText(bytes));
    viewer.show();
    QCOMPARE(viewer.windowTitle(), QStringLiteral("liesmich.txt - Editor"));
    QCOMPARE(viewer.Edit->toPlainText(), QStringLiteral("Größe für Änderungen\nZeile 2\n"));
    QVERIFY(viewer.Edit->isReadOnly());
}

void AccessoriesTest::editorShowsTheShippedReadMe()
{
    QFile readMe(qEnvironmentVariable("VELKO_SOURCE_DIR") + QStringLiteral("/shipped/program/liesmich.txt"));
    QVERIFY(readMe.open(QIODevice::ReadOnly));
    const QString text = accessories::editorText(readMe.readAll());
    QVERIFY(text.contains(QStringLiteral("für Windows 95 und Windows 98")));
    QVERIFY(!text.contains(u'\r'));
    QVERIFY(!text.contains(QChar::ReplacementCharacter));
}

void AccessoriesTest::sizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "0 Byte";
    QTest::newRow("bytes") << qint64(1023) << "1.023 Byte";
    QTest::newRow("one KB") << qint64(1024) << "1,0 KB";
    QTest::newRow("floppy") << qint64(1457664) << "1,4 MB";
    QTest::newRow("one and a half GB") << qint64(1610612736) << "1,5 GB";
    QTest::newRow("large disk") << qint64(250) * 1024 * 1024 * 1024 << "250 GB";
}

void AccessoriesTest::sizeText()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(accessories::sizeText(bytes), text);
}

void AccessoriesTest::summaryNamesEachDrive_data()
{
    QTest::addColumn<QString>("floppy");  // the floppy's line in machine.ini
    QTest::addColumn<bool>("image");  // its image file exists
    QTest::addColumn<QString>("floppyText");
    const QString kind = QStringLiteral("3,5-Zoll-Diskettenlaufwerk, 1,44 MB");
    QTest::newRow("no disk") << "A=floppy,floppy-a.img" << false << kind + ", keine Diskette eingelegt";
    QTest::newRow("disk") << "A=floppy,floppy-a.img" << true << kind + ", Diskette eingelegt";
    QTest::newRow("write-protected disk")
        << "A=floppy,floppy-a.img,readonly" << true << kind + ", Diskette eingelegt, schreibgeschützt";
}

void AccessoriesTest::summaryNamesEachDrive()
{
    QFETCH(QString, floppy);
    QFETCH(bool, image);
    QFETCH(QString, floppyText);
    TestMachine pc(QStringLiteral("[Windows]\nDirectory=C:\\WINDOWS\n[Drives]\n") + floppy
                   + QStringLiteral("\nC=fixed,drive_c\nE=cdrom\nF=cdrom,cd-f\n"));
    if (image) {
        QFile file(pc.folder() + QStringLiteral("/floppy-a.img"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(summaryValue(QStringLiteral("Windows-Verzeichnis")), QStringLiteral("C:\\WINDOWS"));
    QCOMPARE(summaryValue(QStringLiteral("Laufwerk A:")), floppyText);
    // A host folder has the host file system's figures; its free space moves with the host.
    const QString total = accessories::sizeText(platform::diskSpace(u'C').value.total);
    const QRegularExpression fixed(QStringLiteral("^Lokaler Datenträger, Größe ")
                                   + QRegularExpression::escape(total)
                                   + QStringLiteral(", frei \\d[\\d.,]* (Byte|KB|MB|GB)$"));
    QVERIFY2(fixed.match(summaryValue(QStringLiteral("Laufwerk C:"))).hasMatch(),
             qPrintable(summaryValue(QStringLiteral("Laufwerk C:"))));
    QCOMPARE(summaryValue(QStringLiteral("Laufwerk E:")),
             QStringLiteral("CD-ROM-Laufwerk, kein Datenträger eingelegt"));
    QCOMPARE(summaryValue(QStringLiteral("Laufwerk F:")),
             QStringLiteral("CD-ROM-Laufwerk, Größe ") + total + QStringLiteral(", frei 0 Byte"));
    QCOMPARE(accessories::systemSummary().size(), 2 + 4);  // no line for a drive that is not listed
}

void AccessoriesTest::systemInformationWindowShowsTheSummary()
{
    TestMachine pc;
    accessories::SystemInformation window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Microsoft Systeminfo"));
    QCOMPARE(window.Categories->currentItem()->text(0), QStringLiteral("Systemübersicht"));
    const QList<accessories::SummaryLine> lines = accessories::systemSummary();
    QCOMPARE(window.Summary->topLevelItemCount(), lines.size());
    for (int row = 0; row < lines.size(); ++row) {
        QCOMPARE(window.Summary->topLevelItem(row)->text(0), lines.at(row).item);
        QCOMPARE(window.Summary->topLevelItem(row)->text(1), lines.at(row).value);
    }
    QCOMPARE(window.Summary->topLevelItem(2)->text(0), QStringLiteral("Laufwerk A:"));
}

QTEST_MAIN(AccessoriesTest)
#include "AccessoriesTest.moc"
