#include "tests/support/TestUser.h"

using controls::MessageButton;

TestUser::TestUser()
{
    controls::setMessageSeam(this);
    controls::setBeepSeam(this);
}

TestUser::~TestUser()
{
    controls::setMessageSeam(nullptr);
    controls::setBeepSeam(nullptr);
}

void TestUser::queueAnswer(MessageButton button)
{
    m_answers.append(button);
}

MessageButton TestUser::answer(const controls::ShownMessage &message)
{
    messages.append(message);
    events.append((message.errorReport ? QStringLiteral("error: ") : QStringLiteral("message: "))
                  + message.text);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    for (MessageButton button :
         {MessageButton::Yes, MessageButton::No, MessageButton::Ok, MessageButton::Cancel}) {
        if (message.buttons.testFlag(button))
            return button;
    }
    return MessageButton::Ok;
}

void TestUser::beep()
{
    ++beeps;
    events.append(QStringLiteral("beep"));
}
