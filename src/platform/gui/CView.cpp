#include "CView.h"

#include "CDocument.h"

CView::CView(CDocument &document, QWidget *parent)
    : QWidget(parent)
    , m_pDocument(&document)
{
    connect(&document, &CDocument::InitialUpdate, this, [this] { OnInitialUpdate(); });
}
