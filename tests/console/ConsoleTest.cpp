// The console as the operator meets it: the application with its main frame, the session
// window and its activity list, the uptime pane and the ways a session file comes in.
#include "CChatStore.h"
#include "CChatView.h"
#include "CChildFrame.h"
#include "CControlBar.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedApp.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CInviteUsersDlg.h"
#include "CListenSocket.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "COpenChannel.h"
#include "CPushDispatcher.h"
#include "CSessionFile.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CSplashWnd.h"
#include "CUptimeClock.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "CUsersFrame.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "CommandIcons.h"
#include "ConsoleFixture.h"
#include "FileDialog.h"
#include "LocalHost.h"
#include "QrCode.h"
#include "ResourceIds.h"
#include "TestSupport.h"
#include "Tick.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTcpServer>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <qrencode.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kUsersQuestion = u"There are attached clients, shutdown anyway?"_s;
const QString kRunningSession = u"A Vantro session is currently running.  Please\n \t\t\t        "
                                "       close it before opening a new session."_s;

TEST(LocalHost, JoinAddressIsTheFirstIPv4AddressOthersCanReach)
{
    const QHostAddress stockName(u"127.0.1.1"_s);
    const QHostAddress loopback(u"127.0.0.1"_s);
    const QHostAddress lan(u"192.0.2.10"_s);
    const QHostAddress wifi(u"198.51.100.7"_s);
    const QHostAddress named(u"203.0.113.5"_s);
    const QHostAddress v6(u"2001:db8::1"_s);
    struct Case
    {
        const char *what;
        HostNetwork network;
        bool ok;
        QString address;
        QStringList all;
    };
    const Case cases[] = {
        {"name on a routable address",
         {{v6, named}, 0, {loopback, lan}},
         true,
         u"203.0.113.5"_s,
         {u"203.0.113.5"_s, u"192.0.2.10"_s}},
        {"stock hosts file",
         {{stockName}, 0, {loopback, v6, lan, wifi}},
         true,
         u"192.0.2.10"_s,
         {u"192.0.2.10"_s, u"198.51.100.7"_s}},
        {"name does not resolve",
         {{}, 1, {loopback, wifi}},
         true,
         u"198.51.100.7"_s,
         {u"198.51.100.7"_s}},
        {"the name's address is an interface's too",
         {{lan}, 0, {loopback, lan}},
         true,
         u"192.0.2.10"_s,
         {u"192.0.2.10"_s}},
        {"loopback only", {{}, 1, {loopback, v6}}, false, u"127.0.0.1"_s, {}},
    };
    for (const Case &c : cases) {
        const LocalHostLookup host = ChooseLocalHost(c.network);
        EXPECT_EQ(host.m_ok, c.ok) << c.what;
        EXPECT_EQ(host.m_address, c.address) << c.what;
        EXPECT_EQ(host.m_all, c.all) << c.what;
        EXPECT_EQ(host.m_error, c.network.m_nameError) << c.what;
    }
    EXPECT_EQ(HttpAddress(u"192.0.2.10"_s, 80), u"http://192.0.2.10"_s);
    EXPECT_EQ(HttpAddress(u"192.0.2.10"_s, 8080), u"http://192.0.2.10:8080"_s);
}

TEST(UptimeClock, CountsFromTheFirstUserAndShowsDaysAfterOne)
{
    QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 0), Qt::UTC);
    CUptimeClock clock([&now] { return now; });
    EXPECT_EQ(clock.Update(false), u"Not Running"_s);
    now = now.addMSecs(500);
    EXPECT_EQ(clock.Update(true), u"Up: 00:00:00"_s);
    now = now.addSecs(5);
    EXPECT_EQ(clock.Update(true), u"Up: 00:00:05"_s);
    now = now.addSecs(86400 - 5 - 1);
    EXPECT_EQ(clock.Update(true), u"Up: 23:59:59"_s);
    now = now.addSecs(3600 + 1);
    EXPECT_EQ(clock.Update(true), u"Uptime: 1d 01h 00m"_s);
    EXPECT_EQ(clock.Update(false), u"Not Running"_s);
    // The count starts again from the last tick that saw no users.
    now = now.addSecs(7);
    EXPECT_EQ(clock.Update(true), u"Up: 00:00:07"_s);
}

// The console's windows over a session made by the fixture's template.
class SessionWindows : public ConsoleFixture
{
protected:
    void SetUp() override
    {
        ConsoleFixture::SetUp();
        m_document = NewSession();
        ASSERT_NE(m_document, nullptr);
    }
    int Port() const { return m_document->m_options.m_port; }

    CDozoZedDoc *m_document = nullptr;
};

