#include "COpenChannel.h"

#include "CDocManager.h"

#include <QLocalSocket>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

constexpr int kTimeoutMs = 2000;

} // namespace

COpenChannel::COpenChannel(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, [this] { OnConnection(); });
}

// In the user's runtime folder, so that every user, and every test, has a channel of its own.
QString COpenChannel::Name()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + u"/vantro-open"_s;
}

bool COpenChannel::SendToRunning(const QStringList &paths)
{
    QLocalSocket socket;
    socket.connectToServer(Name());
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    for (const QString &path : paths)
        socket.write(path.toUtf8() + '\n');
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState
        || socket.waitForDisconnected(kTimeoutMs);
}

bool COpenChannel::Listen()
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(Name()))
        return true;
    // A console that crashed leaves its socket file behind.
    QLocalServer::removeServer(Name());
    return m_server.listen(Name());
}

void COpenChannel::OnConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, [socket] {
            const QList<QByteArray> lines = socket->readAll().split('\n');
            socket->deleteLater();
            for (const QByteArray &line : lines) {
                if (!line.isEmpty())
                    OpenFromFileManager(QString::fromUtf8(line));
            }
        });
    }
}

void OpenFromFileManager(const QString &path)
{
    if (g_pDocManager)
        g_pDocManager->OpenDocumentFile(path);
}
