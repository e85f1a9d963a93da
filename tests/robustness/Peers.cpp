#include "Peers.h"

#include <QDeadlineTimer>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool WaitReady(int peer, short events, const QDeadlineTimer &deadline)
{
    pollfd entry {peer, events, 0};
    return ::poll(&entry, 1, int(deadline.remainingTime())) > 0;
}

} // namespace

int OpenPeer(quint16 port, int receiveBuffer, quint32 source)
{
    const int peer = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (peer < 0)
        return -1;
    if (receiveBuffer > 0)
        ::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    // The port is chosen at connect, so that many peers from one address can share ports among
    // destinations.
    const int late = 1;
    ::setsockopt(peer, IPPROTO_IP, IP_BIND_ADDRESS_NO_PORT, &late, sizeof late);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(source);
    if (::bind(peer, reinterpret_cast<sockaddr *>(&local), sizeof local) != 0) {
        ::close(peer);
        return -1;
    }
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(peer, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        && errno != EINPROGRESS) {
        ::close(peer);
        return -1;
    }
    return peer;
}

bool SendBytes(int peer, QByteArrayView bytes, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(peer, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.sliced(sent);
            continue;
        }
        if ((errno != EAGAIN && errno != EINPROGRESS) || !WaitReady(peer, POLLOUT, deadline))
            return false;
    }
    return true;
}

QByteArray ReadToClose(int peer, int timeoutMs, bool *closed)
{
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray received;
    bool ended = false;
    for (;;) {
        char block[16384];
        const ssize_t size = ::recv(peer, block, sizeof block, 0);
        if (size > 0) {
            received.append(block, size);
            continue;
        }
        if (size == 0 || (errno != EAGAIN && errno != ENOTCONN)) {
            ended = true;
            break;
        }
        if (!WaitReady(peer, POLLIN, deadline))
            break;
    }
    ClosePeer(peer);
    if (closed)
        *closed = ended;
    return received;
}

QByteArray ReadAvailable(int peer, qsizetype limit)
{
    QByteArray received(limit, Qt::Uninitialized);
    const ssize_t size = ::recv(peer, received.data(), limit, MSG_DONTWAIT);
    received.truncate(size > 0 ? size : 0);
    return received;
}

void EndInput(int peer)
{
    ::shutdown(peer, SHUT_WR);
}

void ResetPeer(int peer)
{
    const linger abortive {1, 0};
    ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::close(peer);
}

void ClosePeer(int peer)
{
    ::close(peer);
}
