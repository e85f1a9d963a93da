#pragma once

#include "CMDIChildWnd.h"

class CScriptDoc;
class CScriptView;

// A script window: the frame around one script's list. Its item under "Scripts" in the
// navigation tree goes when the window closes.
class CScriptFrame : public CMDIChildWnd
{
public:
    explicit CScriptFrame(CScriptDoc &document);
    ~CScriptFrame() override;

    CScriptView *View() const { return m_pView; }

    // The script's own prompts for saving, exporting and Push Selected; empty for the rest.
    QString GetMessageString(int id) const override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ForgetInTree();

    CScriptView *m_pView;
};
