// The operator window against the real server: follow mode and its panes, framed pages, Open
// Location and the typed-address history, with one user logged on.
#include "OperatorWindow.h"
#include "CChildFrame.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CFollowMode.h"
#include "CFramesWarningDlg.h"
#include "CMainFrame.h"
#include "COpenLocationDlg.h"
#include "COperatorFrame.h"
#include "COperatorView.h"
#include "CPushDispatcher.h"
#include "CScriptDoc.h"
#include "CScriptEntry.h"
#include "CScriptFrame.h"
#include "CScriptList.h"
#include "CScriptView.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CWebBrowser.h"
#include "LocalHost.h"
#include "MessageBox.h"
#include "OperatorFixture.h"
#include "OperatorWindowType.h"
#include "PopupMenu.h"
#include "ResourceIds.h"
#include "ScriptWindow.h"
#include "SessionLinks.h"
#include "TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Reaches the browser's event handlers as the engine calls them.
struct BrowserEvents : CWebBrowser
{
    using CWebBrowser::contextMenuEvent;
};

class OperatorWindow : public OperatorFixture
{
protected:
    void SetUp() override
    {
        OperatorFixture::SetUp();
        ASSERT_NE(OpenOperatorWindow(), nullptr);
    }

    void Command(int id) { m_frame->OnCommandId(id); }

    // Clicks into the address box, types the address over its text and presses Enter, the
    // keys going where the keyboard sends them.
    void TypeAddress(const QString &address)
    {
        m_frame->show();
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
        m_view->AddressBox()->setFocus(Qt::MouseFocusReason);
        m_view->AddressBox()->lineEdit()->selectAll();
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, address);
        bool finished = false;
        const QMetaObject::Connection done
            = QObject::connect(m_view->Browser(), &QWebEngineView::loadFinished, m_view,
                               [&finished] { finished = true; });
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_TRUE(WaitFor([&finished] { return finished; }));
        QObject::disconnect(done);
        Settle();
    }

    // Answers the next Open Location dialog with the text; checks the list it offered.
    void OpenLocation(const QString &text, QStringList *offered = nullptr)
    {
        OnNextDialog([text, offered](CDialog &dialog) {
            auto *combo = dialog.Control<QComboBox>(IDC_ADDRESS);
            EXPECT_NE(combo, nullptr);
            if (!combo)
                return static_cast<int>(IDCANCEL);
            if (offered) {
                for (int index = 0; index < combo->count(); ++index)
                    offered->append(combo->itemText(index));
            }
            combo->setEditText(text);
            return PressOK(dialog);
        });
        Command(ID_OPEN_LOCATION);
    }
};

// Opening the window mid-talk leaves the audience where it is: its first page is the
// operator's alone.
TEST_F(OperatorWindow, OpensFollowingWithFollowInItsPaneAndPushesNotItsFirstPage)
{
    EXPECT_TRUE(m_view->FollowMode().IsOn());
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), u"FOLLOW"_s);
    EXPECT_EQ(COperatorFrame::FrameCount(), 1);
    EXPECT_EQ(Pushes(), QStringList());
    ASSERT_TRUE(WaitFor([this] { return g_pOperatorFrame->windowTitle().contains(u" - "_s); }));
    EXPECT_EQ(g_pOperatorFrame->windowTitle(), u"Operator Window - Welcome"_s);
    // The menu item carries the check mark, and its prompt says what a click does.
    m_frame->UpdateCommandUI();
    EXPECT_TRUE(m_frame->FindAction(ID_FOLLOW_MODE)->isChecked());
    EXPECT_EQ(m_view->GetMessageString(ID_FOLLOW_MODE), u"Turn Follow Mode off"_s);
    // A second Operator Window command brings this one forward instead of another.
    Command(ID_VIEW_OPERATOR);
    EXPECT_EQ(COperatorFrame::FrameCount(), 1);
}

