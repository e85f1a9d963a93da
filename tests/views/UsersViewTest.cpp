// The users window: rows from the navigation tree's news, the enable timer, the layout and
// logging selected users off through the tree and the push dispatcher.
#include "CControlBar.h"
#include "CDozoZedApp.h"
#include "CDozoZedDoc.h"
#include "CMainFrame.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "CUsersDoc.h"
#include "CUsersFrame.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "ResourceIds.h"
#include "TestSupport.h"
#include "ViewsFixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMdiArea>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kLogoffQuestion = u"Are you sure you want to logoff the following user(s)?\n\n"_s;

QStringList Column(const CUsersView &view, int column)
{
    QStringList texts;
    for (int row = 0; row < view.List()->topLevelItemCount(); ++row)
        texts.append(view.List()->topLevelItem(row)->text(column));
    return texts;
}

void Wait(int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

CUserInfo *User(const char *name, const char *address, int state = CUserInfo::Connected)
{
    auto *user = new CUserInfo(QString::fromLatin1(name), QString::fromLatin1(address));
    user->m_state = state;
    return user;
}

class UsersWindow : public ViewsFixture
{
protected:
    // A session with Mr. Al, the second alias and Mr. Cy logged on from 127.0.0.2 to .4, and
    // the users window open on them; its view, or null.
    CUsersView *ThreeUsersInTheWindow(const QByteArray &secondAlias)
    {
        CDozoZedDoc *session = NewSession();
        if (!session)
            return nullptr;
        const int port = session->m_options.m_port;
        const bool loggedOn = Logon(port, u"127.0.0.2"_s, "Al")
            && Logon(port, u"127.0.0.3"_s, secondAlias) && Logon(port, u"127.0.0.4"_s, "Cy");
        return loggedOn ? OpenUsersWindow() : nullptr;
    }
};

TEST_F(UsersWindow, OpensWithTheTreesUsersInArrivalOrderAndItsColumns)
{
    Tree()->AddUser(User("Mr. Cy", "127.0.0.4"));
    Tree()->AddUser(User("Mr. Al", "127.0.0.2"));
    Tree()->AddUser(User("Ms. Bo", "127.0.0.3"));
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Column(*view, CUsersView::UserColumn),
              (QStringList {u"Mr. Cy"_s, u"Mr. Al"_s, u"Ms. Bo"_s}));
    EXPECT_EQ(Column(*view, CUsersView::AddressColumn),
              (QStringList {u"127.0.0.4"_s, u"127.0.0.2"_s, u"127.0.0.3"_s}));
    QTreeWidget *list = view->List();
    EXPECT_EQ(list->headerItem()->text(0), u"User"_s);
    EXPECT_EQ(list->headerItem()->text(1), u"IP Address"_s);
    EXPECT_EQ(list->headerItem()->text(2), u"Status"_s);
    EXPECT_EQ(list->columnWidth(0), 125);
    EXPECT_EQ(list->columnWidth(1), 75);
    EXPECT_EQ(list->columnWidth(2), 125);
    EXPECT_TRUE(list->header()->sectionsMovable());
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Unchecked);
    EXPECT_EQ(view->GetDocument()->GetTitle(), u"Users"_s);
    EXPECT_TRUE(view->InfoButton()->isHidden());
    EXPECT_FALSE(view->InfoButton()->isEnabled());
    ASSERT_NE(g_pUsersFrame, nullptr);
    EXPECT_EQ(g_pUsersFrame->minimumSize(), QSize(300, 200));
    EXPECT_EQ(CUsersFrame::FrameCount(), 1);
}

TEST_F(UsersWindow, RealLogonsBeforeTheWindowOpensShowInArrivalOrder)
{
    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    const int port = session->m_options.m_port;
    ASSERT_TRUE(Logon(port, u"127.0.0.3"_s, "Cy"));
    ASSERT_TRUE(Logon(port, u"127.0.0.2"_s, "Al"));
    ASSERT_TRUE(Logon(port, u"127.0.0.4"_s, "Bo"));
    EXPECT_EQ(ChildTexts(Tree()->UsersItem()),
              (QStringList {u"Mr. Cy"_s, u"Mr. Al"_s, u"Mr. Bo"_s}));
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Column(*view, CUsersView::UserColumn),
              (QStringList {u"Mr. Cy"_s, u"Mr. Al"_s, u"Mr. Bo"_s}));
    EXPECT_EQ(Column(*view, CUsersView::AddressColumn),
              (QStringList {u"127.0.0.3"_s, u"127.0.0.2"_s, u"127.0.0.4"_s}));
    EXPECT_EQ(Column(*view, CUsersView::StatusColumn),
              (QStringList {u"Connected"_s, u"Connected"_s, u"Connected"_s}));
    // A later logon reaches the open window at once.
    ASSERT_TRUE(Logon(port, u"127.0.0.5"_s, "Di"));
    EXPECT_EQ(Column(*view, CUsersView::UserColumn).value(3), u"Mr. Di"_s);
}

