#include "CChildFrame.h"

#include "CDozoZedView.h"
#include "LocalHost.h"
#include "MessageBox.h"

using namespace Qt::StringLiterals;

CChildFrame *g_pSessionFrame = nullptr;
int CChildFrame::s_nCount = 0;

CChildFrame *CChildFrame::Create(CDocument &document)
{
    const LocalHostLookup host = LookUpLocalHost();
    if (!host.m_ok) {
        ShowMessageBox(u"WARNING: Your network connection is not active! (%1)"_s.arg(host.m_error),
                       MB_ICONEXCLAMATION);
        return nullptr;
    }
    return new CChildFrame(document, host.m_address);
}

CChildFrame::CChildFrame(CDocument &document, const QString &address)
    : CMDIChildWnd(document)
{
    g_pSessionFrame = this;
    ++s_nCount;
    setWindowTitle(u"Activity Log (http://%1)"_s.arg(address));
    SetView(new CDozoZedView(document, this));
}

CChildFrame::~CChildFrame()
{
    --s_nCount;
    if (g_pSessionFrame == this)
        g_pSessionFrame = nullptr;
}
