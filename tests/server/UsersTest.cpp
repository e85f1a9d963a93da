#include "Users.h"
#include "CChatStore.h"
#include "CPushDispatcher.h"
#include "CRequest.h"
#include "CRequestSocket.h"
#include "CUnprivilegedFileAccess.h"
#include "CUserTable.h"
#include "ChatRequests.h"
#include "IdleHook.h"
#include "MessageBox.h"
#include "PageText.h"
#include "ServerFixture.h"
#include "TestSupport.h"
#include "Tick.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <future>
#include <optional>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

class UsersTest : public ServerFixture
{
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        SetTickSource([this] { return m_now; });
        OnEveryIdleMoment(&m_idleContext, [] { SweepTimedOutUsers(); });
        StartServer();
    }

    // Lets the event loop wait for events once, which is an idle moment.
    static void RunIdle()
    {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }

    static int TableSize()
    {
        const QMutexLocker lock(&g_userTable.Lock());
        return g_userTable.Size();
    }

    static CRequestSocket *User(const QString &key)
    {
        const QMutexLocker lock(&g_userTable.Lock());
        return g_userTable.Find(key);
    }

    QByteArray Poll(const QString &key) { return Body(Get("/VS" + key.toLatin1() + ".htm", key)); }

    quint32 m_now = 1000000;
    QObject m_idleContext;
};

} // namespace

TEST(LogonName, TakesTheTitleAndAlias)
{
    EXPECT_EQ(ParseLogonName("/?sex=Mr&alias=Ann+Lee&C=1"), u"Mr. Ann Lee"_s);
    EXPECT_EQ(ParseLogonName("/?sex=Mrs&alias=Ann&C=1"), u"Mr. Ann"_s);
    EXPECT_EQ(ParseLogonName("/?sex=F&alias=Ann&C=1"), u"Ms. Ann"_s);
    EXPECT_EQ(ParseLogonName("/?sex=Mr&alias=Ann"), u"Mr. "_s);
    EXPECT_EQ(ParseLogonName("/?sex=Ms&alias=Zo\xc3\xab&C=1"), u"Ms. Zo\u00eb"_s);
    EXPECT_EQ(ParseLogonName("/?sex=Ms&alias=Zo\xeb&C=1"), u"Ms. Zo\u00eb"_s);
}

TEST_F(UsersTest, ALogonGetsTheGreetingPageAndBecomesAUser)
{
    const QByteArray response = Get("/?sex=Mr&alias=Ann+Lee&C=1", u"127.0.0.2"_s);
    ASSERT_TRUE(response.startsWith("HTTP/1.0 200 OK")) << response.constData();
    EXPECT_TRUE(
        Body(response).endsWith(GreetingPageText(u"VS127.0.0.2.htm"_s).replace("\n", "\r\n")));
    ASSERT_NE(User(u"127.0.0.2"_s), nullptr) << "the closed logon connection took the user with it";
    EXPECT_EQ(User(u"127.0.0.2"_s)->m_request->m_userName, u"Mr. Ann Lee"_s);
    EXPECT_EQ(User(u"127.0.0.2"_s)->m_lastPushed, u"/welcome.htm"_s);
    EXPECT_EQ(
        m_links.m_events,
        QStringList({u"activity 127.0.0.2 /welcome.htm Sent"_s, u"added Mr. Ann Lee 127.0.0.2"_s}));
    EXPECT_TRUE(QFile::exists(RootFile(u"VF127.0.0.2.htm"_s)));
    EXPECT_EQ(
        ReadFileBytes(RootFile(u"VS127.0.0.2.htm"_s)),
        ControlPageText(u"/welcome.htm"_s, 2, false, u"VX127.0.0.2.htm"_s).replace("\n", "\r\n"));
}

TEST_F(UsersTest, TheEleventhLogonGetsTheBusyPage)
{
    for (int i = 2; i <= 11; ++i)
        Logon(u"127.0.0.%1"_s.arg(i));
    ASSERT_EQ(TableSize(), 10);
    const QByteArray busy = Logon(u"127.0.0.12"_s);
    EXPECT_TRUE(busy.endsWith("<p>busy</p>")) << busy.constData();
    EXPECT_EQ(TableSize(), 10);
    EXPECT_FALSE(QFile::exists(RootFile(u"VS127.0.0.12.htm"_s)));
    // The check comes first: a returning user is refused too while the table is full.
    EXPECT_TRUE(Logon(u"127.0.0.2"_s).endsWith("<p>busy</p>"));
}

