// The call-center link against the simulator on 127.0.0.1: the queries on the wire, the
// assigned and waiting lists mirrored into the tables and the tree's news, and the start and
// stop limits when the server refuses, is silent or hangs.
#include "CCallCenter.h"
#include "CCallCenterSimulator.h"
#include "CPushDispatcher.h"
#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "CWorkerThreads.h"
#include "CallCenterMirror.h"
#include "ServerLinks.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The tree's side: every notification as "+name key state", "-name key" or "~name key state".
class CNewsLink : public CUserLink
{
public:
    void AddUser(CUserInfo *user) override
    {
        m_news.append(u"+%1 %2 %3"_s.arg(user->m_name, user->m_address).arg(user->m_state));
        delete user;
    }
    void RemoveUser(const CUserInfo &user) override
    {
        m_news.append(u"-%1 %2"_s.arg(user.m_name, user.m_address));
    }
    void UpdateUser(const CUserInfo &user) override
    {
        m_news.append(u"~%1 %2 %3"_s.arg(user.m_name, user.m_address).arg(user.m_state));
    }

    QStringList m_news;
};

class CallCenterLink : public ::testing::Test
{
protected:
    static constexpr int kSettleMs = 300;

    void SetUp() override
    {
        g_pUserLink = &m_tree;
        m_options.m_callCenterServer = m_server.Server();
        m_options.m_callCenterPath = u"cgi-bin/cc.cgi"_s;
    }

    void TearDown() override
    {
        m_link.reset();
        CWorkerThreads::StopAll();
        Deliver();
        g_pUserLink = nullptr;
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }

    bool Start()
    {
        m_link = std::make_unique<CCallCenter>(m_options);
        return m_link->Start();
    }

    // Waits until the given number of poll cycles have been handled, then looks in the pause of
    // a second before the next cycle: the cycle's last reply is handled well within it.
    bool AwaitCycles(int cycles)
    {
        const bool came = m_server.WaitForRequests('C', cycles, 3000 * cycles);
        QElapsedTimer settling;
        settling.start();
        while (settling.elapsed() < kSettleMs)
            Deliver();
        return came;
    }

    // Waits, within the pause after a cycle, until the tree has heard this much news.
    void AwaitNews(qsizetype count)
    {
        QElapsedTimer waited;
        waited.start();
        while (m_tree.m_news.size() < count && waited.elapsed() < CCallCenter::kPollPauseMs)
            Deliver();
    }

    static void Deliver() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

    static CRequestSocket *User(const QString &key) { return g_userTable.Find(key); }

    CCallCenterSimulator m_server;
    CSvrOptions m_options;
    CNewsLink m_tree;
    std::unique_ptr<CCallCenter> m_link;
};

TEST_F(CallCenterLink, AnnouncesPollsAndSignsOffOnTheWire)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(AwaitCycles(1));
    m_link->Stop();
    const QStringList queries = m_server.Queries();
    ASSERT_GE(queries.size(), 5);
    EXPECT_EQ(queries.first().toUtf8(), "?ws=1&S=1 I Tobrin Vale 5 5 0 0");
    EXPECT_EQ(queries.last().toUtf8(), "?ws=1&S=0 I Tobrin Vale 5 5 0 0");
    // R goes out beside the first poll, so its place among them is not fixed.
    EXPECT_TRUE(queries.contains(u"?ws=1&R=1"_s));
    const QStringList polls = queries.filter(u"?ws=1&A"_s) + queries.filter(u"?ws=1&C"_s);
    EXPECT_EQ(polls.first().toUtf8(), "?ws=1&A=1 Tobrin Vale 30");
    EXPECT_EQ(polls.last().toUtf8(), "?ws=1&C=1");
    EXPECT_EQ(m_server.RequestLines().first(),
              "GET /cgi-bin/cc.cgi?ws=1&S=1%20I%20Tobrin%20Vale%205%205%200%200 HTTP/1.0");
}

