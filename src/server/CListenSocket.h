#pragma once

#include <QTcpServer>

class CSvrOptions;

// The session's listening socket: every accepted connection becomes a CRequestSocket.
class CListenSocket : public QTcpServer
{
public:
    // Browsers open several connections each; a short backlog makes bursts wait in the kernel.
    static constexpr int kBacklog = 1024;
    // A connection whose request head is not complete by then is dropped.
    static constexpr int kHeadTimeoutMs = 30000;

    enum Result { Listening, CannotStart, PortInUse, CannotListen };

    // The options must outlive the listener and every connection it makes.
    explicit CListenSocket(const CSvrOptions &options, QObject *parent = nullptr);
    ~CListenSocket() override;

    // Listens on every IPv4 address of this machine.
    Result Start(quint16 port);

    void SetHeadTimeout(int milliseconds) { m_headTimeoutMs = milliseconds; }

    // The operator's text for a failed start.
    static QString FailureText(Result result, int port);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    const CSvrOptions &m_document;
    int m_headTimeoutMs = kHeadTimeoutMs;
};
