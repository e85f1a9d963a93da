#pragma once

#include "CRecentFileList.h"

#include <memory>
#include <vector>

class CDocTemplate;
class CDocument;

// The registered window types in their order, the documents they hold and the recently-used
// file list. The application makes one; documents reach it through g_pDocManager.
class CDocManager
{
public:
    static constexpr int kRecentFiles = 4;

    CDocManager();
    ~CDocManager();

    // Positions count from 0 in order of registration; commands pick templates by position.
    void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    // Keeps a position for a window type that comes later; until then it has no template.
    void ReserveTemplatePosition();
    // Fills a reserved position with the window type that came for it.
    void SetDocTemplate(int position, std::unique_ptr<CDocTemplate> docTemplate);
    // The template at the position; null for a reserved or unknown position.
    CDocTemplate *GetTemplate(int position) const;
    int GetTemplateCount() const { return static_cast<int>(m_templates.size()); }

    // An open document with this path is returned as it is; otherwise the template whose
    // extension matches (else the first) opens the file.
    CDocument *OpenDocumentFile(const QString &path);
    // The framework's Open command: a file dialog over every registered type.
    void OnFileOpen();

    CRecentFileList &RecentFiles() { return m_recentFiles; }
    void AddToRecentFileList(const QString &path) { m_recentFiles.Add(path); }

    QList<CDocument *> Documents() const;
    // Asks every modified document to save; false when the operator cancelled.
    bool SaveAllModified();
    // Closes every document; true when all of them closed.
    bool CloseAllDocuments();

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    CRecentFileList m_recentFiles;
};

extern CDocManager *g_pDocManager;
