#include "CFileBodySender.h"

#include "CServedFile.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <mutex>

#include <sys/socket.h>

namespace {

// Bytes sent in one turn at most, so that one large file does not hold the thread for long.
constexpr qint64 kTurnBytes = 1024 * 1024;

// sendfile has no flag to keep a peer's reset from raising SIGPIPE, which would end the program;
// the socket layer reports the error instead once the signal is ignored.
void IgnoreBrokenPipes()
{
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction current
        {
        };
        if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGPIPE, SIG_IGN);
    });
}

bool WouldBlock(int error)
{
    return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}

} // namespace

CFileBodySender::CFileBodySender(int socket, CServedFile &file, qint64 length, QByteArray head,
                                 DoneFunction done)
    : m_socket(socket)
    , m_file(file)
    , m_fileLeft(length)
    , m_head(std::move(head))
    , m_done(std::move(done))
{
    IgnoreBrokenPipes();
}

void CFileBodySender::Start()
{
    OnWritable();
}

void CFileBodySender::Stop()
{
    if (m_writable)
        m_writable->setEnabled(false);
}

void CFileBodySender::OnWritable()
{
    qint64 turn = kTurnBytes;
    while (turn > 0) {
        ssize_t sent = 0;
        if (!m_head.isEmpty()) {
            // The head waits for the file's first bytes, so that both leave in one segment.
            sent = ::send(m_socket, m_head.constData(), static_cast<size_t>(m_head.size()),
                          MSG_NOSIGNAL | MSG_DONTWAIT | (m_fileLeft > 0 ? MSG_MORE : 0));
            if (sent > 0)
                m_head.remove(0, sent);
        } else if (m_fileLeft == 0) {
            return Finish(Sent);
        } else {
            sent = m_file.SendTo(m_socket, std::min(m_fileLeft, turn));
            if (sent == 0)
                return Finish(Sent);
            if (sent > 0)
                m_fileLeft -= sent;
            else if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
                return Finish(Unsupported);
        }
        if (sent < 0)
            return WouldBlock(errno) ? Wait() : Finish(Failed);
        m_bytesSent += sent;
        turn -= sent;
    }
    Wait();
}

void CFileBodySender::Wait()
{
    if (!m_writable) {
        m_writable = new QSocketNotifier(m_socket, QSocketNotifier::Write, this);
        connect(m_writable, &QSocketNotifier::activated, this, &CFileBodySender::OnWritable);
    }
    m_writable->setEnabled(true);
}

void CFileBodySender::Finish(Outcome outcome)
{
    Stop();
    m_done(outcome);
}
