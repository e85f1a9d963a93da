#include "CallCenterRequest.h"

#include "Cp1252.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr int kReadBlock = 4096;
// How often a request looks whether it was told to stop.
constexpr int kStopCheckMs = 50;

// One exchange: connect, send the head, read to the end. Runs its own event loop.
class CExchange
{
public:
    explicit CExchange(const std::atomic_bool &stop)
        : m_stop(stop)
        , m_deadline(kRequestTimeoutMs)
    { }

    std::optional<QByteArray> Run(const QUrl &address, const QByteArray &target);

private:
    void OnConnected(const QByteArray &head);
    void OnReadyRead();
    void OnError(QAbstractSocket::SocketError error);
    void OnTick();
    void Fail();
    // The body once a Content-Length says it is complete.
    bool BodyComplete() const;

    const std::atomic_bool &m_stop;
    QDeadlineTimer m_deadline;
    QEventLoop m_loop;
    QTcpSocket m_socket;
    QByteArray m_received;
    bool m_failed = false;
};

std::optional<QByteArray> CExchange::Run(const QUrl &address, const QByteArray &target)
{
    const QByteArray host = address.authority(QUrl::FullyEncoded).toLatin1();
    const QByteArray head = "GET " + target + " HTTP/1.0\r\nHost: " + host
        + "\r\nUser-Agent: Vantro\r\nPragma: no-cache\r\nCache-Control: no-cache\r\n\r\n";
    QObject::connect(&m_socket, &QTcpSocket::connected, &m_loop,
                     [this, head] { OnConnected(head); });
    QObject::connect(&m_socket, &QTcpSocket::readyRead, &m_loop, [this] { OnReadyRead(); });
    QObject::connect(&m_socket, &QTcpSocket::disconnected, &m_loop, &QEventLoop::quit);
    QObject::connect(&m_socket, &QTcpSocket::errorOccurred, &m_loop,
                     [this](QAbstractSocket::SocketError error) { OnError(error); });
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &m_loop, [this] { OnTick(); });
    tick.start(kStopCheckMs);
    m_socket.connectToHost(address.host(), static_cast<quint16>(address.port(80)));
    // A failure reported at once would quit the loop before it runs.
    if (m_stop || m_failed)
        return std::nullopt;
    m_loop.exec();
    // What arrived with the close is still to be read; closing the socket would drop it.
    OnReadyRead();
    m_socket.abort();
    const qsizetype headEnd = m_received.indexOf("\r\n\r\n");
    if (m_failed || !m_received.startsWith("HTTP/") || headEnd < 0)
        return std::nullopt;
    return m_received.sliced(headEnd + 4);
}

void CExchange::OnConnected(const QByteArray &head)
{
    m_socket.write(head);
}

void CExchange::OnReadyRead()
{
    while (!m_failed && m_socket.bytesAvailable() > 0) {
        m_received += m_socket.read(kReadBlock);
        if (m_received.size() > kMaxReplyBytes)
            Fail();
    }
    if (BodyComplete())
        m_loop.quit();
}

bool CExchange::BodyComplete() const
{
    const qsizetype headEnd = m_received.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    for (const QByteArray &line : m_received.first(headEnd).split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0 || line.first(colon).trimmed().toLower() != "content-length")
            continue;
        bool number = false;
        const qint64 length = line.sliced(colon + 1).trimmed().toLongLong(&number);
        return number && m_received.size() - headEnd - 4 >= length;
    }
    return false;
}

void CExchange::OnError(QAbstractSocket::SocketError error)
{
    // The server ends its reply by closing the connection.
    if (error == QAbstractSocket::RemoteHostClosedError)
        return;
    Fail();
}

void CExchange::OnTick()
{
    if (m_failed || m_stop || m_deadline.hasExpired())
        Fail();
}

void CExchange::Fail()
{
    m_failed = true;
    m_loop.quit();
}

} // namespace

QByteArray CallCenterTarget(const QString &path, const QString &query)
{
    // Characters that keep their meaning in a request target stay as they are; a space, "#",
    // "%" of the query, controls and non-ASCII bytes go escaped.
    const QByteArray kept = "!$&'()*+,;=:@/?";
    return '/' + ToCp1252(path).toPercentEncoding(kept + '%')
        + ToCp1252(query).toPercentEncoding(kept);
}

std::optional<QByteArray> RequestCallCenter(const QString &server, const QString &path,
                                            const QString &query, const std::atomic_bool &stop)
{
    const QUrl address(u"http://"_s + server + u'/', QUrl::StrictMode);
    if (!address.isValid() || address.host().isEmpty())
        return std::nullopt;
    CExchange exchange(stop);
    return exchange.Run(address, CallCenterTarget(path, query));
}
