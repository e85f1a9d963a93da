#include "CMDIChildWnd.h"

#include "CDocument.h"
#include "CView.h"

#include <QCloseEvent>
#include <QPointer>

CMDIChildWnd::CMDIChildWnd(CDocument &document)
    : m_pDocument(&document)
{
    setAttribute(Qt::WA_DeleteOnClose);
    connect(&document, &CDocument::InitialUpdate, this, [this] { show(); });
    connect(&document, &CDocument::Closing, this, [this] {
        m_documentClosing = true;
        m_pDocument = nullptr;
        close();
    });
}

void CMDIChildWnd::SetView(CView *view)
{
    m_pView = view;
    setWidget(view);
}

QString CMDIChildWnd::GetMessageString(int) const
{
    return {};
}

void CMDIChildWnd::closeEvent(QCloseEvent *event)
{
    if (m_documentClosing || !m_pDocument) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    // The document decides; when it closes, its Closing signal marks this window to go.
    const QPointer<CDocument> document(m_pDocument);
    if (document->SaveModified() && document)
        document->OnCloseDocument();
    if (m_documentClosing)
        QMdiSubWindow::closeEvent(event);
    else
        event->ignore();
}