TEST_F(UsersTest, AReturningUserReplacesItsRecordAndKeepsOneTreeEntry)
{
    Logon(u"127.0.0.2"_s, "?sex=Mr&alias=First&C=1");
    Logon(u"127.0.0.3"_s);
    CPushDispatcher().PushToUser(u"/a.htm"_s, u"127.0.0.2"_s);
    Logon(u"127.0.0.2"_s, "?sex=Ms&alias=Second&C=1");
    EXPECT_EQ(TableSize(), 2);
    EXPECT_EQ(m_links.m_events.filter(u"added"_s),
              QStringList({u"added Mr. First 127.0.0.2"_s, u"added Mr. Ann 127.0.0.3"_s}));
    EXPECT_EQ(User(u"127.0.0.2"_s)->m_lastPushed, u"/welcome.htm"_s);
    EXPECT_TRUE(ReadFileBytes(RootFile(u"VS127.0.0.2.htm"_s)).contains("\"/welcome.htm\""))
        << "the new record's pages were written before the old ones were deleted";
    EXPECT_TRUE(QFile::exists(RootFile(u"VF127.0.0.2.htm"_s)));
}

TEST_F(UsersTest, AReturningUserWhosePagesCannotBeWrittenLeavesNoEntry)
{
    Logon(u"127.0.0.2"_s, "?sex=Mr&alias=First&C=1");
    ASSERT_TRUE(QFile::remove(RootFile(u"VF127.0.0.2.htm"_s)));
    ASSERT_TRUE(QDir(Root()).mkdir(u"VF127.0.0.2.htm"_s));
    const QByteArray response = Logon(u"127.0.0.2"_s);
    EXPECT_TRUE(response.startsWith("HTTP/1.0 500 Internal Server Error")) << response.constData();
    EXPECT_EQ(TableSize(), 0);
    EXPECT_TRUE(m_links.m_events.contains(u"removed Mr. First 127.0.0.2"_s));
    ASSERT_EQ(m_messages.size(), 1);
    EXPECT_TRUE(m_messages.front().startsWith(u"Access to "_s));
    // Nothing refers to the released record any more: pushes and sweeps pass quietly.
    CPushDispatcher().PushToAll(u"/a.htm"_s);
    SweepTimedOutUsers();
}

TEST(PushAddress, BareAddressesGetHttpAndAddressesWithASchemeStayAsTheyAre)
{
    const std::pair<QString, QString> cases[] = {
        {u"server/a.htm"_s, u"http://server/a.htm"_s},
        {u"localhost:8080/a.htm"_s, u"http://localhost:8080/a.htm"_s},
        {u"http://x/a.htm"_s, u"http://x/a.htm"_s},
        {u"https://site/x"_s, u"https://site/x"_s},
        {u"HTTP://SITE/X"_s, u"HTTP://SITE/X"_s},
        {u"HttpS://site/x"_s, u"HttpS://site/x"_s},
        {u"ftp://files/a.zip"_s, u"ftp://files/a.zip"_s},
        {u"www.x.com/?to=http://y/"_s, u"http://www.x.com/?to=http://y/"_s},
    };
    for (const auto &[typed, pushed] : cases)
        EXPECT_EQ(CPushDispatcher::NormaliseRemote(typed), pushed) << qPrintable(typed);
}

TEST_F(UsersTest, ARootNamedWithBackslashesIsWrittenToAndServedFromOneFolder)
{
    ASSERT_TRUE(QDir(Root()).mkdir(u"talk"_s));
    m_options.m_rootFolder = Root() + u"\\talk"_s;
    StartServer();
    const QByteArray greeting = Logon(u"127.0.0.2"_s);
    EXPECT_TRUE(greeting.startsWith("HTTP/1.0 200 OK")) << greeting.constData();
    EXPECT_TRUE(QFile::exists(RootFile(u"talk/VF127.0.0.2.htm"_s)));
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("\"/welcome.htm\""));
}

