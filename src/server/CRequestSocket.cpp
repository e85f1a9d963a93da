#include "CRequestSocket.h"

#include "CPushDispatcher.h"
#include "CRequest.h"
#include "CSvrOptions.h"
#include "CUserTable.h"
#include "ChatRequests.h"
#include "ContentType.h"
#include "HeldPolls.h"
#include "HttpFormat.h"
#include "HttpHead.h"
#include "PrivateFiles.h"
#include "SocketErrorBox.h"
#include "Tick.h"
#include "Trace.h"
#include "Users.h"

#include <QFile>
#include <QHostAddress>
#include <QTimerEvent>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

using namespace Qt::StringLiterals;

namespace {

// How much the connection may hold unsent, beside the kernel's buffer, before the file's next
// block is read: enough to keep fast links busy while each write notification still does a
// bounded amount of work.
constexpr qint64 kSendWindow = 64 * 1024;

// Files are read in blocks of this size. With the window above this bounds what one connection
// holds unsent, beside the kernel's socket buffer.
constexpr qint64 kReadAhead = 64 * 1024;

// Files up to this size are read whole and leave with their head in one write; larger ones go
// from the file to the socket by sendfile.
constexpr qint64 kSendfileAbove = 16 * 1024;

// A stalled response is noticed within a quarter of the send time-out after it is due.
constexpr int kSendChecksPerTimeout = 4;

// What a peer must take to count as reading. A peer that has stopped still takes a trickle for
// a while, as its kernel compacts what it holds.
constexpr qint64 kMinSendProgress = 4096;

QString ForwardSlashes(QString path)
{
    return path.replace(u'\\', u'/');
}

QString DottedAddress(quint32 ip)
{
    char text[16];
    const int size = std::snprintf(text, sizeof text, "%u.%u.%u.%u", ip >> 24, (ip >> 16) & 0xFF,
                                   (ip >> 8) & 0xFF, ip & 0xFF);
    return QString::fromLatin1(text, size);
}

} // namespace

CRequestSocket::CRequestSocket(const CSvrOptions &options, int descriptor, quint32 peerIp,
                               CConnectionTimeouts timeouts, std::function<void()> closed)
    : CRequestSocket(options)
{
    m_sendTimeoutMs = timeouts.sendMs;
    m_closed = 0;
    m_pages = std::make_unique<CPageSet>();
    m_connection = std::make_unique<CConnection>(
        descriptor,
        CConnection::Handlers {[this] { OnReceive(); }, [this] { OnSend(); },
                               [this](int error) { OnError(error); }, std::move(closed)});
    m_clientIp = peerIp;
    m_clientAddress = DottedAddress(m_clientIp);
    m_request->m_clientAddress = m_clientAddress;
    m_controlPagePath = ControlPagePath(m_clientAddress);
    // A plain timer id, not a QTimer: one object less for every connection.
    m_headTimer = startTimer(timeouts.headMs, Qt::CoarseTimer);
}

CRequestSocket::CRequestSocket(const CSvrOptions &options)
    : m_playEveryFrame(options.m_playEveryFrame)
    , m_autoPlay(options.m_autoPlay)
    , m_backgroundImage(u"our.jpg"_s)
    , m_refreshSecs(options.m_refreshSecs)
    , m_downloadDelaySecs(options.m_downloadDelaySecs)
    , m_busyPath(ForwardSlashes(options.m_busyPage))
    , m_welcomePath(ForwardSlashes(options.m_welcomePage))
    , m_logoffPath(ForwardSlashes(options.m_logoffPage))
    , m_request(new CRequest)
    , m_closed(1)
    , m_document(&options)
    , m_scanner(kMaxHeadBytes, [this](const QByteArray &line) { LineStep(line); })
{ }

CRequestSocket::~CRequestSocket()
{
    if (m_request)
        m_request->Release();
}

void CRequestSocket::Release()
{
    if (--m_refCount > 0)
        return;
    ShutDown();
    // The user's page files go now; the object itself once the current notification is over.
    m_pages.reset();
    deleteLater();
}

void CRequestSocket::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_holdTimer)
        return AnswerHeldPoll(true);
    if (event->timerId() == m_sendTimer)
        return OnSendTimer();
    if (event->timerId() != m_headTimer)
        return QObject::timerEvent(event);
    StopHeadTimer();
    ShutDown(Abort);
    Release();
}

void CRequestSocket::StopHeadTimer()
{
    if (m_headTimer)
        killTimer(std::exchange(m_headTimer, 0));
}

