#include "ScriptWindowType.h"

#include "CDocTemplate.h"

std::function<std::unique_ptr<CDocTemplate>()> g_makeScriptTemplate;
