#pragma once

#include "CCmdTarget.h"

#include <QWidget>

class CDocument;

// A window onto a document. It fills its frame, routes commands first, and gets the
// document's initial update once the document is ready.
class CView : public QWidget, public CCmdTarget
{
public:
    explicit CView(CDocument &document, QWidget *parent = nullptr);

    CDocument *GetDocument() const { return m_pDocument; }

protected:
    virtual void OnInitialUpdate() { }

private:
    CDocument *m_pDocument;
};
