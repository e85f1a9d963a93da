// The navigation tree: its fixed items, users relayed from the server and from other threads,
// favorites with their dialog, tool tips, drag formats and removal, scripts in the session file,
// the session menu and double-clicks.
#include "CAddFavoriteDlg.h"
#include "CArchive.h"
#include "CChildFrame.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CSessionFile.h"
#include "CUserInfo.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "OperatorWindowType.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "SessionLinks.h"
#include "TestSupport.h"
#include "Tick.h"
#include "Users.h"
#include "ViewsFixture.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QThread>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

int Image(const QTreeWidgetItem *item)
{
    return item->data(0, CVantroTree::ImageRole).toInt();
}

// Opens the protected drag formats to the tests.
class DragTree : public CVantroTree
{
public:
    using CVantroTree::mimeData;
};

class NavigationTree : public ViewsFixture
{
protected:
    // The next Add Favorite dialog gets the title, then OK or Cancel.
    void AnswerAddFavorite(const QString &title, bool ok = true)
    {
        OnNextDialog([this, title, ok](CDialog &dialog) {
            auto &favorite = dynamic_cast<CAddFavoriteDlg &>(dialog);
            m_dialogTitles.append(favorite.Control<QLineEdit>(IDC_FAVORITE_TITLE)->text());
            SetControlText(dialog, IDC_FAVORITE_TITLE, title);
            return ok ? PressOK(dialog) : static_cast<int>(IDCANCEL);
        });
    }
    // Records the session menu instead of showing it.
    void RecordMenus()
    {
        CVantroTree::SetPopupMenuHandler([this](QMenu &menu, const QPoint &) {
            QStringList items;
            for (const QAction *action : menu.actions())
                items.append(action->text() + (action->isEnabled() ? u""_s : u" (off)"_s));
            m_menus.append(items);
        });
    }
    void TearDown() override
    {
        CVantroTree::SetPopupMenuHandler({});
        ViewsFixture::TearDown();
    }
    QPoint CentreOf(const QTreeWidgetItem *item) const
    {
        return Tree()->visualItemRect(item).center();
    }

    QStringList m_dialogTitles;
    QList<QStringList> m_menus;
};

TEST_F(NavigationTree, FixedItemsInOrderWithTheirImages)
{
    CVantroTree *tree = Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->RootItem()->text(0), u"Vantro Server"_s);
    EXPECT_EQ(ChildTexts(tree->RootItem()),
              (QStringList {u"Session"_s, u"Users"_s, u"Scripts"_s, u"Favorites"_s}));
    EXPECT_EQ(ChildTexts(tree->SessionItem()), (QStringList {u"Activity"_s, u"Operator"_s}));
    // The session's windows and the users show from the start.
    for (const QTreeWidgetItem *item : {tree->RootItem(), tree->SessionItem(), tree->UsersItem()})
        EXPECT_TRUE(item->isExpanded()) << qPrintable(item->text(0));
    for (const QTreeWidgetItem *item : {tree->RootItem(), tree->SessionItem()})
        EXPECT_EQ(Image(item), IDI_FOLDER_OPEN);
    for (const QTreeWidgetItem *folder :
         {tree->UsersItem(), tree->ScriptsItem(), tree->FavoritesItem()})
        EXPECT_EQ(Image(folder), IDI_FOLDER_CLOSED);
    EXPECT_FALSE(tree->FavoritesItem()->isExpanded());
    EXPECT_EQ(Image(tree->ActivityItem()), IDR_MAINFRAME);
    EXPECT_EQ(Image(tree->OperatorItem()), IDR_BROWSERTYPE);
    tree->SessionItem()->setExpanded(false);
    EXPECT_EQ(Image(tree->SessionItem()), IDI_FOLDER_CLOSED);
    tree->SessionItem()->setExpanded(true);
    EXPECT_EQ(Image(tree->SessionItem()), IDI_FOLDER_OPEN);
    tree->expandAll();
    EXPECT_EQ(Image(tree->RootItem()), IDI_FOLDER_OPEN);
    EXPECT_EQ(Image(tree->OperatorItem()), IDR_BROWSERTYPE);
}

TEST_F(NavigationTree, ServerLabelShowsTheSessionPathWhileThereIsOne)
{
    Tree()->SetServerLabel(u"/srv/a.vnt"_s);
    EXPECT_EQ(Tree()->RootItem()->text(0), u"Vantro Server - [/srv/a.vnt]"_s);
    Tree()->SetServerLabel(QString());
    EXPECT_EQ(Tree()->RootItem()->text(0), u"Vantro Server"_s);
}

