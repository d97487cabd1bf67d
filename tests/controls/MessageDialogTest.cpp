#include "controls/MessageDialog.h"
#include "controls/WindowHelp.h"
#include "platform/text/DosError.h"
#include "tests/support/TestUser.h"
#include "tests/support/TitleButtons.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using controls::MessageButton;
using controls::MessageButtons;
using controls::MessageType;

Q_DECLARE_METATYPE(controls::MessageType)
Q_DECLARE_METATYPE(controls::MessageButton)
Q_DECLARE_METATYPE(controls::MessageButtons)

namespace {

// Runs inspect on the real modal box once it is open; inspect must close it.
void whenBoxOpens(const std::function<void(QDialog &)> &inspect)
{
    QTimer::singleShot(0, [inspect] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(box);
        inspect(*box);
    });
}

QStringList buttonCaptions(const QDialog &box)
{
    QStringList captions;
    for (const QPushButton *button : box.findChildren<QPushButton *>())
        captions << button->text();
    return captions;
}

QPushButton *buttonNamed(const QDialog &box, const QString &caption)
{
    for (QPushButton *button : box.findChildren<QPushButton *>()) {
        if (button->text() == caption)
            return button;
    }
    return nullptr;
}

}  // namespace

class MessageDialogTest : public QObject {
    Q_OBJECT
private slots:
    void seamRecordsTheMessage_data()
    {
        QTest::addColumn<MessageType>("type");
        QTest::addColumn<QString>("caption");
        QTest::newRow("warning") << MessageType::Warning << "Warnung";
        QTest::newRow("error") << MessageType::Error << "Fehler";
        QTest::newRow("information") << MessageType::Information << "Information";
        QTest::newRow("confirmation") << MessageType::Confirmation << "Bestätigung";
    }

    void seamRecordsTheMessage()
    {
        QFETCH(MessageType, type);
        QFETCH(QString, caption);
        TestUser user;
        const QString text = QStringLiteral("Erste Zeile\n\rZweite Zeile");

        controls::showMessage(type, text, MessageButton::Yes | MessageButton::No, 5);

        QCOMPARE(user.events, QStringList({"message: " + text}));
        QCOMPARE(user.messages.size(), 1);
        const controls::ShownMessage &shown = user.messages.first();
        QCOMPARE(shown.errorReport, false);
        QCOMPARE(shown.type, type);
        QCOMPARE(shown.caption, caption);
        QCOMPARE(shown.text, text);
        QCOMPARE(shown.buttons, MessageButton::Yes | MessageButton::No);
        QCOMPARE(shown.helpTopic, 5);
    }