TEST_F(OperatorWindow, PushesEveryNavigationAndTitlesTheRows)
{
    Load(Url(u"page1.htm"_s));
    Load(Url(u"page2.htm"_s));
    EXPECT_EQ(Pushes(), (QStringList {Url(u"page1.htm"_s), Url(u"page2.htm"_s)}));
    const QTreeWidget *list = m_activity->List();
    ASSERT_TRUE(WaitFor([list] { return list->topLevelItem(0)->text(0) == u"Page Two"_s; }));
    EXPECT_EQ(list->topLevelItem(1)->text(CDozoZedView::TitleColumn), u"Page One"_s);
    EXPECT_EQ(list->topLevelItem(1)->text(CDozoZedView::UrlColumn), Url(u"page1.htm"_s));
}

TEST_F(OperatorWindow, WithFollowOffNothingIsPushedAndTurningItOnPushesTheCurrentPageOnce)
{
    Command(ID_FOLLOW_MODE);
    EXPECT_FALSE(m_view->FollowMode().IsOn());
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), QString());
    EXPECT_EQ(m_view->GetMessageString(ID_FOLLOW_MODE), u"Turn Follow Mode on"_s);
    m_frame->SetPaneText(ID_INDICATOR_FRAMES, u"FRAMES"_s);
    Load(Url(u"page1.htm"_s));
    Load(Url(u"frames.htm"_s));
    EXPECT_EQ(Pushes(), QStringList());
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), u"FRAMES"_s) << "follow off leaves the pane";
    m_frame->SetPaneText(ID_INDICATOR_FRAMES, QString());

    Load(Url(u"page2.htm"_s));
    Command(ID_FOLLOW_MODE);
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), u"FOLLOW"_s);
    EXPECT_EQ(Pushes(), QStringList {Url(u"page2.htm"_s)});
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, Url(u"page2.htm"_s));
    // Off and on again on the same page: it was the last address pushed.
    Command(ID_FOLLOW_MODE);
    Command(ID_FOLLOW_MODE);
    EXPECT_EQ(Pushes().size(), 1);
}

TEST_F(OperatorWindow, FramedPagePushesEveryFrameWarnsOnceAndClearsOnTheNextPage)
{
    int warnings = 0;
    OnNextDialog([&warnings](CDialog &dialog) {
        EXPECT_NE(dynamic_cast<CFramesWarningDlg *>(&dialog), nullptr);
        ++warnings;
        return static_cast<int>(IDOK);
    });
    const QString frames = Url(u"frames.htm"_s);
    Load(frames);
    ASSERT_TRUE(WaitFor([this] { return Pushes().size() == 3; }))
        << qPrintable(Pushes().join(u' '));
    EXPECT_EQ(Pushes(), (QStringList {frames, Url(u"left.htm"_s), Url(u"right.htm"_s)}));
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), u"FRAMES"_s);
    Settle();
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(CFollowMode::LastTargetFrameName(), std::optional<QString>(Url(u"right.htm"_s)));

    // The user gets only the latest push: the last frame's page.
    Load(Url(u"page3.htm"_s));
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), QString());
    EXPECT_EQ(CFollowMode::LastTargetFrameName(), std::optional<QString>(QString()));
    Settle();
    EXPECT_EQ(warnings, 1);
}

TEST_F(OperatorWindow, FramesWarningOffersItsHelpTopic)
{
    CFramesWarningDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), u"Vantro"_s);
    dialog.OnMoreInfo();
    QTextBrowser *help = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *browser = qobject_cast<QTextBrowser *>(window); browser && browser->isVisible())
            help = browser;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->toPlainText().contains(u"frames"_s));
    help->close();
}