// A real box runs a nested event loop, in which the peer whose request failed may go away; the
// box must come once nothing of that request is on the stack, and without the user-table lock.
TEST_F(UsersTest, AFailedPageWriteIsShownAfterItsRequestAndWithoutTheLock)
{
    struct Case
    {
        const char *what;
        bool loggedOn;
        QByteArray request;
    };
    const Case cases[] = {
        {"logon", false, "GET /?sex=Mr&alias=Ann&C=1 HTTP/1.0\r\n\r\n"},
        {"idle page after a delivery", true, "GET /VS127.0.0.2.htm HTTP/1.0\r\n\r\n"},
    };
    // The group may read the folder (an unprivileged root stays in its group), so that only
    // writing fails once access is unprivileged.
    ASSERT_TRUE(QFile::setPermissions(
        Root(), QFile::permissions(Root()) | QFile::ReadGroup | QFile::ExeGroup));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.loggedOn)
            Logon(u"127.0.0.2"_s);
        QTcpSocket client;
        QStringList shown;
        bool lockHeld = false;
        SetMessageBoxHandler([&](const MessageBoxRequest &request) {
            shown << request.text;
            lockHeld |= !std::async(std::launch::async, [] {
                             const bool free = g_userTable.Lock().try_lock();
                             if (free)
                                 g_userTable.Lock().unlock();
                             return free;
                         }).get();
            client.abort();
            QEventLoop nested;
            QTimer::singleShot(50, &nested, &QEventLoop::quit);
            nested.exec();
            return static_cast<int>(IDOK);
        });
        {
            const CUnprivilegedFileAccess nobody;
            client.bind(QHostAddress(u"127.0.0.2"_s));
            client.connectToHost(QHostAddress::LocalHost, m_listener->serverPort());
            ASSERT_TRUE(client.waitForConnected(2000));
            client.write(c.request);
            EXPECT_TRUE(WaitFor([&shown] { return !shown.isEmpty(); }, 3000));
            Settle();
        }
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_TRUE(shown.front().startsWith(u"Access to "_s)) << qPrintable(shown.front());
        EXPECT_FALSE(lockHeld);
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
    EXPECT_TRUE(Get("/welcome.htm").startsWith("HTTP/1.0 200 OK"));
}

TEST_F(UsersTest, SilentUsersTimeOutAfterSevenRefreshPeriods)
{
    Logon(u"127.0.0.2"_s);
    g_chatStore.Clear();
    ASSERT_EQ(PostOperatorChat(u"127.0.0.2"_s, u"still there?"_s), QString());
    m_now += 35000;
    SweepTimedOutUsers();
    EXPECT_EQ(TableSize(), 1);
    m_now += 1;
    RunIdle();
    EXPECT_EQ(TableSize(), 0);
    EXPECT_TRUE(m_links.m_events.contains(u"activity 127.0.0.2 USER TIMED OUT Pushing"_s));
    EXPECT_EQ(g_chatStore.Conversation(u"127.0.0.2"_s).constLast().m_text,
              u"Chat ended: timed out."_s)
        << "the chat ends with the user";
    EXPECT_TRUE(m_links.m_events.contains(u"removed Mr. Ann 127.0.0.2"_s));
    EXPECT_FALSE(QFile::exists(RootFile(u"VS127.0.0.2.htm"_s)));
}

TEST_F(UsersTest, TheTimeOutSurvivesTheTickCounterWrapping)
{
    m_now = 0xFFFFF000u;
    Logon(u"127.0.0.2"_s);
    m_now = 0x00005000u; // 24 576 ms later, past the wrap
    SweepTimedOutUsers();
    EXPECT_EQ(TableSize(), 1);
    m_now = 0xFFFFF000u + 35001u; // silent for seven periods and a moment, counted across it
    SweepTimedOutUsers();
    EXPECT_EQ(TableSize(), 0);
}

TEST_F(UsersTest, OnlyAUsersOwnControlPagePollKeepsItAlive)
{
    Logon(u"127.0.0.2"_s);
    Logon(u"127.0.0.3"_s);
    m_now += 30000;
    Get("/VS127.0.0.2.htm", u"127.0.0.3"_s); // somebody else's page
    Get("/welcome.htm", u"127.0.0.2"_s); // not a control page
    Poll(u"127.0.0.3"_s);
    m_now += 5001;
    SweepTimedOutUsers();
    EXPECT_EQ(User(u"127.0.0.2"_s), nullptr);
    EXPECT_NE(User(u"127.0.0.3"_s), nullptr);
}

