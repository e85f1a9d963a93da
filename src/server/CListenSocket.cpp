#include "CListenSocket.h"

#include "CRequestSocket.h"
#include "DescriptorLimit.h"
#include "HeldPolls.h"
#include "HttpFormat.h"
#include "Trace.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Answers a connection past the cap without making anything for it. What the peer has sent is
// read first, so that closing does not reset the connection before the answer arrives.
void RefuseConnection(qintptr descriptor)
{
    const QByteArray answer = ErrorResponse(503, CurrentHttpDate());
    const int socket = static_cast<int>(descriptor);
    if (::send(socket, answer.constData(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
        ::shutdown(socket, SHUT_WR);
    char unread[4096];
    while (::recv(socket, unread, sizeof unread, MSG_DONTWAIT) > 0) { }
    ::close(socket);
}

} // namespace

CListenSocket::CListenSocket(const CSvrOptions &options, QObject *parent)
    : QTcpServer(parent)
    , m_document(options)
{
    setListenBacklogSize(kBacklog);
    connect(this, &QTcpServer::acceptError, this, &CListenSocket::OnAcceptError);
}

int CListenSocket::DefaultMaxConnections()
{
    const long usable = (DescriptorLimit() - kReservedDescriptors) / 2;
    return static_cast<int>(std::clamp<long>(usable, 1, kMaxConnections));
}

// Out of descriptors, the server stops accepting; the connections waiting in the kernel are
// taken as soon as some have closed, instead of never.
void CListenSocket::OnAcceptError()
{
    if (isListening())
        QTimer::singleShot(kAcceptRetryMs, this, [this] { resumeAccepting(); });
}

CListenSocket::~CListenSocket()
{
    // The session stops: polls held for a push are answered with the page as it is.
    AnswerAllHeldPolls();
}

CListenSocket::Result CListenSocket::Start(quint16 port)
{
    if (listen(QHostAddress::AnyIPv4, port))
        return Listening;
    switch (serverError()) {
    case QAbstractSocket::AddressInUseError:
        return PortInUse;
    case QAbstractSocket::SocketAccessError:
        return NoPermission;
    default:
        return CannotListen;
    }
}

QString CListenSocket::FailureText(Result result, int port)
{
    switch (result) {
    case CannotStart:
        return u"Can't start server!"_s;
    case PortInUse:
        return u"Port %1 is already in use!\n\nMake sure there is no other applications or "
               "instances of Vantro running that are already bound to that port."_s.arg(port);
    // Low ports need a privilege on this system; blaming the transport would send the operator
    // looking in the wrong place.
    case NoPermission:
        return u"Can't listen on port %1: permission denied.\n\nPorts below 1024 need a privilege "
               "this account does not have. Choose a port above 1023 in Session Properties > "
               "Server > Settings..."_s.arg(port);
    case CannotListen:
        return u"Can't listen on port %1!\n\nMake sure the TCP/IP transport is set up correctly "
               "and that no other applications are already listening on that port."_s.arg(port);
    case Listening:
        break;
    }
    return {};
}

// Runs for every connection the kernel has waiting, so one notification drains the backlog.
void CListenSocket::incomingConnection(qintptr descriptor)
{
    TRACE("CListenSocket::OnAccept()");
    if (m_openConnections >= m_maxConnections)
        return RefuseConnection(descriptor);
    auto *socket = new QTcpSocket;
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        ::close(static_cast<int>(descriptor));
        return;
    }
    ++m_openConnections;
    connect(socket, &QObject::destroyed, this, [this] { --m_openConnections; });
    new CRequestSocket(m_document, socket, m_headTimeoutMs);
}
