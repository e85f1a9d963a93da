// The operator window against the real server: follow mode and its panes, framed pages, Open
// Location and the typed-address history, with one user logged on.
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CFollowMode.h"
#include "CFramesWarningDlg.h"
#include "CMainFrame.h"
#include "COpenLocationDlg.h"
#include "COperatorFrame.h"
#include "COperatorView.h"
#include "CPushDispatcher.h"
#include "CWebBrowser.h"
#include "OperatorFixture.h"
#include "PopupMenu.h"
#include "ResourceIds.h"
#include "SessionLinks.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class OperatorWindow : public OperatorFixture
{
protected:
    void SetUp() override
    {
        OperatorFixture::SetUp();
        ASSERT_NE(OpenOperatorWindow(), nullptr);
    }

    void Command(int id) { m_frame->OnCommandId(id); }

    // Types the address into the address box and presses Enter.
    void TypeAddress(const QString &address)
    {
        QLineEdit *edit = m_view->AddressBox()->lineEdit();
        edit->setText(address);
        bool finished = false;
        const QMetaObject::Connection done
            = QObject::connect(m_view->Browser(), &QWebEngineView::loadFinished, m_view,
                               [&finished] { finished = true; });
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
        QApplication::sendEvent(edit, &release);
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

TEST_F(OperatorWindow, OpensFollowingWithFollowInItsPaneAndPushesItsFirstPage)
{
    EXPECT_TRUE(m_view->FollowMode().IsOn());
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), u"FOLLOW"_s);
    EXPECT_EQ(COperatorFrame::FrameCount(), 1);
    EXPECT_EQ(Pushes(), QStringList {Url(u"welcome.htm"_s)});
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
    EXPECT_EQ(Pushes(),
              (QStringList {Url(u"welcome.htm"_s), Url(u"page1.htm"_s), Url(u"page2.htm"_s)}));
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
    EXPECT_EQ(Pushes(), QStringList {Url(u"welcome.htm"_s)});
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), u"FRAMES"_s) << "follow off leaves the pane";
    m_frame->SetPaneText(ID_INDICATOR_FRAMES, QString());

    Load(Url(u"page2.htm"_s));
    Command(ID_FOLLOW_MODE);
    EXPECT_EQ(PaneText(ID_INDICATOR_FOLLOW), u"FOLLOW"_s);
    EXPECT_EQ(Pushes(), (QStringList {Url(u"welcome.htm"_s), Url(u"page2.htm"_s)}));
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, Url(u"page2.htm"_s));
    // Off and on again on the same page: it was the last address pushed.
    Command(ID_FOLLOW_MODE);
    Command(ID_FOLLOW_MODE);
    EXPECT_EQ(Pushes().size(), 2);
}

TEST_F(OperatorWindow, FramedPagePushesEveryFrameWarnsOnceAndClearsOnTheNextPage)
{
    int warnings = 0;
    QTextBrowser *help = nullptr;
    OnNextDialog([&warnings, &help](CDialog &dialog) {
        auto *warning = dynamic_cast<CFramesWarningDlg *>(&dialog);
        EXPECT_NE(warning, nullptr);
        ++warnings;
        if (warning) {
            warning->OnMoreInfo();
            help = qobject_cast<QTextBrowser *>(QApplication::activeWindow());
        }
        return static_cast<int>(IDOK);
    });
    const QString frames = Url(u"frames.htm"_s);
    Load(frames);
    ASSERT_TRUE(WaitFor([this] { return Pushes().size() == 4; }))
        << qPrintable(Pushes().join(u' '));
    EXPECT_EQ(
        Pushes(),
        (QStringList {Url(u"welcome.htm"_s), frames, Url(u"left.htm"_s), Url(u"right.htm"_s)}));
    EXPECT_EQ(PaneText(ID_INDICATOR_FRAMES), u"FRAMES"_s);
    Settle();
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(CFollowMode::LastTargetFrameName(), std::optional<QString>(Url(u"right.htm"_s)));
    (void)help;

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

TEST_F(OperatorWindow, OpenLocationAddsTheSchemeOnlyWhenMissingAndAlwaysPushes)
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
    EXPECT_EQ(Pushes(), (QStringList {Url(u"welcome.htm"_s), page1}));

    // With "://" the text is used as it stands.
    const QString page2 = Url(u"page2.htm"_s);
    OpenLocation(page2);
    ASSERT_TRUE(WaitFor([this, &page2] { return m_view->Browser()->LocationURL() == page2; }));
    EXPECT_EQ(Pushes().last(), page2);
    // Cancelled or empty: nothing.
    OpenLocation(QString());
    EXPECT_EQ(Pushes().size(), 3);
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

TEST_F(OperatorWindow, RightClickShowsTheProgramsMenu)
{
    QStringList entries;
    SetPopupMenuHandler([&entries](QMenu &menu, const QPoint &) {
        for (const QAction *action : menu.actions()) {
            if (!action->isSeparator())
                entries.append(action->text() + (action->isEnabled() ? u""_s : u" (off)"_s));
        }
    });
    m_view->OnContextMenu(QPoint(10, 10));
    SetPopupMenuHandler({});
    EXPECT_EQ(entries,
              (QStringList {u"&Back"_s, u"&Forward"_s, u"&Refresh"_s, u"Add to Favorites (off)"_s,
                            u"&Push (off)"_s, u"P&rint"_s}));
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

} // namespace
