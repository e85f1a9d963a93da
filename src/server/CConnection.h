#pragma once

#include <QByteArray>

#include <functional>
#include <memory>

class QSocketNotifier;

// One accepted TCP connection's descriptor, read and written without blocking from the event
// loop. Writing needs no notifier unless the kernel does not take everything at once.
class CConnection
{
public:
    struct Handlers
    {
        std::function<void()> readable; // input or its end has arrived
        std::function<void()> written; // every byte handed to Write is with the kernel
        std::function<void(int)> failed; // writing failed with this errno
        std::function<void()> closed; // the descriptor is closed, by either end
    };
    enum Input { Open, Ended, Failed };

    // Takes the descriptor, which must be non-blocking; watches for input at once.
    CConnection(int descriptor, Handlers handlers);
    ~CConnection();
    CConnection(const CConnection &) = delete;
    CConnection &operator=(const CConnection &) = delete;

    int Descriptor() const { return m_descriptor; }
    bool IsOpen() const { return m_descriptor >= 0; }

    // Appends what has arrived to the bytes; on Failed, Error() tells why.
    Input Read(QByteArray &into);
    int Error() const { return m_error; }
    // No more input notifications: what follows the request is not read.
    void StopReading();

    // Sends what the kernel takes now and keeps the rest until the socket is writable again.
    void Write(const QByteArray &bytes);
    qint64 BytesToWrite() const { return m_unsent.size(); }

    // Drops input that has arrived, so that the close is no reset, and closes: what the kernel
    // holds still goes out before the end of the output.
    void Close();
    // A reset: what the kernel still holds for the peer goes too.
    void Abort();

private:
    void OnWritable();
    void Release();

    int m_descriptor;
    Handlers m_handlers;
    QByteArray m_unsent;
    int m_error = 0; // the errno of the last failed read
    // Disabled, not deleted, once done with: they may be reporting right now.
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
};
