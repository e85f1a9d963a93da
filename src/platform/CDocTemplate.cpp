#include "CDocTemplate.h"

#include "CDocument.h"
#include "MessageBox.h"
#include "Trace.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

CDocTemplate::CDocTemplate(int resourceId, const QString &strings, DocumentFactory createDocument)
    : m_nIDResource(resourceId)
    , m_strings(strings.split(u'\n'))
    , m_createDocument(std::move(createDocument))
{ }

CDocTemplate::~CDocTemplate()
{
    for (CDocument *document : std::as_const(m_documents))
        document->m_pDocTemplate = nullptr;
}

QString CDocTemplate::GetDocString(DocStringIndex index) const
{
    return index < m_strings.size() ? m_strings.at(index) : QString();
}

QStringList CDocTemplate::FileFilters() const
{
    const QString extension = GetDocString(filterExt);
    if (extension.isEmpty())
        return {};
    return {GetDocString(filterName), u'*' + extension};
}

bool CDocTemplate::MatchesExtension(const QString &path) const
{
    const QString extension = GetDocString(filterExt);
    return !extension.isEmpty() && path.endsWith(extension, Qt::CaseInsensitive);
}

CDocument *CDocTemplate::CreateNewDocument()
{
    CDocument *document = m_createDocument();
    if (!document)
        return nullptr;
    document->m_pDocTemplate = this;
    m_documents.append(document);
    return document;
}

void CDocTemplate::RemoveDocument(CDocument *document)
{
    m_documents.removeAll(document);
}

void CDocTemplate::Discard(CDocument *document)
{
    Q_EMIT document->Closing();
    RemoveDocument(document);
    document->m_pDocTemplate = nullptr;
    delete document;
}

CDocument *CDocTemplate::OpenDocumentFile(const QString &path)
{
    CDocument *document = CreateNewDocument();
    if (!document) {
        ShowMessageBox(u"Failed to create empty document."_s);
        return nullptr;
    }
    if (m_createFrame && !m_createFrame(*document)) {
        ShowMessageBox(u"Failed to create empty document."_s);
        Discard(document);
        return nullptr;
    }
    if (path.isEmpty()) {
        document->SetTitle(GetDocString(docName) + QString::number(++m_nUntitledCount));
        if (!document->OnNewDocument()) {
            TRACE("CDocument::OnNewDocument returned FALSE");
            Discard(document);
            return nullptr;
        }
        Q_EMIT document->InitialUpdate();
        return document;
    }
    if (!document->OnOpenDocument(path)) {
        TRACE("CDocument::OnOpenDocument returned FALSE");
        Discard(document);
        return nullptr;
    }
    document->SetPathName(path);
    Q_EMIT document->InitialUpdate();
    return document;
}
