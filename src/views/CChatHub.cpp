#include "CChatHub.h"

#include "CChatView.h"
#include "CDozoZedDoc.h"
#include "CLogFile.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "ChatWindowType.h"
#include "ChildFrames.h"
#include "SessionLinks.h"

#include <QMdiArea>

using namespace Qt::StringLiterals;

CChatHub *g_pChatHub = nullptr;

CChatHub::CChatHub()
{
    g_pChatHub = this;
    g_pChatLink = this;
}

CChatHub::~CChatHub()
{
    if (g_pChatLink == this)
        g_pChatLink = nullptr;
    if (g_pChatHub == this)
        g_pChatHub = nullptr;
}

QString CChatHub::LogLine(const CChatMessage &message)
{
    const QString reader = message.m_key.isEmpty() ? CPushDispatcher::kAllClients : message.m_key;
    const QString user
        = message.m_sender == CChatMessage::User ? message.m_key : "Operator to "_L1 + reader;
    QString text = message.m_text;
    for (const QChar control : {u'\r', u'\n', u'\t'})
        text.replace(control, u' ');
    return "User = "_L1 + user + ", Chat = "_L1 + text + u'\n';
}

void CChatHub::OnChatMessage(const CChatMessage &message)
{
    if (message.m_sender != CChatMessage::Notice && g_pSessionDoc)
        CLogFile().Write(LogLine(message));
    CChatView *view = FindView(message.m_key);
    if (view)
        view->Append(message);
    if (message.m_sender != CChatMessage::User)
        return;
    const auto *frame = view ? qobject_cast<const QMdiSubWindow *>(view->parentWidget()) : nullptr;
    const bool seen = frame && frame->mdiArea() && frame->mdiArea()->activeSubWindow() == frame;
    if (!seen)
        SetUnread(message.m_key, true);
}

void CChatHub::OpenChat(const QString &key)
{
    if (CChatView *view = FindView(key))
        ActivateFrame(qobject_cast<QMdiSubWindow *>(view->parentWidget()));
    else
        NewChatWindow(key);
    OnChatActivated(key);
}

void CChatHub::OnChatActivated(const QString &key)
{
    SetUnread(key, false);
}

CChatView *CChatHub::FindView(const QString &key)
{
    if (!g_pMainFrame)
        return nullptr;
    for (QMdiSubWindow *window : g_pMainFrame->MdiArea()->subWindowList()) {
        const auto *frame = dynamic_cast<CMDIChildWnd *>(window);
        auto *view = frame ? dynamic_cast<CChatView *>(frame->GetActiveView()) : nullptr;
        if (view && view->Key() == key)
            return view;
    }
    return nullptr;
}

void CChatHub::SetUnread(const QString &key, bool unread)
{
    if (key.isEmpty() || IsUnread(key) == unread)
        return;
    if (unread)
        m_unread.insert(key);
    else
        m_unread.remove(key);
    if (auto *tree = dynamic_cast<CVantroTree *>(g_pTree))
        tree->MarkUnread(key, unread);
    if (g_pUsersView)
        g_pUsersView->MarkUnread(key, unread);
}
