#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <QThread>

#include <memory>

class CSimulatorServer;

// A call-center server on 127.0.0.1 for tests and for trying call-center mode by hand. It runs
// on a thread of its own, so that it answers while the console's thread waits for it. Requests
// are told apart by the letter after "?ws=1&" (A, C, S, X, R): each kind has its scripted
// replies and its behaviour. Every request line received is recorded.
class CCallCenterSimulator
{
public:
    enum Behaviour { Answer, AnswerSlowly, NeverAnswer };

    // Listens on 127.0.0.1 at the port; 0 takes a free one.
    explicit CCallCenterSimulator(quint16 port = 0);
    ~CCallCenterSimulator();

    quint16 Port() const;
    // The server address a session names: "127.0.0.1:" and the port.
    QString Server() const;

    // The replies to requests of that kind, in turn; the last one repeats. Without a script,
    // polls get "#A;" or "#C;" and commands an empty reply.
    void SetReplies(char kind, const QList<QByteArray> &replies);
    void SetBehaviour(char kind, Behaviour behaviour, int delayMs = 0);
    // Stops listening: connections are refused from now on.
    void Refuse();

    QList<QByteArray> RequestLines() const;
    // Each request's query from its "?" on, percent-decoded.
    QStringList Queries() const;
    // Waits until this many requests of the kind have come; false when they did not in time.
    bool WaitForRequests(char kind, int count, int timeoutMs) const;

private:
    friend class CSimulatorServer;

    struct Script
    {
        QList<QByteArray> replies;
        Behaviour behaviour = Answer;
        int delayMs = 0;
    };

    // The reply and behaviour for a request line, which is recorded; on the server's thread.
    Script Take(const QByteArray &requestLine);

    mutable QMutex m_lock;
    QHash<char, Script> m_scripts;
    QList<QByteArray> m_lines;
    QThread m_thread;
    CSimulatorServer *m_server = nullptr;
    quint16 m_port = 0;
};
