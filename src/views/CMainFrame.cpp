#include "CMainFrame.h"

#include "CChildFrame.h"
#include "CClientTestDlg.h"
#include "CControlBar.h"
#include "CDozoZedDoc.h"
#include "CInviteUsersDlg.h"
#include "CSelectFavoriteDlg.h"
#include "CSplashWnd.h"
#include "CURLDlg.h"
#include "CUserTable.h"
#include "CVantroTree.h"
#include "CView.h"
#include "CommandIcons.h"
#include "HelpTopics.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QWhatsThis>

using namespace Qt::StringLiterals;

CMainFrame *g_pMainFrame = nullptr;

namespace {

bool UsersAttached()
{
    const QMutexLocker lock(&g_userTable.Lock());
    return g_userTable.Size() != 0;
}

} // namespace

CMainFrame::CMainFrame(CUptimeClock::Clock clock)
    : m_uptime(std::move(clock))
{
    if (!g_pMainFrame)
        g_pMainFrame = this;
    if (!g_pToolBarLink)
        g_pToolBarLink = this;
    SetFrameTitle(LoadResString(IDR_MAINFRAME));
    setWindowIcon(ApplicationIcon());
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateControlBar();
    // Wide enough at first for the whole tool bar: no button starts behind its overflow.
    resize(sizeHint().expandedTo(QSize(m_pToolBar->sizeHint().width(), 0)));
    RegisterCommands();
    OnUptimeTimer();
    connect(&m_uptimeTimer, &QTimer::timeout, this, [this] { OnUptimeTimer(); });
    m_uptimeTimer.start(kUptimeTimerMs);
    CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame()
{
    if (g_pToolBarLink == this)
        g_pToolBarLink = nullptr;
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
}

QAction *CMainFrame::Command(int id, const QString &text)
{
    return CommandAction(id, text, LoadResString(id));
}

void CMainFrame::RegisterCommands()
{
    OnCommand(ID_CLOSE_SESSION, [] {
        if (g_pSessionFrame)
            g_pSessionFrame->close();
    });
    const auto sessionWindowOpen = [](CCmdUI &ui) {
        ui.Enable(g_pSessionFrame != nullptr);
    };
    OnUpdate(ID_CLOSE_SESSION, sessionWindowOpen);
    OnCommand(ID_MANUAL_PUSH, [this] { CURLDlg(this).DoModal(); });
    OnUpdate(ID_MANUAL_PUSH, sessionWindowOpen);
    OnCommand(ID_LAUNCH_CLIENT, [this] { CClientTestDlg(this).DoModal(); });
    OnCommand(ID_INVITE_USERS, [this] {
        if (g_pSessionDoc)
            CInviteUsersDlg(LookUpLocalHostOrWarn(), g_pSessionDoc->ServedPort(), this).DoModal();
    });
    // From any window, not only from the session's own.
    OnCommand(ID_RESTART_SERVER, [] {
        if (g_pSessionDoc)
            g_pSessionDoc->StartServer();
    });
    for (const int id : {ID_NEW_SCRIPT, ID_VIEW_USERS, ID_SHOW_USERS_BAR, ID_SESSION_PROPERTIES,
                         ID_RESTART_SERVER, ID_LAUNCH_CLIENT, ID_INVITE_USERS})
        OnUpdate(id, [](CCmdUI &ui) { ui.Enable(g_pSessionDoc != nullptr); });
    // Reached only when no document window is active.
    OnUpdate(ID_FILE_SAVE, [](CCmdUI &ui) {
        ui.SetText(u"&Save"_s);
        ui.Enable(false);
    });
    OnUpdate(ID_FILE_SAVE_AS, [](CCmdUI &ui) {
        ui.SetText(u"Save &As..."_s);
        ui.Enable(false);
    });
    // Open Location also opens the operator window it needs.
    OnCommand(ID_OPEN_LOCATION, [this] {
        if (!g_pOperatorWindow)
            OnCommandId(ID_VIEW_OPERATOR);
        if (g_pOperatorWindow)
            g_pOperatorWindow->OnOpenLocation();
    });
    // The tree decides, for the item selected in it.
    OnCommand(ID_REMOVE_FAVORITE, [this] { m_pControlBar->Tree()->OnRemoveFavorite(); });
    OnUpdate(ID_REMOVE_FAVORITE, [this](CCmdUI &ui) {
        ui.Enable(m_pControlBar->Tree()->SelectedFavorite() != nullptr);
    });
    OnCommand(ID_HELP_FINDER, [] { ShowHelpContents(); });
    OnCommand(ID_HELP, [] { ShowHelpContents(); });
    OnCommand(ID_CONTEXT_HELP, [] { QWhatsThis::enterWhatsThisMode(); });
    for (int id = ID_FAVORITE_FIRST; id <= ID_FAVORITE_LAST; ++id)
        OnCommand(id, [this, id] { OnFavorite(id - ID_FAVORITE_FIRST); });
    OnCommand(ID_SELECT_FAVORITE, [this] { OnSelectFavorite(); });
    OnCommand(ID_VIEW_TOOLBAR, [this] { m_pToolBar->setVisible(!m_pToolBar->isVisible()); });
    OnUpdate(ID_VIEW_TOOLBAR, [this](CCmdUI &ui) { ui.SetCheck(m_pToolBar->isVisible()); });
    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    OnUpdate(ID_VIEW_STATUS_BAR, [this](CCmdUI &ui) { ui.SetCheck(statusBar()->isVisible()); });
    RegisterScriptCommands();
}

// A presenter clicks into the operator window's page and goes on pressing Ctrl+N: while the
// operator window is in front, Push Next and Push Selected go to the script window that was in
// front before it. A script window in front handles them itself, before this frame.
void CMainFrame::RegisterScriptCommands()
{
    connect(MdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *window) {
        auto *child = dynamic_cast<CMDIChildWnd *>(window);
        if (child && child->GetActiveView() && child->GetActiveView()->HasCommand(ID_PUSH_NEXT))
            m_pLastScriptWindow = child;
    });
    for (const int id : {ID_PUSH_NEXT, ID_PUSH_SELECTED}) {
        OnCommand(id, [this, id] {
            if (CMDIChildWnd *script = ScriptBehindOperator())
                RouteCommand({script->GetActiveView(), script->GetActiveDocument(), script}, id);
        });
        OnUpdate(id, [this](CCmdUI &ui) {
            CMDIChildWnd *script = ScriptBehindOperator();
            if (script)
                RouteUpdate({script->GetActiveView(), script->GetActiveDocument(), script}, ui);
            else
                ui.Enable(false);
        });
    }
}

