#pragma once

#include "CDocument.h"

// The operator window's document: no data, only the window's title.
class COperatorDoc : public CDocument
{
public:
    bool OnNewDocument() override;
};
