#include "OperatorWindowType.h"

#include "CDocTemplate.h"

std::function<std::unique_ptr<CDocTemplate>()> g_makeOperatorTemplate;
COperatorWindow *g_pOperatorWindow = nullptr;
