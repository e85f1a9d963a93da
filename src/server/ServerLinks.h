#pragma once

#include <QString>

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
};

// The users shown in the navigation tree.
class CUserLink
{
public:
    virtual ~CUserLink() = default;
    // Takes ownership of the record.
    virtual void AddUser(CUserInfo *user) = 0;
    // The caller keeps the record.
    virtual void RemoveUser(const CUserInfo &user) = 0;
};

extern CActivityLink *g_pActivityLink;
extern CUserLink *g_pUserLink;
