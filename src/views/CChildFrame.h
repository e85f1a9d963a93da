#pragma once

#include "CMDIChildWnd.h"

class CDozoZedView;

// The session's window, the activity log window, captioned with this machine's address.
class CChildFrame : public CMDIChildWnd
{
public:
    // The frame with its activity view; null, after warning the operator, when this machine's
    // address cannot be found.
    static CChildFrame *Create(CDocument &document);
    ~CChildFrame() override;

    // Session windows in existence; New Session waits until there are none.
    static int SessionFrameCount() { return s_nCount; }

private:
    CChildFrame(CDocument &document, const QString &address);

    static int s_nCount;
};

// The session window; null when none is open.
extern CChildFrame *g_pSessionFrame;
