// Call-center mode from the console: chosen on the Server page, it starts the link with the
// session, the users window shows the call center's clients, and a silent server stops the
// start with the operator told.
#include "CCallCenter.h"
#include "CCallCenterSimulator.h"
#include "CDozoZedDoc.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CUsersView.h"
#include "CWorkerThreads.h"
#include "ConsoleFixture.h"
#include "ResourceIds.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QThread>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class CallCenterConsole : public AppFixture
{
protected:
    // However the session ended, no call-center thread outlives the console.
    void TearDown() override
    {
        AppFixture::TearDown();
        EXPECT_EQ(CWorkerThreads::Running(), 0);
    }

    // A new session in call-center mode, as the operator sets it up, on the simulator.
    void NewCallCenterSession()
    {
        const int port = FreePort();
        OnNextSheet([this, port](CSessionSheet &sheet) {
            CSessionServerPage &page = *sheet.m_pServerPage;
            page.m_port = static_cast<unsigned>(port);
            page.Control<QAbstractButton>(IDC_CALLCENTER_MODE)->click();
            page.m_callCenterServer = m_server.Server();
            page.m_callCenterPath = u"cgi-bin/cc.cgi"_s;
            page.m_operatorName = u"Ann Lee"_s;
        });
        m_app->OnNewSession();
    }

    // The users window's rows as "name status".
    static QStringList Rows()
    {
        QStringList rows;
        for (int row = 0; g_pUsersView && row < g_pUsersView->List()->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = g_pUsersView->List()->topLevelItem(row);
            rows.append(item->text(CUsersView::UserColumn) + u' '
                        + item->text(CUsersView::StatusColumn));
        }
        return rows;
    }

    CCallCenterSimulator m_server;
};

TEST_F(CallCenterConsole, UsersWindowShowsWaitingThenConnectedClients)
{
    m_server.SetReplies('C', {"#C:10.0.0.7,Ms. Roe,y;", "#C;"});
    m_server.SetReplies('A', {"#A;", "#A:10.0.0.7,Ms. Roe,b,4.0,x,/p,y,z;"});
    NewCallCenterSession();
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_TRUE(g_pSessionDoc->IsRunning());
    m_app->OnUsersWindow();
    // Looked at in the pause of a second after the first cycle.
    ASSERT_TRUE(m_server.WaitForRequests('C', 1, 5000));
    QThread::msleep(200);
    Settle();
    EXPECT_EQ(Rows(), QStringList {u"Ms. Roe Waiting"_s});
    ASSERT_TRUE(m_server.WaitForRequests('C', 2, 5000));
    Settle();
    EXPECT_EQ(Rows(), QStringList {u"Ms. Roe Connected"_s});
    g_pSessionDoc->StopServer();
    EXPECT_EQ(m_server.Queries().first().toUtf8(), "?ws=1&S=1 I Ann Lee 5 5 0 0");
    EXPECT_EQ(m_server.Queries().last().toUtf8(), "?ws=1&S=0 I Ann Lee 5 5 0 0");
}

TEST_F(CallCenterConsole, SilentServerGivesCannotConnectAndNoRunningSession)
{
    m_server.SetBehaviour('S', CCallCenterSimulator::NeverAnswer);
    NewCallCenterSession();
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_FALSE(g_pSessionDoc->IsRunning());
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_EQ(m_boxes[0].text, u"Cannot Connect to Server"_s);
    EXPECT_EQ(m_boxes[0].style, MB_OK | MB_ICONSTOP);
}

TEST_F(CallCenterConsole, SwitchingToWorkstationModeSignsOffAndStopsPolling)
{
    NewCallCenterSession();
    // The start's R command is not waited for; on a busy machine it can still be on its way.
    ASSERT_TRUE(m_server.WaitForRequests('R', 1, 5000));
    ASSERT_TRUE(m_server.WaitForRequests('C', 1, 5000));
    OnNextSheet([](CSessionSheet &sheet) {
        sheet.m_pServerPage->Control<QAbstractButton>(IDC_WORKSTATION_MODE)->click();
    });
    AnswerBoxes({IDYES});
    g_pSessionDoc->OnProperties();
    EXPECT_TRUE(g_pSessionDoc->IsRunning());
    EXPECT_EQ(m_server.Queries().last().toUtf8(), "?ws=1&S=0 I Ann Lee 5 5 0 0");
    const qsizetype requests = m_server.RequestLines().size();
    QThread::msleep(CCallCenter::kPollPauseMs + 500);
    EXPECT_EQ(m_server.RequestLines().size(), requests);
}

TEST_F(CallCenterConsole, ExitWhileTheServerHangsLeavesNoThreadBehind)
{
    NewCallCenterSession();
    ASSERT_TRUE(m_server.WaitForRequests('C', 1, 5000));
    // Signing off then runs out of time, and the console exits in the tear-down.
    for (const char kind : {'A', 'C', 'S'})
        m_server.SetBehaviour(kind, CCallCenterSimulator::NeverAnswer);
    ASSERT_TRUE(m_server.WaitForRequests('A', 2, 5000));
}

} // namespace
