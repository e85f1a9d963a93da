#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

class CServedFile;
class QSocketNotifier;

// Sends a response head and then a file's bytes to a connected, non-blocking socket, the file
// by sendfile so that its bytes never pass through this program. Works from the socket's write
// notifications, a bounded amount at a time, so that other events keep their turn. The socket's
// own object must have nothing waiting to be written meanwhile.
class CFileBodySender : public QObject
{
public:
    enum Outcome {
        Sent, // all of it, or the file ended sooner because it shrank meanwhile
        Unsupported, // the head is out, but the file cannot go by sendfile: read and send the rest
        Failed, // the connection is gone
    };
    using DoneFunction = std::function<void(Outcome)>;

    // The file must stay open until the sender is done; it is sent from its current position.
    CFileBodySender(int socket, CServedFile &file, qint64 length, QByteArray head,
                    DoneFunction done);

    // Sends what the socket takes now; the rest follows from write notifications, and the done
    // function is called once at the end. The sender may be deleted from it only later.
    void Start();
    // No more notifications: the socket is about to close.
    void Stop();

    qint64 BytesSent() const { return m_bytesSent; }
    // The file's bytes not sent yet.
    qint64 FileLeft() const { return m_fileLeft; }

private:
    void OnWritable();
    void Wait();
    void Finish(Outcome outcome);

    int m_socket;
    CServedFile &m_file;
    qint64 m_fileLeft;
    QByteArray m_head;
    DoneFunction m_done;
    qint64 m_bytesSent = 0;
    QSocketNotifier *m_writable = nullptr;
};