TEST_F(OperatorWindow, OpenLocationAddsTheSchemeOnlyWhenMissingAndPushesOnce)
{
    Command(ID_FOLLOW_MODE);
    g_addressHistory = QStringList {u"http://a.example/"_s, u"http://b.example/"_s};
    QStringList offered;
    const QString page1 = Url(u"page1.htm"_s);
    OpenLocation(page1.mid(QStringLiteral("http://").size()), &offered);
    EXPECT_EQ(offered, g_addressHistory);
    ASSERT_TRUE(WaitFor([this, &page1] {
        return m_view->Browser()->LocationURL() == page1 && !m_view->Browser()->Busy();
    }));
    EXPECT_EQ(Pushes(), QStringList {page1});

    // With "://" the text is used as it stands.
    const QString page2 = Url(u"page2.htm"_s);
    OpenLocation(page2);
    ASSERT_TRUE(WaitFor([this, &page2] { return m_view->Browser()->LocationURL() == page2; }));
    EXPECT_EQ(Pushes().last(), page2);
    // Cancelled or empty: nothing.
    OpenLocation(QString());
    EXPECT_EQ(Pushes().size(), 2);

    // In follow mode the navigation is the push: users are sent there once, not twice.
    Command(ID_FOLLOW_MODE);
    const QString page3 = Url(u"page3.htm"_s);
    OpenLocation(page3);
    ASSERT_TRUE(WaitFor([this, &page3] {
        return m_view->Browser()->LocationURL() == page3 && !m_view->Browser()->Busy();
    }));
    Settle();
    EXPECT_EQ(Pushes().count(page3), 1) << qPrintable(Pushes().join(u' '));
}

TEST_F(OperatorWindow, TypedAddressesEnterTheBoxOnceAndTheHistoryEveryTime)
{
    const QString page1 = Url(u"page1.htm"_s);
    TypeAddress(page1);
    TypeAddress(page1);
    QComboBox *box = m_view->AddressBox();
    EXPECT_EQ(box->findText(page1), 0);
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(g_addressHistory, (QStringList {page1, page1}));
    EXPECT_EQ(box->currentText(), page1);
    // A page reached otherwise updates the box's text but not the history.
    Load(Url(u"page2.htm"_s));
    EXPECT_EQ(box->currentText(), Url(u"page2.htm"_s));
    EXPECT_EQ(g_addressHistory.size(), 2);
    // Both typed navigations were pushed, once each.
    EXPECT_EQ(Pushes().count(page1), 2);
}

TEST_F(OperatorWindow, AnAddressChosenFromTheListIsNotAddedAgain)
{
    g_addressHistory = QStringList {Url(u"page1.htm"_s)};
    QComboBox *box = m_view->AddressBox();
    box->addItems(g_addressHistory);
    bool finished = false;
    QObject::connect(m_view->Browser(), &QWebEngineView::loadFinished, m_view,
                     [&finished] { finished = true; });
    Q_EMIT box->activated(0);
    ASSERT_TRUE(WaitFor([&finished] { return finished; }));
    EXPECT_EQ(m_view->Browser()->LocationURL(), Url(u"page1.htm"_s));
    EXPECT_EQ(g_addressHistory.size(), 1);
    EXPECT_EQ(box->count(), 1);
}

TEST_F(OperatorWindow, BackAndForwardGoThroughTheHistoryAndArePushed)
{
    Load(Url(u"page1.htm"_s));
    Load(Url(u"page2.htm"_s));
    const auto waitFor = [this](const QString &url) {
        return WaitFor([this, &url] {
            return m_view->Browser()->LocationURL() == url && !m_view->Browser()->Busy();
        });
    };
    Command(ID_OPERATOR_BACK);
    ASSERT_TRUE(waitFor(Url(u"page1.htm"_s)));
    Command(ID_OPERATOR_FORWARD);
    ASSERT_TRUE(waitFor(Url(u"page2.htm"_s)));
    // Nothing ahead: nothing happens, and no error reaches the operator.
    Command(ID_OPERATOR_FORWARD);
    Settle();
    EXPECT_EQ(m_view->Browser()->LocationURL(), Url(u"page2.htm"_s));
    EXPECT_TRUE(m_boxes.isEmpty());
    EXPECT_EQ(Pushes().mid(2), (QStringList {Url(u"page1.htm"_s), Url(u"page2.htm"_s)}));
    m_frame->UpdateCommandUI();
    EXPECT_FALSE(m_frame->FindAction(ID_OPERATOR_STOP)->isEnabled()) << "nothing loading";
    EXPECT_TRUE(m_frame->FindAction(ID_FILE_PRINT)->isEnabled());
}

