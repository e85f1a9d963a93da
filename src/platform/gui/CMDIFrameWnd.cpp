#include "CMDIFrameWnd.h"

#include "CDocManager.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CView.h"
#include "CWinApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QStatusBar>

CMDIFrameWnd::CMDIFrameWnd()
    : m_pMdiArea(new QMdiArea(this))
{
    setCentralWidget(m_pMdiArea);
    OnCommand(ID_WINDOW_CASCADE, [this] { m_pMdiArea->cascadeSubWindows(); });
    OnCommand(ID_WINDOW_TILE_HORZ, [this] { m_pMdiArea->tileSubWindows(); });
    OnCommand(ID_WINDOW_TILE_VERT, [this] { m_pMdiArea->tileSubWindows(); });
}

void CMDIFrameWnd::AddChildFrame(CMDIChildWnd *child)
{
    m_pMdiArea->addSubWindow(child);
}

CMDIChildWnd *CMDIFrameWnd::MDIGetActive() const
{
    QMdiSubWindow *active = m_pMdiArea->activeSubWindow();
    if (!active) {
        // Without focus (off screen, or before the first activation) the last window counts.
        const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
        active = windows.isEmpty() ? nullptr : windows.last();
    }
    return dynamic_cast<CMDIChildWnd *>(active);
}

QAction *CMDIFrameWnd::CommandAction(int id, const QString &text, const QString &prompt)
{
    if (QAction *existing = m_actions.value(id)) {
        // An action first made for its shortcut gets its text from the menu or tool bar.
        if (existing->text().isEmpty())
            existing->setText(text);
        return existing;
    }
    auto *action = new QAction(text, this);
    action->setStatusTip(prompt.section(u'\n', 0, 0));
    if (prompt.contains(u'\n'))
        action->setToolTip(prompt.section(u'\n', 1));
    connect(action, &QAction::triggered, this, [this, id] { OnCommandId(id); });
    connect(action, &QAction::hovered, this, [this, id] { OnCommandHovered(id); });
    m_actions.insert(id, action);
    return action;
}

QList<CCmdTarget *> CMDIFrameWnd::Route() const
{
    QList<CCmdTarget *> targets;
    if (CMDIChildWnd *child = MDIGetActive())
        targets << child->GetActiveView() << child->GetActiveDocument() << child;
    targets << const_cast<CMDIFrameWnd *>(this) << g_pWinApp;
    return targets;
}

bool CMDIFrameWnd::OnCommandId(int id)
{
    return RouteCommand(Route(), id);
}

void CMDIFrameWnd::OnCommandHovered(int id)
{
    const CMDIChildWnd *child = MDIGetActive();
    const QString prompt = child ? child->GetMessageString(id) : QString();
    if (!prompt.isEmpty())
        statusBar()->showMessage(prompt);
}

void CMDIFrameWnd::UpdateCommandUI()
{
    const QList<CCmdTarget *> targets = Route();
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        CCmdUI ui(it.key());
        RouteUpdate(targets, ui);
        QAction *action = it.value();
        action->setEnabled(ui.m_enabled.value_or(true));
        if (ui.m_checked) {
            action->setCheckable(true);
            action->setChecked(*ui.m_checked);
        }
        if (ui.m_text)
            action->setText(*ui.m_text);
    }
    for (const int id : std::as_const(m_indicators)) {
        CCmdUI ui(id);
        RouteUpdate(targets, ui);
    }
}

bool CMDIFrameWnd::OnClose()
{
    return !g_pDocManager
        || (g_pDocManager->SaveAllModified() && g_pDocManager->CloseAllDocuments());
}

void CMDIFrameWnd::closeEvent(QCloseEvent *event)
{
    if (OnClose())
        event->accept();
    else
        event->ignore();
}
