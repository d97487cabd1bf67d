#pragma once

#include "controls/Beep.h"
#include "controls/MessageDialog.h"
#include "platform/shell/Desktop.h"

#include <QList>
#include <QStringList>

// Stands in for the person at the screen: records every beep, Message dialog, error report and
// help request in the order they happened, and answers questions from a queue (an empty queue
// answers with the dialog's first button). Installs itself for its lifetime.
class TestUser : public controls::MessageSeam, public controls::BeepSeam, public platform::Desktop {
public:
    TestUser();
    ~TestUser() override;

    struct HelpRequest {
        const QObject *owner = nullptr;
        QString helpFile;
        int command = 0;
        int topic = 0;
    };

    // "beep", "message: <text>", "error: <text>", "help: <topic>", "contents", "<verb>: <file>"
    // in order.
    QStringList events;
    QList<controls::ShownMessage> messages;  // dialogs and error reports
    QList<HelpRequest> helpRequests;
    struct ShellRequest {
        const QObject *owner = nullptr;
        QString verb;
        QString file;
        QString parameters;
        QString directory;
        int showCommand = 0;
    };
    QList<ShellRequest> shellRequests;
    int beeps = 0;

    void queueAnswer(controls::MessageButton button);

    controls::MessageButton answer(const controls::ShownMessage &message) override;
    void beep() override;
    void showHelp(const QObject *owner, const QString &helpFile, int command, int topic) override;
    void shellExecute(const QObject *owner, const QString &verb, const QString &file,
                      const QString &parameters, const QString &directory, int showCommand) override;

private:
    QList<controls::MessageButton> m_answers;
};