TEST_F(NavigationTree, LogonAndTimeOutReachTheTree)
{
    quint32 tick = 1000000;
    SetTickSource([&tick] { return tick; });
    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    ASSERT_TRUE(Logon(session->m_options.m_port, u"127.0.0.2"_s, "Al"));
    EXPECT_EQ(ChildTexts(Tree()->UsersItem()), QStringList {u"Mr. Al"_s});
    EXPECT_EQ(Image(Tree()->UsersItem()->child(0)), IDI_USER);
    tick += static_cast<quint32>(session->m_options.m_refreshSecs) * 7 * 1000 + 1;
    SweepTimedOutUsers();
    EXPECT_TRUE(ChildTexts(Tree()->UsersItem()).isEmpty());
    EXPECT_TRUE(Tree()->Users().empty());
    SetTickSource({});
}

TEST_F(NavigationTree, PostedRecordsFromAnotherThreadLandOnTheGuiThread)
{
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    QList<QThread *> insertedOn;
    QObject::connect(Tree()->model(), &QAbstractItemModel::rowsInserted, Tree(),
                     [&insertedOn] { insertedOn.append(QThread::currentThread()); });
    std::thread worker([] {
        PostUserMessage(UM_ADD_USER, std::make_unique<CUserInfo>(u"Ms. Bo"_s, u"127.0.0.7"_s));
        auto changed = std::make_unique<CUserInfo>(u"Ms. Bo"_s, u"127.0.0.7"_s);
        changed->m_state = CUserInfo::Waiting;
        PostUserMessage(UM_UPDATE_USER, std::move(changed));
        PostUserMessage(UM_NOTHING, std::make_unique<CUserInfo>(u"Ms. Bo"_s, u"127.0.0.7"_s));
    });
    worker.join();
    EXPECT_TRUE(Tree()->Users().empty());
    Settle();
    EXPECT_EQ(ChildTexts(Tree()->UsersItem()), QStringList {u"Ms. Bo"_s});
    ASSERT_EQ(insertedOn.size(), 1);
    EXPECT_EQ(insertedOn.front(), QCoreApplication::instance()->thread());
    EXPECT_EQ(view->List()->topLevelItem(0)->text(CUsersView::StatusColumn), u"Waiting"_s);

    std::thread([] {
        PostUserMessage(UM_REMOVE_USER, std::make_unique<CUserInfo>(u"Ms. Bo"_s, u"127.0.0.7"_s));
    }).join();
    Settle();
    EXPECT_TRUE(Tree()->Users().empty());
    EXPECT_EQ(view->List()->topLevelItemCount(), 0);
}

TEST_F(NavigationTree, AddFavoriteTakesTheEditedTitleOnceAndCancelAddsNothing)
{
    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    session->SetModifiedFlag(false);
    AnswerAddFavorite(u"Home page"_s);
    Tree()->AddFavorite(std::make_shared<CFavorite>(u"Welcome"_s, u"http://a/"_s));
    EXPECT_EQ(m_dialogTitles, QStringList {u"Welcome"_s});
    ASSERT_EQ(g_favorites.size(), 1);
    EXPECT_EQ(g_favorites[0]->m_title, u"Home page"_s);
    EXPECT_EQ(ChildTexts(Tree()->FavoritesItem()), QStringList {u"Home page"_s});
    EXPECT_EQ(Image(Tree()->FavoritesItem()->child(0)), IDI_FAVORITE);

    // The same page under its own title again: the list is compared with the edited title, so it
    // is new; then that title is known.
    AnswerAddFavorite(u"Other"_s);
    Tree()->AddFavorite(std::make_shared<CFavorite>(u"Home page"_s, u"http://a/"_s));
    EXPECT_EQ(g_favorites.size(), 1);
    AnswerAddFavorite(u"Again"_s);
    Tree()->AddFavorite(std::make_shared<CFavorite>(u"Welcome"_s, u"http://a/"_s));
    EXPECT_EQ(g_favorites.size(), 2);
    AnswerAddFavorite(u"Never"_s, false);
    session->SetModifiedFlag(false);
    Tree()->AddFavorite(std::make_shared<CFavorite>(u"Gone"_s, u"http://b/"_s));
    EXPECT_EQ(ChildTexts(Tree()->FavoritesItem()), (QStringList {u"Home page"_s, u"Again"_s}));
    // Nothing was added, yet the session offers to save when it closes.
    AnswerBoxes({IDCANCEL});
    EXPECT_FALSE(session->SaveModified());
    EXPECT_EQ(BoxTexts(),
              QStringList {u"Save changes to "_s + Path(u"Untitled Session.vnt"_s) + u'?'});
}

