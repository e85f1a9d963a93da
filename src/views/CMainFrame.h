#pragma once

#include "CMDIFrameWnd.h"
#include "CUptimeClock.h"
#include "SessionLinks.h"

#include <QPointer>
#include <QTimer>

class CControlBar;
class QLabel;
class QMenu;
class QToolBar;

// The program's top-level window: menus, tool bar, status bar with its panes, the left control
// bar and the document windows. It asks before closing while users are attached, and keeps the
// uptime pane current.
class CMainFrame : public CMDIFrameWnd, public CToolBarLink
{
public:
    static constexpr int kUptimeTimerMs = 500;

    explicit CMainFrame(CUptimeClock::Clock clock = {});
    ~CMainFrame() override;

    void ShowSessionToolBar(bool session) override;
    // The message pane: prompts, and the active view's connection state.
    void SetMessageText(const QString &text);

    QString UptimeText() const;
    QString PaneText(int id) const;
    void SetPaneText(int id, const QString &text);
    CControlBar *ControlBar() const { return m_pControlBar; }
    QToolBar *ToolBar() const { return m_pToolBar; }
    // One tick of the uptime timer.
    void OnUptimeTimer();
    // The File menu's recently-used items from the list as it is now.
    void UpdateRecentFileItems();
    // The Favorites menu's items from the favorites list as it is now.
    void UpdateFavoriteItems();
    // Shows the favorite at the position in the operator window, when it exists.
    void OnFavorite(int position);
    void OnSelectFavorite();

protected:
    bool OnClose() override;

private:
    void CreateMenus();
    void CreateRecentFileItems(QMenu *file);
    void CreateFavoriteItems(QMenu *favorites);
    void CreateToolBar();
    QAction *ToolBarCommand(int id);
    void CreateStatusBar();
    void CreateControlBar();
    void RegisterCommands();
    void RegisterScriptCommands();
    // The script window that was in front before the operator window came to the front; null
    // while the operator window is not in front or no script window was.
    CMDIChildWnd *ScriptBehindOperator() const;
    QAction *Command(int id, const QString &text = {});

    QToolBar *m_pToolBar = nullptr;
    CControlBar *m_pControlBar = nullptr;
    QHash<int, QLabel *> m_panes;
    CUptimeClock m_uptime;
    QTimer m_uptimeTimer;
    QPointer<CMDIChildWnd> m_pLastScriptWindow;
};

// The main window; null before it is made and after it is gone.
extern CMainFrame *g_pMainFrame;
