#include "CChildFrame.h"

#include "CDocument.h"
#include "CDozoZedView.h"

using namespace Qt::StringLiterals;

CChildFrame *g_pSessionFrame = nullptr;
int CChildFrame::s_nCount = 0;

CChildFrame::CChildFrame(CDocument &document)
    : CMDIChildWnd(document)
{
    g_pSessionFrame = this;
    ++s_nCount;
    const auto showAddress = [this, &document] {
        setWindowTitle(u"Activity Log"_s + document.GetTitle());
    };
    showAddress();
    connect(&document, &CDocument::TitleChanged, this, showAddress);
    SetView(new CDozoZedView(document, this));
}

CChildFrame::~CChildFrame()
{
    --s_nCount;
    if (g_pSessionFrame == this)
        g_pSessionFrame = nullptr;
}