TEST_F(UsersTest, APushIsDeliveredOnceThenTheControlPageIsIdle)
{
    Logon(u"127.0.0.2"_s);
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("mainWindow.location.href = \"/welcome.htm\""));
    m_links.m_events.clear();

    CPushDispatcher().PushUrlToAll(u"server/a.htm"_s);
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, u"http://server/a.htm"_s);
    const QByteArray push = Poll(u"127.0.0.2"_s);
    EXPECT_TRUE(push.contains("mainWindow.location.href = \"http://server/a.htm\"\r\n"));
    EXPECT_TRUE(push.contains("CONTENT=\"5\""));
    const QByteArray idle = Poll(u"127.0.0.2"_s);
    EXPECT_TRUE(idle.contains("Active...")) << idle.constData();
    EXPECT_FALSE(idle.contains("SCRIPT"));
    EXPECT_EQ(m_links.m_events,
              QStringList({u"activity All Clients http://server/a.htm Pushing"_s,
                           u"sent http://server/a.htm"_s}));
}

TEST_F(UsersTest, OnlyTheLatestOfTwoPushesIsDelivered)
{
    Logon(u"127.0.0.2"_s);
    CPushDispatcher dispatcher;
    dispatcher.PushUrlToAll(u"http://x/one.htm"_s);
    dispatcher.PushUrlToAll(u"https://x/two.htm"_s);
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, u"https://x/two.htm"_s);
    const QByteArray push = Poll(u"127.0.0.2"_s);
    EXPECT_FALSE(push.contains("one.htm"));
    EXPECT_TRUE(push.contains("\"https://x/two.htm\""));
}

TEST_F(UsersTest, PushesToOneUserReachOnlyThatUser)
{
    Logon(u"127.0.0.2"_s, "?sex=Mr&alias=V4&C=1");
    Logon(u"127.0.0.3"_s);
    Poll(u"127.0.0.2"_s);
    Poll(u"127.0.0.3"_s);
    CPushDispatcher dispatcher;
    dispatcher.PushUrlToAll(u"http://x/all.htm"_s);
    dispatcher.PushLocalToUser(u"\\docs\\a.htm"_s, u"127.0.0.2"_s);
    EXPECT_TRUE(CPushDispatcher::lastPushedAddress.isEmpty());
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("\"/docs/a.htm\""));
    EXPECT_TRUE(Poll(u"127.0.0.3"_s).contains("\"http://x/all.htm\""));
    dispatcher.PushToUser(u"/b.htm"_s, u"127.0.0.9"_s); // unknown: nothing happens
    EXPECT_FALSE(m_links.m_events.join(u'|').contains(u"127.0.0.9"_s));
}

TEST_F(UsersTest, ALateJoinerIsBroughtToThePagePushedToEverybodyUnlessTurnedOff)
{
    for (const int bring : {1, 0}) {
        m_options.m_bringLateJoiners = bring;
        Logon(u"127.0.0.2"_s);
        Poll(u"127.0.0.2"_s);
        CPushDispatcher dispatcher;
        dispatcher.PushUrlToAll(u"http://x/now.htm"_s);
        dispatcher.PushToUser(u"/only-for-one.htm"_s, u"127.0.0.2"_s);
        Logon(u"127.0.0.3"_s);
        m_links.m_events.clear();
        EXPECT_TRUE(Poll(u"127.0.0.3"_s).contains("\"/welcome.htm\"")) << "the welcome page first";
        const QByteArray next = Poll(u"127.0.0.3"_s);
        EXPECT_EQ(next.contains("\"http://x/now.htm\""), bring == 1) << next.constData();
        EXPECT_EQ(next.contains("Active..."), bring == 0) << next.constData();
        EXPECT_EQ(m_links.m_events.contains(u"activity 127.0.0.3 http://x/now.htm Pushing"_s),
                  bring == 1)
            << m_links.m_events.join(u'|').toStdString();
        EXPECT_FALSE(Poll(u"127.0.0.3"_s).contains("http://x/now.htm")) << "once";
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
}

TEST_F(UsersTest, ABrowserSayingVersion4GetsTheBlurLine)
{
    Fetch("GET /?sex=Mr&alias=Old&C=1 HTTP/1.0\r\nUser-Agent: Browser/4.0\r\n\r\n", u"127.0.0.2"_s);
    Fetch("GET /?sex=Mr&alias=New&C=1 HTTP/1.0\r\nUser-Agent: Browser/3.01\r\n\r\n",
          u"127.0.0.3"_s);
    CPushDispatcher().PushToAll(u"/a.htm"_s);
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("\"/a.htm\"\r\nthis.window.blur()\r\n"));
    EXPECT_FALSE(Poll(u"127.0.0.3"_s).contains("blur"));
}

