#include "ClientLaunch.h"

#include "Trace.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxPort = 65535;

// Runs the loop until the socket reaches the state, falls back to unconnected (a failure) or the
// time is up; true on the state.
bool WaitForState(QTcpSocket &socket, QAbstractSocket::SocketState state, int timeoutMs)
{
    if (socket.state() == state)
        return true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&socket, &QAbstractSocket::stateChanged, &loop,
                     [&](QAbstractSocket::SocketState now) {
                         if (now == state || now == QAbstractSocket::UnconnectedState)
                             loop.quit();
                     });
    timer.start(timeoutMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return socket.state() == state;
}

bool IsCreationError(QAbstractSocket::SocketError error)
{
    return error == QAbstractSocket::SocketResourceError
        || error == QAbstractSocket::UnsupportedSocketOperationError;
}

} // namespace

int LeadingPort(const QString &text)
{
    int port = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        port = port * 10 + (c.unicode() - u'0');
        if (port > kMaxPort)
            return 0;
    }
    return port;
}

LaunchOutcome LaunchClient(const QString &machine, int port, const QByteArray &text,
                           const std::function<void(const QString &)> &status)
{
    status(u"Connecting to %1..."_s.arg(machine));
    if (port <= 0 || port > kMaxPort)
        return {LaunchResult::NoConnection, {}};
    QTcpSocket socket;
    socket.connectToHost(machine, static_cast<quint16>(port));
    if (!WaitForState(socket, QAbstractSocket::ConnectedState, kLaunchConnectTimeoutMs)) {
        const bool noSocket = IsCreationError(socket.error());
        socket.abort();
        return {noSocket ? LaunchResult::NoSocket : LaunchResult::NoConnection, {}};
    }
    status(u"Launching client %1..."_s.arg(machine));
    TRACE("CClientTestDlg::OnLaunchClients()");
    socket.write(text);
    socket.disconnectFromHost();
    const bool closed
        = WaitForState(socket, QAbstractSocket::UnconnectedState, kLaunchSendTimeoutMs);
    status(u"Disconnecting from client %1..."_s.arg(machine));
    // The agent may close first once it has the address; anything else lost the text.
    const bool broken = socket.error() != QAbstractSocket::UnknownSocketError
        && socket.error() != QAbstractSocket::RemoteHostClosedError;
    if (!closed || socket.bytesToWrite() > 0 || broken) {
        const QString error = socket.errorString();
        socket.abort();
        return {LaunchResult::WriteFailed, error};
    }
    return {};
}