CMDIChildWnd *CMainFrame::ScriptBehindOperator() const
{
    const CMDIChildWnd *active = MDIGetActive();
    const bool operatorInFront = active && g_pOperatorWindow
        && dynamic_cast<COperatorWindow *>(active->GetActiveView()) == g_pOperatorWindow;
    return operatorInFront ? m_pLastScriptWindow.data() : nullptr;
}

void CMainFrame::OnFavorite(int position)
{
    if (const std::shared_ptr<CFavorite> favorite = g_favorites.value(position))
        ShowInOperatorWindow(favorite->m_address);
}

void CMainFrame::OnSelectFavorite()
{
    CSelectFavoriteDlg dialog(this);
    if (dialog.DoModal() == IDOK && !dialog.m_address.isEmpty())
        ShowInOperatorWindow(dialog.m_address);
}

void CMainFrame::SetMessageText(const QString &text)
{
    if (statusBar()->currentMessage() != text)
        statusBar()->showMessage(text);
}

QString CMainFrame::PaneText(int id) const
{
    const QLabel *pane = m_panes.value(id);
    return pane ? pane->text() : QString();
}

void CMainFrame::SetPaneText(int id, const QString &text)
{
    if (QLabel *pane = m_panes.value(id))
        pane->setText(text);
}

QString CMainFrame::UptimeText() const
{
    return PaneText(ID_INDICATOR_UPTIME);
}

void CMainFrame::OnUptimeTimer()
{
    m_panes.value(ID_INDICATOR_UPTIME)->setText(m_uptime.Update(UsersAttached()));
    // A session whose start failed stays open; this pane keeps saying so until it listens.
    const bool stopped = g_pSessionDoc && !g_pSessionDoc->IsRunning();
    SetPaneText(ID_INDICATOR_LISTENING,
                stopped ? LoadResString(ID_INDICATOR_LISTENING) : QString());
}

bool CMainFrame::OnClose()
{
    if (UsersAttached()) {
        if (ShowMessageBox(u"There are attached clients, shutdown anyway?"_s,
                           MB_OKCANCEL | MB_ICONQUESTION)
            != IDOK)
            return false;
        g_bExitConfirmed = true;
    }
    if (CMDIFrameWnd::OnClose())
        return true;
    // The close stopped at a save question: the session asks again next time.
    g_bExitConfirmed = false;
    return false;
}
