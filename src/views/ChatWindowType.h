#pragma once

#include <QString>

#include <memory>

class CDocTemplate;
class CDocument;

// The chat window type: a conversation in a plain document window titled after it.
std::unique_ptr<CDocTemplate> MakeChatTemplate();

// A new chat window for the conversation with the user of that key, or with everybody (an
// empty key); null when it could not be made (the operator has been told).
CDocument *NewChatWindow(const QString &key);
