#pragma once

#include "CConnection.h"
#include "CFileBodySender.h"
#include "CPageSet.h"
#include "CServedFile.h"
#include "HttpHead.h"

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>

#include <atomic>
#include <memory>

class CRequest;
class CSvrOptions;

// How long a connection may keep the server waiting, in milliseconds.
struct CConnectionTimeouts
{
    int headMs; // for its whole request head
    int sendMs; // with unsent response bytes that do not move
};

// One accepted connection: reads one HTTP/1.0 request, answers it and closes. A logon
// connection lives on after its response as the user's record in the user table, which holds
// its own reference. Reference-counted: starts at 1 for the connection itself.
class CRequestSocket : public QObject
{
public:
    // A request head larger than this is refused.
    static constexpr qsizetype kMaxHeadBytes = 8192;

    // Takes ownership of the accepted, non-blocking descriptor; the peer's IPv4 address is in
    // host order. A request head not complete in time is dropped, and so is a response the peer
    // stops taking. The closed function is called once the descriptor is closed.
    CRequestSocket(const CSvrOptions &options, int descriptor, quint32 peerIp,
                   CConnectionTimeouts timeouts, std::function<void()> closed);
    // A user record without a connection: a client mirrored from a call center. It has no page
    // set (m_pages is null), so pushes skip its pages. The options must outlive the record.
    explicit CRequestSocket(const CSvrOptions &options);

    void AddRef() { ++m_refCount; }
    void Release();

    // The user-record fields.
    quint32 m_lastSeen = 0;
    QString m_playEveryFrame;
    QString m_autoPlay;
    QString m_backgroundImage;
    int m_refreshSecs = 0;
    int m_downloadDelaySecs = 0;
    QString m_busyPath;
    QString m_welcomePath;
    QString m_logoffPath;
    QString m_lastPushed;
    QString m_clientAddress;
    quint32 m_clientIp = 0;
    // This client's own control-page path, made once: every request is checked against it.
    QByteArray m_controlPagePath;
    CRequest *m_request = nullptr;
    std::unique_ptr<CPageSet> m_pages;

    // The address the last delivered push sent the user to.
    QString m_lastDelivered;
    // The control window has reported that the last delivered push found no main window.
    int m_lossReported = 0;
    // The control window shows the idle page: its next idle poll may be held without hiding
    // the end of a push behind "Pushing...".
    int m_idleShown = 0;

    const CSvrOptions &Options() const { return *m_document; }

    // A held poll of an idle control page goes on with the page as it now is. Unless told
    // otherwise, the answer asks the control window to poll again soon.
    void AnswerHeldPoll(bool repollSoon);
    // Answers with bytes the server made rather than a file; nothing happens once the
    // connection has answered or closed.
    void SendGenerated(QByteArrayView contentType, const QByteArray &body);

    // How long a poll is held, in refresh periods: well inside the time-out's seven.
    static constexpr int kHeldPeriods = 4;

private:
    ~CRequestSocket() override;

    void timerEvent(QTimerEvent *event) override;
    void StopHeadTimer();
    void WatchSending();
    qint64 BytesTakenByPeer() const;
    void OnSendTimer();
    void StopReading();
    void OnReceive();
    void OnSend();
    void OnClose();
    void OnError(int error);
    bool IsConnected() const { return m_connection && m_connection->IsOpen(); }

    void LineStep(const QByteArray &line);
    void RequestLineStep(const QByteArray &line);
    void HeaderLineStep(const QByteArray &line);
    void Respond();
    bool HoldIfIdle();
    bool RepollsSoon() const;
    void SendFile();
    int FileStep();
    void HeadStep();
    void SendStatus(int code);
    void SendError(int code);
    void SendRetryLater();
    void SendResponse(int code, const QByteArray &response);
    void StartSending();
    bool SendsBodyBySendfile();
    void OnBodySent(CFileBodySender::Outcome outcome);
    void ReadNextBlock();
    void OnFileSent();
    void Finish();
    enum How { Graceful, Abort };
    void ShutDown(How how = Graceful);

    QByteArray m_buffer; // bytes waiting to go to the socket
    int m_parseState = 0;
    // Call-center threads drop references too, under the user-table lock the GUI thread need
    // not hold for its own.
    std::atomic_int m_refCount = 1;
    int m_closed = 0;
    QString m_contentType;
    QDateTime m_lastWrite;
    const CSvrOptions *m_document;
    std::unique_ptr<CConnection> m_connection; // kept once closed: it may be reporting now
    CServedFile m_file;
    qint64 m_fileLeft = 0; // bytes of the file not sent or read yet
    bool m_bySendfile = false; // the file has yet to be handed to a body sender
    CFileBodySender *m_bodySender = nullptr; // while the kernel sends the file
    int m_headTimer = 0; // the id of the timer that drops a slow head
    int m_sendTimeoutMs = 0;
    int m_sendTimer = 0; // while bytes wait to go: the id of the timer that drops a stalled peer
    QElapsedTimer m_sinceSendProgress; // since the peer last took kMinSendProgress bytes
    qint64 m_takenAtProgress = 0; // BytesTakenByPeer() then
    int m_holdTimer = 0; // while a poll is held: the id of the timer that ends the hold
    bool m_repollSoon = true; // false when a held poll was ended by another poll or a stop
    CHeadScanner m_scanner;
};
