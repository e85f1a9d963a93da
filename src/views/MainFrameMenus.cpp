// The main frame's menus, tool bar, status bar and control bar, as tables of command ids.
#include "CControlBar.h"
#include "CDocManager.h"
#include "CMainFrame.h"
#include "CWinApp.h"
#include "CommandIcons.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <QAction>
#include <QDockWidget>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

struct MenuItem
{
    int id; // 0: a separator
    const char16_t *text;
    QKeyCombination key = {};
};

struct MenuLayout
{
    const char16_t *title;
    std::initializer_list<MenuItem> items;
};

const MenuLayout kMenus[] = {
    {u"&File",
     {{ID_FILE_OPEN, u"&Open...", Qt::CTRL | Qt::Key_O},
      {ID_FILE_SAVE, u"&Save", Qt::CTRL | Qt::Key_S},
      {ID_FILE_SAVE_AS, u"Save &As..."},
      {0, nullptr},
      {ID_FILE_PRINT_SETUP, u"P&rint Setup..."},
      {0, nullptr},
      {ID_APP_EXIT, u"E&xit"}}},
    {u"&Session",
     {{ID_NEW_SESSION, u"&New Session..."},
      {ID_CLOSE_SESSION, u"&Close Session"},
      {ID_SESSION_PROPERTIES, u"&Properties..."},
      {ID_RESTART_SERVER, u"&Restart Server", Qt::CTRL | Qt::Key_R},
      {0, nullptr},
      {ID_MANUAL_PUSH, u"&Manual Push"},
      {ID_LAUNCH_CLIENT, u"&Launch Client..."},
      {ID_INVITE_USERS, u"&Invite Users..."}}},
    {u"Sc&ript",
     {{ID_NEW_SCRIPT, u"New &Script"},
      {ID_ADD_ENTRY, u"&Add Entry..."},
      {ID_REMOVE_ENTRY, u"&Remove"},
      {ID_PUSH_SELECTED, u"&Push Selected"},
      {ID_PUSH_NEXT, u"Push &Next", Qt::CTRL | Qt::Key_N},
      {ID_SCRIPT_PROPERTIES, u"P&roperties"},
      {0, nullptr},
      {ID_EXPORT_SCRIPT, u"&Export..."}}},
    {u"&Operator",
     {{ID_OPEN_LOCATION, u"&Open Location...", Qt::CTRL | Qt::Key_L},
      {ID_PUSH_CURRENT, u"&Push Current Page"},
      {ID_OPERATOR_BACK, u"&Back"},
      {ID_OPERATOR_FORWARD, u"&Forward"},
      {ID_OPERATOR_STOP, u"&Stop"},
      {ID_OPERATOR_REFRESH, u"&Refresh", QKeyCombination(Qt::Key_F5)},
      {ID_FOLLOW_MODE, u"Follow &Mode"}}},
    {u"F&avorites",
     {{ID_ADD_FAVORITE, u"&Add to Favorites..."},
      {ID_REMOVE_FAVORITE, u"&Remove Favorite"},
      {0, nullptr},
      {ID_SELECT_FAVORITE, u"&Select Favorite..."}}},
    {u"&View",
     {{ID_VIEW_OPERATOR, u"&Operator Window"},
      {ID_VIEW_USERS, u"&Users"},
      {ID_VIEW_ACTIVITY, u"&Activity"},
      {0, nullptr},
      {ID_VIEW_TOOLBAR, u"&Toolbar"},
      {ID_VIEW_STATUS_BAR, u"&Status Bar"}}},
    {u"&Window",
     {{ID_WINDOW_CASCADE, u"Cascade"},
      {ID_WINDOW_TILE_HORZ, u"Tile Horizontally"},
      {ID_WINDOW_TILE_VERT, u"Tile Vertically"}}},
    {u"&Help", {{ID_HELP_FINDER, u"&Help Topics"}, {ID_APP_ABOUT, u"&About Vantro..."}}},
};

// Left to right; 0 is a separator. The session bar shows Close Session for Start Session.
const int kToolBar[] = {ID_FILE_OPEN,
                        ID_FILE_SAVE,
                        ID_FILE_PRINT,
                        ID_NEW_SCRIPT,
                        0,
                        ID_OPERATOR_WINDOW_BAR,
                        ID_START_SESSION,
                        ID_SHOW_USERS_BAR,
                        0,
                        ID_OPERATOR_BACK,
                        ID_OPERATOR_FORWARD,
                        ID_OPERATOR_REFRESH,
                        ID_OPERATOR_STOP,
                        0,
                        ID_MANUAL_PUSH,
                        ID_INVITE_USERS,
                        0,
                        ID_HELP_FINDER,
                        ID_CONTEXT_HELP};

// The Favorites and Window menus' places in the menu bar.
constexpr int kFavoritesMenu = 4;
constexpr int kWindowMenu = 6;

QString ToolText(int id)
{
    const QString prompt = LoadResString(id);
    return prompt.contains(u'\n') ? prompt.section(u'\n', 1) : prompt;
}

} // namespace