// Bytes wait for the peer: if it takes too few of them for the send time-out, it is cut.
void CRequestSocket::WatchSending()
{
    if (m_sendTimer)
        return;
    m_sinceSendProgress.start();
    m_takenAtProgress = BytesTakenByPeer();
    m_sendTimer = startTimer(std::max(1, m_sendTimeoutMs / kSendChecksPerTimeout), Qt::CoarseTimer);
}

// The bytes of the response the peer's side has taken: those handed to the kernel less those it
// still holds unsent. Counting what was handed over instead would miss a peer whose kernel
// takes a large socket buffer at once and then empties it slowly.
qint64 CRequestSocket::BytesTakenByPeer() const
{
    qint64 handed = m_request->m_bytesSent - m_connection->BytesToWrite();
    if (m_bodySender)
        handed += m_bodySender->BytesSent();
    int unsent = 0;
    if (::ioctl(m_connection->Descriptor(), SIOCOUTQ, &unsent) != 0)
        unsent = 0;
    return handed - unsent;
}

void CRequestSocket::OnSendTimer()
{
    const qint64 taken = BytesTakenByPeer();
    if (taken - m_takenAtProgress >= kMinSendProgress) {
        m_takenAtProgress = taken;
        m_sinceSendProgress.start();
    }
    if (m_sinceSendProgress.elapsed() < m_sendTimeoutMs)
        return;
    ShutDown(Abort);
    Release();
}

// One request per connection: whatever follows its head is not read, and the end of the
// peer's input is no reason to stop answering (HTTP/1.0 clients may end their side after the
// request).
void CRequestSocket::StopReading()
{
    m_connection->StopReading();
}

void CRequestSocket::OnReceive()
{
    if (!IsConnected() || m_parseState >= 2)
        return;
    QByteArray data;
    const CConnection::Input input = m_connection->Read(data);
    if (!data.isEmpty()) {
        m_lastSeen = GetTickCount32();
        switch (m_scanner.Feed(data)) {
        case CHeadScanner::Complete:
            m_parseState = 2;
            StopReading();
            return Respond();
        case CHeadScanner::TooLarge:
            StopReading();
            return SendError(400);
        case CHeadScanner::NeedMore:
            break;
        }
    }
    if (input == CConnection::Ended)
        return OnClose();
    if (input == CConnection::Failed)
        return OnError(m_connection->Error());
}

void CRequestSocket::LineStep(const QByteArray &line)
{
    if (m_parseState == 0)
        RequestLineStep(line);
    else
        HeaderLineStep(line);
}

void CRequestSocket::RequestLineStep(const QByteArray &line)
{
    const QMutexLocker lock(&g_userTable.Lock());
    // Header lines follow whatever the request line was; a malformed one leaves the method
    // empty, which is answered 400.
    m_parseState = 1;
    QByteArray &url = m_request->m_url;
    if (!ParseRequestLine(line, m_request->m_method, url, m_request->m_version))
        return;
    const QByteArray rawUrl = url;
    url = PercentDecode(rawUrl);
    NoteControlPagePoll(*this);
    const bool logonPath = url.contains("/?");
    if (logonPath && m_document->m_callCenterMode == 0) {
        m_request->m_logon = 1;
        m_request->m_userName = ParseLogonName(url);
        url = "/";
    } else if (!logonPath) {
        // Pages link to files with queries ("page.htm?x=1"); the query names no file.
        url = PercentDecode(PathWithoutQuery(rawUrl));
    }
    if (url == "/")
        url = QFile::encodeName(m_document->m_logonPage);
}

void CRequestSocket::HeaderLineStep(const QByteArray &line)
{
    QByteArray name;
    QByteArray value;
    if (!ParseHeaderLine(line, name, value))
        return;
    if (name == "user-agent" && value.contains("4."))
        m_request->m_browserV4 = 1;
    m_request->m_headers.insert(name, value);
}

void CRequestSocket::Respond()
{
    StopHeadTimer();
    const QByteArray &method = m_request->m_method;
    if (method.isEmpty())
        return SendError(400);
    if (method != "GET" && method != "HEAD") {
        m_request->m_logon = 0;
        return SendError(501);
    }
    // Only a GET logs a user on: a HEAD answers the logon page's head and nothing more.
    if (method == "HEAD")
        m_request->m_logon = 0;
    if (!LogonStep(*this)) {
        m_request->m_logon = 0;
        return SendError(500);
    }
    if (ChatRequestStep(*this))
        return;
    DeliveryReportStep(*this);
    if (!HoldIfIdle())
        SendFile();
}