TEST_F(CallCenterLink, AssignedClientBecomesAUserOnceAndStaysAlive)
{
    // Longer than one 4096-byte block, so the reply must be read whole.
    const QByteArray filler(5000, 'f');
    m_server.SetReplies('A', {"#A:1.2.3.4,Mr. Doe,MSIE 4.01,4.01," + filler + ",/page.htm,y,z;"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(AwaitCycles(1));
    quint32 firstSeen = 0;
    {
        const QMutexLocker lock(&g_userTable.Lock());
        ASSERT_EQ(g_userTable.Keys(), QStringList {u"1.2.3.4"_s});
        const CRequestSocket *user = User(u"1.2.3.4"_s);
        EXPECT_EQ(user->m_request->m_userName, u"Mr. Doe"_s);
        EXPECT_EQ(user->m_request->m_browserV4, 1);
        EXPECT_EQ(user->m_lastPushed, u"/page.htm"_s);
        EXPECT_EQ(user->m_pages, nullptr);
        firstSeen = user->m_lastSeen;
    }
    EXPECT_EQ(m_tree.m_news, QStringList {u"+Mr. Doe 1.2.3.4 1"_s});
    // Without a control page of his own, pushes and log-offs pass him by.
    CPushDispatcher().PushUrlToUser(u"example.org"_s, u"1.2.3.4"_s);
    CPushDispatcher().LogoffUser(u"1.2.3.4"_s);
    {
        const QMutexLocker lock(&g_userTable.Lock());
        EXPECT_EQ(User(u"1.2.3.4"_s)->m_lastPushed, u"/page.htm"_s);
    }
    ASSERT_TRUE(AwaitCycles(2));
    EXPECT_EQ(m_tree.m_news, QStringList {u"+Mr. Doe 1.2.3.4 1"_s});
    const QMutexLocker lock(&g_userTable.Lock());
    EXPECT_NE(User(u"1.2.3.4"_s)->m_lastSeen, firstSeen);
}

TEST_F(CallCenterLink, AssignedReplyCutShortKeepsTheCompleteRecords)
{
    m_server.SetReplies(
        'A', {"#A:1.0.0.1,A,b,4.0,x,/1,y,z,1.0.0.2,B,b,3.0,x,/2,y,z,1.0.0.3,C,b,4.0,x;"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(AwaitCycles(1));
    const QMutexLocker lock(&g_userTable.Lock());
    EXPECT_EQ(g_userTable.Keys(), (QStringList {u"1.0.0.1"_s, u"1.0.0.2"_s}));
}

TEST_F(CallCenterLink, WaitingClientsAreClaimedTakenFromTheUsersSweptAndAssigned)
{
    {
        // A user the call center then lists as waiting.
        const QMutexLocker lock(&g_userTable.Lock());
        auto *user = new CRequestSocket(m_options);
        user->m_request->m_userName = u"Mr. Old"_s;
        g_userTable.Insert(u"10.0.0.8"_s, user);
        user->Release();
    }
    m_server.SetReplies('C',
                        {"#C:10.0.0.9,Mr_Client,x,10.0.0.7,Ms. Roe,y,10.0.0.8,Mr. Old,z;",
                         "#C:10.0.0.7,Ms. Roe,y;", "#C;"});
    m_server.SetReplies('A', {"#A;", "#A;", "#A;", "#A:10.0.0.7,Ms. Roe,b,3.0,x,/p,y,z;"});
    ASSERT_TRUE(Start());
    ASSERT_TRUE(AwaitCycles(1));
    AwaitNews(4);
    EXPECT_EQ(m_tree.m_news,
              (QStringList {u"+Mr_Client 10.0.0.9 0"_s, u"+Ms. Roe 10.0.0.7 0"_s,
                            u"+Mr. Old 10.0.0.8 0"_s, u"-Mr. Old 10.0.0.8"_s}));
    {
        const QMutexLocker lock(&g_userTable.Lock());
        EXPECT_FALSE(g_userTable.Contains(u"10.0.0.8"_s));
    }
    ASSERT_TRUE(m_server.WaitForRequests('X', 2, 3000));
    EXPECT_EQ(m_server.Queries().filter(u"&X="_s).size(), 2);
    EXPECT_TRUE(m_server.Queries().contains(u"?ws=1&X=1 C 10.0.0.7 Tobrin Vale"_s));
    EXPECT_TRUE(m_server.Queries().contains(u"?ws=1&X=1 C 10.0.0.8 Tobrin Vale"_s));
    m_tree.m_news.clear();

    ASSERT_TRUE(AwaitCycles(2));
    AwaitNews(2);
    m_tree.m_news.sort();
    EXPECT_EQ(m_tree.m_news, (QStringList {u"-Mr. Old 10.0.0.8"_s, u"-Mr_Client 10.0.0.9"_s}));
    EXPECT_EQ(WaitingKeys(), QStringList {u"10.0.0.7"_s});
    m_tree.m_news.clear();

    ASSERT_TRUE(AwaitCycles(3));
    EXPECT_EQ(WaitingKeys(), QStringList {u"10.0.0.7"_s});
    EXPECT_TRUE(m_tree.m_news.isEmpty());

    ASSERT_TRUE(AwaitCycles(4));
    EXPECT_EQ(m_tree.m_news, QStringList {u"~Ms. Roe 10.0.0.7 1"_s});
    const QMutexLocker lock(&g_userTable.Lock());
    EXPECT_TRUE(g_userTable.Contains(u"10.0.0.7"_s));
}

TEST_F(CallCenterLink, RefusedStatusOnStillStartsPolling)
{
    m_server.Refuse();
    EXPECT_TRUE(Start());
    EXPECT_TRUE(m_link->IsPolling());
    // Nothing to wait for: the sign-off fails at once and the poll thread ends when told.
    QElapsedTimer elapsed;
    elapsed.start();
    m_link->Stop();
    EXPECT_LT(elapsed.elapsed(), 1000);
}

TEST_F(CallCenterLink, SilentServerFailsTheStartWithinFiveSeconds)
{
    m_server.SetBehaviour('S', CCallCenterSimulator::NeverAnswer);
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(Start());
    EXPECT_LT(elapsed.elapsed(), CCallCenter::kStatusTimeoutMs + 500);
    EXPECT_FALSE(m_link->IsPolling());
    EXPECT_FALSE(m_server.WaitForRequests('A', 1, 300));
}

TEST_F(CallCenterLink, StopEndsWithinFiveSecondsWhenTheServerHangs)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(AwaitCycles(1));
    for (const char kind : {'A', 'C', 'S'})
        m_server.SetBehaviour(kind, CCallCenterSimulator::NeverAnswer);
    QElapsedTimer elapsed;
    elapsed.start();
    m_link->Stop();
    EXPECT_LT(elapsed.elapsed(), CCallCenter::kStatusTimeoutMs + 500);
    // Told to stop, the threads end by themselves at their next check.
    QElapsedTimer ending;
    ending.start();
    while (CWorkerThreads::Running() > 0 && ending.elapsed() < 1000)
        QThread::msleep(10);
    EXPECT_EQ(CWorkerThreads::Running(), 0);
}

} // namespace
