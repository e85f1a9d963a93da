#include "CVantroTree.h"

#include "CAddFavoriteDlg.h"
#include "CChatHub.h"
#include "CChildFrame.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CScriptEntry.h"
#include "CUserInfo.h"
#include "CUsersDoc.h"
#include "CUsersView.h"
#include "CWinApp.h"
#include "ChildFrames.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"
#include "ResourceIcons.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "Trace.h"

#include <QAction>
#include <QDrag>
#include <QMenu>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace {

const QString kServerLabel = u"Vantro Server"_s;

// The script type's position among the window types.
constexpr int kScriptTemplate = 1;

// Menu 184's session submenu.
struct SessionMenuItem
{
    int id;
    const char16_t *text;
};
constexpr SessionMenuItem kSessionMenu[] = {
    {ID_OPEN_SESSION, u"&Open Session..."},   {ID_NEW_SESSION, u"&New Session..."},
    {ID_CLOSE_SESSION, u"&Close Session"},    {ID_MANUAL_PUSH, u"&Manual Push..."},
    {ID_LAUNCH_CLIENT, u"&Launch Client..."}, {ID_SESSION_PROPERTIES, u"P&roperties..."},
};

CVantroTree::PopupMenuHandler &MenuHandler()
{
    static CVantroTree::PopupMenuHandler handler;
    return handler;
}

void RouteToApplication(int id)
{
    if (g_pWinApp)
        g_pWinApp->OnCmdMsg(id);
}

} // namespace

void CVantroTree::SetPopupMenuHandler(PopupMenuHandler handler)
{
    MenuHandler() = std::move(handler);
}

CVantroTree::CVantroTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_hRoot = AddItem(nullptr, kServerLabel, IDR_MAINFRAME);
    m_hSession = AddItem(m_hRoot, u"Session"_s, IDI_FOLDER_CLOSED);
    m_hUsers = AddItem(m_hRoot, u"Users"_s, IDI_FOLDER_CLOSED);
    m_hScripts = AddItem(m_hRoot, u"Scripts"_s, IDI_FOLDER_CLOSED);
    m_hFavorites = AddItem(m_hRoot, u"Favorites"_s, IDI_FOLDER_CLOSED);
    m_hActivity = AddItem(m_hSession, u"Activity"_s, IDR_MAINFRAME);
    m_hOperator = AddItem(m_hSession, u"Operator"_s, IDR_BROWSERTYPE);
    // Only items with children open and close; a leaf "expanded" by expandAll keeps its image.
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (item->childCount() > 0)
            SetImage(item, IDI_FOLDER_OPEN);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (item->childCount() > 0)
            SetImage(item, IDI_FOLDER_CLOSED);
    });
    // The session's windows and the users are what the operator looks for first.
    for (QTreeWidgetItem *item : {m_hRoot, m_hSession, m_hUsers})
        item->setExpanded(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this] { OnDoubleClick(); });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { OnRightClick(pos); });
    if (!g_pTree)
        g_pTree = this;
    if (!g_pUserLink)
        g_pUserLink = this;
}

CVantroTree::~CVantroTree()
{
    if (g_pUserLink == this)
        g_pUserLink = nullptr;
    if (g_pTree == this)
        g_pTree = nullptr;
}

QTreeWidgetItem *CVantroTree::AddItem(QTreeWidgetItem *parent, const QString &text, int image)
{
    auto *item = new QTreeWidgetItem({text});
    SetImage(item, image);
    if (parent)
        parent->addChild(item);
    else
        addTopLevelItem(item);
    return item;
}

void CVantroTree::SetImage(QTreeWidgetItem *item, int image)
{
    item->setData(0, ImageRole, image);
    item->setIcon(0, LoadResIcon(image));
}

void CVantroTree::SetServerLabel(const QString &path)
{
    m_hRoot->setText(0, path.isEmpty() ? kServerLabel : kServerLabel + " - ["_L1 + path + u']');
}

void CVantroTree::RefreshFavorites()
{
    ResetFavorites();
    for (const std::shared_ptr<CFavorite> &favorite : std::as_const(g_favorites)) {
        if (favorite)
            ShowFavorite(favorite);
    }
}

void CVantroTree::ResetFavorites()
{
    m_favoriteItems.clear();
    delete m_hFavorites;
    m_hFavorites = AddItem(m_hRoot, u"Favorites"_s, IDI_FOLDER_CLOSED);
}

void CVantroTree::AddFavorite(std::shared_ptr<CFavorite> favorite)
{
    if (!favorite)
        return;
    // The session keeps the favorites, so it counts as changed whatever the dialog's outcome:
    // closing it then offers to save them.
    if (g_pSessionDoc)
        g_pSessionDoc->SetModifiedFlag();
    CAddFavoriteDlg dialog(this);
    dialog.m_title = favorite->m_title;
    dialog.m_address = favorite->m_address;
    if (dialog.DoModal() != IDOK)
        return;
    // The page counts as known under the title it came with, not the edited one.
    for (const std::shared_ptr<CFavorite> &known : std::as_const(g_favorites)) {
        if (known && known->m_address == favorite->m_address && known->m_title == favorite->m_title)
            return;
    }
    favorite->m_title = dialog.m_title;
    g_favorites.append(favorite);
    ShowFavorite(favorite);
}

