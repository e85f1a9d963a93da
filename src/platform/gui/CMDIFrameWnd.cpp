#include "CMDIFrameWnd.h"

#include "CDocManager.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CView.h"
#include "CWinApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

using namespace Qt::StringLiterals;

CMDIFrameWnd::CMDIFrameWnd()
    : m_pMdiArea(new QMdiArea(this))
{
    setCentralWidget(m_pMdiArea);
    OnCommand(ID_WINDOW_CASCADE, [this] { m_pMdiArea->cascadeSubWindows(); });
    OnCommand(ID_WINDOW_TILE_HORZ, [this] { Tile(false); });
    OnCommand(ID_WINDOW_TILE_VERT, [this] { Tile(true); });
    OnCommand(ID_NEXT_PANE, [this] { m_pMdiArea->activateNextSubWindow(); });
    OnCommand(ID_PREV_PANE, [this] { m_pMdiArea->activatePreviousSubWindow(); });
    // Keys without a menu item: the frame holds their actions so that they work everywhere.
    CommandAction(ID_NEXT_PANE)->setShortcut(QKeySequence(Qt::Key_F6));
    CommandAction(ID_PREV_PANE)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    addAction(CommandAction(ID_NEXT_PANE));
    addAction(CommandAction(ID_PREV_PANE));
}

void CMDIFrameWnd::SetFrameTitle(const QString &title)
{
    m_strTitle = title;
    UpdateFrameTitle();
}

void CMDIFrameWnd::UpdateFrameTitle()
{
    const CMDIChildWnd *child = MDIGetActive();
    const CDocument *document = child ? child->GetActiveDocument() : nullptr;
    const QString title = document && !document->GetTitle().isEmpty()
        ? m_strTitle + " - "_L1 + document->GetTitle()
        : m_strTitle;
    if (windowTitle() != title)
        setWindowTitle(title);
}

void CMDIFrameWnd::Tile(bool sideBySide)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : m_pMdiArea->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    }
    if (windows.isEmpty())
        return;
    const QRect area = m_pMdiArea->viewport()->rect();
    const int count = static_cast<int>(windows.size());
    for (int index = 0; index < count; ++index) {
        QMdiSubWindow *window = windows[index];
        window->showNormal();
        if (sideBySide) {
            const int left = area.width() * index / count;
            window->setGeometry(left, 0, area.width() * (index + 1) / count - left, area.height());
        } else {
            const int top = area.height() * index / count;
            window->setGeometry(0, top, area.width(), area.height() * (index + 1) / count - top);
        }
    }
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
    UpdateFrameTitle();
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
