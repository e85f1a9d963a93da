#include "CPushDispatcher.h"

#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUserTable.h"
#include "HeldPolls.h"
#include "ServerLinks.h"
#include "Trace.h"
#include "Users.h"

#include <QFile>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

const QString CPushDispatcher::kAllClients = u"All Clients"_s;
QString CPushDispatcher::lastPushedAddress;

namespace {

void RecordPush(const QString &label, const QString &address)
{
    if (!address.isEmpty() && g_pActivityLink)
        g_pActivityLink->AddActivity(label, address, false);
}

} // namespace

QString CPushDispatcher::NormaliseRemote(const QString &address)
{
    // A scheme of any kind and case stays as it is ("https://", "HTTP://"); the pattern asks
    // for "//" so that a bare "host:port/page" still gets its "http://".
    static const QRegularExpression scheme(u"^[A-Za-z][A-Za-z0-9+.-]*://"_s);
    return scheme.match(address).hasMatch() ? address : "http://"_L1 + address;
}

QString CPushDispatcher::NormaliseLocal(const QString &path)
{
    return QString(path).replace(u'\\', u'/');
}

void CPushDispatcher::PushUrlToAll(const QString &address)
{
    const QMutexLocker lock(&g_userTable.Lock());
    lastPushedAddress = NormaliseRemote(address);
    PushToAll(lastPushedAddress);
}

void CPushDispatcher::PushToAll(const QString &address)
{
    TRACE("CPushDispatcher::PushToAll()");
    const QMutexLocker lock(&g_userTable.Lock());
    if (g_userTable.Size() == 0)
        return;
    for (const QString &key : g_userTable.Keys()) {
        CRequestSocket *user = g_userTable.Find(key);
        // Users mirrored from a call center have no pages of their own to write.
        if (user->m_pages)
            user->m_pages->WriteControlPage(address, user->m_downloadDelaySecs);
        user->m_lastPushed = address;
        AnswerHeldPoll(key);
    }
    RecordPush(kAllClients, address);
}

void CPushDispatcher::PushUrlToUser(const QString &address, const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    lastPushedAddress = NormaliseRemote(address);
    PushToUser(lastPushedAddress, key);
}

void CPushDispatcher::PushLocalToUser(const QString &path, const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    lastPushedAddress.clear();
    PushToUser(NormaliseLocal(path), key);
}

void CPushDispatcher::PushCdromToUser(const QString &contentPath, const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    if (!user || !user->m_pages
        || !user->m_pages->WriteCdromPage(contentPath, user->m_backgroundImage))
        return;
    lastPushedAddress.clear();
    PushToUser(NormaliseLocal("VC"_L1 + key + ".htm"_L1), key);
}

void CPushDispatcher::PushToUser(const QString &address, const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    // A client mirrored from a call center has no control page that could carry the push.
    if (!user || !user->m_pages)
        return;
    user->m_pages->WriteControlPage(address, user->m_downloadDelaySecs);
    user->m_lastPushed = address;
    AnswerHeldPoll(key);
    RecordPush(key, address);
}

void CPushDispatcher::LogoffUser(const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    if (!user || !user->m_pages)
        return;
    const QString logoff = NormaliseLocal(user->m_logoffPath);
    user->m_pages->WriteLogoffPage(logoff);
    user->m_lastPushed = logoff;
    AnswerHeldPoll(key);
    RecordPush(key, logoff);
}

void CPushDispatcher::OnControlPageSent(CRequestSocket &connection)
{
    const QString &key = connection.m_clientAddress;
    if (connection.m_request->m_url != connection.m_controlPagePath)
        return;
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    if (!user || !user->m_pages)
        return;
    user->m_idleShown = user->m_pages->IsIdle() ? 1 : 0;
    if (!user->m_pages->IsPushing())
        return;
    user->m_lastDelivered = user->m_lastPushed;
    user->m_pages->WriteControlPage(QString(), user->m_refreshSecs);
    if (g_pActivityLink)
        g_pActivityLink->MarkSent(user->m_lastPushed);
    const QString &logoff = user->m_logoffPath;
    if (!logoff.isEmpty() && user->m_lastPushed.contains(logoff))
        g_userTable.Remove(key);
}
