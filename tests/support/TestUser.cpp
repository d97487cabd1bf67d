#include "tests/support/TestUser.h"

using controls::MessageButton;

TestUser::TestUser()
{
    controls::setMessageSeam(this);
    controls::setBeepSeam(this);
    platform::setDesktop(this);
}

TestUser::~TestUser()
{
    controls::setMessageSeam(nullptr);
    controls::setBeepSeam(nullptr);
    platform::setDesktop(nullptr);
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

void TestUser::showHelp(const QObject *owner, const QString &helpFile, int command, int topic)
{
    helpRequests.append({owner, helpFile, command, topic});
    events.append(command == platform::help::ShowContents ? QStringLiteral("contents")
                                                          : QStringLiteral("help: %1").arg(topic));
}

void TestUser::shellExecute(const QObject *owner, const QString &verb, const QString &file,
                            const QString &parameters, const QString &directory, int showCommand)
{
    shellRequests.append({owner, verb, file, parameters, directory, showCommand});
    events.append(verb + QStringLiteral(": ") + file);
}
