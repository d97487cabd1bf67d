#pragma once

#include <QFlags>
#include <QString>

#include <functional>
#include <stdexcept>

class QWidget;

namespace controls {

enum class MessageType { Warning, Error, Information, Confirmation };

enum class MessageButton { None = 0, Ok = 1, Yes = 2, No = 4, Cancel = 8 };
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

// The Message dialog: caption and icon from the type ("Warnung", "Fehler", "Information",
// "Bestätigung"), German buttons ("OK", "&Ja", "&Nein", "Abbrechen"). Line breaks in text may be
// written LF CR or CR LF. Returns the button pressed; closing the box counts as the last button.
MessageButton showMessage(MessageType type, const QString &text, MessageButtons buttons, int helpTopic = 0);

// The standard system beep, then the Message dialog: how warnings and most messages come.
MessageButton showMessageAfterBeep(MessageType type, const QString &text,
                                   MessageButtons buttons = MessageButton::Ok);

// The general error report: a box captioned "Velko Save" with the error icon and "OK"; a full stop
// is appended unless the text's last character is at most '.'.
void showErrorReport(const QString &text);

// A failure whose report text is already known, e.g. "nach %s kann nicht geschrieben werden".
class ReportedError : public std::runtime_error {
public:
    explicit ReportedError(const QString &text);
    QString text() const { return m_text; }

private:
    QString m_text;
};

// Runs a command; a platform::IoError or ReportedError that escapes it ends the command there and
// is shown by the general error report (an IoError with the file it names). Returns false when the command was ended that way.
bool runGuarded(const std::function<void()> &command);

// What a test puts in place of the person in front of the screen.
struct ShownMessage {
    bool errorReport = false;  // the general error report rather than a Message dialog
    MessageType type = MessageType::Information;
    QString caption;
    QString text;
    MessageButtons buttons;
    int helpTopic = 0;
};

class MessageSeam {
public:
    virtual ~MessageSeam() = default;
    // Returns the button the person presses.
    virtual MessageButton answer(const ShownMessage &message) = 0;
};

// Replaces the real dialogs (not owned); null restores them.
void setMessageSeam(MessageSeam *seam);

}  // namespace controls
