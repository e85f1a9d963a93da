#pragma once

#include "ServerLinks.h"

#include <QString>

class CRequestSocket;

// Sends users' browsers to addresses by rewriting their control pages; the next poll of a
// control page delivers the push. Stateless: make one, call one operation. Every operation
// holds the user-table lock from its first to its last step.
class CPushDispatcher
{
public:
    // The activity label of a push to everybody.
    static const QString kAllClients;

    // The address last given to PushUrlToAll or PushUrlToUser, after normalising; emptied by
    // local and CD-ROM pushes. Lives for the whole run; GUI thread only.
    static QString lastPushedAddress;

    // "http://" in front unless the text holds it somewhere already.
    static QString NormaliseRemote(const QString &address);
    // Backslashes become forward slashes.
    static QString NormaliseLocal(const QString &path);

    void PushUrlToAll(const QString &address);
    void PushToAll(const QString &address);
    void PushUrlToUser(const QString &address, const QString &key);
    void PushLocalToUser(const QString &path, const QString &key);
    void PushCdromToUser(const QString &contentPath, const QString &key);
    void PushToUser(const QString &address, const QString &key);
    void LogoffUser(const QString &key);

    // The user's pending push, unless it is the replacement, will never be fetched: the user's
    // rows of it say why, and so do the rows of a push to everybody that no other user awaits.
    void EndPendingPush(const QString &key, CActivityLink::Unfetched why,
                        const QString &replacement = QString());

    // Run after a connection has sent a whole file, with the lock held: a delivered push turns
    // the control page idle again, and a delivered logoff page removes the user. Notes whether
    // the control window now shows the idle page.
    void OnControlPageSent(CRequestSocket &connection);
};
