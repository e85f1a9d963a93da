#include "CListenSocket.h"

#include "CRequestSocket.h"
#include "CSvrOptions.h"
#include "CUserTable.h"
#include "DescriptorLimit.h"
#include "HeldPolls.h"
#include "HttpFormat.h"
#include "PageWriteFaults.h"
#include "Trace.h"

#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>

#include <arpa/inet.h>
#include <fcntl.h>
#include <malloc.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Answers a refused connection without making anything for it. What the peer has sent is read
// first, so that closing does not reset the connection before the answer arrives. The answer
// asks again after a refresh period: the refused request may be a user's control-page poll.
void RefuseConnection(qintptr descriptor, int retrySecs)
{
    const QByteArray answer = RetryLaterResponse(retrySecs, CurrentHttpDate());
    const int socket = static_cast<int>(descriptor);
    if (::send(socket, answer.constData(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0)
        ::shutdown(socket, SHUT_WR);
    char unread[4096];
    while (::recv(socket, unread, sizeof unread, MSG_DONTWAIT) > 0) { }
    ::close(socket);
}

// A connection that went away while it waited in the kernel, or a signal: the next one is
// taken at once.
bool IsTransientAcceptError(int error)
{
    return error == ECONNABORTED || error == EINTR || error == EPROTO;
}

bool IsLoggedOnUser(quint32 address)
{
    const QString key = QHostAddress(address).toString();
    const QMutexLocker lock(&g_userTable.Lock());
    return g_userTable.Contains(key);
}

} // namespace

CListenSocket::CListenSocket(const CSvrOptions &options, QObject *parent)
    : QTcpServer(parent)
    , m_document(options)
{
    setListenBacklogSize(kBacklog);
    ForgetPageWriteFaults();
}

int CListenSocket::DefaultMaxConnections()
{
    constexpr long userSlots = long(CUserTable::kCapacity) * CAdmissionPolicy::kUserSlots;
    const long usable = (DescriptorLimit() - kReservedDescriptors) / 2 - userSlots;
    return static_cast<int>(std::clamp<long>(usable, 1, kMaxConnections));
}

// Out of descriptors, the server stops accepting; the connections waiting in the kernel are
// taken as soon as some have closed, instead of never.
void CListenSocket::PauseAfterAcceptError()
{
    m_acceptable->setEnabled(false);
    QTimer::singleShot(kAcceptRetryMs, this, [this] {
        if (isListening())
            m_acceptable->setEnabled(true);
    });
}

CListenSocket::~CListenSocket()
{
    // The session stops: polls held for a push are answered with the page as it is.
    AnswerAllHeldPolls();
}

CListenSocket::Result CListenSocket::Start(quint16 port)
{
    if (listen(QHostAddress::AnyIPv4, port)) {
        // Qt's own accepting stays paused for good: this class takes the connections itself.
        pauseAccepting();
        const int descriptor = static_cast<int>(socketDescriptor());
        ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) | O_NONBLOCK);
        delete m_acceptable;
        m_acceptable = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
        connect(m_acceptable, &QSocketNotifier::activated, this, &CListenSocket::OnAcceptable);
        return Listening;
    }
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

// Takes every connection the kernel has waiting, so one notification drains the backlog. The
// peer's address comes with the connection, non-blocking and closed on exec from the start.
void CListenSocket::OnAcceptable()
{
    const int listening = static_cast<int>(socketDescriptor());
    for (;;) {
        sockaddr_in peer {};
        socklen_t size = sizeof peer;
        const int descriptor = ::accept4(listening, reinterpret_cast<sockaddr *>(&peer), &size,
                                         SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor >= 0) {
            Serve(descriptor, peer.sin_family == AF_INET ? ntohl(peer.sin_addr.s_addr) : 0);
            continue;
        }
        if (IsTransientAcceptError(errno))
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            PauseAfterAcceptError();
        return;
    }
}

void CListenSocket::Serve(int descriptor, quint32 address)
{
    TRACE("CListenSocket::OnAccept()");
    const CAdmissionPolicy::Pool pool = m_admission.Admit(address, IsLoggedOnUser(address));
    if (pool == CAdmissionPolicy::Refused)
        return RefuseConnection(descriptor, m_document.m_refreshSecs);
    m_peakConnections = std::max(m_peakConnections, m_admission.Open());
    // A logon's record outlives its connection: the slot is free once the descriptor is.
    new CRequestSocket(m_document, descriptor, address, m_timeouts,
                       [listener = QPointer(this), address, pool] {
                           if (listener)
                               listener->OnConnectionLeft(address, pool);
                       });
}

// The allocator keeps what a crowd's buffers freed for later, scattered between what is still in
// use; unless it is told, a burst of peers would keep the server large for good.
void CListenSocket::OnConnectionLeft(quint32 address, CAdmissionPolicy::Pool pool)
{
    m_admission.Leave(address, pool);
    const int open = m_admission.Open();
    if (m_peakConnections < kCrowd || open > m_peakConnections / 8 || m_trimPending)
        return;
    m_trimPending = true;
    QTimer::singleShot(kTrimDelayMs, this, [this] {
        ::malloc_trim(0);
        m_trimPending = false;
        m_peakConnections = m_admission.Open();
    });
}