// A poll of the user's own idle control page waits for a push, or for its time to be up.
bool CRequestSocket::HoldIfIdle()
{
    if (!m_document->m_instantDelivery || m_request->m_method != "GET"
        || m_request->m_url != m_controlPagePath)
        return false;
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(m_clientAddress);
    if (!user || !user->m_pages || !user->m_pages->IsIdle() || !user->m_idleShown)
        return false;
    HoldPoll(m_clientAddress, this);
    m_holdTimer = startTimer(kHeldPeriods * user->m_refreshSecs * 1000, Qt::CoarseTimer);
    return true;
}

// With instant delivery a control page that would reload after a while (the idle page, or one
// carrying a push) is asked for again a second after it is in instead: that poll is held until
// there is something to deliver, so a push never waits for the page's own refresh. A second, not
// none: a page asked for again the moment it is in never finishes loading in Chromium. The header
// leaves the page bytes as they are; the lost page keeps its slow refresh, since no hold would
// answer it.
bool CRequestSocket::RepollsSoon() const
{
    if (!m_repollSoon || !m_document->m_instantDelivery || m_request->m_method != "GET"
        || m_request->m_url != m_controlPagePath)
        return false;
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(m_clientAddress);
    if (!user || !user->m_pages)
        return false;
    const CPageSet &pages = *user->m_pages;
    return pages.IsIdle() || (pages.IsPushing() && !pages.IsLoggingOff());
}

void CRequestSocket::AnswerHeldPoll(bool repollSoon)
{
    if (!m_holdTimer)
        return;
    killTimer(std::exchange(m_holdTimer, 0));
    m_repollSoon = repollSoon;
    ForgetHeldPoll(this);
    if (m_closed)
        return;
    {
        // The hold was the user's poll all along.
        const QMutexLocker lock(&g_userTable.Lock());
        if (CRequestSocket *user = g_userTable.Find(m_clientAddress))
            user->m_lastSeen = GetTickCount32();
    }
    SendFile();
}

// A user's poll of its own control page is never answered in a way that stops the control
// window: a page that cannot be served from its file now is asked for again later.
void CRequestSocket::SendFile()
{
    const bool usersPoll = IsUsersControlPagePoll(*this);
    if (usersPoll && !RestoreControlPage(*this))
        return SendRetryLater();
    const int status = FileStep();
    if (status != 200)
        return usersPoll ? SendRetryLater() : SendError(status);
    HeadStep();
    m_parseState = 4;
    StartSending();
}

// Maps the request path onto the root folder and opens the file. Returns the status to send.
int CRequestSocket::FileStep()
{
    const QByteArray &url = m_request->m_url;
    if (url.contains('\0'))
        return 400;
    const QString path = MapRequestPath(m_document->ServedRoot(), url);
    if (path.isEmpty())
        return 403;
    m_request->m_path = path;
    if (!m_file.Open(path))
        return 404;
    const struct stat &status = m_file.Status();
    if (IsPrivateFile(path, status, m_document->m_logFileName, m_document->ServedRoot())) {
        m_file.Close();
        return 404;
    }
    m_request->m_fileSize = status.st_size;
    m_fileLeft = status.st_size;
    m_bySendfile = m_fileLeft > kSendfileAbove;
    // In UTC: a local time would cost two time-zone look-ups.
    m_lastWrite = QDateTime::fromSecsSinceEpoch(status.st_mtime, Qt::UTC);
    return 200;
}

void CRequestSocket::HeadStep()
{
    m_buffer.clear();
    SendStatus(200);
    const QString &path = m_request->m_path;
    const qsizetype dot = path.lastIndexOf(u'.');
    m_contentType = ContentTypeForExtension(dot < 0 ? path : path.mid(dot));
    if (!m_contentType.isEmpty())
        m_buffer += HeaderLine("Content-type", m_contentType.toLatin1());
    m_buffer += HeaderLine("Last-Modified", HttpDate(m_lastWrite));
    if (RepollsSoon())
        m_buffer += HeaderLine("Refresh", "1");
    m_buffer += "\r\n";
    if (m_request->m_method == "HEAD")
        m_file.Close();
    else if (m_contentType == "text/html"_L1)
        m_buffer += NoCacheMetaLines();
}

void CRequestSocket::SendGenerated(QByteArrayView contentType, const QByteArray &body)
{
    if (m_closed || m_parseState == 4)
        return;
    m_buffer.clear();
    SendStatus(200);
    m_buffer += HeaderLine("Content-type", contentType);
    m_buffer += HeaderLine("Cache-Control", "no-store");
    m_buffer += "\r\n";
    if (m_request->m_method != "HEAD")
        m_buffer += body;
    m_parseState = 4;
    StartSending();
}

void CRequestSocket::SendStatus(int code)
{
    m_request->m_status = code;
    m_buffer += StatusHead(code, CurrentHttpDate());
}

