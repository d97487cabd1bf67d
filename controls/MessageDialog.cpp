#include "controls/MessageDialog.h"

#include "controls/Beep.h"
#include "controls/FormDialog.h"
#include "controls/WindowHelp.h"
#include "platform/shell/Desktop.h"
#include "platform/text/DosError.h"
#include "platform/text/LineBreak.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace controls {

namespace {

MessageSeam *installedSeam = nullptr;

struct ButtonCaption {
    MessageButton button;
    const char *caption;
};

// The order in which the buttons stand in the box, left to right.
constexpr ButtonCaption buttonCaptions[] = {
    {MessageButton::Yes, "&Ja"},
    {MessageButton::No, "&Nein"},
    {MessageButton::Ok, "OK"},
    {MessageButton::Cancel, "Abbrechen"},
};

QString captionOf(MessageType type)
{
    switch (type) {
    case MessageType::Warning:
        return QStringLiteral("Warnung");
    case MessageType::Error:
        return QStringLiteral("Fehler");
    case MessageType::Information:
        return QStringLiteral("Information");
    case MessageType::Confirmation:
        break;
    }
    return QStringLiteral("Bestätigung");
}

QStyle::StandardPixmap iconOf(MessageType type)
{
    switch (type) {
    case MessageType::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageType::Error:
        return QStyle::SP_MessageBoxCritical;
    case MessageType::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageType::Confirmation:
        break;
    }
    return QStyle::SP_MessageBoxQuestion;
}

// Texts break lines with LF CR (or CR LF); either pair, or a lone LF or CR, is one line break.
QString displayedText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\n' && c != u'\r') {
            shown += c;
            continue;
        }
        shown += u'\n';
        const bool pairFollows = i + 1 < text.size() && text.at(i + 1) != c
                                 && (text.at(i + 1) == u'\n' || text.at(i + 1) == u'\r');
        if (pairFollows)
            ++i;
    }
    return shown;
}

MessageButton execDialog(const QString &caption, QStyle::StandardPixmap icon, const QString &text,
                         MessageButtons buttons, int helpTopic)
{
    QDialog dialog(QApplication::activeWindow(), dialogWindowFlags(FormDialog::TitleButtons::Close));
    dialog.setWindowTitle(caption);

    auto *iconLabel = new QLabel;
    const int iconSize = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
    iconLabel->setPixmap(dialog.style()->standardIcon(icon, nullptr, &dialog).pixmap(iconSize));
    iconLabel->setAlignment(Qt::AlignTop);

    auto *textLabel = new QLabel(displayedText(text));
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setTextInteractionFlags(Qt::NoTextInteraction);

    auto *messageRow = new QHBoxLayout;
    messageRow->addWidget(iconLabel);
    messageRow->addSpacing(12);
    messageRow->addWidget(textLabel, 1);

    // The result code of the dialog is the index of the pressed button plus one; 0 means closed.
    QList<MessageButton> shown;
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    for (const ButtonCaption &entry : buttonCaptions) {
        if (!buttons.testFlag(entry.button))
            continue;
        auto *button = new QPushButton(QString::fromUtf8(entry.caption));
        button->setDefault(shown.isEmpty());
        const int code = int(shown.size()) + 1;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, code] { dialog.done(code); });
        shown.append(entry.button);
        buttonRow->addWidget(button);
    }
    if (helpTopic != 0) {
        auto *help = new QPushButton(QStringLiteral("&Hilfe"));
        help->setAutoDefault(false);
        QObject::connect(help, &QPushButton::clicked, &dialog,
                         [helpTopic] { requestHelp(platform::help::ShowTopic, helpTopic); });
        buttonRow->addWidget(help);
    }
    buttonRow->addStretch();

    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(messageRow);
    layout->addSpacing(8);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const int code = dialog.exec();
    return code > 0 ? shown.at(code - 1) : shown.last();
}

MessageButton present(const ShownMessage &message, QStyle::StandardPixmap icon)
{
    if (installedSeam)
        return installedSeam->answer(message);
    return execDialog(message.caption, icon, message.text, message.buttons, message.helpTopic);
}

}  // namespace

MessageButton showMessage(MessageType type, const QString &text, MessageButtons buttons, int helpTopic)
{
    ShownMessage message;
    message.type = type;
    message.caption = captionOf(type);
    message.text = text;
    message.buttons = buttons ? buttons : MessageButtons(MessageButton::Ok);
    message.helpTopic = helpTopic;
    return present(message, iconOf(type));
}

MessageButton showMessageAfterBeep(MessageType type, const QString &text, MessageButtons buttons)
{
    beep();
    return showMessage(type, text, buttons);
}

void showErrorReport(const QString &text)
{
    ShownMessage message;
    message.errorReport = true;
    message.type = MessageType::Error;
    message.caption = QStringLiteral("Velko Save");
    message.text = text;
    if (!text.isEmpty() && text.back() > u'.')
        message.text += u'.';
    message.buttons = MessageButton::Ok;
    present(message, QStyle::SP_MessageBoxCritical);
}

ReportedError::ReportedError(const QString &text)
    : std::runtime_error(text.toStdString()),
      m_text(text)
{}

bool runGuarded(const std::function<void()> &command)
{
    try {
        command();
        return true;
    } catch (const platform::IoError &error) {
        showErrorReport(platform::fileErrorReport(error.code(), error.path()));
    } catch (const ReportedError &error) {
        showErrorReport(error.text());
    }
    return false;
}

void setMessageSeam(MessageSeam *seam)
{
    installedSeam = seam;
}

}  // namespace controls