TEST_F(SessionWindows, UptimePaneFollowsTheUsersOnAnInjectedClock)
{
    QDateTime now = QDateTime::currentDateTimeUtc();
    CMainFrame frame([&now] { return now; });
    EXPECT_EQ(frame.UptimeText(), u"Not Running"_s);
    ASSERT_TRUE(Logon(Port(), u"127.0.0.2"_s));
    frame.OnUptimeTimer();
    now = now.addSecs(5);
    frame.OnUptimeTimer();
    EXPECT_EQ(frame.UptimeText(), u"Up: 00:00:05"_s);
    now = now.addSecs(25 * 3600 - 5);
    frame.OnUptimeTimer();
    EXPECT_EQ(frame.UptimeText(), u"Uptime: 1d 01h 00m"_s);
    {
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
    frame.OnUptimeTimer();
    EXPECT_EQ(frame.UptimeText(), u"Not Running"_s);
}

TEST_F(SessionWindows, ActivityRowsGoOnTopAndAreLogged)
{
    CDozoZedView view(*m_document);
    EXPECT_EQ(g_pActivityLink, &view);
    QTreeWidget *list = view.List();
    QStringList titles;
    for (int column = 0; column < list->columnCount(); ++column)
        titles << list->headerItem()->text(column);
    EXPECT_EQ(titles, (QStringList {u"Title"_s, u"Client"_s, u"URL"_s, u"Time"_s, u"Status"_s}));
    EXPECT_EQ(list->columnWidth(CDozoZedView::UrlColumn), 200);

    view.AddActivity(u"All Clients"_s, u"http://a/"_s, false);
    view.AddActivity(u"127.0.0.2"_s, u"USER TIMED OUT"_s, false);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    const QTreeWidgetItem *top = list->topLevelItem(0);
    EXPECT_EQ(top->text(CDozoZedView::ClientColumn), u"127.0.0.2"_s);
    EXPECT_EQ(top->text(CDozoZedView::UrlColumn), u"USER TIMED OUT"_s);
    EXPECT_EQ(top->text(CDozoZedView::StatusColumn), u"Pushing"_s);
    EXPECT_EQ(top->text(CDozoZedView::TitleColumn), QString());
    EXPECT_TRUE(QRegularExpression(u"^(0\\d|1[0-2]):[0-5]\\d:[0-5]\\d (AM|PM)$"_s)
                    .match(top->text(CDozoZedView::TimeColumn))
                    .hasMatch());
    EXPECT_TRUE(LogBytes().endsWith("User = All Clients, Pushed = http://a/\r\n"
                                    "User = 127.0.0.2, Pushed = USER TIMED OUT\r\n"));
}

TEST_F(SessionWindows, HeaderDoubleClicksAreIgnoredWhileTheListIsEmpty)
{
    CDozoZedView view(*m_document);
    view.resize(800, 300);
    view.show();
    QTreeWidget *list = view.List();
    DoubleClickHeaderDivider(list);
    EXPECT_EQ(list->columnWidth(0), 150);
    view.AddActivity(u"All Clients"_s, u"http://a/"_s, false);
    DoubleClickHeaderDivider(list);
    EXPECT_NE(list->columnWidth(0), 150);
}

TEST_F(SessionWindows, MarkSentAndTitlesReachEveryRowOfTheAddress)
{
    CDozoZedView view(*m_document);
    view.AddActivity(u"All Clients"_s, u"http://a/"_s, false);
    view.AddActivity(u"127.0.0.2"_s, u"http://a/"_s, false);
    view.AddActivity(u"127.0.0.3"_s, u"http://A/"_s, false);
    view.MarkSent(u"http://a/"_s);
    view.SetTitleForAddress(u"http://a/"_s, u"First"_s);
    view.SetTitleForAddress(u"http://a/"_s, u"Later"_s);
    QTreeWidget *list = view.List();
    EXPECT_EQ(list->topLevelItem(0)->text(CDozoZedView::StatusColumn), u"Pushing"_s);
    EXPECT_EQ(list->topLevelItem(0)->text(CDozoZedView::TitleColumn), QString());
    for (int row : {1, 2}) {
        EXPECT_EQ(list->topLevelItem(row)->text(CDozoZedView::StatusColumn), u"Sent"_s);
        EXPECT_EQ(list->topLevelItem(row)->text(CDozoZedView::TitleColumn), u"First"_s);
    }
}

TEST_F(SessionWindows, LogonAddsTheWelcomeRowSentAndTheStatusSaysConnected)
{
    CMainFrame frame;
    CDozoZedView view(*m_document);
    CCmdUI state(ID_INDICATOR_UPTIME);
    RouteUpdate({&view}, state);
    EXPECT_EQ(frame.statusBar()->currentMessage(), u"Waiting for client"_s);

    ASSERT_TRUE(Logon(Port(), u"127.0.0.2"_s));
    ASSERT_EQ(view.List()->topLevelItemCount(), 1);
    const QTreeWidgetItem *row = view.List()->topLevelItem(0);
    EXPECT_EQ(row->text(CDozoZedView::ClientColumn), u"127.0.0.2"_s);
    EXPECT_EQ(row->text(CDozoZedView::StatusColumn), u"Sent"_s);
    RouteUpdate({&view}, state);
    EXPECT_EQ(frame.statusBar()->currentMessage(), u"Client connected"_s);
}

TEST_F(SessionWindows, LeftBarIsNeverDraggedBelowFiftyPixels)
{
    CMainFrame frame;
    CControlBar *bar = frame.ControlBar();
    EXPECT_EQ(bar->width(), 175);
    const auto drag = [bar](int to) {
        const QPointF grip(bar->width() - 2, 10);
        QMouseEvent press(QEvent::MouseButtonPress, grip, bar->mapToGlobal(grip), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &press);
        const QPointF end(to, 10);
        QMouseEvent move(QEvent::MouseMove, end, bar->mapToGlobal(end), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, end, bar->mapToGlobal(end), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &release);
    };
    drag(120);
    EXPECT_EQ(bar->width(), 120);
    drag(30);
    EXPECT_EQ(bar->width(), 50);
}

TEST_F(SessionWindows, SplashShowsTheBitmapUntilAKeyOrClickWhichItSwallows)
{
    CSplashWnd::EnableSplashScreen(true);
    CMainFrame frame;
    CSplashWnd::EnableSplashScreen(false);
    CSplashWnd *splash = CSplashWnd::Current();
    ASSERT_NE(splash, nullptr);
    EXPECT_EQ(splash->size(), QSize(360, 140));
    // The main window is shown after the splash was made; the splash stays the top window.
    frame.resize(800, 600);
    frame.show();
    Settle();
    EXPECT_TRUE(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(QApplication::topLevelAt(splash->geometry().center()), splash);
    EXPECT_EQ(splash->grab().toImage().pixelColor(0, 0),
              splash->palette().color(QPalette::WindowText))
        << "the thin border";
    const QPointer<CSplashWnd> alive(splash);
    const QEvent move(QEvent::MouseMove);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&move));
    const QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    EXPECT_TRUE(CSplashWnd::PreTranslateAppMessage(&key));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_FALSE(CSplashWnd::PreTranslateAppMessage(&key));
    Settle();
    EXPECT_TRUE(alive.isNull());
}

