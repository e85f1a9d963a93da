#include "CServedFile.h"

#include <QFile>

#include <utility>

#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

bool CServedFile::Open(const QString &path)
{
    Close();
    // Not blocking: opening a named pipe for reading would otherwise wait for a writer, and
    // the whole program with it. Regular files ignore the flag.
    const int descriptor
        = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    if (::fstat(descriptor, &m_status) != 0 || !S_ISREG(m_status.st_mode)) {
        ::close(descriptor);
        return false;
    }
    m_descriptor = descriptor;
    m_position = 0;
    return true;
}

void CServedFile::Close()
{
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
}

QByteArray CServedFile::Read(qint64 count)
{
    QByteArray bytes(count, Qt::Uninitialized);
    const ssize_t got = ::pread(m_descriptor, bytes.data(), static_cast<size_t>(count), m_position);
    if (got <= 0)
        return {};
    m_position += got;
    bytes.truncate(got);
    return bytes;
}

ssize_t CServedFile::SendTo(int socket, qint64 count)
{
    return ::sendfile(socket, m_descriptor, &m_position, static_cast<size_t>(count));
}
