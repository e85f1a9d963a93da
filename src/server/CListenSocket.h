#pragma once

#include "CAdmissionPolicy.h"
#include "CRequestSocket.h"

#include <QTcpServer>

class CSvrOptions;
class QSocketNotifier;

// The session's listening socket: every accepted connection becomes a CRequestSocket. The
// listening itself is Qt's; accepting is this class's own, so that a connection costs no more
// system calls than it must.
class CListenSocket : public QTcpServer
{
public:
    // Browsers open several connections each; a short backlog makes bursts wait in the kernel.
    static constexpr int kBacklog = 1024;
    // A connection whose request head is not complete by then is dropped.
    static constexpr int kHeadTimeoutMs = 30000;
    // A connection whose unsent response has not moved for this long is dropped.
    static constexpr int kSendTimeoutMs = 30000;
    // The most connections held open at once, however many descriptors the process may have.
    static constexpr int kMaxConnections = 4096;
    // Descriptors kept free for everything else: the log, page files, the console's own.
    static constexpr int kReservedDescriptors = 64;
    // A failed accept (no descriptor left) is tried again after this pause.
    static constexpr int kAcceptRetryMs = 100;
    // Once a crowd of at least this many connections has mostly gone, the memory their buffers
    // took goes back to the system, a moment later so that the rest of the crowd is gone too.
    static constexpr int kCrowd = 256;
    static constexpr int kTrimDelayMs = 1000;

    enum Result { Listening, CannotStart, PortInUse, NoPermission, CannotListen };

    // The options must outlive the listener and every connection it makes.
    explicit CListenSocket(const CSvrOptions &options, QObject *parent = nullptr);
    ~CListenSocket() override;

    // Listens on every IPv4 address of this machine.
    Result Start(quint16 port);

    void SetHeadTimeout(int milliseconds) { m_timeouts.headMs = milliseconds; }
    void SetSendTimeout(int milliseconds) { m_timeouts.sendMs = milliseconds; }

    // Connections the admission policy refuses are answered 503, with a refresh so that a
    // control window asks again, and closed at once. The default cap is kMaxConnections, or
    // fewer when the descriptor limit would not hold them and the users' own slots beside them:
    // each connection may take two descriptors, its socket and the file it sends.
    static int DefaultMaxConnections();
    void SetMaxConnections(int count) { m_admission.SetMaxConnections(count); }
    // The most connections one address may hold; by default an eighth of the cap.
    void SetMaxPerAddress(int count) { m_admission.SetMaxPerAddress(count); }
    int OpenConnections() const { return m_admission.Open(); }

    // The operator's text for a failed start.
    static QString FailureText(Result result, int port);

private:
    const CSvrOptions &m_document;
    void OnAcceptable();
    void Serve(int descriptor, quint32 address);
    void PauseAfterAcceptError();
    void OnConnectionLeft(quint32 address, CAdmissionPolicy::Pool pool);

    CConnectionTimeouts m_timeouts {kHeadTimeoutMs, kSendTimeoutMs};
    CAdmissionPolicy m_admission {DefaultMaxConnections()};
    int m_peakConnections = 0; // the most open since memory was last given back
    bool m_trimPending = false;
    QSocketNotifier *m_acceptable = nullptr; // while listening
};
