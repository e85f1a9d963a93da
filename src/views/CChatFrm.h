#pragma once

#include "CMDIChildWnd.h"

// A frame of its own for chat windows, without behaviour of its own; the chat window type
// uses the plain document window.
class CChatFrm : public CMDIChildWnd
{
public:
    explicit CChatFrm(CDocument &document)
        : CMDIChildWnd(document)
    { }
};
