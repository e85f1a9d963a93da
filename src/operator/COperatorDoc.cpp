#include "COperatorDoc.h"

using namespace Qt::StringLiterals;

bool COperatorDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    SetTitle(u"Operator Window"_s);
    return true;
}
