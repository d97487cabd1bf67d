#include "winhelp/ViewerServer.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace winhelp {

namespace {
constexpr int ConnectWait = 2000;  // milliseconds
}

QString serverName(const QString &helpFile)
{
    // Per user and file; the hash keeps the name short and free of slashes.
    const QString file = QFileInfo(helpFile).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(file.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("velko-winhelp-%1-%2").arg(getuid()).arg(QString::fromLatin1(hash.left(16)));
}

bool passToRunningViewer(const platform::HelpRequest &request)
{
    QLocalSocket socket;
    socket.connectToServer(serverName(request.helpFile));
    if (!socket.waitForConnected(ConnectWait))
        return false;
    QDataStream out(&socket);
    out << platform::helpRequestArguments(request);
    if (!socket.waitForBytesWritten(ConnectWait))
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(ConnectWait);
}

ViewerServer::ViewerServer(const QString &helpFile, QObject *parent)
    : QObject(parent),
      m_server(new QLocalServer(this))
{
    const QString name = serverName(helpFile);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left behind by a viewer that ended abnormally blocks the name.
    if (!m_server->listen(name) && m_server->serverError() == QAbstractSocket::AddressInUseError) {
        QLocalServer::removeServer(name);
        m_server->listen(name);
    }
    connect(m_server, &QLocalServer::newConnection, this, &ViewerServer::accept);
}

bool ViewerServer::isListening() const
{
    return m_server->isListening();
}

void ViewerServer::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList arguments;
            in >> arguments;
            if (!in.commitTransaction())
                return;
            if (const auto request = platform::parseHelpRequest(arguments))
                emit requestReceived(*request);
        });
    }
}

}  // namespace winhelp