TEST_F(SessionWindows, NoSplashUnlessEnabled)
{
    CMainFrame frame;
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

// The whole application with its main frame.
using ConsoleApp = AppFixture;

TEST_F(ConsoleApp, StartsWithNoDocumentAndTheDefaultFolders)
{
    EXPECT_TRUE(m_app->DocManager().Documents().isEmpty());
    ASSERT_EQ(m_app->DocManager().GetTemplateCount(), 5);
    EXPECT_EQ(m_app->DocManager().GetTemplate(0)->GetResourceId(), IDR_SESSIONTYPE);
    for (int position = 1; position < 3; ++position)
        EXPECT_EQ(m_app->DocManager().GetTemplate(position), nullptr) << position;
    ASSERT_NE(m_app->DocManager().GetTemplate(3), nullptr);
    EXPECT_EQ(m_app->DocManager().GetTemplate(3)->GetResourceId(), IDR_CHATTYPE);
    ASSERT_NE(m_app->DocManager().GetTemplate(4), nullptr);
    EXPECT_EQ(m_app->DocManager().GetTemplate(4)->GetResourceId(), IDD_USERS);
    EXPECT_EQ(g_pMainFrame->windowTitle(), u"Vantro"_s);
    EXPECT_EQ(g_pMainFrame->UptimeText(), u"Not Running"_s);
    EXPECT_TRUE(QFileInfo(g_strRootDir + u"/logon.htm"_s).isFile()) << g_strRootDir.toStdString();
    EXPECT_EQ(g_strInstallDir, QDir::homePath());
    EXPECT_EQ(CSvrOptions().m_rootFolder, g_strRootDir);
    QSettings settings;
    EXPECT_FALSE(settings.contains(u"Settings/RootDir"_s));
    EXPECT_FALSE(settings.contains(u"Settings/InstallDir"_s));
}

TEST_F(ConsoleApp, NewSessionIsGreyedWhileTheSessionWindowExists)
{
    EXPECT_TRUE(Enabled(ID_NEW_SESSION));
    EXPECT_TRUE(Enabled(ID_START_SESSION));
    EXPECT_FALSE(Enabled(ID_SESSION_PROPERTIES));
    EXPECT_FALSE(Enabled(ID_CLOSE_SESSION));
    EXPECT_FALSE(Enabled(ID_MANUAL_PUSH));
    EXPECT_FALSE(Enabled(ID_LAUNCH_CLIENT));

    const int port = FreePort();
    OnNextSheet([port](CSessionSheet &sheet) {
        sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
    });
    Run(ID_NEW_SESSION);
    ASSERT_NE(g_pSessionFrame, nullptr);
    EXPECT_EQ(g_pSessionFrame->windowTitle(), u"Activity Log (http://127.0.0.1:%1)"_s.arg(port));
    EXPECT_FALSE(Enabled(ID_NEW_SESSION));
    EXPECT_TRUE(Enabled(ID_START_SESSION));
    EXPECT_TRUE(Enabled(ID_SESSION_PROPERTIES));
    EXPECT_TRUE(Enabled(ID_CLOSE_SESSION));
    EXPECT_TRUE(Enabled(ID_NEW_SCRIPT));
    EXPECT_FALSE(Enabled(ID_VIEW_ACTIVITY));
    EXPECT_TRUE(Enabled(ID_MANUAL_PUSH));
    EXPECT_TRUE(Enabled(ID_LAUNCH_CLIENT));
    EXPECT_EQ(g_pMainFrame->FindAction(ID_FILE_SAVE)->text(), u"&Save Session Settings"_s);
    EXPECT_EQ(g_pMainFrame->windowTitle(), u"Vantro - "_s + g_pSessionDoc->GetTitle());

    AnswerBoxes({IDNO});
    Run(ID_CLOSE_SESSION);
    Settle();
    EXPECT_EQ(BoxTexts(),
              QStringList {u"Save changes to "_s + Path(u"Untitled Session.vnt"_s) + u'?'});
    EXPECT_EQ(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionFrame, nullptr);
    EXPECT_TRUE(Enabled(ID_NEW_SESSION));
    EXPECT_EQ(g_pMainFrame->FindAction(ID_FILE_SAVE)->text(), u"&Save"_s);
}

// Types the text into whatever has the focus, then presses Enter there.
void TypeIntoFocus(const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(QApplication::focusWidget(), &enter);
}

TEST_F(ConsoleApp, AUsersMessageMarksItUnreadWithoutTakingTheFocusUntilItsChatOpens)
{
    QMenu *window = g_pMainFrame->menuBar()->actions().at(6)->menu();
    ASSERT_TRUE(window->actions().contains(g_pMainFrame->FindAction(ID_NEW_CHAT)));
    EXPECT_EQ(g_pMainFrame->FindAction(ID_NEW_CHAT)->text(), u"Chat with user"_s);
    const int port = FreePort();
    OnNextSheet([port](CSessionSheet &sheet) {
        sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
    });
    Run(ID_NEW_SESSION);
    AppTree()->AddUser(new CUserInfo(u"Mr. Al"_s, u"127.0.0.2"_s));
    Run(ID_VIEW_USERS);
    Run(ID_NEW_CHAT);
    Run(ID_NEW_CHAT);
    Settle();
    QMdiArea *area = g_pMainFrame->MdiArea();
    ASSERT_NE(g_pUsersView, nullptr);
    ASSERT_EQ(area->subWindowList().size(), 3)
        << "the session and users windows and one chat with everybody";
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), u"Chat - All Clients"_s);

    // As the server passes on a message the user posted.
    g_pChatLink->OnChatMessage(
        g_chatStore.Add(u"127.0.0.2"_s, CChatMessage::User, u"Mr. Al"_s, u"<b>hi</b>"_s));
    QTreeWidgetItem *item = AppTree()->UsersItem()->child(0);
    EXPECT_TRUE(item->font(0).bold());
    EXPECT_EQ(g_pUsersView->List()->topLevelItem(0)->text(CUsersView::ChatColumn), u"Unread"_s);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), u"Chat - All Clients"_s) << "no focus taken";

    AppTree()->setCurrentItem(item);
    AppTree()->OnDoubleClick();
    Settle();
    ASSERT_EQ(area->subWindowList().size(), 4);
    EXPECT_EQ(area->activeSubWindow()->windowTitle(), u"Chat - Mr. Al (127.0.0.2)"_s);
    EXPECT_FALSE(item->font(0).bold());
    EXPECT_EQ(g_pUsersView->List()->topLevelItem(0)->text(CUsersView::ChatColumn), QString());
    const auto *chat = dynamic_cast<CChatView *>(
        static_cast<CMDIChildWnd *>(area->activeSubWindow())->GetActiveView());
    ASSERT_NE(chat, nullptr);
    EXPECT_TRUE(chat->Conversation()->toPlainText().endsWith(u"Mr. Al: <b>hi</b>"_s)) << "as text";
    TypeIntoFocus(u"hello"_s);
    EXPECT_TRUE(chat->Conversation()->toPlainText().endsWith(u"\nNot sent: not logged on."_s))
        << "the user is in no session";
    EXPECT_EQ(chat->Input()->text(), u"hello"_s) << "nothing typed is lost";
    area->activeSubWindow()->close();
    Settle();
    EXPECT_EQ(BoxTexts(), QStringList());
}

