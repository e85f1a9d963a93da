#pragma once

#include "CMDIChildWnd.h"

// The users window's frame. At most one is meant to exist: the Users command activates the
// latest one while the count says one is open.
class CUsersFrame : public CMDIChildWnd
{
public:
    static constexpr int kMinimumWidth = 300;
    static constexpr int kMinimumHeight = 200;

    explicit CUsersFrame(CDocument &document);
    ~CUsersFrame() override;

    static int FrameCount() { return s_nCount; }

private:
    static int s_nCount;
};

// The latest users frame; null when it is gone.
extern CUsersFrame *g_pUsersFrame;
