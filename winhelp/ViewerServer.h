#pragma once

#include "platform/shell/HelpRequest.h"

#include <QObject>

class QLocalServer;

namespace winhelp {

// One viewer per help file, as in Windows: a second request for a file whose viewer runs goes
// to that viewer over a local socket named after the file, and the second process ends.
QString serverName(const QString &helpFile);

// True when a running viewer took the request.
bool passToRunningViewer(const platform::HelpRequest &request);

// Listens for the requests of later starts for the same help file.
class ViewerServer : public QObject {
    Q_OBJECT
public:
    explicit ViewerServer(const QString &helpFile, QObject *parent = nullptr);
    bool isListening() const;

signals:
    void requestReceived(const platform::HelpRequest &request);

private:
    void accept();

    QLocalServer *m_server;
};

}  // namespace winhelp
