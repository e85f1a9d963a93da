#include "CPushDispatcher.h"

#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUserTable.h"
#include "ChatRequests.h"
#include "HeldPolls.h"
#include "LateJoiners.h"
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

bool AnyOtherUserAwaits(const QString &key, const QString &address)
{
    for (const QString &other : g_userTable.Keys()) {
        const CRequestSocket *user = g_userTable.Find(other);
        if (other != key && user->m_pages && user->m_pages->IsPushing()
            && user->m_lastPushed == address)
            return true;
    }
    return false;
}

// A push whose page could not be written reaches nobody: its row says so at once.
void RecordNotWritten(const QString &key, const QString &address)
{
    if (address.isEmpty() || !g_pActivityLink)
        return;
    g_pActivityLink->AddActivity(key, address, false);
    g_pActivityLink->MarkNotDelivered(key, address);
}

// Writes the push into the user's control page; false when the page could not be written. A
// client mirrored from a call center has no page, and nothing to fail.
bool WritePush(CRequestSocket &user, const QString &address)
{
    return !user.m_pages || WriteUserControlPage(user, [&](CPageSet &pages) {
        return pages.WriteControlPage(address, user.m_downloadDelaySecs);
    });
}

// Writes the push; a push it replaces before its user fetched it then ends "Superseded". Nothing
// is replaced when the page could not be written.
bool ReplacePush(CPushDispatcher &dispatcher, const QString &key, CRequestSocket &user,
                 const QString &address)
{
    const bool pending = user.m_pages && user.m_pages->IsPushing();
    if (!WritePush(user, address))
        return false;
    if (pending)
        dispatcher.EndPendingPush(key, CActivityLink::Unfetched::Superseded, address);
    return true;
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
    QStringList notWritten;
    bool pushed = false;
    for (const QString &key : g_userTable.Keys()) {
        CRequestSocket *user = g_userTable.Find(key);
        if (!ReplacePush(*this, key, *user, address)) {
            notWritten.append(key);
            continue;
        }
        user->m_lastPushed = address;
        AnswerHeldPoll(key);
        pushed = true;
    }
    if (pushed) {
        NoteLastPushToAll(address);
        RecordPush(kAllClients, address);
    }
    for (const QString &key : std::as_const(notWritten))
        RecordNotWritten(key, address);
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
    if (!user || !user->m_pages)
        return;
    const QString address = NormaliseLocal("VC"_L1 + key + ".htm"_L1);
    if (!user->m_pages->WriteCdromPage(contentPath, user->m_backgroundImage))
        return RecordNotWritten(key, address);
    lastPushedAddress.clear();
    PushToUser(address, key);
}

void CPushDispatcher::PushToUser(const QString &address, const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    // A client mirrored from a call center has no control page that could carry the push.
    if (!user || !user->m_pages)
        return;
    if (!ReplacePush(*this, key, *user, address))
        return RecordNotWritten(key, address);
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
    // The operator has sent the user away: without a page to take it there, the user just goes.
    const bool pending = user->m_pages->IsPushing();
    const bool written = WriteUserControlPage(
        *user, [&](CPageSet &pages) { return pages.WriteLogoffPage(logoff); });
    if (pending)
        EndPendingPush(key, CActivityLink::Unfetched::Superseded, logoff);
    if (!written) {
        RecordNotWritten(key, logoff);
        g_userTable.Remove(key);
        return;
    }
    user->m_lastPushed = logoff;
    AnswerHeldPoll(key);
    RecordPush(key, logoff);
    EndChat(key, u"Chat ended: logged off."_s);
}

void CPushDispatcher::EndPendingPush(const QString &key, CActivityLink::Unfetched why,
                                     const QString &replacement)
{
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(key);
    if (!g_pActivityLink || !user || !user->m_pages || !user->m_pages->IsPushing()
        || user->m_lastPushed == replacement)
        return;
    const QString &address = user->m_lastPushed;
    g_pActivityLink->MarkUnfetched(key, address, why);
    if (!AnyOtherUserAwaits(key, address))
        g_pActivityLink->MarkUnfetched(kAllClients, address, why);
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
    // The first delivery of a new record is its welcome page, unless a push replaced it.
    const bool welcomeDelivered
        = user->m_lastDelivered.isEmpty() && user->m_lastPushed == user->m_welcomePath;
    user->m_lastDelivered = user->m_lastPushed;
    user->m_lossReported = 0;
    WriteUserControlPage(*user, [user](CPageSet &pages) {
        return pages.WriteControlPage(QString(), user->m_refreshSecs);
    });
    if (g_pActivityLink)
        g_pActivityLink->MarkSent(user->m_lastPushed);
    const QString &logoff = user->m_logoffPath;
    if (!logoff.isEmpty() && user->m_lastPushed.contains(logoff))
        return g_userTable.Remove(key);
    if (welcomeDelivered)
        BringLateJoiner(key);
}
