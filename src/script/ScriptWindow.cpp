#include "ScriptWindow.h"

#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "CScriptDoc.h"
#include "CScriptFrame.h"
#include "ResourceIds.h"
#include "ScriptWindowType.h"
#include "StringTable.h"

std::unique_ptr<CDocTemplate> MakeScriptTemplate()
{
    auto docTemplate = std::make_unique<CMyMultiDocTemplate>(
        IDR_SCRIPTTYPE, LoadResString(IDR_SCRIPTTYPE), [] { return new CScriptDoc; }, false);
    docTemplate->SetFrameFactory([](CDocument &document) {
        auto *frame = new CScriptFrame(static_cast<CScriptDoc &>(document));
        if (g_pMainFrame)
            g_pMainFrame->AddChildFrame(frame);
        return true;
    });
    return docTemplate;
}

void PrepareScriptWindows()
{
    g_makeScriptTemplate = &MakeScriptTemplate;
}
