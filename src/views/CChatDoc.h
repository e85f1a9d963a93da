#pragma once

#include "CDocument.h"

// The chat window's document: it holds nothing, stores nothing and never becomes modified, so
// closing its window asks nothing.
class CChatDoc : public CDocument
{
public:
    // Titled "Chat" like its window, rather than with a bare number.
    bool OnNewDocument() override;
};
