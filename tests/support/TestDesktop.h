#pragma once

#include "platform/shell/Desktop.h"

#include <QList>
#include <QStringList>

// Stands in for the desktop around the program: records every help request and every request to
// the shell in the order they happened, without showing anything. Installs itself for its
// lifetime.
class TestDesktop : public platform::Desktop {
public:
    TestDesktop();
    ~TestDesktop() override;
    TestDesktop(const TestDesktop &) = delete;
    TestDesktop &operator=(const TestDesktop &) = delete;

    struct HelpRequest {
        const QObject *owner = nullptr;
        QString helpFile;
        int command = 0;
        int topic = 0;
    };
    struct ShellRequest {
        const QObject *owner = nullptr;
        QString verb;
        QString file;
        QString parameters;
        QString directory;
        int showCommand = 0;
    };

    // "help: <topic>", "contents", "<verb>: <file>" in order; TestUser adds what a person sees.
    QStringList events;
    QList<HelpRequest> helpRequests;
    QList<ShellRequest> shellRequests;

    void showHelp(const QObject *owner, const QString &helpFile, int command, int topic) override;
    void shellExecute(const QObject *owner, const QString &verb, const QString &file,
                      const QString &parameters, const QString &directory, int showCommand) override;
};
