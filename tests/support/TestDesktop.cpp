#include "tests/support/TestDesktop.h"

TestDesktop::TestDesktop()
{
    platform::setDesktop(this);
}

TestDesktop::~TestDesktop()
{
    platform::setDesktop(nullptr);
}

void TestDesktop::showHelp(const QObject *owner, const QString &helpFile, int command, int topic)
{
    helpRequests.append({owner, helpFile, command, topic});
    events.append(command == platform::help::ShowContents ? QStringLiteral("contents")
                                                          : QStringLiteral("help: %1").arg(topic));
}

void TestDesktop::shellExecute(const QObject *owner, const QString &verb, const QString &file,
                               const QString &parameters, const QString &directory, int showCommand)
{
    shellRequests.append({owner, verb, file, parameters, directory, showCommand});
    events.append(verb + QStringLiteral(": ") + file);
}
