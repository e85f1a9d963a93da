#pragma once

#include "CChatStore.h"

#include <QSet>
#include <QString>

class CChatView;

// The console's side of the chats: every message goes to the activity log as one line and to
// its conversation's window when one is open; a user's message whose window is not the active
// one marks the user unread in the navigation tree and the users window. Nothing here opens or
// activates a window by itself. Reached through g_pChatHub while it exists.
class CChatHub : public CChatLink
{
public:
    CChatHub();
    ~CChatHub() override;

    void OnChatMessage(const CChatMessage &message) override;

    // Opens the conversation's window, or brings an open one to the front.
    void OpenChat(const QString &key);
    // The conversation's window became the active one: its unread mark goes.
    void OnChatActivated(const QString &key);
    bool IsUnread(const QString &key) const { return m_unread.contains(key); }

    // The open window of the conversation; null when there is none.
    static CChatView *FindView(const QString &key);
    // The activity log's line for a message: "User = <user>, Chat = <text>\n", where the user
    // is the writer's key, or "Operator to " and the reader's key ("All Clients" for everybody),
    // and CR, LF and tabs in the text are spaces.
    static QString LogLine(const CChatMessage &message);

private:
    void SetUnread(const QString &key, bool unread);

    QSet<QString> m_unread;
};

extern CChatHub *g_pChatHub;