TEST_F(UsersTest, ACdromPushWritesTheFinderPageAndPushesItsBareName)
{
    Logon(u"127.0.0.2"_s);
    CPushDispatcher().PushCdromToUser(u"media/a.mov"_s, u"127.0.0.2"_s);
    EXPECT_TRUE(ReadFileBytes(RootFile(u"VC127.0.0.2.htm"_s)).contains("/media/a.mov"));
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("mainWindow.location.href = \"VC127.0.0.2.htm\""));
    EXPECT_TRUE(m_links.m_events.contains(u"activity 127.0.0.2 VC127.0.0.2.htm Pushing"_s));
}

TEST_F(UsersTest, APushWithNoUsersWritesAndRecordsNothing)
{
    CPushDispatcher().PushUrlToAll(u"http://x/a.htm"_s);
    EXPECT_TRUE(m_links.m_events.isEmpty());
    EXPECT_EQ(QDir(Root()).entryList(QDir::Files).size(), 4);
}

TEST_F(UsersTest, ALoggedOffUserGetsTheLogoffPageOnceAndIsGone)
{
    Logon(u"127.0.0.2"_s);
    Poll(u"127.0.0.2"_s);
    CPushDispatcher().LogoffUser(u"127.0.0.2"_s);
    EXPECT_EQ(User(u"127.0.0.2"_s)->m_lastPushed, u"/logoff.htm"_s);
    const QByteArray logoff = Poll(u"127.0.0.2"_s);
    EXPECT_TRUE(logoff.contains("opener.location.href = \"/logoff.htm\"\r\nwindow.close()"));
    EXPECT_EQ(TableSize(), 0);
    EXPECT_FALSE(QFile::exists(RootFile(u"VS127.0.0.2.htm"_s)));
    EXPECT_FALSE(QFile::exists(RootFile(u"VF127.0.0.2.htm"_s)));
    EXPECT_TRUE(m_links.m_events.contains(u"sent /logoff.htm"_s));
    EXPECT_TRUE(Get("/VS127.0.0.2.htm", u"127.0.0.2"_s).startsWith("HTTP/1.0 404"));
}

TEST_F(UsersTest, AnEmptyLogoffPageSettingDoesNotDropUsersOnEveryPush)
{
    m_options.m_logoffPage.clear();
    StartServer();
    Logon(u"127.0.0.2"_s);
    Poll(u"127.0.0.2"_s);
    EXPECT_EQ(TableSize(), 1);
}

TEST_F(UsersTest, ALogonIsAPlainRequestInCallCenterMode)
{
    m_options.m_callCenterMode = 1;
    StartServer();
    EXPECT_TRUE(Logon(u"127.0.0.2"_s).startsWith("HTTP/1.0 404"));
    EXPECT_EQ(TableSize(), 0);
}

namespace {

// A control-page poll left open, as a browser waits for its control page.
class CPendingPoll
{
public:
    CPendingPoll(quint16 port, const QString &key)
    {
        m_socket.bind(QHostAddress(key));
        m_socket.connectToHost(QHostAddress::LocalHost, port);
        m_socket.waitForConnected(2000);
        m_socket.write("GET /VS" + key.toLatin1() + ".htm HTTP/1.0\r\n\r\n");
    }
    // Everything received once the server has closed, or within the time.
    QByteArray Answer(int timeoutMs)
    {
        WaitFor([this] { return m_socket.state() == QAbstractSocket::UnconnectedState; },
                timeoutMs);
        m_received += m_socket.readAll();
        return m_received;
    }

private:
    QTcpSocket m_socket;
    QByteArray m_received;
};

class HeldPollTest : public UsersTest
{
protected:
    void SetUp() override
    {
        UsersTest::SetUp();
        m_options.m_instantDelivery = 1;
        for (const QString &key : {u"127.0.0.2"_s, u"127.0.0.3"_s}) {
            Logon(key);
            // The welcome push, then the idle page: the first idle page is never held, so that
            // the control window stops showing "Pushing...".
            Poll(key);
            EXPECT_TRUE(Poll(key).contains("Active..."));
        }
    }
    quint16 Port() const { return m_listener->serverPort(); }
};

} // namespace

