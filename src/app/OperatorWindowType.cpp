#include "OperatorWindowType.h"

#include "CDocTemplate.h"
#include "CWinApp.h"
#include "ResourceIds.h"

std::function<std::unique_ptr<CDocTemplate>()> g_makeOperatorTemplate;
COperatorWindow *g_pOperatorWindow = nullptr;

COperatorWindow *OpenOperatorWindow()
{
    if (!g_pOperatorWindow && g_pWinApp)
        g_pWinApp->OnCmdMsg(ID_VIEW_OPERATOR);
    return g_pOperatorWindow;
}

void ShowInOperatorWindow(const QString &address)
{
    if (COperatorWindow *window = OpenOperatorWindow())
        window->Navigate(address);
}
