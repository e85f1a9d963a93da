#pragma once

#include <functional>
#include <memory>

class CDocTemplate;

// The script window type. Script windows live in a library over the console; the programs set
// the template maker before start-up, and without it the script window's position stays
// reserved.
extern std::function<std::unique_ptr<CDocTemplate>()> g_makeScriptTemplate;
