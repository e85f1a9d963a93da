#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTimer>

#include <functional>

class QTcpSocket;

// The launch agent on a user's machine: takes one connection at a time, reads the address a
// console's launcher sends until the launcher closes, and opens an acceptable address with the
// open program, the address as its one argument and no shell in between. Anything else is
// refused with one line and nothing is opened.
class CLaunchAgent : public QObject
{
public:
    static constexpr quint16 kDefaultPort = 1500;
    static constexpr qsizetype kMaxAddressBytes = 2048;
    static constexpr int kReadTimeoutMs = 10000;

    // Told each refusal, as one line without its line end.
    using RefusalSink = std::function<void(const QString &line)>;

    CLaunchAgent(QString openProgram, RefusalSink refused);

    bool Listen(const QHostAddress &address, quint16 port);
    quint16 Port() const { return m_server.serverPort(); }
    QString ErrorString() const { return m_server.errorString(); }

private:
    void ServeNext();
    void OnReadyRead();
    void OnPeerClosed();
    void Refuse(const QString &why);
    // Lets the connection in hand go.
    void Release();

    QString m_openProgram;
    RefusalSink m_refused;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_connection;
    QByteArray m_received;
    QTimer m_deadline;
};
