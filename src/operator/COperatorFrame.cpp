#include "COperatorFrame.h"

#include "CDocument.h"
#include "COperatorView.h"
#include "Trace.h"

COperatorFrame *g_pOperatorFrame = nullptr;
int COperatorFrame::s_nCount = 0;

COperatorFrame::COperatorFrame(CDocument &document)
    : CMDIChildWnd(document)
    , m_pView(new COperatorView(document, this))
{
    g_pOperatorFrame = this;
    ++s_nCount;
    setWindowTitle(document.GetTitle());
    SetView(m_pView);
}

COperatorFrame::~COperatorFrame()
{
    --s_nCount;
    if (g_pOperatorFrame == this)
        g_pOperatorFrame = nullptr;
}

QString COperatorFrame::GetMessageString(int id) const
{
    return m_pView->GetMessageString(id);
}

void COperatorFrame::focusInEvent(QFocusEvent *event)
{
    TRACE("COperatorFrame::OnSetFocus()");
    CMDIChildWnd::focusInEvent(event);
    m_pView->FocusBrowser();
}
