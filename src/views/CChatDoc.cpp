#include "CChatDoc.h"

#include "CDocTemplate.h"

bool CChatDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    if (const CDocTemplate *docTemplate = GetDocTemplate())
        SetTitle(docTemplate->GetDocString(CDocTemplate::windowTitle));
    return true;
}