void CRequestSocket::SendError(int code)
{
    SendResponse(code, ErrorResponse(code, CurrentHttpDate()));
}

void CRequestSocket::SendRetryLater()
{
    SendResponse(503, RetryLaterResponse(m_refreshSecs, CurrentHttpDate()));
}

void CRequestSocket::SendResponse(int code, const QByteArray &response)
{
    m_file.Close();
    m_request->m_status = code;
    m_buffer = response;
    m_parseState = 4;
    StartSending();
}

void CRequestSocket::StartSending()
{
    StopHeadTimer();
    OnSend();
}

void CRequestSocket::OnSend()
{
    if (!IsConnected() || m_parseState != 4 || m_bodySender)
        return;
    while (m_connection->BytesToWrite() < kSendWindow) {
        if (m_file.IsOpen()) {
            if (SendsBodyBySendfile())
                return;
            ReadNextBlock();
        }
        if (m_buffer.isEmpty())
            break;
        m_connection->Write(m_buffer);
        m_request->m_bytesSent += m_buffer.size();
        m_buffer.clear();
    }
    // The response ends once the socket has passed its last byte on, so that the send time-out
    // covers it to the end.
    if (m_buffer.isEmpty() && !m_file.IsOpen() && m_connection->BytesToWrite() == 0)
        return Finish();
    WatchSending();
}

// A large file's head and body go to the socket by a body sender, once, while nothing of the
// response has gone through the socket's own buffer.
bool CRequestSocket::SendsBodyBySendfile()
{
    if (!m_bySendfile || m_connection->BytesToWrite() > 0)
        return false;
    m_bySendfile = false;
    m_bodySender = new CFileBodySender(
        m_connection->Descriptor(), m_file, m_fileLeft, std::exchange(m_buffer, {}),
        [this](CFileBodySender::Outcome outcome) { OnBodySent(outcome); });
    WatchSending();
    m_bodySender->Start();
    return true;
}

void CRequestSocket::OnBodySent(CFileBodySender::Outcome outcome)
{
    m_request->m_bytesSent += m_bodySender->BytesSent();
    m_fileLeft = m_bodySender->FileLeft();
    std::exchange(m_bodySender, nullptr)->deleteLater();
    switch (outcome) {
    case CFileBodySender::Sent:
        OnFileSent();
        return Finish();
    case CFileBodySender::Unsupported:
        return OnSend(); // the rest is read and written
    case CFileBodySender::Failed:
        ShutDown(Abort);
        return Release();
    }
}

// Adds the file's next block to what goes out. A small file is read in one call of exactly its
// size, so its end costs no further read.
void CRequestSocket::ReadNextBlock()
{
    const QByteArray block
        = m_fileLeft > 0 ? m_file.Read(std::min(kReadAhead, m_fileLeft)) : QByteArray();
    if (block.isEmpty())
        return OnFileSent();
    m_fileLeft -= block.size();
    m_buffer += block;
}

// Every byte of the file is out: the response's last step.
void CRequestSocket::OnFileSent()
{
    m_file.Close();
    const QMutexLocker lock(&g_userTable.Lock());
    CPushDispatcher().OnControlPageSent(*this);
}

// The response is complete: the connection ends. A logon's record lives on in the user table.
void CRequestSocket::Finish()
{
    ShutDown();
    Release();
}

void CRequestSocket::OnClose()
{
    ShutDown();
    Release();
}

void CRequestSocket::OnError(int error)
{
    if (!IsConnected())
        return;
    // A reset or a broken pipe is the peer's plain close.
    if (error == ECONNRESET || error == EPIPE)
        return OnClose();
    const QString text = qt_error_string(error);
    const bool receiving = m_parseState != 4;
    ShutDown(Abort);
    Release();
    if (receiving)
        ReportSocketError(text);
}

// Ends the connection in both directions, once; no later notification reaches this object.
// Gracefully, bytes already written still go out first.
void CRequestSocket::ShutDown(How how)
{
    if (m_closed)
        return;
    m_closed = 1;
    StopHeadTimer();
    if (m_sendTimer)
        killTimer(std::exchange(m_sendTimer, 0));
    if (m_holdTimer) {
        killTimer(std::exchange(m_holdTimer, 0));
        ForgetHeldPoll(this);
    }
    if (m_bodySender) {
        m_bodySender->Stop();
        std::exchange(m_bodySender, nullptr)->deleteLater();
    }
    m_file.Close();
    if (!IsConnected())
        return;
    if (how == Abort)
        m_connection->Abort();
    else
        m_connection->Close();
}