TEST_F(HeldPollTest, AnIdlePollWaitsForThePushAndIsAnsweredWithItAtOnce)
{
    CPendingPoll poll(Port(), u"127.0.0.2"_s);
    EXPECT_TRUE(poll.Answer(300).isEmpty()) << "an idle poll was answered without a push";
    // Held past the time-out's seven refresh periods, the user is still polling; the other
    // user, silent as long, is not.
    m_now += 60000;
    SweepTimedOutUsers();
    ASSERT_NE(User(u"127.0.0.2"_s), nullptr);
    EXPECT_EQ(User(u"127.0.0.3"_s), nullptr);

    QElapsedTimer elapsed;
    elapsed.start();
    CPushDispatcher().PushToUser(u"/now.htm"_s, u"127.0.0.2"_s);
    const QByteArray answer = poll.Answer(1000);
    EXPECT_LT(elapsed.elapsed(), 500);
    EXPECT_TRUE(Body(answer).contains("mainWindow.location.href = \"/now.htm\"")) << answer.data();
    EXPECT_TRUE(m_links.m_events.contains(u"sent /now.htm"_s));
}

TEST_F(HeldPollTest, StoppingTheSessionAnswersEveryHeldPollWithinASecond)
{
    CPendingPoll first(Port(), u"127.0.0.2"_s);
    CPendingPoll second(Port(), u"127.0.0.3"_s);
    EXPECT_TRUE(first.Answer(200).isEmpty());
    QElapsedTimer elapsed;
    elapsed.start();
    m_listener.reset();
    const QByteArray firstAnswer = first.Answer(1000);
    EXPECT_TRUE(Body(second.Answer(1000)).contains("Active..."));
    EXPECT_LT(elapsed.elapsed(), 1000);
    EXPECT_TRUE(Body(firstAnswer).contains("Active..."));
    // The page's own refresh, not a quick one, gives a restart time to finish.
    EXPECT_FALSE(firstAnswer.contains("Refresh: 1"));
}

// The quick poll again is asked for only where a hold will answer it: anywhere else the
// control window would come back at once, again and again.
TEST_F(HeldPollTest, OnlyPagesAHoldWillAnswerAskForTheNextPollSoon)
{
    const auto repolls = [](const QByteArray &response) {
        return response.left(response.indexOf("\r\n\r\n") + 2).contains("\r\nRefresh: 1\r\n");
    };
    const QByteArray controlPage = "/VS127.0.0.2.htm";
    CPendingPoll first(Port(), u"127.0.0.2"_s);
    EXPECT_TRUE(first.Answer(200).isEmpty());
    CPendingPoll second(Port(), u"127.0.0.2"_s); // a second control window of the same user
    EXPECT_FALSE(repolls(first.Answer(1000))) << "two windows would take turns without pause";
    CPushDispatcher().PushToUser(u"/now.htm"_s, u"127.0.0.2"_s);
    EXPECT_TRUE(repolls(second.Answer(1000))) << "the push page";
    EXPECT_TRUE(repolls(Get(controlPage, u"127.0.0.2"_s))) << "the idle page after it";
    CPushDispatcher().LogoffUser(u"127.0.0.2"_s);
    EXPECT_FALSE(repolls(Get(controlPage, u"127.0.0.2"_s))) << "the logoff page";

    CPushDispatcher().PushToUser(u"http://x/a.htm"_s, u"127.0.0.3"_s);
    Poll(u"127.0.0.3"_s);
    EXPECT_FALSE(repolls(Get("/VX127.0.0.3.htm", u"127.0.0.3"_s))) << "the lost page";
    m_options.m_instantDelivery = 0;
    EXPECT_FALSE(repolls(Get("/VR127.0.0.3.htm", u"127.0.0.3"_s))) << "instant delivery off";
}

