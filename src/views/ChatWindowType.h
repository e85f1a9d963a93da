#pragma once

#include <memory>

class CDocTemplate;

// The chat window type: an empty chat document in a plain document window titled "Chat".
std::unique_ptr<CDocTemplate> MakeChatTemplate();
