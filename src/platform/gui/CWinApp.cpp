#include "CWinApp.h"

#include "CMDIFrameWnd.h"
#include "IdleHook.h"

#include <QApplication>
#include <QSettings>

CWinApp *g_pWinApp = nullptr;

CWinApp::CWinApp()
{
    if (!g_pWinApp)
        g_pWinApp = this;
    OnCommand(ID_FILE_OPEN, [this] { m_docManager.OnFileOpen(); });
    for (int index = 0; index < CDocManager::kRecentFiles; ++index)
        OnCommand(ID_FILE_MRU_FILE1 + index, [this, index] { OnOpenRecentFile(index); });
    OnCommand(ID_APP_EXIT, [this] {
        if (m_pMainWnd)
            m_pMainWnd->close();
    });
}

CWinApp::~CWinApp()
{
    if (g_pWinApp == this)
        g_pWinApp = nullptr;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return 0;
}

// An open menu has been brought up to date as it opened and holds its prompt in the status
// bar; the pass waits until it closes.
void CWinApp::OnIdle()
{
    if (m_pMainWnd && !QApplication::activePopupWidget())
        m_pMainWnd->UpdateCommandUI();
}

void CWinApp::LoadStdProfileSettings()
{
    QSettings settings;
    m_docManager.RecentFiles().ReadList(settings);
}

void CWinApp::SaveStdProfileSettings()
{
    QSettings settings;
    m_docManager.RecentFiles().WriteList(settings);
}

void CWinApp::EnableIdleProcessing()
{
    OnEveryIdleMoment(&m_idleContext, [this] { OnIdle(); });
}

void CWinApp::OnOpenRecentFile(int index)
{
    const QStringList &items = m_docManager.RecentFiles().Items();
    if (index >= items.size())
        return;
    if (!m_docManager.OpenDocumentFile(items.at(index)))
        m_docManager.RecentFiles().Remove(index);
}
