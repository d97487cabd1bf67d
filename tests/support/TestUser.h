#pragma once

#include "controls/Beep.h"
#include "controls/MessageDialog.h"
#include "tests/support/TestDesktop.h"

#include <QList>
#include <QStringList>

// Stands in for the person at the screen: records every beep, Message dialog, error report and
// help request in the order they happened, and answers questions from a queue (an empty queue
// answers with the dialog's first button). Installs itself for its lifetime.
class TestUser : public TestDesktop, public controls::MessageSeam, public controls::BeepSeam {
public:
    TestUser();
    ~TestUser() override;

    // Besides the desktop's events: "beep", "message: <text>", "error: <text>".
    QList<controls::ShownMessage> messages;  // dialogs and error reports
    int beeps = 0;

    void queueAnswer(controls::MessageButton button);

    controls::MessageButton answer(const controls::ShownMessage &message) override;
    void beep() override;

private:
    QList<controls::MessageButton> m_answers;
};