TEST_F(NavigationTree, LongTitlesAreCutInTheTreeOnlyAndToolTipsShowTheAddress)
{
    const QString title(5000, u'T');
    const QString address = u"http://example.test/"_s + QString(200, u'p');
    g_favorites = {std::make_shared<CFavorite>(title, address),
                   std::make_shared<CFavorite>(u"Short"_s, u"http://s/"_s)};
    Tree()->RefreshFavorites();
    const QTreeWidgetItem *first = Tree()->FavoritesItem()->child(0);
    EXPECT_EQ(first->text(0), title.left(2047));
    EXPECT_EQ(g_favorites[0]->m_title, title);
    EXPECT_EQ(first->toolTip(0), address.left(80));
    EXPECT_EQ(Tree()->FavoritesItem()->child(1)->toolTip(0), u"http://s/"_s);
    EXPECT_EQ(Tree()->OperatorItem()->toolTip(0), QString());
    Tree()->ResetFavorites();
    EXPECT_EQ(Tree()->FavoritesItem()->childCount(), 0);
    EXPECT_EQ(ChildTexts(Tree()->RootItem()).last(), u"Favorites"_s);
}

TEST_F(NavigationTree, FavoritesDragOutAsAddressTextAndScriptEntry)
{
    DragTree tree;
    g_favorites = {std::make_shared<CFavorite>(u"Caf\u00e9"_s, u"http://a/b.htm"_s)};
    tree.RefreshFavorites();
    std::unique_ptr<QMimeData> data(tree.mimeData({tree.FavoritesItem()->child(0)}));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->data(u"UniformResourceLocator"_s), QByteArray("http://a/b.htm"));
    EXPECT_EQ(data->text(), u"http://a/b.htm"_s);
    EXPECT_EQ(data->data(u"VN_ScriptEntry"_s),
              QByteArray("\x04"
                         "Caf\xe9"
                         "\x0e"
                         "http://a/b.htm\x00\x00\x00\x00",
                         24));
    EXPECT_EQ(tree.mimeData({tree.OperatorItem()}), nullptr);
}

TEST_F(NavigationTree, RemoveFavoriteTakesOnlyAFavoriteAndKeepsTheFolderState)
{
    g_favorites = {std::make_shared<CFavorite>(u"A"_s, u"http://a/"_s),
                   std::make_shared<CFavorite>(u"B"_s, u"http://b/"_s)};
    Tree()->RefreshFavorites();
    Tree()->FavoritesItem()->setExpanded(true);
    m_frame->UpdateCommandUI();
    Tree()->setCurrentItem(Tree()->UsersItem());
    m_frame->UpdateCommandUI();
    EXPECT_FALSE(m_frame->FindAction(ID_REMOVE_FAVORITE)->isEnabled());
    m_frame->OnCommandId(ID_REMOVE_FAVORITE);
    EXPECT_EQ(ChildTexts(Tree()->RootItem()).size(), 4);

    Tree()->setCurrentItem(Tree()->FavoritesItem()->child(1));
    m_frame->UpdateCommandUI();
    EXPECT_TRUE(m_frame->FindAction(ID_REMOVE_FAVORITE)->isEnabled());
    m_frame->OnCommandId(ID_REMOVE_FAVORITE);
    ASSERT_EQ(g_favorites.size(), 1);
    EXPECT_EQ(g_favorites[0]->m_title, u"A"_s);
    EXPECT_EQ(ChildTexts(Tree()->FavoritesItem()), QStringList {u"A"_s});
    EXPECT_TRUE(Tree()->FavoritesItem()->isExpanded());
}

TEST_F(NavigationTree, SessionMenuOnlyOnTheRootOrEmptySpace)
{
    RecordMenus();
    m_frame->resize(800, 600);
    m_frame->show();
    Tree()->expandAll();
    Tree()->AddUser(new CUserInfo(u"Mr. Al"_s, u"127.0.0.2"_s));
    g_favorites = {std::make_shared<CFavorite>(u"A"_s, u"http://a/"_s)};
    Tree()->RefreshFavorites();
    Tree()->expandAll();
    for (const QTreeWidgetItem *item :
         {Tree()->FavoritesItem()->child(0), Tree()->UsersItem(), Tree()->OperatorItem()})
        Tree()->OnRightClick(CentreOf(item));
    EXPECT_TRUE(m_menus.isEmpty());
    Tree()->OnRightClick(CentreOf(Tree()->UsersItem()->child(0)));
    EXPECT_EQ(m_menus, QList<QStringList> {{u"Chat with user"_s}}) << "a user's own menu";
    m_menus.clear();

    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    auto sessionWindow = std::make_unique<CChildFrame>(*session);
    Tree()->OnRightClick(CentreOf(Tree()->RootItem()));
    Tree()->OnRightClick(QPoint(10, Tree()->viewport()->height() - 2));
    // No application here to take New Session; the session window enables Close Session, Manual
    // Push, Launch Client and Properties.
    const QStringList expected {u"&Open Session... (off)"_s, u"&New Session... (off)"_s,
                                u"&Close Session"_s,         u"&Manual Push..."_s,
                                u"&Launch Client..."_s,      u"P&roperties..."_s};
    ASSERT_EQ(m_menus.size(), 2);
    EXPECT_EQ(m_menus[0], expected);
    EXPECT_EQ(m_menus[1], expected);
}