    void seamAnswers_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QList<MessageButton>>("queued");
        QTest::addColumn<MessageButton>("answer");
        const MessageButtons yesNo = MessageButton::Yes | MessageButton::No;
        QTest::newRow("question, nothing queued") << yesNo << QList<MessageButton>() << MessageButton::Yes;
        QTest::newRow("question, no queued") << yesNo << QList{MessageButton::No} << MessageButton::No;
        QTest::newRow("ok and cancel, nothing queued")
            << (MessageButton::Ok | MessageButton::Cancel) << QList<MessageButton>() << MessageButton::Ok;
        QTest::newRow("cancel queued") << (MessageButton::Ok | MessageButton::Cancel)
                                       << QList{MessageButton::Cancel} << MessageButton::Cancel;
        QTest::newRow("no buttons given shows OK")
            << MessageButtons() << QList<MessageButton>() << MessageButton::Ok;
    }

    void seamAnswers()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(QList<MessageButton>, queued);
        QFETCH(MessageButton, answer);
        TestUser user;
        for (MessageButton button : queued)
            user.queueAnswer(button);

        QCOMPARE(controls::showMessage(MessageType::Confirmation, QStringLiteral("Sicher ?"), buttons),
                 answer);
    }

    void errorReportFullStop_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "Datei nicht gefunden"
                                << "Datei nicht gefunden.";
        QTest::newRow("digit") << "E/A-Fehler 19"
                               << "E/A-Fehler 19.";
        QTest::newRow("question mark is above the full stop") << "Wirklich ?"
                                                              << "Wirklich ?.";
        QTest::newRow("backslash") << "nach C:\\ kann"
                                   << "nach C:\\ kann.";
        QTest::newRow("full stop") << "Fertig."
                                   << "Fertig.";
        QTest::newRow("exclamation mark") << "Fertig !"
                                          << "Fertig !";
        QTest::newRow("hyphen") << "Velko-"
                                << "Velko-";
        QTest::newRow("blank") << "Ende "
                               << "Ende ";
        QTest::newRow("line break") << "Ende\n\r"
                                    << "Ende\n\r";
        QTest::newRow("umlaut") << "Größe"
                                << "Größe.";
        QTest::newRow("empty") << ""
                               << "";
    }

    void errorReportFullStop()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        TestUser user;

        controls::showErrorReport(text);

        QCOMPARE(user.events, QStringList({"error: " + shown}));
        const controls::ShownMessage &report = user.messages.first();
        QCOMPARE(report.errorReport, true);
        QCOMPARE(report.caption, QStringLiteral("Velko Save"));
        QCOMPARE(report.type, MessageType::Error);
        QCOMPARE(report.buttons, MessageButtons(MessageButton::Ok));
        QCOMPARE(report.helpTopic, 0);
    }

    void fileErrorText_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("2") << 2 << "Datei nicht gefunden";
        QTest::newRow("3") << 3 << "Ungültiger Dateiname";
        QTest::newRow("4") << 4 << "Zu viele geöffnete Dateien";
        QTest::newRow("5") << 5 << "Dateizugriff verweigert";
        QTest::newRow("100") << 100 << "Versuch hinter dem Dateiende zu lesen";
        QTest::newRow("101") << 101 << "Zu wenig Speicherplatz";
        QTest::newRow("106") << 106 << "Ungültige numerische Eingabe";
        QTest::newRow("121") << 121 << "Zeitüberschreitung beim Zugriff auf den Datenträger";
        QTest::newRow("15") << 15 << "E/A-Fehler 15";
        QTest::newRow("19") << 19 << "E/A-Fehler 19";
        QTest::newRow("21") << 21 << "E/A-Fehler 21";
    }

    void fileErrorText()
    {
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(platform::fileErrorText(code), text);
    }

    void runGuardedReportsWhatEscapes()
    {
        TestUser user;
        int stepsDone = 0;

        QVERIFY(controls::runGuarded([&] { ++stepsDone; }));
        QVERIFY(!controls::runGuarded([&] {
            platform::throwOnError(platform::dos::AccessDenied, QStringLiteral("C:\\Io.sys"));
            ++stepsDone;
        }));
        QVERIFY(!controls::runGuarded([&] {
            throw controls::ReportedError(
                QStringLiteral("nach C:\\Programme\\Velko Save\\Orvel.ini kann nicht geschrieben werden"));
        }));
        QVERIFY(!controls::runGuarded([&] { platform::throwOnError(platform::dos::FileNotFound); }));

        QCOMPARE(stepsDone, 1);
        // A file error names its file when the program knows it.
        QCOMPARE(
            user.events,
            QStringList({"error: C:\\Io.sys\n\rDateizugriff verweigert.",
                         "error: nach C:\\Programme\\Velko Save\\Orvel.ini kann nicht geschrieben werden.",
                         "error: Datei nicht gefunden."}));
    }

    void realBoxShowsTheQuestion()
    {
        TestUser user;
        controls::setMessageSeam(nullptr);  // the real box, with help requests still recorded
        QString title;
        QStringList captions;
        QString shownText;
        bool firstIsDefault = false;
        bool openAfterHelp = false;
        whenBoxOpens([&](QDialog &box) {
            title = box.windowTitle();
            captions = buttonCaptions(box);
            firstIsDefault = buttonNamed(box, "&Ja")->isDefault();
            for (const QLabel *label : box.findChildren<QLabel *>()) {
                if (!label->text().isEmpty())
                    shownText = label->text();
            }
            buttonNamed(box, "&Hilfe")->click();
            openAfterHelp = box.isVisible();
            buttonNamed(box, "&Nein")->click();
        });

        // The box has no help file of its own: the application's is used.
        controls::setApplicationHelpFile(QStringLiteral("Orvel.hlp"), nullptr);
        const MessageButton answer =
            controls::showMessage(MessageType::Confirmation, QStringLiteral("Zeile 1\n\rZeile 2\r\nZeile 3"),
                                  MessageButton::Yes | MessageButton::No | MessageButton::Cancel, 6);

        QCOMPARE(answer, MessageButton::No);
        QCOMPARE(title, QStringLiteral("Bestätigung"));
        QCOMPARE(captions, QStringList({"&Ja", "&Nein", "Abbrechen", "&Hilfe"}));
        QVERIFY(firstIsDefault);
        QCOMPARE(shownText, QStringLiteral("Zeile 1\nZeile 2\nZeile 3"));
        QVERIFY(openAfterHelp);
        QCOMPARE(user.events, QStringList({"help: 6"}));
        QCOMPARE(user.helpRequests.first().command, platform::help::ShowTopic);
        QCOMPARE(user.helpRequests.first().helpFile, QStringLiteral("Orvel.hlp"));
    }

    void closingTheRealBoxCountsAsTheLastButton_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<MessageButton>("answer");
        QTest::newRow("ja nein") << (MessageButton::Yes | MessageButton::No) << MessageButton::No;
        QTest::newRow("ok abbrechen") << (MessageButton::Ok | MessageButton::Cancel) << MessageButton::Cancel;
        QTest::newRow("ok") << MessageButtons(MessageButton::Ok) << MessageButton::Ok;
    }

    void closingTheRealBoxCountsAsTheLastButton()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(MessageButton, answer);
        whenBoxOpens([](QDialog &box) { QTest::keyClick(&box, Qt::Key_Escape); });

        QCOMPARE(controls::showMessage(MessageType::Warning, QStringLiteral("Achtung"), buttons), answer);
    }

    // A Message dialog has the close box and no other title-bar button, as on Windows.
    void realBoxShowsOnlyTheCloseBox()
    {
        bool checked = false;
        whenBoxOpens([&](QDialog &box) {
            verifyTitleButtons(box, true);
            checked = true;
            box.close();
        });
        controls::showMessage(MessageType::Information, QStringLiteral("Fertig"), MessageButton::Ok);
        QVERIFY(checked);
    }

    void realErrorReport()
    {
        QString title;
        QStringList captions;
        whenBoxOpens([&](QDialog &box) {
            title = box.windowTitle();
            captions = buttonCaptions(box);
            QTest::keyClick(&box, Qt::Key_Return);
        });

        controls::showErrorReport(QStringLiteral("Datei nicht gefunden"));

        QCOMPARE(title, QStringLiteral("Velko Save"));
        QCOMPARE(captions, QStringList({"OK"}));
    }
};

QTEST_MAIN(MessageDialogTest)
#include "MessageDialogTest.moc"