// Titles beyond the item's bound are cut for the tree only.
void CVantroTree::ShowFavorite(const std::shared_ptr<CFavorite> &favorite)
{
    QTreeWidgetItem *item
        = AddItem(m_hFavorites, favorite->m_title.left(kMaxItemTitle), IDI_FAVORITE);
    item->setToolTip(0, favorite->m_address.left(kMaxToolTip));
    m_favoriteItems.emplace_back(item, favorite);
    qCDebug(lcTrace, "CVantroTree::ShowFavorite() - hItem = %p", static_cast<void *>(item));
}

std::shared_ptr<CFavorite> CVantroTree::FavoriteOf(const QTreeWidgetItem *item) const
{
    for (const auto &[shown, favorite] : m_favoriteItems) {
        if (shown == item)
            return favorite;
    }
    return nullptr;
}

std::shared_ptr<CFavorite> CVantroTree::SelectedFavorite() const
{
    return FavoriteOf(currentItem());
}

void CVantroTree::OnRemoveFavorite()
{
    QTreeWidgetItem *selected = currentItem();
    const std::shared_ptr<CFavorite> favorite = FavoriteOf(selected);
    // Only a favorite goes: a fixed item deleted here would be missing for good.
    if (!favorite)
        return;
    const bool expanded = m_hFavorites->isExpanded();
    std::erase_if(m_favoriteItems,
                  [selected](const auto &entry) { return entry.first == selected; });
    delete selected;
    g_favorites.removeOne(favorite);
    m_hFavorites->setExpanded(expanded);
}

void CVantroTree::AddScript(CMDIChildWnd *frame, const QString &title)
{
    QTreeWidgetItem *item = AddItem(m_hScripts, title, IDR_SCRIPTTYPE);
    std::erase_if(m_scripts, [frame](const ScriptChild &child) { return child.frame == frame; });
    m_scripts.push_back({frame, item});
    setCurrentItem(item);
    scrollToItem(item);
    if (g_pSessionDoc)
        g_pSessionDoc->SetModifiedFlag();
}

void CVantroTree::RemoveScript(CMDIChildWnd *frame)
{
    const auto found
        = std::find_if(m_scripts.begin(), m_scripts.end(),
                       [frame](const ScriptChild &child) { return child.frame == frame; });
    if (found == m_scripts.end())
        return;
    delete found->item;
    m_scripts.erase(found);
    if (g_pSessionDoc)
        g_pSessionDoc->SetModifiedFlag();
}

void CVantroTree::RefreshScripts()
{
    const std::vector<ScriptChild> scripts = std::exchange(m_scripts, {});
    for (const ScriptChild &child : scripts)
        delete child.item;
    for (const ScriptChild &child : scripts) {
        if (child.frame && child.frame->GetActiveDocument())
            AddScript(child.frame, child.frame->GetActiveDocument()->GetTitle());
    }
}

QStringList CVantroTree::OpenScriptPaths() const
{
    QStringList paths;
    for (const ScriptChild &child : m_scripts) {
        const CDocument *document = child.frame ? child.frame->GetActiveDocument() : nullptr;
        if (document && !document->GetPathName().isEmpty())
            paths.append(document->GetPathName());
    }
    return paths;
}

QStringList CVantroTree::OpenScripts(const QStringList &paths)
{
    CDocTemplate *scripts = g_pDocManager ? g_pDocManager->GetTemplate(kScriptTemplate) : nullptr;
    if (!scripts || scripts->GetResourceId() != IDR_SCRIPTTYPE)
        return paths;
    // Each script window adds itself; a file that does not open is dropped.
    for (const QString &path : paths)
        scripts->OpenDocumentFile(path);
    return {};
}

void CVantroTree::AddUser(CUserInfo *user)
{
    if (!user)
        return;
    m_users.emplace_back(user);
    QTreeWidgetItem *item = AddItem(m_hUsers, user->m_name, IDI_USER);
    item->setData(0, UserKeyRole, user->m_address);
    if (g_pChatHub && g_pChatHub->IsUnread(user->m_address))
        MarkUnread(user->m_address, true);
    SendHint(CUsersDoc::HINT_USER_ADDED, *user);
}

// Users are found by key: names are shown only, and namesakes are common ("Guest").
qsizetype CVantroTree::UserIndex(const QString &key) const
{
    const auto entry = std::find_if(m_users.begin(), m_users.end(),
                                    [&key](const auto &known) { return known->m_address == key; });
    return entry == m_users.end() ? -1 : entry - m_users.begin();
}

