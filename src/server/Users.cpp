#include "Users.h"

#include "CPushDispatcher.h"
#include "CRequest.h"
#include "CRequestSocket.h"
#include "CSvrOptions.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "ChatRequests.h"
#include "Cp1252.h"
#include "HeldPolls.h"
#include "ServerLinks.h"
#include "Tick.h"

#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace {

constexpr quint32 kMissedPolls = 7;

// Browsers send form fields in the logon page's encoding: UTF-8 for ours, Windows-1252 for
// an older page.
QString DecodeFormText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? FromCp1252(bytes) : text;
}

void TellTreeUserLeft(const QString &name, const QString &key)
{
    if (g_pUserLink)
        g_pUserLink->RemoveUser(CUserInfo(name, key));
}

QByteArray ReportPath(const char *prefix, const QString &key)
{
    return '/' + QByteArray(prefix) + QFile::encodeName(key) + ".htm";
}

// A delivery report's path is the control page's own with another letter after the "V".
bool IsReportPath(QByteArrayView url, char letter, QByteArrayView controlPath)
{
    return url.size() == controlPath.size() && url.size() > 2 && url[2] == letter
        && url.first(2) == controlPath.first(2) && url.sliced(3) == controlPath.sliced(3);
}

void TellUserState(const CRequestSocket &user, int state)
{
    if (g_pUserLink)
        g_pUserLink->UpdateUser(CUserInfo(user.m_request->m_userName, user.m_clientAddress, state));
}

} // namespace

QByteArray ControlPagePath(const QString &key)
{
    return ReportPath("VS", key);
}

QString ParseLogonName(QByteArrayView url)
{
    const qsizetype sex = url.indexOf("?sex=");
    const bool mister = sex >= 0 && url.sliced(sex + 5).startsWith("Mr");
    QByteArray alias;
    const qsizetype aliasAt = url.indexOf("alias=");
    if (aliasAt >= 0) {
        const QByteArrayView rest = url.sliced(aliasAt + 6);
        const qsizetype end = rest.indexOf("&C");
        if (end >= 0)
            alias = rest.first(end).toByteArray();
    }
    const QString name = (mister ? "Mr. "_L1 : "Ms. "_L1) + DecodeFormText(alias);
    return QString(name).replace(u'+', u' ');
}

bool LogonStep(CRequestSocket &connection)
{
    CRequest &request = *connection.m_request;
    if (!request.m_logon)
        return true;
    const QMutexLocker lock(&g_userTable.Lock());
    const QString key = connection.m_clientAddress;
    CRequestSocket *earlier = g_userTable.Find(key);
    if (g_userTable.Size() >= CUserTable::kCapacity) {
        request.m_url = QFile::encodeName(connection.m_busyPath);
        request.m_logon = 0;
        return true;
    }
    QString earlierName;
    if (earlier) {
        earlierName = earlier->m_request->m_userName;
        // The earlier record may outlive the table's reference a moment if its own connection
        // is still open; its files go now, before the new ones are written under the same names.
        earlier->m_pages = std::make_unique<CPageSet>();
        g_userTable.Remove(key);
    }
    const CSvrOptions &options = connection.Options();
    if (connection.m_pages->Create(key, options.ServedRoot(), connection.m_welcomePath,
                                   request.m_browserV4, connection.m_autoPlay,
                                   connection.m_playEveryFrame)
        != 0) {
        if (earlier)
            TellTreeUserLeft(earlierName, key);
        return false;
    }
    request.m_url = '/' + QFile::encodeName(connection.m_pages->GreetingFileName());
    g_userTable.Insert(key, &connection);
    connection.m_lastPushed = connection.m_welcomePath;
    if (g_pActivityLink)
        g_pActivityLink->AddActivity(key, connection.m_welcomePath, true);
    // A returning user keeps the tree entry, and the name, of its first logon.
    if (!earlier && g_pUserLink)
        g_pUserLink->AddUser(new CUserInfo(request.m_userName, key));
    return true;
}

