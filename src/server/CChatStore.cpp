#include "CChatStore.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

CChatLink *g_pChatLink = nullptr;
CChatStore g_chatStore;

namespace {

constexpr quint32 kRateWindowMs = 1000;
constexpr quint32 kPageOpenMs = 3000;

} // namespace

QString CChatStore::RefusalText(Result result)
{
    switch (result) {
    case Accepted:
        return {};
    case Empty:
        return u"Not sent: the message is empty."_s;
    case TooLong:
        return u"Not sent: a message holds at most %1 characters."_s.arg(
            QLocale(QLocale::English).toString(kMaxCharacters));
    case TooFast:
        return u"Not sent: at most %1 messages a second."_s.arg(kMaxPerSecond);
    case NotLoggedOn:
        return u"Not sent: not logged on."_s;
    case NoUsers:
        return u"Not sent: no users are logged on."_s;
    case WrongUser:
        return u"Not sent: a user writes only in its own chat."_s;
    }
    return {};
}

CChatStore::Result CChatStore::CheckText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return Empty;
    // Characters as people count them, not UTF-16 units.
    qsizetype characters = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text[i].isLowSurrogate())
            ++characters;
    }
    return characters > kMaxCharacters ? TooLong : Accepted;
}

CChatStore::Result CChatStore::CheckFromUser(const QString &source, const QString &key,
                                             bool loggedOn, const QString &text, quint32 tick)
{
    if (source != key)
        return WrongUser;
    if (!loggedOn)
        return NotLoggedOn;
    if (const Result result = CheckText(text); result != Accepted)
        return result;
    std::deque<quint32> &ticks = m_recentTicks[key];
    while (!ticks.empty() && tick - ticks.front() >= kRateWindowMs)
        ticks.pop_front();
    if (ticks.size() >= static_cast<size_t>(kMaxPerSecond))
        return TooFast;
    ticks.push_back(tick);
    return Accepted;
}

const CChatMessage &CChatStore::Add(const QString &key, CChatMessage::Sender sender,
                                    const QString &senderName, const QString &text)
{
    QList<CChatMessage> &conversation = m_conversations[key];
    if (conversation.size() >= kKeptPerConversation)
        conversation.removeFirst();
    CChatMessage message;
    message.m_id = ++m_lastId;
    message.m_time = QDateTime::currentDateTime();
    message.m_key = key;
    message.m_sender = sender;
    message.m_senderName = senderName;
    message.m_text = text;
    conversation.append(message);
    return conversation.constLast();
}

QList<CChatMessage> CChatStore::MessagesFor(const QString &key, qint64 after) const
{
    QList<CChatMessage> messages;
    for (const QString &conversation : {key, QString()}) {
        for (const CChatMessage &message : m_conversations.value(conversation)) {
            if (message.m_id > after)
                messages.append(message);
        }
    }
    std::sort(messages.begin(), messages.end(),
              [](const CChatMessage &a, const CChatMessage &b) { return a.m_id < b.m_id; });
    return messages;
}

QList<CChatMessage> CChatStore::Conversation(const QString &key) const
{
    return m_conversations.value(key);
}

void CChatStore::SetEnded(const QString &key, bool ended)
{
    if (ended)
        m_ended.insert(key, true);
    else
        m_ended.remove(key);
}

bool CChatStore::IsPageOpen(const QString &key, quint32 now) const
{
    return m_lastAsked.contains(key) && now - m_lastAsked.value(key) < kPageOpenMs;
}

void CChatStore::Clear()
{
    m_lastAsked.clear();
    m_conversations.clear();
    m_recentTicks.clear();
    m_ended.clear();
    m_lastId = 0;
}
