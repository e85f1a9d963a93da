#pragma once

#include "CCmdTarget.h"

#include <QMdiSubWindow>

class CDocument;
class CView;

// A document window inside the main frame. Closing it asks the document to save and close;
// when the document closes by itself, the window goes with it.
class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget
{
public:
    explicit CMDIChildWnd(CDocument &document);

    CDocument *GetActiveDocument() const { return m_pDocument; }
    CView *GetActiveView() const { return m_pView; }
    void SetView(CView *view);
    // The window's own status-bar prompt for a command; empty for the ordinary one.
    virtual QString GetMessageString(int id) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    CDocument *m_pDocument;
    CView *m_pView = nullptr;
    bool m_documentClosing = false;
};
