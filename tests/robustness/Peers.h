#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Raw loopback client sockets, non-blocking, so that one thread can hold a thousand of them
// and decide byte by byte what each sends, reads, stalls or resets.

// A socket connecting to the port on 127.0.0.1; its receive buffer is set first when not 0.
// -1 when no socket could be made.
int OpenPeer(quint16 port, int receiveBuffer = 0);
// Sends all the bytes, waiting while the socket is full; false when the connection is gone.
bool SendBytes(int peer, QByteArrayView bytes, int timeoutMs = 2000);
// Reads until the server closes the connection (or resets it) or the time is up, then closes
// the socket; closed says whether the server ended it.
QByteArray ReadToClose(int peer, int timeoutMs, bool *closed = nullptr);
// Reads what has arrived, up to the limit, without waiting.
QByteArray ReadAvailable(int peer, qsizetype limit);
// Closes with a reset instead of a graceful end.
void ResetPeer(int peer);
void ClosePeer(int peer);