void NoteControlPagePoll(const CRequestSocket &connection)
{
    const QString &key = connection.m_clientAddress;
    if (!connection.m_request->m_url.contains(
            QByteArrayView(connection.m_controlPagePath).sliced(1)))
        return;
    const QMutexLocker lock(&g_userTable.Lock());
    if (CRequestSocket *user = g_userTable.Find(key))
        user->m_lastSeen = connection.m_lastSeen;
}

void DeliveryReportStep(CRequestSocket &connection)
{
    CRequest &request = *connection.m_request;
    const QString &key = connection.m_clientAddress;
    const QByteArray &control = connection.m_controlPagePath;
    const bool lost = IsReportPath(request.m_url, 'X', control);
    if (request.m_method != "GET" || (!lost && !IsReportPath(request.m_url, 'R', control)))
        return;
    request.m_url = control;
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(key);
    if (!user || !user->m_pages)
        return;
    user->m_lastSeen = connection.m_lastSeen;
    CPageSet &pages = *user->m_pages;
    if (lost) {
        if (user->m_lastDelivered.isEmpty() || user->m_lossReported)
            return;
        user->m_lossReported = 1;
        if (g_pActivityLink)
            g_pActivityLink->MarkNotDelivered(key, user->m_lastDelivered);
        // A newer push waiting to be fetched tries again and reports for itself.
        if (!pages.IsPushing()) {
            WriteUserControlPage(*user, [user](CPageSet &page) {
                return page.WriteLostPage(user->m_lastDelivered, user->m_refreshSecs);
            });
        }
        TellUserState(*user, CUserInfo::MainWindowLost);
    } else if (pages.IsMainWindowLost()) {
        WriteUserControlPage(*user, [user](CPageSet &page) {
            return page.WriteControlPage(QString(), user->m_refreshSecs);
        });
        TellUserState(*user, CUserInfo::Connected);
    }
}

int WriteUserControlPage(CRequestSocket &user, const std::function<int(CPageSet &)> &write)
{
    CPageSet &pages = *user.m_pages;
    const bool wasFailing = pages.ControlWriteFailed();
    const int written = write(pages);
    if (!written && !wasFailing)
        TellUserState(user, CUserInfo::PageNotWritten);
    else if (written && wasFailing)
        TellUserState(user, CUserInfo::Connected);
    return written;
}

bool IsUsersControlPagePoll(const CRequestSocket &connection)
{
    if (connection.m_request->m_url != connection.m_controlPagePath)
        return false;
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(connection.m_clientAddress);
    return user && user->m_pages;
}

bool RestoreControlPage(const CRequestSocket &connection)
{
    const QMutexLocker lock(&g_userTable.Lock());
    CRequestSocket *user = g_userTable.Find(connection.m_clientAddress);
    if (!user || !user->m_pages || !user->m_pages->ControlPageNeedsWriting())
        return true;
    return WriteUserControlPage(*user, [](CPageSet &pages) { return pages.RestoreControlPage(); })
        != 0;
}

void SweepTimedOutUsers()
{
    const QMutexLocker lock(&g_userTable.Lock());
    for (const QString &key : g_userTable.Keys()) {
        if (HasHeldPoll(key))
            continue;
        const CRequestSocket *user = g_userTable.Find(key);
        const quint32 silentMs = GetTickCount32() - user->m_lastSeen;
        if (silentMs <= static_cast<quint32>(user->m_refreshSecs) * kMissedPolls * 1000)
            continue;
        CPushDispatcher().EndPendingPush(key, CActivityLink::Unfetched::TimedOut);
        if (g_pActivityLink) {
            // The row is final at once: nothing will ever be fetched for it.
            const QString timedOut = u"USER TIMED OUT"_s;
            g_pActivityLink->AddActivity(key, timedOut, false);
            g_pActivityLink->MarkUnfetched(key, timedOut, CActivityLink::Unfetched::TimedOut);
        }
        TellTreeUserLeft(user->m_request->m_userName, key);
        g_userTable.Remove(key);
        EndChat(key, u"Chat ended: timed out."_s);
    }
}