TEST_F(UsersTest, APushWithNoMainWindowIsReportedNotDeliveredUntilTheLinkOpensOne)
{
    Logon(u"127.0.0.2"_s);
    Poll(u"127.0.0.2"_s);
    CPushDispatcher().PushToUser(u"http://x/a.htm"_s, u"127.0.0.2"_s);
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("location.replace(\"VX127.0.0.2.htm\")"));
    m_links.m_events.clear();

    // Only the user's own control window reports for it.
    EXPECT_TRUE(Get("/VX127.0.0.2.htm", u"127.0.0.3"_s).startsWith("HTTP/1.0 404"));
    const QByteArray lost = Body(Get("/VX127.0.0.2.htm", u"127.0.0.2"_s));
    EXPECT_TRUE(lost.contains("Window closed.") && lost.contains("HREF=\"http://x/a.htm\""));
    EXPECT_EQ(
        m_links.m_events,
        QStringList({u"not delivered 127.0.0.2 http://x/a.htm"_s, u"state Mr. Ann 127.0.0.2 3"_s}));
    EXPECT_EQ(Body(Poll(u"127.0.0.2"_s)), lost) << "the link stays while the window polls";

    m_links.m_events.clear();
    EXPECT_TRUE(Body(Get("/VR127.0.0.2.htm", u"127.0.0.2"_s)).contains("Active..."));
    EXPECT_EQ(m_links.m_events, QStringList {u"state Mr. Ann 127.0.0.2 1"_s});
    CPushDispatcher().PushToUser(u"http://x/b.htm"_s, u"127.0.0.2"_s);
    EXPECT_TRUE(Poll(u"127.0.0.2"_s).contains("mainWindow.location.href = \"http://x/b.htm\""));
}

