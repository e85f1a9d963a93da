#pragma once

#include "ServerLinks.h"
#include "SessionLinks.h"

#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <vector>

class CMDIChildWnd;
class CUserInfo;
class QMenu;

// The navigation tree in the main frame's left bar: the server, the session's windows, the
// users, the open scripts and the favorites. Double-clicks open or activate windows, favorites
// drag out as addresses and script entries, and the root offers the session menu. It relays
// users' arrivals, departures and state changes to the users window, and keeps the records it
// is given until they leave. Reached through g_pTree and g_pUserLink while it exists.
class CVantroTree : public QTreeWidget, public CTreeLink, public CUserLink
{
public:
    // Favorite titles are shown cut to this many characters; the favorite keeps its whole title.
    static constexpr int kMaxItemTitle = 2047;
    // Tool tips show at most this many characters of a favorite's address.
    static constexpr int kMaxToolTip = 80;
    // The icon id each item shows, for tests and for the expand and collapse images.
    static constexpr int ImageRole = Qt::UserRole + 1;
    // The key of the user a child of "Users" shows.
    static constexpr int UserKeyRole = Qt::UserRole + 2;

    // Shows the session menu at a global position; tests record it instead.
    using PopupMenuHandler = std::function<void(QMenu &menu, const QPoint &globalPos)>;
    static void SetPopupMenuHandler(PopupMenuHandler handler);

    explicit CVantroTree(QWidget *parent = nullptr);
    ~CVantroTree() override;

    // CTreeLink
    void SetServerLabel(const QString &path) override;
    void RefreshFavorites() override;
    void ResetFavorites() override;
    void AddFavorite(std::shared_ptr<CFavorite> favorite) override;
    void AddScript(CMDIChildWnd *frame, const QString &title) override;
    void RemoveScript(CMDIChildWnd *frame) override;
    void RefreshScripts() override;
    QStringList OpenScriptPaths() const override;
    QStringList OpenScripts(const QStringList &paths) override;

    // CUserLink
    void AddUser(CUserInfo *user) override;
    void RemoveUser(const CUserInfo &user) override;
    void UpdateUser(const CUserInfo &user) override;
    // The user's item shows in bold while the user has chat messages the operator has not seen.
    void MarkUnread(const QString &key, bool unread);

    // Remove Favorite: the selected favorite leaves the tree and the favorites list.
    void OnRemoveFavorite();
    // The favorite the selected item carries; null for every other item.
    std::shared_ptr<CFavorite> SelectedFavorite() const;
    std::shared_ptr<CFavorite> FavoriteOf(const QTreeWidgetItem *item) const;

    // The users announced to the tree and still there, in order of arrival.
    const std::vector<std::unique_ptr<CUserInfo>> &Users() const { return m_users; }

    QTreeWidgetItem *RootItem() const { return m_hRoot; }
    QTreeWidgetItem *SessionItem() const { return m_hSession; }
    QTreeWidgetItem *UsersItem() const { return m_hUsers; }
    QTreeWidgetItem *ScriptsItem() const { return m_hScripts; }
    QTreeWidgetItem *FavoritesItem() const { return m_hFavorites; }
    QTreeWidgetItem *ActivityItem() const { return m_hActivity; }
    QTreeWidgetItem *OperatorItem() const { return m_hOperator; }

    // The double-click on the selected item.
    void OnDoubleClick();
    // The right-click at a point of the viewport.
    void OnRightClick(const QPoint &pos);

protected:
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QTreeWidgetItem *AddItem(QTreeWidgetItem *parent, const QString &text, int image);
    void SetImage(QTreeWidgetItem *item, int image);
    void ShowFavorite(const std::shared_ptr<CFavorite> &favorite);
    void SendHint(int hint, const CUserInfo &user);
    // The first user entry of the key, or -1; the Users children stand in the same order.
    qsizetype UserIndex(const QString &key) const;
    // A user's menu: "Chat with user".
    void ShowUserMenu(const QString &key, const QPoint &pos);
    void ShowMenu(QMenu &menu, const QPoint &pos);

    struct ScriptChild
    {
        QPointer<CMDIChildWnd> frame;
        QTreeWidgetItem *item;
    };

    QTreeWidgetItem *m_hRoot;
    QTreeWidgetItem *m_hSession;
    QTreeWidgetItem *m_hUsers;
    QTreeWidgetItem *m_hScripts;
    QTreeWidgetItem *m_hFavorites;
    QTreeWidgetItem *m_hActivity;
    QTreeWidgetItem *m_hOperator;
    std::vector<std::unique_ptr<CUserInfo>> m_users;
    std::vector<ScriptChild> m_scripts;
    // Each Favorites child with the favorite it shows, which it keeps alive.
    std::vector<std::pair<const QTreeWidgetItem *, std::shared_ptr<CFavorite>>> m_favoriteItems;
};