TEST_F(UsersWindow, StatusTextsFollowTheStateAndUnknownStatesChangeNothing)
{
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    Tree()->AddUser(User("Mr. Al", "127.0.0.2", CUserInfo::Waiting));
    Tree()->AddUser(User("Mr. Bo", "127.0.0.3", CUserInfo::Connected));
    Tree()->AddUser(User("Mr. Cy", "127.0.0.4", CUserInfo::NoStatus));
    Tree()->AddUser(User("Mr. Di", "127.0.0.5", 7));
    EXPECT_EQ(Column(*view, CUsersView::StatusColumn),
              (QStringList {u"Waiting"_s, u"Connected"_s, QString(), QString()}));

    // The key finds the user; the name a change carries is only shown.
    CUserInfo change(u"Ms. Other"_s, u"127.0.0.2"_s);
    change.m_state = CUserInfo::Connected;
    Tree()->UpdateUser(change);
    EXPECT_EQ(Tree()->Users().front()->m_state, CUserInfo::Connected);
    EXPECT_EQ(Column(*view, CUsersView::StatusColumn).value(0), u"Connected"_s);
    change.m_state = 9;
    Tree()->UpdateUser(change);
    EXPECT_EQ(Column(*view, CUsersView::StatusColumn).value(0), u"Connected"_s);
    // A key nobody has changes nothing.
    change.m_address = u"127.0.0.9"_s;
    change.m_state = CUserInfo::Waiting;
    Tree()->UpdateUser(change);
    Tree()->RemoveUser(change);
    EXPECT_EQ(Column(*view, CUsersView::StatusColumn),
              (QStringList {u"Connected"_s, u"Connected"_s, QString(), QString()}));
    view->OnUpdate(CUsersDoc::HINT_USER_ADDED, nullptr);
    EXPECT_EQ(view->List()->topLevelItemCount(), 4);
}

TEST_F(UsersWindow, LogoffAsksListingEverySelectedUserAndNoChangesNothing)
{
    CUsersView *view = ThreeUsersInTheWindow("%3Cb%3EBo%3C%2Fb%3E");
    ASSERT_NE(view, nullptr);
    const QByteArray before2 = ReadFileBytes(Path(u"VS127.0.0.2.htm"_s));
    const QByteArray before3 = ReadFileBytes(Path(u"VS127.0.0.3.htm"_s));
    view->List()->topLevelItem(0)->setSelected(true);
    view->List()->topLevelItem(1)->setSelected(true);

    AnswerBoxes({IDNO});
    view->OnLogoff();
    ASSERT_EQ(m_boxes.size(), 1);
    // Names come from remote browsers: listed as plain text, one line per selected row.
    EXPECT_EQ(m_boxes[0].text,
              kLogoffQuestion + u"\t- Mr. Al (127.0.0.2)\n"_s
                  + u"\t- Mr. <b>Bo</b> (127.0.0.3)\n"_s);
    EXPECT_EQ(m_boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(view->List()->topLevelItemCount(), 3);
    EXPECT_EQ(Tree()->UsersItem()->childCount(), 3);
    EXPECT_EQ(ReadFileBytes(Path(u"VS127.0.0.2.htm"_s)), before2);
    EXPECT_EQ(ReadFileBytes(Path(u"VS127.0.0.3.htm"_s)), before3);
}

TEST_F(UsersWindow, YesRemovesBothRowsAndSendsBothUsersTheLogoffPage)
{
    CUsersView *view = ThreeUsersInTheWindow("Bo");
    ASSERT_NE(view, nullptr);
    const QByteArray untouched = ReadFileBytes(Path(u"VS127.0.0.3.htm"_s));
    view->List()->topLevelItem(0)->setSelected(true);
    view->List()->topLevelItem(2)->setSelected(true);

    AnswerBoxes({IDYES});
    view->OnLogoff();
    EXPECT_EQ(Column(*view, CUsersView::UserColumn), QStringList {u"Mr. Bo"_s});
    EXPECT_EQ(ChildTexts(Tree()->UsersItem()), QStringList {u"Mr. Bo"_s});
    for (const QString &key : {u"127.0.0.2"_s, u"127.0.0.4"_s}) {
        const QByteArray page = ReadFileBytes(Path(u"VS"_s + key + u".htm"_s));
        EXPECT_TRUE(page.contains("logoff.htm")) << key.toStdString();
    }
    EXPECT_EQ(ReadFileBytes(Path(u"VS127.0.0.3.htm"_s)), untouched);
    // The records stay in the table until the logoff page has been delivered.
    const QMutexLocker lock(&g_userTable.Lock());
    EXPECT_EQ(g_userTable.Size(), 3);
}

TEST_F(UsersWindow, LogoffWithNothingSelectedListsNobodyAndLogsOffNobody)
{
    CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    ASSERT_TRUE(Logon(session->m_options.m_port, u"127.0.0.2"_s, "Al"));
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    const QByteArray before = ReadFileBytes(Path(u"VS127.0.0.2.htm"_s));
    AnswerBoxes({IDYES});
    view->OnLogoff();
    EXPECT_EQ(BoxTexts(), QStringList {kLogoffQuestion});
    EXPECT_EQ(view->List()->topLevelItemCount(), 1);
    EXPECT_EQ(ReadFileBytes(Path(u"VS127.0.0.2.htm"_s)), before);
}

TEST_F(UsersWindow, LogoffButtonFollowsTheSelectionWithinTheTimerPeriod)
{
    Tree()->AddUser(User("Mr. Al", "127.0.0.2"));
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->LogoffButton()->isEnabled());
    view->List()->topLevelItem(0)->setSelected(true);
    EXPECT_FALSE(view->LogoffButton()->isEnabled());
    Wait(CUsersView::kEnableTimerMs + 60);
    EXPECT_TRUE(view->LogoffButton()->isEnabled());
    view->List()->clearSelection();
    Wait(CUsersView::kEnableTimerMs + 60);
    EXPECT_FALSE(view->LogoffButton()->isEnabled());
}

