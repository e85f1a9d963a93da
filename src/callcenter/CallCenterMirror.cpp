#include "CallCenterMirror.h"

#include "CRequest.h"
#include "CRequestSocket.h"
#include "CSvrOptions.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "ServerLinks.h"

#include <QCoreApplication>
#include <QHash>

using namespace Qt::StringLiterals;

namespace {

enum AssignedField { Key, Name, Browser, BrowserVersion, LastPushed = 5 };

// Guarded by the user-table lock.
QHash<QString, CRequestSocket *> g_waiting;
CSvrOptions g_recordOptions;

void Post(UserMessage message, const QString &name, const QString &key, int state)
{
    auto user = std::make_unique<CUserInfo>();
    user->m_address = key;
    user->m_name = name;
    user->m_state = state;
    PostUserMessage(message, std::move(user));
}

// A record for a client, with the one reference its caller passes on to a table. It belongs to
// the GUI thread, where the server core reads it and where it is finally deleted.
CRequestSocket *NewRecord(const QString &key, const QString &name, quint32 pollTime)
{
    auto *record = new CRequestSocket(g_recordOptions);
    if (QCoreApplication *application = QCoreApplication::instance())
        record->moveToThread(application->thread());
    record->m_request->m_clientAddress = key;
    record->m_request->m_userName = name;
    record->m_lastSeen = pollTime;
    return record;
}

const QString &NameOf(const CRequestSocket &record)
{
    return record.m_request->m_userName;
}

void HandleAssignedRecord(const QStringList &fields, quint32 pollTime)
{
    const QString &key = fields[Key];
    const QString &name = fields[Name];
    if (CRequestSocket *user = g_userTable.Find(key)) {
        user->m_lastSeen = pollTime;
        return;
    }
    CRequestSocket *waiting = g_waiting.take(key);
    const QString waitingName = waiting ? NameOf(*waiting) : QString();
    CRequestSocket *record = waiting ? waiting : NewRecord(key, name, pollTime);
    record->m_request->m_userName = name;
    record->m_request->m_browserV4 = fields[BrowserVersion].contains("4."_L1) ? 1 : 0;
    record->m_lastPushed = fields[LastPushed];
    record->m_lastSeen = pollTime;
    g_userTable.Insert(key, record);
    record->Release();
    // A waiting client the tree shows already is now connected, not a second entry.
    if (waiting && waitingName == name) {
        Post(UM_UPDATE_USER, name, key, CUserInfo::Connected);
        return;
    }
    if (waiting)
        Post(UM_REMOVE_USER, waitingName, key, CUserInfo::Waiting);
    Post(UM_ADD_USER, name, key, CUserInfo::Connected);
}

void HandleWaitingRecord(const QStringList &fields, quint32 pollTime,
                         const std::function<void(const QString &key)> &claim)
{
    const QString &key = fields[Key];
    const QString &name = fields[Name];
    if (CRequestSocket *waiting = g_waiting.value(key)) {
        waiting->m_lastSeen = pollTime;
        return;
    }
    g_waiting.insert(key, NewRecord(key, name, pollTime));
    Post(UM_ADD_USER, name, key, CUserInfo::Waiting);
    if (name != "Mr_Client"_L1)
        claim(key);
    if (CRequestSocket *user = g_userTable.Find(key)) {
        // The tree now holds the key twice and drops the older entry, the user's; the news
        // names the user as it was shown.
        const QString userName = NameOf(*user);
        g_userTable.Remove(key);
        Post(UM_REMOVE_USER, userName, key, CUserInfo::Connected);
    }
}

void SweepWaiting(quint32 pollTime)
{
    for (auto entry = g_waiting.begin(); entry != g_waiting.end();) {
        CRequestSocket *record = entry.value();
        if (record->m_lastSeen == pollTime) {
            ++entry;
            continue;
        }
        Post(UM_REMOVE_USER, NameOf(*record), entry.key(), CUserInfo::Waiting);
        entry = g_waiting.erase(entry);
        record->Release();
    }
}

} // namespace

void SetCallCenterRecordOptions(const CSvrOptions &options)
{
    const QMutexLocker lock(&g_userTable.Lock());
    g_recordOptions = options;
}

void HandleAssignedReply(const CCallCenterReply &reply, quint32 pollTime,
                         const std::atomic_bool &stop)
{
    const QMutexLocker lock(&g_userTable.Lock());
    if (stop)
        return;
    for (const QStringList &record : reply.m_records) {
        if (!record[Key].isEmpty())
            HandleAssignedRecord(record, pollTime);
    }
}

void HandleWaitingReply(const CCallCenterReply &reply, quint32 pollTime,
                        const std::atomic_bool &stop,
                        const std::function<void(const QString &key)> &claim)
{
    const QMutexLocker lock(&g_userTable.Lock());
    if (stop || !reply.m_holdsRecords)
        return;
    for (const QStringList &record : reply.m_records) {
        if (!record[Key].isEmpty())
            HandleWaitingRecord(record, pollTime, claim);
    }
    SweepWaiting(pollTime);
}

void ReleaseWaitingRecords()
{
    const QMutexLocker lock(&g_userTable.Lock());
    const QHash<QString, CRequestSocket *> waiting = std::exchange(g_waiting, {});
    for (auto entry = waiting.cbegin(); entry != waiting.cend(); ++entry) {
        Post(UM_REMOVE_USER, NameOf(*entry.value()), entry.key(), CUserInfo::Waiting);
        entry.value()->Release();
    }
}

QStringList WaitingKeys()
{
    const QMutexLocker lock(&g_userTable.Lock());
    return g_waiting.keys();
}
