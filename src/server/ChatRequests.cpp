#include "ChatRequests.h"

#include "CChatStore.h"
#include "CPageSet.h"
#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUserTable.h"
#include "ChatPageText.h"
#include "HeldPolls.h"
#include "Tick.h"

#include <QHash>
#include <QMetaObject>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char kJson[] = "application/json";

// A page that comes late gets the newest messages only, so that no answer grows without bound.
constexpr qsizetype kMaxPerAnswer = 200;

struct HeldWait
{
    QPointer<CRequestSocket> wait;
    qint64 after = 0;
    int serial = 0;
};

QHash<QString, HeldWait> &Held()
{
    static QHash<QString, HeldWait> held;
    return held;
}

CRequestSocket *FindUser(const QString &key)
{
    return key.isEmpty() ? nullptr : g_userTable.Find(key);
}

QString EndedText(const QString &key)
{
    if (!FindUser(key))
        return u"Chat ended: not logged on."_s;
    return g_chatStore.IsEnded(key) ? u"Chat ended."_s : QString();
}

void Tell(const CChatMessage &message)
{
    if (g_pChatLink)
        g_pChatLink->OnChatMessage(message);
}

// Answers the wait with the user's messages after its id; once the user has them, the control
// window's link to the chat goes.
void AnswerWait(CRequestSocket &wait, const QString &key, qint64 after)
{
    const QMutexLocker lock(&g_userTable.Lock());
    QList<CChatMessage> messages = g_chatStore.MessagesFor(key, after);
    messages = messages.mid(std::max<qsizetype>(0, messages.size() - kMaxPerAnswer));
    CRequestSocket *user = FindUser(key);
    if (!messages.isEmpty() && user && user->m_pages)
        user->m_pages->SetChatWaiting(false, user->m_refreshSecs);
    wait.SendGenerated(kJson, ChatMessagesJson(messages, EndedText(key)));
}

// The held wait of the user goes on from the event loop, never inside the caller's own steps.
bool AnswerHeldWait(const QString &key)
{
    const HeldWait held = Held().take(key);
    if (!held.wait)
        return false;
    QMetaObject::invokeMethod(
        held.wait,
        [wait = held.wait, key, after = held.after] {
            if (wait)
                AnswerWait(*wait, key, after);
        },
        Qt::QueuedConnection);
    return true;
}

void HoldWait(CRequestSocket &connection, const QString &key, qint64 after)
{
    AnswerHeldWait(key);
    static int serial = 0;
    Held().insert(key, {&connection, after, ++serial});
    QTimer::singleShot(kChatHoldMs, &connection, [key, mine = serial] {
        if (Held().value(key).serial == mine)
            AnswerHeldWait(key);
    });
}

// A message for the user reaches its open chat page, or else the control window offers a link.
// A user who logged on again after its chat ended is in a new chat.
void Deliver(const QString &key)
{
    g_chatStore.SetEnded(key, false);
    if (AnswerHeldWait(key))
        return;
    if (g_chatStore.IsPageOpen(key, GetTickCount32()))
        return;
    CRequestSocket *user = FindUser(key);
    if (!user || !user->m_pages)
        return;
    user->m_pages->SetChatWaiting(true, user->m_refreshSecs);
    AnswerHeldPoll(key);
}

void OnWait(CRequestSocket &connection, const QString &key, const QString &rest)
{
    bool number = false;
    const qint64 after = rest.toLongLong(&number);
    if (!FindUser(key) || !number || !g_chatStore.MessagesFor(key, after).isEmpty()
        || g_chatStore.IsEnded(key))
        return AnswerWait(connection, key, after);
    HoldWait(connection, key, after);
}

void OnPost(CRequestSocket &connection, const QString &key, const QString &rest)
{
    const auto decoded = QByteArray::fromBase64Encoding(
        rest.toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
    const QString text = QString::fromUtf8(*decoded);
    CRequestSocket *user = FindUser(key);
    CChatStore::Result result = decoded ? CChatStore::Accepted : CChatStore::Empty;
    if (result == CChatStore::Accepted) {
        result = g_chatStore.CheckFromUser(connection.m_clientAddress, key, user != nullptr, text,
                                           connection.m_lastSeen);
    }
    if (result != CChatStore::Accepted)
        return connection.SendGenerated(kJson, ChatPostJson(0, CChatStore::RefusalText(result)));
    g_chatStore.SetEnded(key, false);
    const CChatMessage &message
        = g_chatStore.Add(key, CChatMessage::User, user->m_request->m_userName, text);
    connection.SendGenerated(kJson, ChatPostJson(message.m_id, QString()));
    Tell(message);
    AnswerHeldWait(key);
}

} // namespace

bool ChatRequestStep(CRequestSocket &connection)
{
    static const QRegularExpression form(
        uR"(^/V([TUM])(\d{1,3}\.\d{1,3}\.\d{1,3}\.\d{1,3})(?:_([A-Za-z0-9_-]*))?\.htm$)"_s);
    const CRequest &request = *connection.m_request;
    if (request.m_method != "GET")
        return false;
    const QRegularExpressionMatch match = form.match(QString::fromLatin1(request.m_url));
    if (!match.hasMatch())
        return false;
    const QChar kind = match.captured(1).front();
    const QString key = match.captured(2);
    if (kind == u'T' && match.hasCaptured(3))
        return false;
    const QMutexLocker lock(&g_userTable.Lock());
    if (kind == u'T') {
        // A logged-on user opening its chat page again is back in its chat.
        if (connection.m_clientAddress == key && FindUser(key))
            g_chatStore.SetEnded(key, false);
        connection.SendGenerated("text/html; charset=utf-8", ChatPageText(key));
        return true;
    }
    // Only the user itself reads or writes its chat.
    if (connection.m_clientAddress != key) {
        const QString refused = CChatStore::RefusalText(CChatStore::WrongUser);
        connection.SendGenerated(
            kJson, kind == u'U' ? ChatMessagesJson({}, refused) : ChatPostJson(0, refused));
        return true;
    }
    g_chatStore.NoteAsked(key, connection.m_lastSeen);
    if (kind == u'U')
        OnWait(connection, key, match.captured(3));
    else
        OnPost(connection, key, match.captured(3));
    return true;
}

QString PostOperatorChat(const QString &key, const QString &text)
{
    if (const CChatStore::Result result = CChatStore::CheckText(text);
        result != CChatStore::Accepted)
        return CChatStore::RefusalText(result);
    const QMutexLocker lock(&g_userTable.Lock());
    if (key.isEmpty() ? g_userTable.Size() == 0 : !FindUser(key))
        return CChatStore::RefusalText(key.isEmpty() ? CChatStore::NoUsers
                                                     : CChatStore::NotLoggedOn);
    const CChatMessage &message = g_chatStore.Add(key, CChatMessage::Operator, u"Operator"_s, text);
    Tell(message);
    for (const QString &user : key.isEmpty() ? g_userTable.Keys() : QStringList {key})
        Deliver(user);
    return {};
}

void EndChat(const QString &key, const QString &why)
{
    if (g_chatStore.Conversation(key).isEmpty() || g_chatStore.IsEnded(key))
        return;
    g_chatStore.SetEnded(key, true);
    Tell(g_chatStore.Add(key, CChatMessage::Notice, QString(), why));
    AnswerHeldWait(key);
}
