#pragma once

#include "CMDIChildWnd.h"

class COperatorView;

// The operator window's frame around its view. There is at most one; the main frame and the
// application reach it through g_pOperatorFrame.
class COperatorFrame : public CMDIChildWnd
{
public:
    explicit COperatorFrame(CDocument &document);
    ~COperatorFrame() override;

    COperatorView *View() const { return m_pView; }
    static int FrameCount() { return s_nCount; }

    // The status-bar prompts this window gives for its own commands; empty for the rest.
    QString GetMessageString(int id) const override;

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    COperatorView *m_pView;
    static int s_nCount;
};

// The operator window; null while none is open.
extern COperatorFrame *g_pOperatorFrame;
