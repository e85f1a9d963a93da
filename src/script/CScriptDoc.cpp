#include "CScriptDoc.h"

#include "CAddDocumentDlg.h"
#include "CArchive.h"
#include "CDozoZedApp.h"
#include "FileDialog.h"
#include "FileErrors.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "SessionLinks.h"

#include <QSaveFile>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString kHttp = u"http://"_s;

// Writes the whole file or nothing; the operator's text for a failure, else empty.
QString WriteExportFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return {};
    return FileErrorText(errno ? errno : EIO, path);
}

} // namespace

CScriptDoc::CScriptDoc()
{
    RegisterCommands();
}

void CScriptDoc::RegisterCommands()
{
    OnCommand(ID_ADD_ENTRY, [this] { OnAddEntry(); });
    OnCommand(ID_REMOVE_ENTRY, [this] { OnRemove(); });
    OnUpdate(ID_REMOVE_ENTRY, [this](CCmdUI &ui) { ui.Enable(!m_selection.isEmpty()); });
    OnCommand(ID_SCRIPT_PROPERTIES, [this] { OnProperties(); });
    OnUpdate(ID_SCRIPT_PROPERTIES, [this](CCmdUI &ui) { ui.Enable(m_selection.size() == 1); });
    OnCommand(ID_EXPORT_SCRIPT, [this] { OnExport(); });
    OnUpdate(ID_EXPORT_SCRIPT, [this](CCmdUI &ui) { ui.Enable(!m_entries.isEmpty()); });
    OnUpdate(ID_FILE_SAVE, [this](CCmdUI &ui) {
        ui.SetText(u"&Save Script"_s);
        ui.Enable(IsModified());
    });
    OnUpdate(ID_FILE_SAVE_AS, [](CCmdUI &ui) {
        ui.SetText(u"Save Script &As..."_s);
        ui.Enable(true);
    });
}

const CScriptEntry *CScriptDoc::GetEntry(int position) const
{
    if (position < 0 || position >= m_entries.size())
        return nullptr;
    return &m_entries.at(position);
}

void CScriptDoc::AddEntry(const CScriptEntry &entry)
{
    m_entries.append(CScriptEntry(entry.m_title, entry.m_address));
    UpdateAllViews();
    SetModifiedFlag();
}

void CScriptDoc::UpdateAllViews()
{
    Q_EMIT Changed();
}

int CScriptDoc::SingleSelection() const
{
    return m_selection.size() == 1 ? m_selection.front() : -1;
}

void CScriptDoc::OnAddEntry()
{
    CAddDocumentDlg dialog;
    if (dialog.DoModal() != IDOK)
        return;
    // Case matters: "HTTP://host" gets "http://" in front as well.
    QString address = dialog.m_address;
    if (!address.startsWith(kHttp))
        address.prepend(kHttp);
    AddEntry(CScriptEntry(dialog.m_title, address));
}

void CScriptDoc::OnRemove()
{
    const int position = SingleSelection();
    if (!GetEntry(position))
        return;
    m_entries.removeAt(position);
    if (m_nCurrent > 0 && position <= m_nCurrent)
        --m_nCurrent;
    m_selection.clear();
    UpdateAllViews();
    SetModifiedFlag();
}

void CScriptDoc::OnProperties()
{
    const int position = SingleSelection();
    const CScriptEntry *entry = GetEntry(position);
    if (!entry)
        return;
    CAddDocumentDlg dialog;
    dialog.setWindowTitle(u"Document Properties"_s);
    dialog.m_title = entry->m_title;
    dialog.m_address = entry->m_address;
    if (dialog.DoModal() != IDOK)
        return;
    // Taken as typed: no "http://" is added here.
    const CScriptEntry edited(dialog.m_title, dialog.m_address);
    const bool changed = edited != *entry;
    m_entries[position] = edited;
    if (changed)
        SetModifiedFlag();
    UpdateAllViews();
}

void CScriptDoc::OnExport()
{
    FileDialogRequest request;
    request.m_open = false;
    request.m_defaultExt = u".TXT"_s;
    request.m_fileName = u"untitled.txt"_s;
    request.m_filters = QStringList {u"*.txt"_s, u"*.txt"_s};
    request.m_folder = g_strInstallDir;
    request.m_overwritePrompt = true;
    const QString path = ShowFileDialog(request);
    if (path.isEmpty())
        return;
    const QString error = WriteExportFile(path, ScriptExportText(m_entries));
    if (!error.isEmpty())
        ShowMessageBox(error, MB_ICONEXCLAMATION);
}

void CScriptDoc::Serialize(CArchive &archive)
{
    SerializeScript(archive, m_entries);
    if (archive.IsLoading())
        m_nCurrent = 0;
}

void CScriptDoc::DeleteContents()
{
    m_entries.clear();
    m_selection.clear();
    m_nCurrent = 0;
}

bool CScriptDoc::DoSave(const QString &path)
{
    if (!CDocument::DoSave(path))
        return false;
    Q_EMIT Saved();
    if (g_pTree)
        g_pTree->RefreshScripts();
    return true;
}
