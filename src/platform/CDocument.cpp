#include "CDocument.h"

#include "CArchive.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "DocumentFile.h"
#include "FileDialog.h"
#include "MessageBox.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

CDocument::CDocument()
{
    OnCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { DoSave({}); });
}

CDocument::~CDocument()
{
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const QString &title)
{
    m_strTitle = title;
    Q_EMIT TitleChanged();
}

void CDocument::SetPathName(const QString &path, bool addToMRU)
{
    m_strPathName = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    SetTitle(QFileInfo(m_strPathName).fileName());
    if (addToMRU && g_pDocManager)
        g_pDocManager->AddToRecentFileList(m_strPathName);
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString &path)
{
    DeleteContents();
    const QString error
        = LoadArchiveDocument(path, [this](CArchive &archive) { Serialize(archive); });
    if (!error.isEmpty()) {
        ShowMessageBox(error, MB_ICONEXCLAMATION);
        DeleteContents();
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString &path)
{
    const QString error
        = SaveArchiveDocument(path, [this](CArchive &archive) { Serialize(archive); });
    if (!error.isEmpty()) {
        ShowMessageBox(error, MB_ICONEXCLAMATION);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument()
{
    Q_EMIT Closing();
    DeleteContents();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
    m_pDocTemplate = nullptr;
    deleteLater();
}

void CDocument::Serialize(CArchive &) { }

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
    switch (
        ShowMessageBox(u"Save changes to %1?"_s.arg(name), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return false;
    case IDYES:
        return DoFileSave();
    default:
        return true;
    }
}

bool CDocument::DoFileSave()
{
    return DoSave(m_strPathName);
}

bool CDocument::DoSave(const QString &path)
{
    QString target = path;
    if (target.isEmpty()) {
        FileDialogRequest request;
        request.m_open = false;
        request.m_fileName = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
        if (m_pDocTemplate) {
            request.m_defaultExt = m_pDocTemplate->GetDocString(CDocTemplate::filterExt);
            request.m_filters = m_pDocTemplate->FileFilters();
        }
        request.m_overwritePrompt = true;
        target = ShowFileDialog(request);
        if (target.isEmpty())
            return false;
    }
    if (!OnSaveDocument(target))
        return false;
    if (target != m_strPathName)
        SetPathName(target);
    return true;
}
