#pragma once

#include "CChatStore.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The bytes of the chat's own answers. Pure functions, so that they can be compared byte for
// byte.

// The name of the window the control window's chat link opens.
inline constexpr char kChatWindowName[] = "VantroChat";

// A JSON string holding the text. Everything outside printable ASCII, and the characters of
// markup, become \u escapes, so the answer is plain ASCII and nothing in it reads as markup.
QByteArray JsonString(const QString &text);

// The answer to a wait for messages: the messages, and why the chat ended (empty while it goes
// on). {"messages":[{"id":1,"time":"12:00:01","from":"Operator","text":"Hi"}],"ended":""}
QByteArray ChatMessagesJson(const QList<CChatMessage> &messages, const QString &ended);
// The answer to a posted message: its id, or why it was refused.
QByteArray ChatPostJson(qint64 id, const QString &refused);

// The chat page of the user with that key: the conversation, an input line and Send. It waits
// for messages with held requests and sends each one as a GET.
QByteArray ChatPageText(const QString &key);
