#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

// A file opened to be served: one open and one fstat, and only a regular file is kept. Its bytes
// are read, or handed to a socket by the kernel, from a position of its own.
class CServedFile
{
public:
    CServedFile() = default;
    CServedFile(const CServedFile &) = delete;
    CServedFile &operator=(const CServedFile &) = delete;
    ~CServedFile() { Close(); }

    // False, with nothing open, when the path names no regular file that can be read.
    bool Open(const QString &path);
    void Close();
    bool IsOpen() const { return m_descriptor >= 0; }

    // What fstat said at opening: size, last-write time, device and inode.
    const struct stat &Status() const { return m_status; }

    // Up to the count of the next bytes; empty at the end of the file or on an error.
    QByteArray Read(qint64 count);
    // Up to the count of the next bytes straight to the socket; what sendfile returns, with
    // errno set when that is -1.
    ssize_t SendTo(int socket, qint64 count);

private:
    int m_descriptor = -1;
    off_t m_position = 0;
    struct stat m_status
    {
    };
};
