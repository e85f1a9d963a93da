#include "CListenSocket.h"

#include "CRequestSocket.h"
#include "HeldPolls.h"
#include "Trace.h"

#include <QTcpSocket>

using namespace Qt::StringLiterals;

CListenSocket::CListenSocket(const CSvrOptions &options, QObject *parent)
    : QTcpServer(parent)
    , m_document(options)
{
    setListenBacklogSize(kBacklog);
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
    return serverError() == QAbstractSocket::AddressInUseError ? PortInUse : CannotListen;
}

QString CListenSocket::FailureText(Result result, int port)
{
    switch (result) {
    case CannotStart:
        return u"Can't start server!"_s;
    case PortInUse:
        return u"Port %1 is already in use!\n\nMake sure there is no other applications or "
               "instances of Vantro running that are already bound to that port."_s.arg(port);
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
    auto *socket = new QTcpSocket;
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    new CRequestSocket(m_document, socket, m_headTimeoutMs);
}