namespace {

// While it lives, files this process writes cannot grow past the size, as on a full disk.
class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {bytes, m_previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    CFileSizeLimit(const CFileSizeLimit &) = delete;
    CFileSizeLimit &operator=(const CFileSizeLimit &) = delete;

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

// Whatever keeps the control page from being written, a push that cannot be written is never
// "Sent": its row says "Not delivered" and the user's state why; the page served is always
// whole; the control window keeps polling; the operator gets one box per episode; and everything
// works again once the fault is gone, the root folder being made again included.
TEST_F(UsersTest, APageWriteFaultIsReportedOnceAndNeverServedOrCountedAsSent)
{
    const QString gone = Root() + u".gone"_s;
    // The group may read the folder, so that unprivileged access fails at writing only.
    ASSERT_TRUE(QFile::setPermissions(
        Root(), QFile::permissions(Root()) | QFile::ReadGroup | QFile::ExeGroup));
    std::optional<CUnprivilegedFileAccess> nobody;
    std::optional<CFileSizeLimit> fullDisk;
    struct Case
    {
        const char *what;
        QString address;
        std::function<void()> fault;
        std::function<void()> mend;
        QByteArray pollDuringFault; // how the poll during the fault is answered
    };
    const Case cases[] = {
        {"read-only root", u"http://x/a.htm"_s, [&] { nobody.emplace(); }, [&] { nobody.reset(); },
         "HTTP/1.0 200 OK"},
        {"full disk", u"http://x/"_s + QString(8192, u'a'), [&] { fullDisk.emplace(4096); },
         [&] { fullDisk.reset(); }, "HTTP/1.0 200 OK"},
        {"root folder removed and made again", u"http://x/a.htm"_s,
         [&] { ASSERT_TRUE(QDir().rename(Root(), gone)); },
         [&] {
             ASSERT_TRUE(QDir(gone).removeRecursively());
             ASSERT_TRUE(QDir().mkdir(Root()));
         },
         "HTTP/1.0 503 Service Unavailable\r\n"},
    };
    const QString key = u"127.0.0.2"_s;
    const QByteArray controlPage = "/VS127.0.0.2.htm";
    const QString notWritten = u"state Mr. Ann 127.0.0.2 4"_s;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Logon(key);
        Poll(key);
        ASSERT_TRUE(Poll(key).contains("Active..."));
        m_links.m_events.clear();
        m_messages.clear();

        c.fault();
        for (int i = 0; i < 3; ++i)
            CPushDispatcher().PushToUser(c.address, key);
        const QByteArray poll = Get(controlPage, key);
        c.mend();
        EXPECT_TRUE(poll.startsWith(c.pollDuringFault)) << poll.left(300).constData();
        if (poll.startsWith("HTTP/1.0 200")) {
            EXPECT_TRUE(Body(poll).endsWith("Active...</FONT><BR>\r\n<FONT SIZE = \"-3\"></FONT>"
                                            "\r\n\r\n</BODY>\r\n</HTML>\r\n"))
                << Body(poll).left(300).constData();
        } else {
            EXPECT_TRUE(poll.contains("\r\nRefresh: 5\r\n")) << poll.constData();
        }
        const QString pushed = u"activity 127.0.0.2 %1 Pushing"_s.arg(c.address);
        const QString lost = u"not delivered 127.0.0.2 %1"_s.arg(c.address);
        EXPECT_EQ(m_links.m_events,
                  QStringList({notWritten, pushed, lost, pushed, lost, pushed, lost}));
        ASSERT_EQ(m_messages.size(), 1);
        EXPECT_TRUE(m_messages.front().contains(RootFile(u"VS127.0.0.2.htm"_s)))
            << qPrintable(m_messages.front());
        EXPECT_TRUE(m_messages.front().contains(u"3 pages could not be written."_s))
            << qPrintable(m_messages.front());

        // Mended: the page is written again, and pushes are delivered again.
        m_links.m_events.clear();
        EXPECT_TRUE(Poll(key).contains("Active..."));
        CPushDispatcher().PushToUser(u"http://x/b.htm"_s, key);
        EXPECT_TRUE(Poll(key).contains("\"http://x/b.htm\""));
        EXPECT_TRUE(m_links.m_events.contains(u"state Mr. Ann 127.0.0.2 1"_s));
        EXPECT_TRUE(m_links.m_events.contains(u"sent http://x/b.htm"_s));
        EXPECT_FALSE(m_links.m_events.contains(u"sent "_s + c.address));

        // A new fault after a page was written is a new episode with a box of its own.
        c.fault();
        CPushDispatcher().PushToUser(c.address, key);
        c.mend();
        Settle();
        EXPECT_EQ(m_messages.size(), 2);
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
}

// Smaller faults of serving and reporting, each a request and what must come of it.
TEST_F(UsersTest, QueriesEarlierLogsAndControlWindowReportsAreHandledSoundly)
{
    QTemporaryDir elsewhere;
    WriteRootFile(u"a?b.htm"_s, "question");
    WriteRootFile(u"Vantro.log"_s, "User = 10.1.1.1, Pushed = http://secret/");
    ASSERT_TRUE(WriteFileBytes(elsewhere.filePath(u"Vantro.log"_s), "current"));
    m_options.m_logFileName = elsewhere.filePath(u"Vantro.log"_s);
    const QString user = u"127.0.0.2"_s;
    const auto deliverAndLoseWindow = [&] {
        Logon(user);
        Poll(user);
        CPushDispatcher().PushToUser(u"http://x/\U0001F600.htm"_s, user);
        Poll(user);
    };
    struct Case
    {
        const char *what;
        std::function<void()> prepare;
        QByteArray path;
        QString source;
        QByteArray status;
        QByteArray bodyHas;
        QByteArray bodyLacks;
        int notDeliveredRows;
    };
    const Case cases[] = {
        {"a plain file asked for with a query", [] {}, "/welcome.htm?x=1&y=/z", u"127.0.0.1"_s,
         "HTTP/1.0 200 OK", "<p>welcome</p>", "", 0},
        {"an encoded question mark is part of the name", [] {}, "/a%3Fb.htm", u"127.0.0.1"_s,
         "HTTP/1.0 200 OK", "question", "", 0},
        {"the logon keeps its query", [] {}, "/?sex=Mr&alias=Q&C=1", u"127.0.0.4"_s,
         "HTTP/1.0 200 OK", "VS127.0.0.4.htm", "", 0},
        {"an earlier session's log in the root", [] {}, "/Vantro.log", u"127.0.0.1"_s,
         "HTTP/1.0 404", "", "secret", 0},
        {"a lost window's link to an address outside the basic plane", deliverAndLoseWindow,
         "/VX127.0.0.2.htm", user, "HTTP/1.0 200 OK", "HREF=\"http://x/&#128512;.htm\"", "&#55357;",
         1},
        {"the same report again", [] {}, "/VX127.0.0.2.htm", user, "HTTP/1.0 200 OK", "Reopen", "",
         0},
        {"a report before anything was delivered", [&] { Logon(u"127.0.0.3"_s); },
         "/VX127.0.0.3.htm", u"127.0.0.3"_s, "HTTP/1.0 200 OK", "", "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.prepare();
        m_links.m_events.clear();
        const QByteArray response = Get(c.path, c.source);
        EXPECT_TRUE(response.startsWith(c.status)) << response.left(300).constData();
        EXPECT_TRUE(Body(response).contains(c.bodyHas)) << response.constData();
        if (!c.bodyLacks.isEmpty()) {
            EXPECT_FALSE(response.contains(c.bodyLacks)) << response.constData();
        }
        EXPECT_EQ(m_links.m_events.filter(QRegularExpression(u"^not delivered|^state"_s)).size(),
                  c.notDeliveredRows * 2)
            << qPrintable(m_links.m_events.join(u'\n'));
    }
}