TEST_F(ConsoleApp, OpeningASessionWhileOneIsOpenShowsTheRunningSessionText)
{
    const QString first = SessionFile(u"first.vnt"_s);
    const QString second = SessionFile(u"second.vnt"_s);
    ChooseFile(first);
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionDoc->GetPathName(), first);
    ChooseFile(second);
    Run(ID_FILE_OPEN);
    EXPECT_EQ(BoxTexts(), QStringList {kRunningSession});
    EXPECT_EQ(g_pSessionDoc->GetPathName(), first);
    EXPECT_EQ(g_pMainFrame->MdiArea()->subWindowList().size(), 1);
}

TEST_F(ConsoleApp, ClosingWithUsersAsksOnceAndCancelKeepsEverything)
{
    const QString path = SessionFile(u"s.vnt"_s);
    ChooseFile(path);
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    const int port = g_pSessionDoc->m_options.m_port;
    ASSERT_TRUE(Logon(port, u"127.0.0.2"_s));
    ASSERT_TRUE(Logon(port, u"127.0.0.3"_s));

    AnswerBoxes({IDCANCEL});
    EXPECT_FALSE(g_pMainFrame->close());
    EXPECT_EQ(BoxTexts(), QStringList {kUsersQuestion});
    EXPECT_FALSE(g_bExitConfirmed);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_TRUE(g_pSessionDoc->IsRunning());

    m_boxes.clear();
    AnswerBoxes({IDOK});
    QPointer<CMainFrame> frame = g_pMainFrame;
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(BoxTexts(), QStringList {kUsersQuestion});
    EXPECT_EQ(g_pSessionDoc, nullptr);
    Settle();
    EXPECT_TRUE(frame.isNull());
    EXPECT_EQ(m_app->m_pMainWnd, nullptr);
    // Idle moments go on after the main window has gone.
    m_app->OnIdle();
    EXPECT_TRUE(LogBytes().contains("Session stopped "));
}