TEST_F(OperatorWindow, PagesWithoutATitleLeaveTheRowsUntitled)
{
    Load(Url(u"untitled.htm"_s));
    Load(Url(u"page1.htm"_s));
    const QTreeWidget *list = m_activity->List();
    ASSERT_TRUE(WaitFor([list] { return list->topLevelItem(0)->text(0) == u"Page One"_s; }));
    EXPECT_EQ(list->topLevelItem(1)->text(CDozoZedView::UrlColumn), Url(u"untitled.htm"_s));
    EXPECT_EQ(list->topLevelItem(1)->text(CDozoZedView::TitleColumn), QString());
}

TEST_F(OperatorWindow, PromptsNameWhatFollowModeAndPushCurrentPageDo)
{
    Load(Url(u"page1.htm"_s));
    // Push Current Page is offered while the session window is open.
    const std::unique_ptr<CChildFrame> sessionWindow(new CChildFrame(*m_document));
    ASSERT_NE(g_pSessionFrame, nullptr);
    // Pointing at the Operator menu's items, as the mouse does.
    constexpr int operatorMenu = 3;
    EXPECT_EQ(MenuPrompt(*m_frame, operatorMenu, ID_FOLLOW_MODE), u"Turn Follow Mode off"_s);
    Command(ID_FOLLOW_MODE);
    EXPECT_EQ(MenuPrompt(*m_frame, operatorMenu, ID_FOLLOW_MODE), u"Turn Follow Mode on"_s);
    EXPECT_EQ(MenuPrompt(*m_frame, operatorMenu, ID_PUSH_CURRENT),
              u"Push \"Page One\" ("_s + Url(u"page1.htm"_s) + u')');
}

TEST_F(OperatorWindow, StatusTextOfThePageGoesToTheMessagePane)
{
    const QString link = Url(u"page2.htm"_s);
    Q_EMIT m_view->Browser()->page()->linkHovered(link);
    EXPECT_EQ(m_view->LastStatusText(), link);
    EXPECT_EQ(m_frame->statusBar()->currentMessage(), link);
}

TEST_F(OperatorWindow, AddToFavoritesOffersThePageUnderItsTitle)
{
    ASSERT_NE(g_pTree, nullptr);
    g_favorites.clear();
    Load(Url(u"page1.htm"_s));
    m_document->SetModifiedFlag(false);
    OnNextDialog([](CDialog &dialog) { return PressOK(dialog); });
    Command(ID_ADD_FAVORITE);
    ASSERT_EQ(g_favorites.size(), 1);
    EXPECT_EQ(g_favorites[0]->m_title, u"Page One"_s);
    EXPECT_EQ(g_favorites[0]->m_address, Url(u"page1.htm"_s));
    // The session keeps its favorites: closing it offers to save, also after adding nothing.
    for (const int answer : {IDOK, IDCANCEL}) {
        m_document->SetModifiedFlag(false);
        OnNextDialog([answer](CDialog &) { return answer; });
        Command(ID_ADD_FAVORITE);
        m_boxes.clear();
        AnswerBoxes({IDCANCEL});
        EXPECT_FALSE(m_document->SaveModified()) << answer;
        EXPECT_EQ(BoxTexts().size(), 1) << answer;
        EXPECT_TRUE(BoxTexts().value(0).startsWith(u"Save changes to "_s)) << answer;
    }
    EXPECT_EQ(g_favorites.size(), 1);
    g_favorites.clear();
}

