#pragma once

#include "CView.h"

// The chat window's view: the place of the operator's conversation with a user, which draws
// nothing yet.
class CChatView : public CView
{
public:
    explicit CChatView(CDocument &document, QWidget *parent = nullptr)
        : CView(document, parent)
    { }
};
