#pragma once

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <deque>

// One message of a chat between the operator and a user, or from the operator to everybody.
class CChatMessage
{
public:
    enum Sender { Operator, User, Notice };

    qint64 m_id = 0; // rises through the session, so a reader can ask for what it has not seen
    QDateTime m_time;
    QString m_key; // the conversation: the user's key, or empty for everybody
    Sender m_sender = Operator;
    QString m_senderName; // for display only
    QString m_text; // plain text, never markup
};

// What the server tells the console about chats: every message, and every end of a chat.
// Calls arrive on the GUI thread; the pointer may be null.
class CChatLink
{
public:
    virtual ~CChatLink() = default;
    virtual void OnChatMessage(const CChatMessage &message) = 0;
};
extern CChatLink *g_pChatLink;

// The session's chat messages, in memory. It checks what may be posted (length, rate, who)
// and keeps each conversation's newest messages; the activity log keeps every one.
class CChatStore
{
public:
    static constexpr int kMaxCharacters = 1000;
    // A user may post this many messages in any one second; the rest are refused.
    static constexpr int kMaxPerSecond = 3;
    static constexpr int kKeptPerConversation = 1000;

    enum Result { Accepted, Empty, TooLong, TooFast, NotLoggedOn, NoUsers, WrongUser };
    // The clear answer a refused message gets.
    static QString RefusalText(Result result);

    // The checks of a user's message at the tick it arrived; Accepted when it may be posted.
    // Only a user posting as itself (the request's source address) counts.
    Result CheckFromUser(const QString &source, const QString &key, bool loggedOn,
                         const QString &text, quint32 tick);
    static Result CheckText(const QString &text);

    const CChatMessage &Add(const QString &key, CChatMessage::Sender sender,
                            const QString &senderName, const QString &text);

    // What a user sees after a message id: its own conversation and messages to everybody.
    // The key is a user's, never empty.
    QList<CChatMessage> MessagesFor(const QString &key, qint64 after) const;
    // One conversation as the operator's window shows it.
    QList<CChatMessage> Conversation(const QString &key) const;
    // Whether the chat with the user ended (timed out or logged off) since it last opened.
    bool IsEnded(const QString &key) const { return m_ended.contains(key); }
    void SetEnded(const QString &key, bool ended);
    // The user's chat page asked for something at that tick; a page that asked a moment ago is
    // open, so a message for its user needs no link in the control window.
    void NoteAsked(const QString &key, quint32 tick) { m_lastAsked.insert(key, tick); }
    bool IsPageOpen(const QString &key, quint32 now) const;
    void Clear();

private:
    QHash<QString, QList<CChatMessage>> m_conversations;
    QHash<QString, std::deque<quint32>> m_recentTicks; // accepted messages' ticks, per user
    QHash<QString, bool> m_ended;
    QHash<QString, quint32> m_lastAsked;
    qint64 m_lastId = 0;
};

// The program's one chat store; GUI thread only.
extern CChatStore g_chatStore;
