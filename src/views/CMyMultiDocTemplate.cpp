#include "CMyMultiDocTemplate.h"

#include "CDozoZedDoc.h"
#include "MessageBox.h"
#include "Trace.h"

using namespace Qt::StringLiterals;

CMyMultiDocTemplate::CMyMultiDocTemplate(int resourceId, const QString &strings,
                                         DocumentFactory createDocument, bool sessionType)
    : CDocTemplate(resourceId, strings, std::move(createDocument))
    , m_bSessionType(sessionType)
{ }

CDocument *CMyMultiDocTemplate::OpenDocumentFile(const QString &path)
{
    TRACE("CMyMultiDocTemplate::OpenDocumentFile()");
    if (m_bSessionType && g_pSessionDoc) {
        ShowMessageBox(u"A Vantro session is currently running.  Please\n \t\t\t               "
                       "close it before opening a new session."_s);
        return nullptr;
    }
    return CDocTemplate::OpenDocumentFile(path);
}
