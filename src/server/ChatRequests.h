#pragma once

#include <QString>

class CRequestSocket;

// The chat's requests, GETs of the server's own form from the user's own address:
//   "/VT" + key + ".htm"                the chat page
//   "/VU" + key + "_" + after + ".htm"  the messages after that id, held until there are some
//   "/VM" + key + "_" + text + ".htm"   a message; the text is its UTF-8 bytes in base64url,
//                                       which holds no "/", "?", "%" or "."
// True when the request was one of them: it has been answered, or is held.
bool ChatRequestStep(CRequestSocket &connection);

// The operator writes to one user (key) or to everybody (empty key). Returns why the message
// was refused, empty when it went.
QString PostOperatorChat(const QString &key, const QString &text);

// The user's chat ends, because it timed out or was logged off; the operator's window and the
// user's chat page both say so. Nothing happens for a user who never chatted.
void EndChat(const QString &key, const QString &why);

// How long a wait for messages is held before it is answered empty.
inline constexpr int kChatHoldMs = 20000;