TEST_F(OperatorWindow, RightClickInThePageShowsTheProgramsMenu)
{
    QStringList entries;
    QPoint shownAt;
    SetPopupMenuHandler([&entries, &shownAt](QMenu &menu, const QPoint &at) {
        shownAt = at;
        for (const QAction *action : menu.actions()) {
            if (!action->isSeparator())
                entries.append(action->text() + (action->isEnabled() ? u""_s : u" (off)"_s));
        }
    });
    // The engine hands a right click in the page to the view's context-menu handler.
    const QPoint inPage(40, 30);
    QContextMenuEvent click(QContextMenuEvent::Mouse, inPage,
                            m_view->Browser()->mapToGlobal(inPage));
    (m_view->Browser()->*&BrowserEvents::contextMenuEvent)(&click);
    EXPECT_TRUE(click.isAccepted()) << "the engine's own menu stays closed";
    SetPopupMenuHandler({});
    EXPECT_EQ(entries,
              (QStringList {u"&Back"_s, u"&Forward"_s, u"&Refresh"_s, u"Add to Favorites"_s,
                            u"&Push (off)"_s, u"P&rint"_s}));
    EXPECT_EQ(shownAt, m_view->Browser()->mapToGlobal(inPage));
}

TEST_F(OperatorWindow, ClosingClearsTheFramesPaneAndKeepsFollow)
{
    m_frame->SetPaneText(ID_INDICATOR_FRAMES, u"FRAMES"_s);
    g_pOperatorFrame->GetActiveDocument()->OnCloseDocument();
    Settle();
    EXPECT_EQ(g_pOperatorFrame, nullptr);
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), QString());
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), u"FOLLOW"_s);
}

// The first page without a session, and when this machine's address cannot be found.
class OperatorFirstPage : public OperatorFixture
{
};

// A script's Push Next or a favorite opens the window and at once shows its page there: that
// page is the operator's and is pushed, the welcome page the window began with is not.
TEST_F(OperatorFirstPage, IsNotPushedWhenTheWindowOpensToShowAnotherPage)
{
    ASSERT_NE(m_operatorTemplate->OpenDocumentFile({}), nullptr);
    ASSERT_NE(g_pOperatorFrame, nullptr);
    m_view = g_pOperatorFrame->View();
    const QString page1 = Url(u"page1.htm"_s);
    m_view->Navigate(page1);
    ASSERT_TRUE(WaitFor([this, &page1] {
        return m_view->Browser()->LocationURL() == page1 && !m_view->Browser()->Busy();
    }));
    Settle();
    EXPECT_EQ(Pushes(), QStringList {page1});
}

TEST_F(OperatorFirstPage, IsTheSessionOnLoopbackWithANetworkWarningWhenNobodyElseCanJoin)
{
    SetLocalHostLookup([] { return LocalHostLookup {false, u"127.0.0.1"_s, 11001}; });
    ASSERT_NE(OpenOperatorWindow(), nullptr);
    Settle();
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_EQ(m_boxes[0].text, u"WARNING: Your network connection is not active! (11001)"_s);
    EXPECT_EQ(m_boxes[0].style, unsigned(MB_ICONEXCLAMATION));
}

TEST_F(OperatorFirstPage, TurningFollowOnOverABlankPagePushesNothing)
{
    m_document->OnCloseDocument();
    Settle();
    ASSERT_EQ(g_pSessionDoc, nullptr);
    ASSERT_NE(OpenOperatorWindow(u"about:blank"_s), nullptr);
    m_frame->OnCommandId(ID_FOLLOW_MODE);
    m_frame->OnCommandId(ID_FOLLOW_MODE);
    EXPECT_TRUE(m_view->FollowMode().IsOn());
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, QString());
    EXPECT_EQ(Pushes(), QStringList());
}

TEST_F(OperatorFirstPage, IsBlankWithoutASession)
{
    m_document->OnCloseDocument();
    Settle();
    ASSERT_EQ(g_pSessionDoc, nullptr);
    m_boxes.clear();
    ASSERT_NE(OpenOperatorWindow(u"about:blank"_s), nullptr);
    EXPECT_TRUE(m_boxes.isEmpty());
}

