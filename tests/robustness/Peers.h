#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Raw loopback client sockets, non-blocking, so that one thread can hold a thousand of them
// and decide byte by byte what each sends, reads, stalls or resets.

// 127.0.0.N in host order: one more peer address on loopback.
constexpr quint32 Loopback(int n)
{
    return 0x7F000000u + static_cast<quint32>(n);
}

// A socket connecting to the port on 127.0.0.1 from the source address; its receive buffer is
// set first when not 0. -1 when no socket could be made.
int OpenPeer(quint16 port, int receiveBuffer = 0, quint32 source = Loopback(1));
// Sends all the bytes, waiting while the socket is full; false when the connection is gone.
bool SendBytes(int peer, QByteArrayView bytes, int timeoutMs = 2000);
// Reads until the server closes the connection (or resets it) or the time is up, then closes
// the socket; closed says whether the server ended it.
QByteArray ReadToClose(int peer, int timeoutMs, bool *closed = nullptr);
// Reads what has arrived, up to the limit, without waiting.
QByteArray ReadAvailable(int peer, qsizetype limit);
// Ends the peer's sending side, as an HTTP/1.0 client may once its request is out.
void EndInput(int peer);
// Closes with a reset instead of a graceful end.
void ResetPeer(int peer);
void ClosePeer(int peer);
