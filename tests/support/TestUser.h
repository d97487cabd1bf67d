#pragma once

#include "controls/MessageDialog.h"
#include "platform/Desktop.h"

#include <QList>
#include <QStringList>

// Stands in for the person at the screen: records every beep, Message dialog, error report and
// help request in the order they happened, and answers questions from a queue (an empty queue
// answers with the dialog's first button). Installs itself for its lifetime.
class TestUser : public controls::MessageSeam, public platform::Desktop {
public:
    TestUser();
    ~TestUser() override;

    struct HelpRequest {
        QString helpFile;
        int command = 0;
        int topic = 0;
    };

    // "beep", "message: <text>", "error: <text>", "help: <topic>", "contents" in order.
    QStringList events;
    QList<controls::ShownMessage> messages;  // dialogs and error reports
    QList<HelpRequest> helpRequests;
    int beeps = 0;

    void queueAnswer(controls::MessageButton button);

    controls::MessageButton answer(const controls::ShownMessage &message) override;
    void beep() override;
    void showHelp(const QString &helpFile, int command, int topic) override;

private:
    QList<controls::MessageButton> m_answers;
};
