#include "CDocManager.h"

#include "CDocTemplate.h"
#include "CDocument.h"
#include "FileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

using namespace Qt::StringLiterals;

CDocManager *g_pDocManager = nullptr;

CDocManager::CDocManager()
    : m_recentFiles(kRecentFiles)
{
    if (!g_pDocManager)
        g_pDocManager = this;
}

CDocManager::~CDocManager()
{
    if (g_pDocManager == this)
        g_pDocManager = nullptr;
}

void CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
}

void CDocManager::ReserveTemplatePosition()
{
    m_templates.push_back(nullptr);
}

void CDocManager::SetDocTemplate(int position, std::unique_ptr<CDocTemplate> docTemplate)
{
    if (position >= 0 && position < GetTemplateCount() && !GetTemplate(position))
        m_templates[static_cast<size_t>(position)] = std::move(docTemplate);
}

CDocTemplate *CDocManager::GetTemplate(int position) const
{
    if (position < 0 || position >= GetTemplateCount())
        return nullptr;
    return m_templates[static_cast<size_t>(position)].get();
}

QList<CDocument *> CDocManager::Documents() const
{
    QList<CDocument *> documents;
    for (const auto &docTemplate : m_templates) {
        if (docTemplate)
            documents += docTemplate->GetDocuments();
    }
    return documents;
}

CDocument *CDocManager::OpenDocumentFile(const QString &path)
{
    const QString full = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (CDocument *document : Documents()) {
        if (document->GetPathName() == full)
            return document;
    }
    CDocTemplate *chosen = m_templates.empty() ? nullptr : m_templates.front().get();
    for (const auto &docTemplate : m_templates) {
        if (docTemplate && docTemplate->MatchesExtension(full)) {
            chosen = docTemplate.get();
            break;
        }
    }
    return chosen ? chosen->OpenDocumentFile(full) : nullptr;
}

void CDocManager::OnFileOpen()
{
    FileDialogRequest request;
    request.m_title = u"Open"_s;
    for (const auto &docTemplate : m_templates) {
        if (docTemplate)
            request.m_filters += docTemplate->FileFilters();
    }
    request.m_filters += QStringList {u"All Files (*.*)"_s, u"*"_s};
    const QString path = ShowFileDialog(request);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

bool CDocManager::SaveAllModified()
{
    for (CDocument *document : Documents()) {
        if (!document->SaveModified())
            return false;
    }
    return true;
}

bool CDocManager::CloseAllDocuments()
{
    for (CDocument *document : Documents()) {
        const QPointer<CDocument> guard(document);
        document->OnCloseDocument();
    }
    return Documents().isEmpty();
}
