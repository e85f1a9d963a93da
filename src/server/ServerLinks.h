#pragma once

#include <QString>

#include <memory>

class CUserInfo;

// What the server core tells the windows. The windows come and go, so every process-wide
// pointer below may be null, and the server then skips the call. Calls arrive on the GUI
// thread with the user-table lock held.

// The activity list: one row per push, logon, time-out or log-off.
class CActivityLink
{
public:
    virtual ~CActivityLink() = default;
    virtual void AddActivity(const QString &user, const QString &address, bool sent) = 0;
    // Every row showing this address is now delivered.
    virtual void MarkSent(const QString &address) = 0;
    // The user's control window found no main window to move to the address.
    virtual void MarkNotDelivered(const QString &user, const QString &address) = 0;

    // Why a push will never be fetched: a later one replaced it first, or its user timed out.
    enum class Unfetched { Superseded, TimedOut };
    // The rows of this user (a key, or "All Clients") and address that are still pending never
    // will be delivered and say why. Links that show no rows ignore it.
    virtual void MarkUnfetched(const QString &, const QString &, Unfetched) { }
};

// The users shown in the navigation tree. A record's m_address, the user's key, says which user
// it is; its name is only shown, and namesakes are common.
class CUserLink
{
public:
    virtual ~CUserLink() = default;
    // Takes ownership of the record.
    virtual void AddUser(CUserInfo *user) = 0;
    // The caller keeps the record.
    virtual void RemoveUser(const CUserInfo &user) = 0;
    // The user's state changed; the caller keeps the record. Windows without states ignore it.
    virtual void UpdateUser(const CUserInfo &) { }
};

extern CActivityLink *g_pActivityLink;
extern CUserLink *g_pUserLink;

// What other threads tell the user link; the numbers are the tree's messages past WM_USER.
enum UserMessage { UM_ADD_USER = 0, UM_REMOVE_USER = 1, UM_NOTHING = 2, UM_UPDATE_USER = 3 };

// Safe from any thread: the record travels to the GUI thread, which hands it to the user link
// there (added: the link takes it; removed or changed: the link reads it, then it is freed). No
// link at that moment, or no application left to run it: the record is freed unread.
void PostUserMessage(UserMessage message, std::unique_ptr<CUserInfo> user);