// The whole console with script windows and the real operator window, as a presenter uses them.
class PresenterConsole : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_app->DocManager().SetDocTemplate(1, MakeScriptTemplate());
        m_app->DocManager().SetDocTemplate(2, MakeOperatorTemplate());
        for (const QString &page : {u"one"_s, u"two"_s, u"three"_s}) {
            ASSERT_TRUE(WriteFileBytes(Path(page + u".htm"_s),
                                       "<html><head><title>" + page.toUtf8()
                                           + "</title></head><body>" + page.toUtf8()
                                           + "</body></html>"));
        }
    }
    QString Url(const QString &page) const
    {
        return u"http://127.0.0.1:%1/%2.htm"_s.arg(g_pSessionDoc->m_options.m_port).arg(page);
    }
};

TEST_F(PresenterConsole, CtrlNPushesEntryAfterEntryWhileTheScriptKeepsTheFocus)
{
    g_pMainFrame->resize(1260, 810);
    g_pMainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g_pMainFrame));
    const auto port = static_cast<unsigned>(FreePort());
    OnNextSheet([port](CSessionSheet &sheet) { sheet.m_pServerPage->m_port = port; });
    Run(ID_NEW_SESSION);
    ASSERT_NE(g_pSessionDoc, nullptr);
    ASSERT_TRUE(Logon(g_pSessionDoc->m_options.m_port, u"127.0.0.2"_s));
    Run(ID_NEW_SCRIPT);
    QMdiArea *area = g_pMainFrame->MdiArea();
    auto *script = dynamic_cast<CScriptFrame *>(area->subWindowList().last());
    ASSERT_NE(script, nullptr);
    const QStringList entries {Url(u"one"_s), Url(u"two"_s), Url(u"three"_s)};
    for (const QString &address : entries)
        script->View()->Document().AddEntry(CScriptEntry(address.section(u'/', -1), address));
    area->setActiveSubWindow(script);
    script->View()->List()->setFocus();

    for (const QString &address : entries) {
        ASSERT_TRUE(Enabled(ID_PUSH_NEXT)) << qPrintable(address);
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : g_pMainFrame, Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&address] {
            return g_pOperatorFrame && g_pOperatorFrame->View()->Browser()->LocationURL() == address
                && !g_pOperatorFrame->View()->Browser()->Busy();
        })) << qPrintable(address);
        Settle();
        EXPECT_EQ(area->activeSubWindow(), script) << qPrintable(address);
        EXPECT_TRUE(script->isAncestorOf(QApplication::focusWidget())) << qPrintable(address);
    }
    EXPECT_TRUE(area->viewport()->rect().contains(g_pOperatorFrame->geometry()))
        << "the operator window opens whole";
    // Clicked into the page, the presenter goes on with Ctrl+N: the script behind it pushes.
    area->setActiveSubWindow(g_pOperatorFrame);
    g_pOperatorFrame->View()->FocusBrowser();
    ASSERT_TRUE(Enabled(ID_PUSH_NEXT));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(WaitFor([&entries] {
        return g_pOperatorFrame->View()->Browser()->LocationURL() == entries[0]
            && !g_pOperatorFrame->View()->Browser()->Busy();
    }));
    EXPECT_EQ(script->View()->MarkedRow(), 1);
    QStringList pushed;
    const QTreeWidget *list = dynamic_cast<CDozoZedView *>(g_pActivityLink)->List();
    for (int row = list->topLevelItemCount() - 1; row >= 0; --row) {
        const QString address = list->topLevelItem(row)->text(CDozoZedView::UrlColumn);
        if (entries.contains(address))
            pushed.append(address);
    }
    EXPECT_EQ(pushed, entries + QStringList {entries[0]});
}

TEST(OperatorStartUp, TurnsTheSandboxOffOnlyForRoot)
{
    const QByteArray before = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
    qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    PrepareOperatorWindow();
    EXPECT_EQ(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), ::geteuid() == 0);
    EXPECT_TRUE(g_makeOperatorTemplate);
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", before);
}

} // namespace
