#include "LateJoiners.h"

#include "CPushDispatcher.h"
#include "CRequestSocket.h"
#include "CSvrOptions.h"
#include "CUserTable.h"

namespace {

QString &LastAddress()
{
    static QString address;
    return address;
}

} // namespace

void NoteLastPushToAll(const QString &address)
{
    if (!address.isEmpty())
        LastAddress() = address;
}

void ForgetLastPushToAll()
{
    LastAddress().clear();
}

QString LastPushToAll()
{
    return LastAddress();
}

void BringLateJoiner(const QString &key)
{
    const QMutexLocker lock(&g_userTable.Lock());
    const CRequestSocket *user = g_userTable.Find(key);
    if (!user || !user->Options().m_bringLateJoiners || LastAddress().isEmpty())
        return;
    CPushDispatcher().PushToUser(LastAddress(), key);
}
