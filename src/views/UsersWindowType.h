#pragma once

#include <memory>

class CDocTemplate;

// The users window type: a users document in a users frame, placed in the main frame.
std::unique_ptr<CDocTemplate> MakeUsersTemplate();