TEST_F(UsersWindow, AtTheMinimumSizeButtonsAndListKeepTheirMargins)
{
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    m_frame->resize(800, 600);
    m_frame->show();
    g_pUsersFrame->resize(100, 100);
    Settle();
    EXPECT_EQ(g_pUsersFrame->size(), QSize(300, 200));
    const int cx = view->width();
    const int cy = view->height();
    const QRect logoff = view->LogoffButton()->geometry();
    const QRect info = view->InfoButton()->geometry();
    const QRect list = view->List()->geometry();
    EXPECT_EQ(logoff.left(), 5);
    EXPECT_EQ(logoff.bottom() + 1, cy - 5);
    EXPECT_EQ(info.left(), 5);
    EXPECT_EQ(info.bottom() + 1, logoff.top() - 5);
    EXPECT_EQ(list.left(), 5);
    EXPECT_EQ(list.width(), cx - 10);
    EXPECT_EQ(list.bottom() + 1, info.top() - 5);
}

TEST_F(UsersWindow, FileCommandsShowTheirPlainTextsAndStayDisabled)
{
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    CCmdUI save(ID_FILE_SAVE);
    CCmdUI saveAs(ID_FILE_SAVE_AS);
    RouteUpdate({view, view->GetDocument()}, save);
    RouteUpdate({view, view->GetDocument()}, saveAs);
    EXPECT_EQ(save.m_text, u"&Save"_s);
    EXPECT_EQ(save.m_enabled, false);
    EXPECT_EQ(saveAs.m_text, u"Save &As..."_s);
    EXPECT_EQ(saveAs.m_enabled, false);
}

TEST_F(UsersWindow, HeaderDoubleClicksAreIgnoredWhileTheListIsEmpty)
{
    CUsersView *view = OpenUsersWindow();
    ASSERT_NE(view, nullptr);
    view->resize(600, 300);
    view->show();
    QTreeWidget *list = view->List();
    DoubleClickHeaderDivider(list);
    EXPECT_EQ(list->columnWidth(0), 125);
    Tree()->AddUser(User("Mr. Al", "127.0.0.2"));
    DoubleClickHeaderDivider(list);
    EXPECT_NE(list->columnWidth(0), 125);
}

// The application's Users commands and the tree's "Users" item: one window, brought forward.
class UsersCommand : public AppFixture
{
protected:
    int UsersWindows() const
    {
        int count = 0;
        for (const QMdiSubWindow *window : g_pMainFrame->MdiArea()->subWindowList())
            count += dynamic_cast<const CUsersFrame *>(window) != nullptr;
        return count;
    }
};

TEST_F(UsersCommand, OpensOneWindowAndThenBringsItForward)
{
    g_pMainFrame->FindAction(ID_VIEW_USERS)->trigger();
    Settle();
    ASSERT_NE(g_pUsersFrame, nullptr);
    CUsersFrame *first = g_pUsersFrame;
    EXPECT_EQ(first->windowTitle(), u"Users"_s);
    g_pMainFrame->FindAction(ID_SHOW_USERS_BAR)->trigger();
    AppTree()->setCurrentItem(AppTree()->UsersItem());
    AppTree()->OnDoubleClick();
    Settle();
    EXPECT_EQ(UsersWindows(), 1);
    EXPECT_EQ(g_pUsersFrame, first);
    EXPECT_EQ(g_pMainFrame->MdiArea()->activeSubWindow(), first);
    first->close();
    Settle();
    EXPECT_EQ(g_pUsersFrame, nullptr);
    EXPECT_EQ(g_pUsersView, nullptr);
    EXPECT_EQ(CUsersFrame::FrameCount(), 0);
    // The tree's "Users" item opens it again.
    AppTree()->setCurrentItem(AppTree()->UsersItem());
    AppTree()->OnDoubleClick();
    EXPECT_EQ(UsersWindows(), 1);
    EXPECT_TRUE(m_boxes.isEmpty());
}

} // namespace
