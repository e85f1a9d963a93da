#include "CMDIFrameWnd.h"

#include "CDocManager.h"
#include "CDocument.h"
#include "CMDIChildWnd.h"
#include "CView.h"
#include "CWinApp.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

using namespace Qt::StringLiterals;

namespace {

// The smallest size a document window opens at, whatever its contents ask for.
constexpr QSize kMinimumChildSize(400, 260);
// The main window's first size, as a share of the screen.
constexpr double kScreenShare = 0.9;

} // namespace

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

// A maximized child's title is added by the toolkit (" - [title]"), which changes the window's
// title again; the frame therefore sets a title only when its own part changes, never to undo
// the toolkit's.
void CMDIFrameWnd::UpdateFrameTitle()
{
    const CMDIChildWnd *child = MDIGetActive();
    const CDocument *document = child ? child->GetActiveDocument() : nullptr;
    const bool withDocument = document && !document->GetTitle().isEmpty() && !child->isMaximized();
    const QString title = withDocument ? m_strTitle + " - "_L1 + document->GetTitle() : m_strTitle;
    if (title == m_strShownTitle)
        return;
    m_strShownTitle = title;
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
    QSize size = child->sizeHint().expandedTo(kMinimumChildSize);
    if (m_pMdiArea->isVisible())
        size = size.boundedTo(m_pMdiArea->viewport()->size());
    child->resize(size);
    m_pMdiArea->addSubWindow(child);
}

void CMDIFrameWnd::SetWindowMenu(QMenu *menu)
{
    m_pWindowMenu = menu;
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateWindowMenu(); });
}

void CMDIFrameWnd::UpdateWindowMenu()
{
    qDeleteAll(m_windowItems);
    m_windowItems.clear();
    const QList<QMdiSubWindow *> windows = m_pMdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    m_windowItems.append(m_pWindowMenu->addSeparator());
    const QMdiSubWindow *active = MDIGetActive();
    for (qsizetype index = 0; index < windows.size(); ++index) {
        QMdiSubWindow *window = windows[index];
        const QString title = QString(window->windowTitle()).replace(u'&', "&&"_L1);
        QAction *item = m_pWindowMenu->addAction(u"&%1 %2"_s.arg(index + 1).arg(title));
        item->setCheckable(true);
        item->setChecked(window == active);
        connect(item, &QAction::triggered, window, [this, window] {
            if (window->isMinimized())
                window->showNormal();
            m_pMdiArea->setActiveSubWindow(window);
        });
        m_windowItems.append(item);
    }
}

void CMDIFrameWnd::RestoreWindowPlacement()
{
    if (restoreGeometry(QSettings().value(kPlacementKey).toByteArray()))
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect placement(QPoint(), available.size() * kScreenShare);
    placement.moveCenter(available.center());
    setGeometry(placement);
}

void CMDIFrameWnd::SaveWindowPlacement() const
{
    QSettings().setValue(kPlacementKey, saveGeometry());
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
    m_prompts.insert(id, prompt.section(u'\n', 0, 0));
    action->setStatusTip(m_prompts.value(id));
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

void CMDIFrameWnd::SetCommandPrompt(int id, const QString &prompt)
{
    m_prompts.insert(id, prompt);
    if (QAction *action = m_actions.value(id))
        action->setStatusTip(prompt);
}

void CMDIFrameWnd::OnCommandHovered(int id)
{
    const CMDIChildWnd *child = MDIGetActive();
    const QString own = child ? child->GetMessageString(id) : QString();
    const QString prompt = own.isEmpty() ? m_prompts.value(id) : own;
    // Menus and tool bars show the item's status tip themselves, after this signal.
    if (QAction *action = m_actions.value(id))
        action->setStatusTip(prompt);
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
    if (OnClose()) {
        SaveWindowPlacement();
        event->accept();
    } else
        event->ignore();
}
