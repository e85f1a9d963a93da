#include "CConnection.h"

#include <QObject>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kReadBlock = 16 * 1024;
// Blocks one read notification takes at most: a head is far smaller, and a peer that keeps
// sending gets no more of the thread or memory than this before others have their turn.
constexpr int kReadBlocksPerTurn = 4;

bool WouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

void Disable(const std::unique_ptr<QSocketNotifier> &notifier)
{
    if (notifier)
        notifier->setEnabled(false);
}

} // namespace

CConnection::CConnection(int descriptor, Handlers handlers)
    : m_descriptor(descriptor)
    , m_handlers(std::move(handlers))
    , m_readable(std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read))
{
    QObject::connect(m_readable.get(), &QSocketNotifier::activated, m_readable.get(),
                     [this] { m_handlers.readable(); });
}

CConnection::~CConnection()
{
    if (IsOpen())
        Abort();
}

CConnection::Input CConnection::Read(QByteArray &into)
{
    for (int block = 0; block < kReadBlocksPerTurn; ++block) {
        const qsizetype size = into.size();
        into.resize(size + kReadBlock);
        const ssize_t got = ::recv(m_descriptor, into.data() + size, kReadBlock, MSG_DONTWAIT);
        into.resize(size + std::max<ssize_t>(got, 0));
        if (got == 0)
            return Ended;
        if (got < 0) {
            m_error = errno;
            return WouldBlock(m_error) ? Open : Failed;
        }
        if (got < kReadBlock)
            return Open;
    }
    return Open; // the rest comes with the next notification
}

void CConnection::StopReading()
{
    Disable(m_readable);
}

void CConnection::Write(const QByteArray &bytes)
{
    if (m_unsent.isEmpty()) {
        const ssize_t sent = ::send(m_descriptor, bytes.constData(), size_t(bytes.size()),
                                    MSG_DONTWAIT | MSG_NOSIGNAL);
        // A failure is reported from the write notification, not from inside the caller's step.
        m_unsent = bytes.mid(std::max<ssize_t>(sent, 0));
    } else {
        m_unsent += bytes;
    }
    if (m_unsent.isEmpty())
        return;
    if (!m_writable) {
        m_writable = std::make_unique<QSocketNotifier>(m_descriptor, QSocketNotifier::Write);
        QObject::connect(m_writable.get(), &QSocketNotifier::activated, m_writable.get(),
                         [this] { OnWritable(); });
    }
    m_writable->setEnabled(true);
}

void CConnection::OnWritable()
{
    const ssize_t sent = ::send(m_descriptor, m_unsent.constData(), size_t(m_unsent.size()),
                                MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) {
        if (!WouldBlock(errno)) {
            m_writable->setEnabled(false);
            m_handlers.failed(errno);
        }
        return;
    }
    m_unsent.remove(0, sent);
    if (!m_unsent.isEmpty())
        return;
    // Kept for the next write; disabled, so that a body sender may watch the socket itself.
    m_writable->setEnabled(false);
    m_handlers.written();
}

void CConnection::Close()
{
    if (!IsOpen())
        return;
    if (!m_unsent.isEmpty())
        ::send(m_descriptor, m_unsent.constData(), size_t(m_unsent.size()),
               MSG_DONTWAIT | MSG_NOSIGNAL);
    char unread[4096];
    for (int block = 0; block < 16; ++block) {
        if (::recv(m_descriptor, unread, sizeof unread, MSG_DONTWAIT) <= 0)
            break;
    }
    // The close itself ends the output in order once no input is left unread; a shutdown
    // beforehand would tell the peer the end while the descriptor is still held.
    Release();
}

void CConnection::Abort()
{
    if (!IsOpen())
        return;
    const linger reset {1, 0};
    ::setsockopt(m_descriptor, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    Release();
}

void CConnection::Release()
{
    Disable(m_readable);
    Disable(m_writable);
    m_unsent.clear();
    ::close(std::exchange(m_descriptor, -1));
    if (m_handlers.closed)
        m_handlers.closed();
}