TEST_F(ConsoleApp, StartSessionOnANewNameRunsTheSheetAndLeavesAModifiedSessionOfThatName)
{
    const QString path = Path(u"fresh.vnt"_s);
    QList<FileDialogRequest> requests;
    SetFileDialogHandler([&](const FileDialogRequest &request) {
        requests.append(request);
        return path;
    });
    const int port = FreePort();
    OnNextSheet([port](CSessionSheet &sheet) {
        sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
    });
    Run(ID_START_SESSION);
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests[0].m_title, u"Create/Open New Session"_s);
    EXPECT_EQ(requests[0].m_defaultExt, u".vnt"_s);
    EXPECT_EQ(requests[0].m_folder, QDir::homePath());
    EXPECT_TRUE(requests[0].m_overwritePrompt);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionDoc->GetPathName(), path);
    EXPECT_EQ(g_pSessionDoc->GetTitle(), u" (http://127.0.0.1:%1)"_s.arg(port));
    EXPECT_TRUE(g_pSessionDoc->IsModified());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(m_app->DocManager().RecentFiles().Items().value(0), path);
}

TEST_F(ConsoleApp, RecentFilesAppearInTheFileMenuAndOpen)
{
    const QString path = SessionFile(u"recent.vnt"_s);
    ChooseFile(path);
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    g_pSessionDoc->OnCloseDocument();
    Settle();
    g_pMainFrame->UpdateRecentFileItems();
    QAction *first = g_pMainFrame->FindAction(CWinApp::ID_FILE_MRU_FILE1);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->text(), u"&1 "_s + path);
    const int listed = static_cast<int>(m_app->DocManager().RecentFiles().Items().size());
    for (int index = 1; index < CDocManager::kRecentFiles; ++index)
        EXPECT_EQ(g_pMainFrame->FindAction(CWinApp::ID_FILE_MRU_FILE1 + index)->isVisible(),
                  index < listed);
    Run(CWinApp::ID_FILE_MRU_FILE1);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionDoc->GetPathName(), path);
}

TEST_F(ConsoleApp, StartSessionOnAnExistingFileOpensIt)
{
    const QString path = SessionFile(u"old.vnt"_s);
    ChooseFile(path);
    Run(ID_START_SESSION);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionDoc->GetPathName(), path);
    EXPECT_FALSE(g_pSessionDoc->IsModified());
    EXPECT_TRUE(g_pSessionDoc->IsRunning());
}

// A stock machine names itself 127.0.1.1, which nobody else reaches: users are sent to the
// first address of an interface instead, with the session's port, also after the port changed.
TEST_F(ConsoleApp, TheSessionWindowShowsWhereUsersJoinWithThePort)
{
    SetLocalHostLookup([] {
        HostNetwork network;
        network.m_nameAddresses = {QHostAddress(u"127.0.1.1"_s)};
        network.m_interfaceAddresses
            = {QHostAddress(u"127.0.0.1"_s), QHostAddress(u"::1"_s), QHostAddress(u"192.0.2.10"_s)};
        return ChooseLocalHost(network);
    });
    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_NE(g_pSessionFrame, nullptr);
    EXPECT_EQ(g_pSessionFrame->windowTitle(), u"Activity Log (http://192.0.2.10:%1)"_s.arg(port));
    EXPECT_EQ(g_pSessionDoc->GetTitle(), u" (http://192.0.2.10:%1)"_s.arg(port));

    const auto newPort = static_cast<unsigned>(FreePort());
    OnNextSheet([newPort](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = newPort; });
    AnswerBoxes({IDYES});
    Run(ID_SESSION_PROPERTIES);
    ASSERT_TRUE(g_pSessionDoc->IsRunning());
    EXPECT_EQ(g_pSessionFrame->windowTitle(),
              u"Activity Log (http://192.0.2.10:%1)"_s.arg(newPort));
    Settle();
    EXPECT_EQ(BoxTexts(),
              QStringList {u"You must restart the server for these changes to take "
                           "effect.  Restart Now?"_s});
}

