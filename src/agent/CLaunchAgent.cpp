#include "CLaunchAgent.h"

#include "AgentAddress.h"

#include <QProcess>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

CLaunchAgent::CLaunchAgent(QString openProgram, RefusalSink refused)
    : m_openProgram(std::move(openProgram))
    , m_refused(std::move(refused))
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this,
            [this] { Refuse(u"no complete address within 10 seconds"_s); });
    connect(&m_server, &QTcpServer::newConnection, this, [this] { ServeNext(); });
}

bool CLaunchAgent::Listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

// Later connections wait in the queue until the one in hand is over.
void CLaunchAgent::ServeNext()
{
    if (m_connection || !m_server.hasPendingConnections())
        return;
    m_connection = m_server.nextPendingConnection();
    m_received.clear();
    connect(m_connection, &QTcpSocket::readyRead, this, [this] { OnReadyRead(); });
    connect(m_connection, &QTcpSocket::disconnected, this, [this] { OnPeerClosed(); });
    m_deadline.start(kReadTimeoutMs);
    OnReadyRead();
    if (m_connection && m_connection->state() != QAbstractSocket::ConnectedState)
        OnPeerClosed();
}

void CLaunchAgent::OnReadyRead()
{
    if (!m_connection)
        return;
    m_received += m_connection->read(kMaxAddressBytes + 1 - m_received.size());
    if (m_received.size() > kMaxAddressBytes)
        Refuse(u"address longer than %1 bytes"_s.arg(kMaxAddressBytes));
}

void CLaunchAgent::OnPeerClosed()
{
    if (!m_connection)
        return;
    OnReadyRead();
    if (!m_connection)
        return;
    const QByteArray address = m_received;
    Release();
    if (!IsLaunchAddress(address)) {
        m_refused(u"refused: not an http:// address of a host: %1"_s.arg(
            QString::fromLatin1(address.toPercentEncoding("/:.?=&#"))));
    } else if (!QProcess::startDetached(m_openProgram, {QString::fromLatin1(address)})) {
        m_refused(u"could not start %1"_s.arg(m_openProgram));
    }
    ServeNext();
}

void CLaunchAgent::Refuse(const QString &why)
{
    if (!m_connection)
        return;
    m_refused(u"refused: "_s + why);
    Release();
    ServeNext();
}

void CLaunchAgent::Release()
{
    m_deadline.stop();
    if (m_connection) {
        m_connection->disconnect(this);
        m_connection->abort();
        m_connection->deleteLater();
    }
    m_connection = nullptr;
    m_received.clear();
}
