#pragma once

#include "CMDIChildWnd.h"

class CDozoZedView;

// The session's window, the activity log window, captioned with the address users join at,
// which the session document's title carries.
class CChildFrame : public CMDIChildWnd
{
public:
    explicit CChildFrame(CDocument &document);
    ~CChildFrame() override;

    // Session windows in existence; New Session waits until there are none.
    static int SessionFrameCount() { return s_nCount; }

private:
    static int s_nCount;
};

// The session window; null when none is open.
extern CChildFrame *g_pSessionFrame;