// The first entry of the key goes: a key shows twice only while a call-center client moves from
// one list to the other, and then the older entry is the one leaving.
void CVantroTree::RemoveUser(const CUserInfo &user)
{
    const qsizetype index = UserIndex(user.m_address);
    if (index < 0)
        return;
    // The entry may be the caller's own record, so it is freed only once the hint has gone.
    std::unique_ptr<CUserInfo> removed = std::move(m_users[index]);
    m_users.erase(m_users.begin() + index);
    delete m_hUsers->child(static_cast<int>(index));
    SendHint(CUsersDoc::HINT_USER_REMOVED, user);
}

void CVantroTree::UpdateUser(const CUserInfo &user)
{
    const qsizetype index = UserIndex(user.m_address);
    if (index >= 0)
        m_users[index]->m_state = user.m_state;
    SendHint(CUsersDoc::HINT_USER_STATE, user);
}

void CVantroTree::MarkUnread(const QString &key, bool unread)
{
    for (int index = 0; index < m_hUsers->childCount(); ++index) {
        QTreeWidgetItem *item = m_hUsers->child(index);
        if (item->data(0, UserKeyRole).toString() != key)
            continue;
        QFont font = item->font(0);
        font.setBold(unread);
        item->setFont(0, font);
        item->setToolTip(0, unread ? u"Unread chat messages"_s : QString());
    }
}

void CVantroTree::SendHint(int hint, const CUserInfo &user)
{
    if (!g_pUsersView)
        return;
    if (auto *users = qobject_cast<CUsersDoc *>(g_pUsersView->GetDocument()))
        users->UpdateAllViews(hint, &user);
}

void CVantroTree::OnDoubleClick()
{
    const QTreeWidgetItem *item = currentItem();
    if (!item || item->childCount() > 0)
        return;
    if (item == m_hOperator) {
        RouteToApplication(ID_VIEW_OPERATOR);
    } else if (item == m_hUsers) {
        RouteToApplication(ID_VIEW_USERS);
    } else if (item->parent() == m_hUsers && g_pChatHub) {
        g_pChatHub->OpenChat(item->data(0, UserKeyRole).toString());
    } else if (item == m_hActivity) {
        ActivateFrame(g_pSessionFrame);
    } else if (item->parent() == m_hScripts) {
        for (const ScriptChild &child : m_scripts) {
            if (child.item == item)
                ActivateFrame(child.frame);
        }
    } else if (const std::shared_ptr<CFavorite> favorite = FavoriteOf(item)) {
        ShowInOperatorWindow(favorite->m_address);
    }
}

// The session menu belongs to the server: the root, or the empty space below the items.
void CVantroTree::OnRightClick(const QPoint &pos)
{
    TRACE("CVantroTree::OnRclick()");
    const QTreeWidgetItem *hit = itemAt(pos);
    if (hit && hit->parent() == m_hUsers)
        return ShowUserMenu(hit->data(0, UserKeyRole).toString(), pos);
    if ((hit && hit != m_hRoot) || !g_pMainFrame)
        return;
    // The menu's own texts, with the main frame's state and routing behind them.
    g_pMainFrame->UpdateCommandUI();
    QMenu menu(this);
    for (const SessionMenuItem &item : kSessionMenu) {
        QAction *action = menu.addAction(QString::fromUtf16(item.text));
        const QAction *command = g_pMainFrame->FindAction(item.id);
        action->setEnabled(command && command->isEnabled());
        const int id = item.id;
        connect(action, &QAction::triggered, g_pMainFrame, [id] { g_pMainFrame->OnCommandId(id); });
    }
    TRACE("calling TrackPopupMenu(), stand back!");
    ShowMenu(menu, pos);
}

void CVantroTree::ShowUserMenu(const QString &key, const QPoint &pos)
{
    QMenu menu(this);
    QAction *chat = menu.addAction(LoadResString(IDS_CHAT_WITH_USER));
    connect(chat, &QAction::triggered, this, [key] {
        if (g_pChatHub)
            g_pChatHub->OpenChat(key);
    });
    ShowMenu(menu, pos);
}

void CVantroTree::ShowMenu(QMenu &menu, const QPoint &pos)
{
    const QPoint at = viewport()->mapToGlobal(pos);
    if (const PopupMenuHandler &handler = MenuHandler())
        handler(menu, at);
    else
        menu.exec(at);
}

QStringList CVantroTree::mimeTypes() const
{
    return {CScriptEntry::kUrlFormat, u"text/plain"_s, u"text/uri-list"_s,
            CScriptEntry::kEntryFormat};
}

QMimeData *CVantroTree::mimeData(const QList<QTreeWidgetItem *> &items) const
{
    const std::shared_ptr<CFavorite> favorite
        = items.size() == 1 ? FavoriteOf(items.first()) : nullptr;
    if (!favorite)
        return nullptr;
    // Carried as a script entry of no script list, with a source window of 0.
    return CScriptEntry(favorite->m_title, favorite->m_address).MakeMimeData();
}

// Only favorites drag out, and the tree keeps them whatever the target does with the drop.
void CVantroTree::startDrag(Qt::DropActions)
{
    QMimeData *formats = mimeData({currentItem()});
    if (!formats)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(formats);
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
}
