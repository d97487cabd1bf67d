// The fixed texts of the restore dialog, the emergency-disk dialog and the floppy-drive choice,
// letter for letter: memos, labels, group captions, hints and buttons.
#include "emergency/TForm5.h"
#include "emergency/TNotfall.h"
#include "restore/TRestore.h"
#include "tests/support/TestMachine.h"
#include "tests/support/TestUser.h"

#include <QtTest>

class DialogTextsTest : public QObject {
    Q_OBJECT

private slots:
    void fixedTexts_data();
    void fixedTexts();
};

void DialogTextsTest::fixedTexts_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("control");  // object name; empty for the dialog itself
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *dialog, const char *control, const char *property, const QString &text) {
        QTest::addRow("%s %s %s", dialog, *control ? control : "caption", property)
            << QString::fromLatin1(dialog) << QString::fromLatin1(control) << QString::fromLatin1(property)
            << text;
    };

    row("TRestore", "", "windowTitle", QStringLiteral("Velko Restore"));
    row("TRestore", "Label1", "text",
        QStringLiteral("Velko Restore - Wiederherstellung von Sicherungsdateien"));
    row("TRestore", "GroupBox2", "title", QStringLiteral("Infos"));
    row("TRestore", "Memo1", "plainText",
        QStringLiteral("Früher gesicherte Dateien können nun \n"
                       "restauriert werden. \n"
                       "(Wenn  Windows nicht mehr hochfährt, so\n"
                       "gibt es prinzipiell zwei Möglichkeiten der\n"
                       "Wiederherstellung der Sicherungsdateien:  \n"
                       "1. Manuelles Ausführen von \"Restore.bat\"\n"
                       "2. Verwenden der Notfalldiskette\n"
                       "Näheres hierzu entnehmen sie bitte der\n"
                       "Velko Save- Hilfe).\n"
                       "Entfernen sie nun sämtliche Disketten aus\n"
                       "ihren Laufwerken ! "));
    row("TRestore", "GroupBox1", "title", QStringLiteral("Wiederherstellung aus"));
    row("TRestore", "DriveComboBox1", "toolTip", QStringLiteral("Wählen sie das Quelllaufwerk"));
    row("TRestore", "DirectoryListBox1", "toolTip",
        QStringLiteral("Wählen sie das Quellverzeichnis mittels Doppelklick"));
    row("TRestore", "GroupBox3", "title", QStringLiteral("Datum && Uhrzeit"));
    row("TRestore", "GroupBox3", "toolTip", QStringLiteral("Letztes Backup in  dieses Verzeichnis"));
    row("TRestore", "Memo2", "plainText",
        QStringLiteral("Windows wird nun beendet ...\n"
                       "\n"
                       "Sollte das Betriebssystem jetzt nicht\n"
                       "ordnungsgemäß herunterfahren und\n"
                       "Velko Restore (DOS) gestartet werden, \n"
                       "so starten sie den PC erneut und  führen \n"
                       "Velko Restore wiederholt aus !"));
    row("TRestore", "BitBtn1", "text", QStringLiteral("Sicherungsdateien &wiederherstellen"));
    row("TRestore", "BitBtn3", "text", QStringLiteral("&Hilfe"));
    row("TRestore", "BitBtn2", "text", QStringLiteral("&Abbrechen"));

    row("TNotfall", "GroupBox1", "title", QStringLiteral("Infos"));
    row("TNotfall", "Memo1", "plainText",
        QStringLiteral("An dieser Stelle kann eine bootfähige Notfalldiskette erstellt  werden. Die\n"
                       "wichtigsten Systemdateien werden hierbei gesichert. Wenn sich Windows \n"
                       "nicht mehr starten läßt, starten sie den Rechner mit eingelegter Notfall-\n"
                       "diskette und die Systemdateien werden aus dem \"Notfallordner\" heraus \n"
                       "restauriert. Wählen sie an dieser Stelle ggf. auch ihr Boot/- Rootlaufwerk \n"
                       "aus. Normalerweise sind jedoch keine Modifikationen notwendig, da ihr \n"
                       "System in der Regel von Laufwerk 'C:' bootet.\n"
                       "ACHTUNG: Alle auf der Diskette sich befindenden Dateien werden bei \n"
                       "der Erstellung der Notfalldiskette unwiderruflich gelöscht !\n"
                       "Legen sie nun eine formatierte Diskette in ihr Laufwerk."));
    row("TNotfall", "Label2", "text", QStringLiteral("Boot/- Rootlaufwerk (i. d. R. 'C:'):"));
    row("TNotfall", "DriveComboBox1", "toolTip",
        QStringLiteral("Laufwerk, auf dem 'Io.sys' & 'Msdos.sys' gespeichert sind"));
    row("TNotfall", "BitBtn1", "text", QStringLiteral("&Notfalldiskette anfertigen"));
    row("TNotfall", "BitBtn3", "text", QStringLiteral("&Hilfe"));
    row("TNotfall", "BitBtn2", "text", QStringLiteral("&Abbrechen"));

    row("TForm5", "", "windowTitle", QStringLiteral("Notfalldiskette anfertigen ..."));
    row("TForm5", "Label1", "text", QStringLiteral("Bitte wählen sie zunächst den Laufwerksbuchstaben"));
    row("TForm5", "Label2", "text", QStringLiteral("ihres Diskettenlaufwerks aus !"));
    row("TForm5", "RadioButton1", "text", QStringLiteral("Laufwerk A:\\"));
    row("TForm5", "RadioButton2", "text", QStringLiteral("Laufwerk B:\\"));
    row("TForm5", "Button3", "text", QStringLiteral("&Weiter >>"));
    row("TForm5", "BitBtn1", "text", QStringLiteral("&Abbrechen"));
}

void DialogTextsTest::fixedTexts()
{
    QFETCH(QString, dialog);
    QFETCH(QString, control);
    QFETCH(QString, property);
    QFETCH(QString, expected);
    TestMachine pc;
    TestUser user;
    TRestore restore;
    restore.setMainWindowState(u'C', QStringLiteral("C:\\"), QStringLiteral("C:"));
    TNotfall notfall;
    notfall.setMainWindowState(QString(), u'A');
    TForm5 form5;
    // Short help is on without a main window to ask, so activation shows the hints.
    restore.FormActivate();
    notfall.FormActivate();
    form5.FormActivate();

    controls::FormDialog *window = dialog == u"TRestore"   ? static_cast<controls::FormDialog *>(&restore)
                                   : dialog == u"TNotfall" ? static_cast<controls::FormDialog *>(&notfall)
                                                           : static_cast<controls::FormDialog *>(&form5);
    QObject *object = control.isEmpty() ? window : window->findChild<QObject *>(control);
    QVERIFY2(object, qPrintable(control));
    const QVariant value = object->property(property.toLatin1().constData());
    QVERIFY2(value.isValid(), qPrintable(property));
    QCOMPARE(value.toString(), expected);
}

QTEST_MAIN(DialogTextsTest)
#include "DialogTextsTest.moc"