TEST_F(NavigationTree, SessionFileStoresOnlySavedOpenScripts)
{
    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    CDocument saved;
    saved.SetPathName(Path(u"a.vns"_s), false);
    CDocument untitled;
    auto *savedFrame = new CMDIChildWnd(saved);
    auto *untitledFrame = new CMDIChildWnd(untitled);
    session->SetModifiedFlag(false);
    Tree()->AddScript(savedFrame, u"a.vns"_s);
    Tree()->AddScript(untitledFrame, u"Untitled Script1"_s);
    EXPECT_TRUE(session->IsModified());
    EXPECT_EQ(ChildTexts(Tree()->ScriptsItem()), (QStringList {u"a.vns"_s, u"Untitled Script1"_s}));
    EXPECT_EQ(Image(Tree()->ScriptsItem()->child(0)), IDR_SCRIPTTYPE);

    CArchive archive;
    session->Serialize(archive);
    CArchive tail;
    tail.WriteUInt32(1);
    tail.WriteString(Path(u"a.vns"_s));
    EXPECT_TRUE(archive.Bytes().endsWith(tail.Bytes()));

    session->SetModifiedFlag(false);
    Tree()->RemoveScript(untitledFrame);
    EXPECT_TRUE(session->IsModified());
    EXPECT_EQ(ChildTexts(Tree()->ScriptsItem()), QStringList {u"a.vns"_s});
    saved.SetTitle(u"renamed.vns"_s);
    Tree()->RefreshScripts();
    EXPECT_EQ(ChildTexts(Tree()->ScriptsItem()), QStringList {u"renamed.vns"_s});
    delete savedFrame;
    delete untitledFrame;
}

// Without a script window type the paths a file names stay listed for the next save.
TEST_F(NavigationTree, ScriptsThatCannotOpenYetStayInTheSessionFile)
{
    CSessionFile file;
    file.m_options.m_port = FreePort();
    file.m_options.m_rootFolder = m_dir.path();
    file.m_scriptPaths = {u"/scripts/a.vns"_s};
    const QString path = Path(u"s.vnt"_s);
    ASSERT_EQ(file.SaveSessionFile(path), QString());
    auto *session = static_cast<CDozoZedDoc *>(m_sessionTemplate->OpenDocumentFile(path));
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(session->m_scriptPaths, QStringList {u"/scripts/a.vns"_s});
    CArchive archive;
    session->Serialize(archive);
    CArchive tail;
    tail.WriteUInt32(1);
    tail.WriteString(u"/scripts/a.vns"_s);
    EXPECT_TRUE(archive.Bytes().endsWith(tail.Bytes()));
}

TEST_F(NavigationTree, DoubleClicksShowFavoritesAndActivateTheSessionWindow)
{
    CRecordingOperator operatorWindow;
    g_pOperatorWindow = &operatorWindow;
    g_favorites = {std::make_shared<CFavorite>(u"A"_s, u"http://a/"_s)};
    Tree()->RefreshFavorites();
    Tree()->setCurrentItem(Tree()->FavoritesItem()->child(0));
    Tree()->OnDoubleClick();
    EXPECT_EQ(operatorWindow.m_addresses, QStringList {u"http://a/"_s});
    // An item with children does nothing more than open or close.
    Tree()->setCurrentItem(Tree()->FavoritesItem());
    Tree()->OnDoubleClick();
    EXPECT_EQ(operatorWindow.m_addresses.size(), 1);
    g_pOperatorWindow = nullptr;

    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    Tree()->setCurrentItem(Tree()->ActivityItem());
    Tree()->OnDoubleClick();
}

class OperatorFromTheTree : public AppFixture
{
};

TEST_F(OperatorFromTheTree, AFavoriteOpensTheOperatorWindowWhenNeededAndLoadsThere)
{
    CRecordingOperator operatorWindow;
    UseRecordingOperator(operatorWindow);
    g_favorites = {std::make_shared<CFavorite>(u"A"_s, u"http://a/"_s)};
    AppTree()->RefreshFavorites();
    AppTree()->setCurrentItem(AppTree()->FavoritesItem()->child(0));
    AppTree()->OnDoubleClick();
    EXPECT_EQ(m_operatorWindowsOpened, 1);
    EXPECT_EQ(operatorWindow.m_addresses, QStringList {u"http://a/"_s});
    AppTree()->OnDoubleClick();
    EXPECT_EQ(m_operatorWindowsOpened, 1);
    EXPECT_EQ(operatorWindow.m_addresses.size(), 2);
    g_favorites.clear();
}

} // namespace
