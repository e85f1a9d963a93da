#pragma once

#include <memory>

class CDocTemplate;

// The script window type: a script document in a script frame, placed in the main frame.
std::unique_ptr<CDocTemplate> MakeScriptTemplate();

// Run before start-up: lets the application register the script window type.
void PrepareScriptWindows();