// Invite Users shows where to join, large, copies it, and carries the QR code libqrencode makes
// of exactly that address; a machine on two networks lists the other address too.
TEST_F(ConsoleApp, InviteUsersShowsTheJoinAddressToCopyScanAndPrint)
{
    SetLocalHostLookup([] {
        HostNetwork network;
        network.m_nameAddresses = {QHostAddress(u"127.0.1.1"_s)};
        network.m_interfaceAddresses = {QHostAddress(u"127.0.0.1"_s), QHostAddress(u"192.0.2.10"_s),
                                        QHostAddress(u"198.51.100.7"_s)};
        return ChooseLocalHost(network);
    });
    EXPECT_FALSE(Enabled(ID_INVITE_USERS));
    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_TRUE(Enabled(ID_INVITE_USERS));
    EXPECT_TRUE(g_pMainFrame->findChild<QToolBar *>()->actions().contains(
        g_pMainFrame->FindAction(ID_INVITE_USERS)));

    const QString joinAt = u"http://192.0.2.10:%1"_s.arg(port);
    bool shown = false;
    OnNextDialog([&](CDialog &dialog) {
        shown = true;
        EXPECT_EQ(dialog.windowTitle(), u"Invite Users"_s);
        const auto label = [&dialog](const char *name) {
            const auto *found = dialog.findChild<QLabel *>(QString::fromLatin1(name));
            return found ? found->text() : QString();
        };
        EXPECT_EQ(label("address"), joinAt);
        EXPECT_TRUE(label("otherAddresses").endsWith(u"http://198.51.100.7:%1"_s.arg(port)));
        EXPECT_EQ(label("reach"), u"Up to 10 users can join at once."_s);
        QGuiApplication::clipboard()->clear();
        dialog.findChild<QPushButton *>(u"copy"_s)->click();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), joinAt);

        const QImage shownCode = dialog.findChild<QLabel *>(u"qrCode"_s)->pixmap().toImage();
        const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
            QRcode_encodeString(joinAt.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1),
            &QRcode_free);
        const int modules = code->width + 2 * kQrQuietZone;
        EXPECT_EQ(shownCode.width(), shownCode.height());
        EXPECT_EQ(shownCode.width() % modules, 0);
        const int size = shownCode.width() / modules;
        int differing = 0;
        for (int y = 0; y < modules; ++y) {
            for (int x = 0; x < modules; ++x) {
                const int cx = x - kQrQuietZone;
                const int cy = y - kQrQuietZone;
                const bool inside = cx >= 0 && cy >= 0 && cx < code->width && cy < code->width;
                const bool dark = inside && (code->data[cy * code->width + cx] & 1);
                const QColor pixel = shownCode.pixelColor(x * size + size / 2, y * size + size / 2);
                differing += (pixel == Qt::black) != dark ? 1 : 0;
            }
        }
        EXPECT_EQ(differing, 0);

        QPrinter printer;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(Path(u"invite.pdf"_s));
        dynamic_cast<CInviteUsersDlg &>(dialog).Print(printer);
        EXPECT_TRUE(ReadFileBytes(Path(u"invite.pdf"_s)).startsWith("%PDF"));
        return static_cast<int>(IDCANCEL);
    });
    Run(ID_INVITE_USERS);
    EXPECT_TRUE(shown);
}

// Where the name does not resolve and only loopback is up, the session still starts, on
// loopback, and the operator is told once.
TEST_F(ConsoleApp, WithoutAnAddressOthersReachTheSessionOpensOnLoopbackAndWarns)
{
    SetLocalHostLookup([] {
        HostNetwork network;
        network.m_nameError = 1;
        network.m_interfaceAddresses = {QHostAddress(u"127.0.0.1"_s)};
        return ChooseLocalHost(network);
    });
    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_TRUE(g_pSessionDoc->IsRunning());
    ASSERT_NE(g_pSessionFrame, nullptr);
    EXPECT_EQ(g_pSessionFrame->windowTitle(), u"Activity Log (http://127.0.0.1:%1)"_s.arg(port));
    Settle();
    EXPECT_EQ(BoxTexts(), QStringList {u"WARNING: Your network connection is not active! (1)"_s});
}

TEST_F(ConsoleApp, FileFromTheFileManagerOpensInTheRunningConsole)
{
    const QString path = SessionFile(u"shell.vnt"_s);
    ASSERT_TRUE(COpenChannel::SendToRunning({path}));
    for (int i = 0; i < 50 && !g_pSessionDoc; ++i)
        Settle();
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(g_pSessionDoc->GetPathName(), path);
}

TEST_F(ConsoleApp, ASessionThatCouldNotListenSaysSoAndStartsAgainFromPropertiesOrRestart)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, 0));
    const auto port = static_cast<unsigned>(holder.serverPort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_NE(g_pSessionDoc, nullptr);
    ASSERT_FALSE(g_pSessionDoc->IsRunning());
    const auto listening = [] {
        return g_pMainFrame->PaneText(ID_INDICATOR_LISTENING);
    };
    EXPECT_TRUE(WaitFor([&] { return listening() == u"NOT LISTENING"_s; }, 2000));
    QAction *restart = g_pMainFrame->FindAction(ID_RESTART_SERVER);
    EXPECT_EQ(restart->text(), u"&Restart Server"_s);
    EXPECT_EQ(restart->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_TRUE(Enabled(ID_RESTART_SERVER));

    // OK in Session Properties starts the stopped session on the port chosen there.
    const auto freePort = static_cast<unsigned>(FreePort());
    OnNextSheet([freePort](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = freePort; });
    g_pSessionDoc->OnProperties();
    ASSERT_TRUE(g_pSessionDoc->IsRunning());
    EXPECT_EQ(g_pSessionDoc->m_pListenSocket->serverPort(), freePort);
    EXPECT_TRUE(WaitFor([&] { return listening().isEmpty(); }, 2000));

    // Restart from the menu, whichever window is active, after the socket went away.
    g_pSessionDoc->StopServer();
    Run(ID_RESTART_SERVER);
    EXPECT_TRUE(g_pSessionDoc->IsRunning());
}

TEST_F(ConsoleApp, ToolBarButtonsShowImagesWithTheirOwnTipsAndAllFit)
{
    const auto *bar = g_pMainFrame->findChild<QToolBar *>();
    ASSERT_NE(bar, nullptr);
    g_pMainFrame->show();
    Settle();
    for (QAction *action : bar->actions()) {
        if (action->isSeparator())
            continue;
        EXPECT_FALSE(action->icon().isNull()) << qPrintable(action->toolTip());
        EXPECT_FALSE(action->toolTip().isEmpty());
        const QWidget *button = bar->widgetForAction(action);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible())
            << "behind the overflow: " << qPrintable(action->toolTip());
    }
    EXPECT_FALSE(g_pMainFrame->windowIcon().isNull());
    EXPECT_FALSE(ApplicationIcon().isNull());
    EXPECT_EQ(QApplication::windowIcon().pixmap(32).toImage(),
              ApplicationIcon().pixmap(32).toImage());

    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    g_pMainFrame->UpdateCommandUI();
    const QAction *save = g_pMainFrame->FindAction(ID_FILE_SAVE);
    EXPECT_EQ(save->text(), u"&Save Session Settings"_s);
    EXPECT_EQ(save->toolTip(), u"Save"_s);
}

