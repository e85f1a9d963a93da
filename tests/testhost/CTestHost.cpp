#include "CTestHost.h"

#include "CPushDispatcher.h"
#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "IdleHook.h"
#include "Users.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

CTestHost::CTestHost(const CSvrOptions &options, const CHostLimits &limits)
    : m_listener(m_options)
    , m_channel([this](const QByteArray &line) { RunCommand(line); }, [this] { Stop(); })
{
    m_listener.SetHeadTimeout(limits.headTimeoutMs);
    m_listener.SetSendTimeout(limits.sendTimeoutMs);
    m_listener.SetMaxConnections(limits.maxConnections);
    if (limits.maxPerAddress > 0)
        m_listener.SetMaxPerAddress(limits.maxPerAddress);
    m_options.CopyFrom(options);
    OnEveryIdleMoment(this, [] { SweepTimedOutUsers(); });
    m_heartbeat.start(500);
    g_pActivityLink = this;
    g_pUserLink = this;
}

CTestHost::~CTestHost()
{
    g_pActivityLink = nullptr;
    g_pUserLink = nullptr;
}

bool CTestHost::Start()
{
    const auto result = m_listener.Start(static_cast<quint16>(m_options.m_port));
    if (result != CListenSocket::Listening) {
        std::fprintf(stderr, "%s\n",
                     qUtf8Printable(CListenSocket::FailureText(result, m_options.m_port)));
        return false;
    }
    PrintLine(u"listening %1"_s.arg(m_listener.serverPort()));
    return true;
}

void CTestHost::AddActivity(const QString &user, const QString &address, bool sent)
{
    PrintLine("activity "_L1 + user + u'\t' + address + u'\t' + (sent ? "Sent"_L1 : "Pushing"_L1));
}

void CTestHost::MarkSent(const QString &address)
{
    PrintLine("sent "_L1 + address);
}

void CTestHost::MarkNotDelivered(const QString &user, const QString &address)
{
    PrintLine("not-delivered "_L1 + user + u'\t' + address);
}

void CTestHost::UpdateUser(const CUserInfo &user)
{
    PrintLine("user-state "_L1 + user.m_name + u'\t' + user.m_address + u'\t'
              + QString::number(user.m_state));
}

void CTestHost::AddUser(CUserInfo *user)
{
    PrintLine("user-added "_L1 + user->m_name + u'\t' + user->m_address);
    delete user;
}

void CTestHost::RemoveUser(const CUserInfo &user)
{
    PrintLine("user-removed "_L1 + user.m_name + u'\t' + user.m_address);
}

void CTestHost::RunCommand(const QByteArray &line)
{
    const QList<QByteArray> words = line.split(' ');
    const QByteArray &command = words.front();
    const QString first = words.size() > 1 ? QString::fromUtf8(words[1]) : QString();
    const QString rest = QString::fromUtf8(words.mid(2).join(' '));
    CPushDispatcher dispatcher;
    if (command == "push-all") {
        dispatcher.PushToAll(first);
    } else if (command == "push-url-all") {
        dispatcher.PushUrlToAll(first);
    } else if (command == "sweep") {
        SweepTimedOutUsers();
    } else if (command == "connections") {
        PrintLine(u"ok %1"_s.arg(m_listener.OpenConnections()));
        return;
    } else if (command == "users") {
        const QMutexLocker lock(&g_userTable.Lock());
        PrintLine(u"ok %1"_s.arg(g_userTable.Size()));
        for (const QString &key : g_userTable.Keys())
            PrintLine(key + u'\t' + g_userTable.Find(key)->m_request->m_userName);
        return;
    } else if (!RunUserCommand(command, first, rest)) {
        return;
    }
    PrintLine(u"ok"_s);
}

// The commands for one user; answers "error" itself for an unknown command or user.
bool CTestHost::RunUserCommand(const QByteArray &command, const QString &key,
                               const QString &argument)
{
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(key);
    if (!user) {
        PrintLine("error unknown command or user: "_L1 + QString::fromUtf8(command) + u' ' + key);
        return false;
    }
    CPushDispatcher dispatcher;
    if (command == "push-user") {
        dispatcher.PushToUser(argument, key);
    } else if (command == "push-url-user") {
        dispatcher.PushUrlToUser(argument, key);
    } else if (command == "push-local") {
        dispatcher.PushLocalToUser(argument, key);
    } else if (command == "push-cdrom") {
        dispatcher.PushCdromToUser(argument, key);
    } else if (command == "logoff") {
        // As the users window does: the user leaves the list first, the table on delivery.
        RemoveUser(CUserInfo(user->m_request->m_userName, key));
        dispatcher.LogoffUser(key);
    } else {
        PrintLine("error unknown command: "_L1 + QString::fromUtf8(command));
        return false;
    }
    return true;
}

void CTestHost::Stop()
{
    m_listener.close();
    {
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
    QCoreApplication::exit(0);
}
