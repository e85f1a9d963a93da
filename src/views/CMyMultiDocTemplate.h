#pragma once

#include "CDocTemplate.h"

// The template of every window type: a session window type refuses to open or create a second
// session while one is open.
class CMyMultiDocTemplate : public CDocTemplate
{
public:
    CMyMultiDocTemplate(int resourceId, const QString &strings, DocumentFactory createDocument,
                        bool sessionType);

    CDocument *OpenDocumentFile(const QString &path) override;

private:
    bool m_bSessionType;
};
