#include "CCallCenterSimulator.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

char KindOf(const QByteArray &requestLine)
{
    const qsizetype at = requestLine.indexOf("?ws=1&");
    return at >= 0 && at + 6 < requestLine.size() ? requestLine[at + 6] : '?';
}

QByteArray DefaultReply(char kind)
{
    if (kind == 'A')
        return "#A;";
    if (kind == 'C')
        return "#C;";
    return {};
}

void SendReply(QTcpSocket *socket, const QByteArray &body)
{
    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\nContent-Length: "
                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
}

} // namespace

// Lives on the simulator's thread.
class CSimulatorServer : public QTcpServer
{
public:
    explicit CSimulatorServer(CCallCenterSimulator &simulator)
        : m_simulator(simulator)
    { }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { OnRead(socket); });
    }

private:
    void OnRead(QTcpSocket *socket)
    {
        QByteArray &head = m_heads[socket];
        head += socket->readAll();
        if (!head.contains("\r\n\r\n"))
            return;
        const QByteArray line = head.first(head.indexOf("\r\n"));
        m_heads.remove(socket);
        const CCallCenterSimulator::Script script = m_simulator.Take(line);
        const QByteArray reply = script.replies.value(0, DefaultReply(KindOf(line)));
        switch (script.behaviour) {
        case CCallCenterSimulator::Answer:
            SendReply(socket, reply);
            break;
        case CCallCenterSimulator::AnswerSlowly:
            QTimer::singleShot(script.delayMs, socket,
                               [socket, reply] { SendReply(socket, reply); });
            break;
        case CCallCenterSimulator::NeverAnswer:
            break;
        }
    }

    CCallCenterSimulator &m_simulator;
    QHash<QTcpSocket *, QByteArray> m_heads;
};

CCallCenterSimulator::CCallCenterSimulator(quint16 port)
{
    m_thread.start();
    m_server = new CSimulatorServer(*this);
    m_server->moveToThread(&m_thread);
    QMetaObject::invokeMethod(
        m_server,
        [this, port] {
            m_server->listen(QHostAddress::LocalHost, port);
            const QMutexLocker lock(&m_lock);
            m_port = m_server->serverPort();
        },
        Qt::BlockingQueuedConnection);
}

CCallCenterSimulator::~CCallCenterSimulator()
{
    QMetaObject::invokeMethod(
        m_server, [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    // Emptied under the lock the server's thread wrote them under, which thread checkers see
    // (the end of a Qt thread they do not).
    const QMutexLocker lock(&m_lock);
    m_lines.clear();
    m_scripts.clear();
}

quint16 CCallCenterSimulator::Port() const
{
    const QMutexLocker lock(&m_lock);
    return m_port;
}

QString CCallCenterSimulator::Server() const
{
    return u"127.0.0.1:"_s + QString::number(Port());
}

void CCallCenterSimulator::SetReplies(char kind, const QList<QByteArray> &replies)
{
    const QMutexLocker lock(&m_lock);
    m_scripts[kind].replies = replies;
}

void CCallCenterSimulator::SetBehaviour(char kind, Behaviour behaviour, int delayMs)
{
    const QMutexLocker lock(&m_lock);
    m_scripts[kind].behaviour = behaviour;
    m_scripts[kind].delayMs = delayMs;
}

void CCallCenterSimulator::Refuse()
{
    QMetaObject::invokeMethod(
        m_server, [this] { m_server->close(); }, Qt::BlockingQueuedConnection);
}

CCallCenterSimulator::Script CCallCenterSimulator::Take(const QByteArray &requestLine)
{
    const QMutexLocker lock(&m_lock);
    m_lines.append(requestLine);
    Script &script = m_scripts[KindOf(requestLine)];
    Script taken = script;
    if (script.replies.size() > 1)
        script.replies.removeFirst();
    return taken;
}

QList<QByteArray> CCallCenterSimulator::RequestLines() const
{
    const QMutexLocker lock(&m_lock);
    return m_lines;
}

QStringList CCallCenterSimulator::Queries() const
{
    QStringList queries;
    const QList<QByteArray> lines = RequestLines();
    for (const QByteArray &line : lines) {
        const qsizetype start = line.indexOf('?');
        const qsizetype end = line.lastIndexOf(' ');
        if (start >= 0 && end > start)
            queries.append(QString::fromLatin1(
                QByteArray::fromPercentEncoding(line.sliced(start, end - start))));
    }
    return queries;
}

bool CCallCenterSimulator::WaitForRequests(char kind, int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        int seen = 0;
        const QList<QByteArray> lines = RequestLines();
        for (const QByteArray &line : lines)
            seen += KindOf(line) == kind ? 1 : 0;
        if (seen >= count)
            return true;
        if (deadline.hasExpired())
            return false;
        // The console's notifications arrive on this thread meanwhile.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}