void CMainFrame::CreateMenus()
{
    for (const MenuLayout &menuLayout : kMenus) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf16(menuLayout.title));
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });
        for (const MenuItem &item : menuLayout.items) {
            if (item.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction *action = Command(item.id, QString::fromUtf16(item.text));
            if (item.key != QKeyCombination())
                action->setShortcut(QKeySequence(item.key));
            menu->addAction(action);
        }
    }
    CreateRecentFileItems(menuBar()->actions().constFirst()->menu());
    CreateFavoriteItems(menuBar()->actions().at(kFavoritesMenu)->menu());
    // No resource offers the chat window; the Window menu does, under the chat's own string.
    QMenu *window = menuBar()->actions().at(kWindowMenu)->menu();
    window->addSeparator();
    window->addAction(Command(ID_NEW_CHAT, LoadResString(IDS_CHAT_WITH_USER)));
    SetWindowMenu(window);
    Command(ID_FILE_PRINT)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Command(ID_CONTEXT_HELP)->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
    // F1 has no menu item: the frame holds its action so that it works in every window.
    Command(ID_HELP)->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(FindAction(ID_HELP));
}

// The recently-used files, above Exit, shown as "&1 path" while the list holds them.
void CMainFrame::CreateRecentFileItems(QMenu *file)
{
    QAction *exit = FindAction(ID_APP_EXIT);
    for (int index = 0; index < CDocManager::kRecentFiles; ++index) {
        QAction *item = Command(CWinApp::ID_FILE_MRU_FILE1 + index);
        item->setVisible(false);
        file->insertAction(exit, item);
    }
    file->insertSeparator(exit);
    connect(file, &QMenu::aboutToShow, this, [this] { UpdateRecentFileItems(); });
}

void CMainFrame::UpdateRecentFileItems()
{
    const QStringList items = g_pDocManager ? g_pDocManager->RecentFiles().Items() : QStringList();
    for (int index = 0; index < CDocManager::kRecentFiles; ++index) {
        QAction *item = FindAction(CWinApp::ID_FILE_MRU_FILE1 + index);
        item->setVisible(index < items.size());
        item->setText(u"&%1 %2"_s.arg(index + 1).arg(items.value(index)));
    }
}

// One item per favorite, up to ten, below Select Favorite; filled whenever the menu opens.
void CMainFrame::CreateFavoriteItems(QMenu *favorites)
{
    favorites->addSeparator();
    for (int id = ID_FAVORITE_FIRST; id <= ID_FAVORITE_LAST; ++id) {
        QAction *item = Command(id);
        item->setVisible(false);
        favorites->addAction(item);
    }
    connect(favorites, &QMenu::aboutToShow, this, [this] { UpdateFavoriteItems(); });
}

void CMainFrame::UpdateFavoriteItems()
{
    for (int id = ID_FAVORITE_FIRST; id <= ID_FAVORITE_LAST; ++id) {
        const std::shared_ptr<CFavorite> favorite = g_favorites.value(id - ID_FAVORITE_FIRST);
        QAction *item = FindAction(id);
        item->setVisible(favorite != nullptr);
        item->setText(favorite ? QString(favorite->m_title).replace(u'&', u"&&"_s) : QString());
        // The item's prompt is the favorite's address.
        SetCommandPrompt(id, favorite ? favorite->m_address : QString());
    }
}

void CMainFrame::CreateToolBar()
{
    m_pToolBar = addToolBar(LoadResString(IDR_MAINFRAME));
    m_pToolBar->setObjectName(QString::number(IDR_MAINFRAME));
    // Images with the texts as tool tips: documents rename their menu items ("&Save Session
    // Settings"), which must not rename the buttons.
    m_pToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const int id : kToolBar) {
        if (id == 0) {
            m_pToolBar->addSeparator();
            continue;
        }
        m_pToolBar->addAction(ToolBarCommand(id));
    }
    ToolBarCommand(ID_CLOSE_SESSION);
}

QAction *CMainFrame::ToolBarCommand(int id)
{
    QAction *action = Command(id, ToolText(id));
    action->setIcon(CommandIcon(id));
    action->setToolTip(ToolText(id));
    return action;
}

void CMainFrame::ShowSessionToolBar(bool session)
{
    QAction *start = FindAction(ID_START_SESSION);
    QAction *close = FindAction(ID_CLOSE_SESSION);
    QAction *shown = session ? start : close;
    if (!m_pToolBar->actions().contains(shown))
        return;
    m_pToolBar->insertAction(shown, session ? close : start);
    m_pToolBar->removeAction(shown);
}

void CMainFrame::CreateStatusBar()
{
    const QFontMetrics metrics(statusBar()->font());
    const struct
    {
        int id;
        QString sizing;
    } panes[] = {{ID_INDICATOR_LISTENING, LoadResString(ID_INDICATOR_LISTENING)},
                 {ID_INDICATOR_FOLLOW, u"FOLLOW"_s},
                 {ID_INDICATOR_FRAMES, u"FRAMES"_s},
                 {ID_INDICATOR_UPTIME, LoadResString(ID_INDICATOR_UPTIME)}};
    for (const auto &pane : panes) {
        auto *label = new QLabel(statusBar());
        label->setMinimumWidth(metrics.horizontalAdvance(pane.sizing) + 8);
        statusBar()->addPermanentWidget(label);
        m_panes.insert(pane.id, label);
        AddIndicator(pane.id);
    }
}

void CMainFrame::CreateControlBar()
{
    m_pControlBar = new CControlBar;
    auto *dock = new QDockWidget(m_pControlBar->windowTitle(), this);
    dock->setObjectName(QString::number(IDD_CONTROL_BAR));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(m_pControlBar);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
}
