#pragma once

#include "CPropertySheet.h"

class CSessionClientPage;
class CSessionPagesPage;
class CSessionServerPage;
class CSvrOptions;

// The Session Properties sheet: Server, Client and Default Pages, each holding a copy of the
// settings. The pages never touch the document; the document copies in and out.
class CSessionSheet : public CPropertySheet
{
public:
    explicit CSessionSheet(QWidget *parent = nullptr);

    void LoadFrom(const CSvrOptions &options);
    // Writes every setting the pages carry over the record; the rest stays as it is.
    void StoreInto(CSvrOptions &options) const;

    CSessionServerPage *m_pServerPage;
    CSessionClientPage *m_pClientPage;
    CSessionPagesPage *m_pPagesPage;
};