TEST_F(ConsoleApp, HelpPrintSetupTilingAndPaneKeysWork)
{
    const auto action = [](int id) {
        return g_pMainFrame->FindAction(id);
    };
    EXPECT_EQ(action(ID_HELP)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(action(ID_CONTEXT_HELP)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
    EXPECT_EQ(action(ID_NEXT_PANE)->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(action(ID_PREV_PANE)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F6));
    EXPECT_EQ(action(ID_FILE_PRINT_SETUP)->text(), u"P&rint Setup..."_s);
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_SETUP));
    for (const int id : {ID_HELP_FINDER, ID_HELP}) {
        ASSERT_TRUE(Enabled(id));
        Run(id);
        const auto *help = g_pMainFrame->findChild<QTextBrowser *>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->windowTitle(), u"Vantro Help: Contents"_s);
        EXPECT_TRUE(help->toPlainText().contains(u"Follow mode"_s));
    }

    g_pMainFrame->resize(900, 700);
    g_pMainFrame->show();
    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_TRUE(Enabled(ID_VIEW_USERS));
    Run(ID_VIEW_USERS);
    Settle();
    QMdiArea *area = g_pMainFrame->MdiArea();
    const QList<QMdiSubWindow *> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 2);
    const int width = area->viewport()->width();
    const int height = area->viewport()->height();
    Run(ID_WINDOW_TILE_HORZ);
    EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, width, height / 2));
    EXPECT_EQ(windows[1]->geometry(), QRect(0, height / 2, width, height - height / 2));
    Run(ID_WINDOW_TILE_VERT);
    EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, width / 2, height));
    EXPECT_EQ(windows[1]->geometry(), QRect(width / 2, 0, width - width / 2, height));

    area->setActiveSubWindow(windows[0]);
    Run(ID_NEXT_PANE);
    EXPECT_EQ(area->activeSubWindow(), windows[1]);
    Run(ID_PREV_PANE);
    EXPECT_EQ(area->activeSubWindow(), windows[0]);
}

// Every column of a list is in view: nothing of it lies right of the list's visible area.
void ExpectAllColumnsShown(const QTreeWidget *list)
{
    EXPECT_GE(list->viewport()->width(), list->header()->length()) << list->columnCount();
}

// The title changes a stretch of idle moments bring about.
int TitleChangesWhileIdle(int milliseconds)
{
    int changes = 0;
    const QMetaObject::Connection counting
        = QObject::connect(g_pMainFrame, &QWidget::windowTitleChanged, [&changes] { ++changes; });
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(counting);
    return changes;
}

