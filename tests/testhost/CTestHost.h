#pragma once

#include "CCommandChannel.h"
#include "CListenSocket.h"
#include "CSvrOptions.h"
#include "ServerLinks.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

// The listener's limits the command line may change.
struct CHostLimits
{
    int headTimeoutMs;
    int sendTimeoutMs;
    int maxConnections;
    int maxPerAddress; // 0: the listener's default share
};

// A session without windows, driven line by line from standard input, that prints what the
// windows would show. Browser tests and benchmarks run the real server through it.
class CTestHost : public QObject, public CActivityLink, public CUserLink
{
public:
    CTestHost(const CSvrOptions &options, const CHostLimits &limits);
    ~CTestHost() override;

    // Listens on the session port (0 picks a free one) and prints "listening PORT".
    bool Start();

    void AddActivity(const QString &user, const QString &address, bool sent) override;
    void MarkSent(const QString &address) override;
    void MarkNotDelivered(const QString &user, const QString &address) override;
    void UpdateUser(const CUserInfo &user) override;
    void AddUser(CUserInfo *user) override;
    void RemoveUser(const CUserInfo &user) override;

private:
    void RunCommand(const QByteArray &line);
    bool RunUserCommand(const QByteArray &command, const QString &key, const QString &argument);
    void Stop();

    CSvrOptions m_options;
    CListenSocket m_listener;
    CCommandChannel m_channel;
    // Idle moments need the loop to wake now and then, as the console's uptime timer does.
    QTimer m_heartbeat;
};
