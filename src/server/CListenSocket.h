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
    // The most connections held open at once, however many descriptors the process may have.
    static constexpr int kMaxConnections = 4096;
    // Descriptors kept free for everything else: the log, page files, the console's own.
    static constexpr int kReservedDescriptors = 64;
    // A failed accept (no descriptor left) is tried again after this pause.
    static constexpr int kAcceptRetryMs = 100;

    enum Result { Listening, CannotStart, PortInUse, NoPermission, CannotListen };

    // The options must outlive the listener and every connection it makes.
    explicit CListenSocket(const CSvrOptions &options, QObject *parent = nullptr);
    ~CListenSocket() override;

    // Listens on every IPv4 address of this machine.
    Result Start(quint16 port);

    void SetHeadTimeout(int milliseconds) { m_headTimeoutMs = milliseconds; }

    // Connections past the cap are answered 503 and closed at once. The default is
    // kMaxConnections, or fewer when the descriptor limit would not hold them: each connection
    // may take two descriptors, its socket and the file it sends.
    static int DefaultMaxConnections();
    void SetMaxConnections(int count) { m_maxConnections = count; }
    int OpenConnections() const { return m_openConnections; }

    // The operator's text for a failed start.
    static QString FailureText(Result result, int port);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    const CSvrOptions &m_document;
    void OnAcceptError();

    int m_headTimeoutMs = kHeadTimeoutMs;
    int m_maxConnections = DefaultMaxConnections();
    int m_openConnections = 0;
};