TEST_F(ConsoleApp, WindowsOpenLargeEnoughAreListedAndAMaximizedOneKeepsOneTitle)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(g_pMainFrame->frameGeometry())) << "on the screen";
    EXPECT_GE(g_pMainFrame->width(), screen.width() * 8 / 10);
    EXPECT_GE(g_pMainFrame->height(), screen.height() * 8 / 10);
    // The columns of a 1400 by 900 screen's window, whatever the test machine's screen is.
    g_pMainFrame->resize(1260, 810);
    Settle();

    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    Run(ID_VIEW_USERS);
    Run(ID_NEW_CHAT);
    Settle();
    QMdiArea *area = g_pMainFrame->MdiArea();
    const QList<QMdiSubWindow *> windows = area->subWindowList();
    ASSERT_EQ(windows.size(), 3);
    for (const QMdiSubWindow *window : windows) {
        EXPECT_TRUE(area->viewport()->rect().contains(window->geometry()))
            << qPrintable(window->windowTitle());
    }
    ExpectAllColumnsShown(dynamic_cast<CDozoZedView *>(g_pActivityLink)->List());
    ExpectAllColumnsShown(windows[1]->findChild<QTreeWidget *>());
    EXPECT_GT(windows[1]->width(), CUsersFrame::kMinimumWidth);
    EXPECT_GE(windows[2]->widget()->height(), 200) << "the chat window is more than a title bar";

    // The Window menu names every window and checks the active one; choosing one brings it up.
    QMenu *menu = g_pMainFrame->menuBar()->actions().at(6)->menu();
    Q_EMIT menu->aboutToShow();
    const QList<QAction *> items = menu->actions().mid(menu->actions().size() - 3);
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), u"&1 "_s + g_pSessionFrame->windowTitle());
    EXPECT_EQ(items[1]->text(), u"&2 "_s + windows[1]->windowTitle());
    EXPECT_EQ(items[2]->text(), u"&3 "_s + windows[2]->windowTitle());
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
    items[0]->trigger();
    EXPECT_EQ(area->activeSubWindow(), g_pSessionFrame);
    const qsizetype entries = menu->actions().size();
    Q_EMIT menu->aboutToShow();
    EXPECT_EQ(menu->actions().size(), entries) << "the list is made anew, not added again";

    // Maximized, the window's title is the frame's with the window's in brackets, and it stays
    // so; restored, the document's title follows the frame's again.
    const QString session = u"Vantro - "_s + g_pSessionDoc->GetTitle();
    EXPECT_EQ(g_pMainFrame->windowTitle(), session);
    g_pSessionFrame->showMaximized();
    EXPECT_LE(TitleChangesWhileIdle(500), 2);
    EXPECT_EQ(g_pMainFrame->windowTitle(), u"Vantro - ["_s + g_pSessionFrame->windowTitle() + u']');
    EXPECT_EQ(TitleChangesWhileIdle(300), 0);
    g_pSessionFrame->showNormal();
    EXPECT_LE(TitleChangesWhileIdle(500), 2);
    EXPECT_EQ(g_pMainFrame->windowTitle(), session);

    // The profile remembers where the main window was.
    g_pMainFrame->setGeometry(60, 50, 700, 500);
    const QRect placed = g_pMainFrame->geometry();
    g_pMainFrame->SaveWindowPlacement();
    CMainFrame again;
    again.RestoreWindowPlacement();
    EXPECT_EQ(again.geometry(), placed);
}

// Users whose control window stopped polling are dropped, and no row stays "Pushing" for a push
// that will never be fetched: one replaced first says "Superseded", one whose user timed out
// "Timed out", as does the time-out row itself.
TEST_F(ConsoleApp, IdleMomentsDropUsersWhoseControlWindowStoppedPollingAndEndTheirRows)
{
    quint32 tick = 1000000;
    SetTickSource([&tick] { return tick; });
    const QString path = SessionFile(u"idle.vnt"_s);
    ChooseFile(path);
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    const int port = g_pSessionDoc->m_options.m_port;
    ASSERT_TRUE(Logon(port, u"127.0.0.2"_s));
    ASSERT_TRUE(Logon(port, u"127.0.0.3"_s));
    const int silence = g_pSessionDoc->m_options.m_refreshSecs * 7 * 1000;
    CPushDispatcher dispatcher;
    dispatcher.PushToAll(u"/one.htm"_s);
    dispatcher.PushToAll(u"/two.htm"_s);
    tick += 1000;
    EXPECT_TRUE(Fetch(port, u"127.0.0.2"_s, "/VS127.0.0.2.htm").contains("/two.htm"));
    Settle();
    dispatcher.PushToUser(u"/three.htm"_s, u"127.0.0.3"_s);
    dispatcher.PushToUser(u"/four.htm"_s, u"127.0.0.3"_s);
    const auto users = [] {
        const QMutexLocker lock(&g_userTable.Lock());
        return g_userTable.Size();
    };

    tick += silence - 1000;
    m_app->OnIdle();
    EXPECT_EQ(users(), 2);
    tick += 1;
    m_app->OnIdle();
    EXPECT_EQ(users(), 1);
    tick += 1000;
    m_app->OnIdle();
    EXPECT_EQ(users(), 0);
    auto *view = dynamic_cast<CDozoZedView *>(g_pActivityLink);
    ASSERT_NE(view, nullptr);
    QStringList rows;
    for (int index = 0; index < view->List()->topLevelItemCount(); ++index) {
        const QTreeWidgetItem *row = view->List()->topLevelItem(index);
        rows.append(row->text(CDozoZedView::ClientColumn) + u' '
                    + row->text(CDozoZedView::UrlColumn) + u' '
                    + row->text(CDozoZedView::StatusColumn));
    }
    EXPECT_EQ(rows,
              (QStringList {
                  u"127.0.0.2 USER TIMED OUT Timed out"_s, u"127.0.0.3 USER TIMED OUT Timed out"_s,
                  u"127.0.0.3 /four.htm Timed out"_s, u"127.0.0.3 /three.htm Superseded"_s,
                  u"All Clients /two.htm Sent"_s, u"All Clients /one.htm Superseded"_s,
                  u"127.0.0.3 /welcome.htm Sent"_s, u"127.0.0.2 /welcome.htm Sent"_s}));
    EXPECT_TRUE(LogBytes().endsWith("User = 127.0.0.2, Pushed = USER TIMED OUT\r\n"));
    SetTickSource({});
}

} // namespace
