// Namesakes: users who share a name, or whose names differ in case alone, each keep their own
// row in the users window and the tree, their own status and their own pushes, whether they
// log on to the server or come from the call center. Names are only shown; the address decides.
#include "CDozoZedDoc.h"
#include "CMainFrame.h"
#include "CRequestSocket.h"
#include "CURLDlg.h"
#include "CUserInfo.h"
#include "CUserTable.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "CallCenterMirror.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "Tick.h"
#include "Users.h"
#include "ViewsFixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <atomic>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// What a step does; key and text of the step say to whom and what.
enum class Act {
    // key logs on under the alias in text.
    LogOn,
    // key fetches its first control page, then reports its main window gone.
    LoseMainWindow,
    // key stops polling and the sweep runs.
    TimeOut,
    // The operator logs the users window's row of key off.
    LogOff,
    // Manual Push of the address in text to every user listed.
    ManualPush,
    // The call center's assigned reply in text.
    Assigned,
    // The call center's waiting reply in text.
    Waiting,
};

struct Step
{
    Act act;
    const char *key;
    const char *text;
};

struct Case
{
    const char *title;
    std::vector<Step> steps;
    // The users window's rows, "name<TAB>address<TAB>status"; the tree shows the same users.
    QStringList rows;
    // The users the Manual Push reached, one activity each, in push order.
    QStringList pushedTo;
};

void PrintTo(const Case &item, std::ostream *out)
{
    *out << item.title;
}

// The activity list's side: the user of every push of one address.
class CPushRecorder : public CActivityLink
{
public:
    explicit CPushRecorder(const QString &address)
        : m_address(address)
    { }
    void AddActivity(const QString &user, const QString &address, bool) override
    {
        if (address == m_address)
            m_users.append(user);
    }
    void MarkSent(const QString &) override { }
    void MarkNotDelivered(const QString &, const QString &) override { }

    const QString m_address;
    QStringList m_users;
};

constexpr const char *kDeck = "http://example.org/deck";
constexpr const char *kTwoGuests
    = "#A:10.0.0.1,Guest,b,4.0,x,/p,y,z,10.0.0.2,Guest,b,4.0,x,/p,y,z;";

const Case kCases[] = {
    {"SameNameOneLosesItsMainWindow",
     {{Act::LogOn, "127.0.0.2", "Guest"},
      {Act::LogOn, "127.0.0.3", "Guest"},
      {Act::LoseMainWindow, "127.0.0.3", ""}},
     {u"Mr. Guest\t127.0.0.2\tConnected"_s, u"Mr. Guest\t127.0.0.3\tMain window lost"_s},
     {}},
    {"NamesDifferingInCaseOneLosesItsMainWindow",
     {{Act::LogOn, "127.0.0.2", "Guest"},
      {Act::LogOn, "127.0.0.3", "guest"},
      {Act::LoseMainWindow, "127.0.0.3", ""}},
     {u"Mr. Guest\t127.0.0.2\tConnected"_s, u"Mr. guest\t127.0.0.3\tMain window lost"_s},
     {}},
    {"SameNameTheSecondTimesOut",
     {{Act::LogOn, "127.0.0.2", "Ann+Lee"},
      {Act::LogOn, "127.0.0.3", "Ann+Lee"},
      {Act::TimeOut, "127.0.0.3", ""}},
     {u"Mr. Ann Lee\t127.0.0.2\tConnected"_s},
     {}},
    {"NamesDifferingInCaseTheSecondTimesOut",
     {{Act::LogOn, "127.0.0.2", "Guest"},
      {Act::LogOn, "127.0.0.3", "GUEST"},
      {Act::TimeOut, "127.0.0.3", ""}},
     {u"Mr. Guest\t127.0.0.2\tConnected"_s},
     {}},
    {"SameNameTheSecondIsLoggedOff",
     {{Act::LogOn, "127.0.0.2", "Guest"},
      {Act::LogOn, "127.0.0.3", "Guest"},
      {Act::LogOff, "127.0.0.3", ""}},
     {u"Mr. Guest\t127.0.0.2\tConnected"_s},
     {}},
    {"ALogonUnderAnotherAliasThenATimeOutLeavesNoGhost",
     {{Act::LogOn, "127.0.0.2", "Ann"},
      {Act::LogOn, "127.0.0.3", "Bo"},
      {Act::LogOn, "127.0.0.2", "Cy"},
      {Act::TimeOut, "127.0.0.2", ""}},
     {u"Mr. Bo\t127.0.0.3\tConnected"_s},
     {}},
    {"ManualPushReachesEachNamesakeOnce",
     {{Act::LogOn, "127.0.0.2", "Guest"},
      {Act::LogOn, "127.0.0.3", "Guest"},
      {Act::LogOn, "127.0.0.4", "guest"},
      {Act::ManualPush, "", kDeck}},
     {u"Mr. Guest\t127.0.0.2\tConnected"_s, u"Mr. Guest\t127.0.0.3\tConnected"_s,
      u"Mr. guest\t127.0.0.4\tConnected"_s},
     {u"127.0.0.2"_s, u"127.0.0.3"_s, u"127.0.0.4"_s}},
    {"CallCenterNamesakeListedAsWaitingLeavesTheOtherConnected",
     {{Act::Assigned, "", kTwoGuests}, {Act::Waiting, "", "#C:10.0.0.2,Guest,z;"}},
     {u"Guest\t10.0.0.1\tConnected"_s, u"Guest\t10.0.0.2\tWaiting"_s},
     {}},
    {"CallCenterWaitingNamesakeAssignedAloneIsConnected",
     {{Act::Waiting, "", "#C:10.0.0.1,Guest,z,10.0.0.2,Guest,z;"},
      {Act::Assigned, "", "#A:10.0.0.2,Guest,b,4.0,x,/p,y,z;"}},
     {u"Guest\t10.0.0.1\tWaiting"_s, u"Guest\t10.0.0.2\tConnected"_s},
     {}},
    {"CallCenterWaitingNamesakeDifferingInCaseSweptAlone",
     {{Act::Waiting, "", "#C:10.0.0.1,Guest,z,10.0.0.2,guest,z;"},
      {Act::Waiting, "", "#C:10.0.0.1,Guest,z;"}},
     {u"Guest\t10.0.0.1\tWaiting"_s},
     {}},
};

class Namesakes : public ViewsFixture, public ::testing::WithParamInterface<Case>
{
protected:
    void SetUp() override
    {
        ViewsFixture::SetUp();
        CDozoZedDoc *session = NewSession();
        ASSERT_NE(session, nullptr);
        m_port = session->m_options.m_port;
        m_view = OpenUsersWindow();
        ASSERT_NE(m_view, nullptr);
        m_activity = std::exchange(g_pActivityLink, &m_pushes);
    }
    void TearDown() override
    {
        ReleaseWaitingRecords();
        Settle();
        g_pActivityLink = m_activity;
        ViewsFixture::TearDown();
    }

    void Run(const Step &step)
    {
        const QString key = QString::fromLatin1(step.key);
        const QByteArray text(step.text);
        switch (step.act) {
        case Act::LogOn:
            ASSERT_TRUE(Logon(m_port, key, text)) << step.key;
            break;
        case Act::LoseMainWindow:
            Fetch(m_port, key, "/VS" + key.toLatin1() + ".htm");
            Fetch(m_port, key, "/VX" + key.toLatin1() + ".htm");
            break;
        case Act::TimeOut:
            TimeOut(key);
            break;
        case Act::LogOff:
            LogOff(key);
            break;
        case Act::ManualPush:
            ManualPush(QString::fromLatin1(text));
            break;
        case Act::Assigned:
            HandleAssignedReply(ParseCallCenterReply(text, 8), ++m_pollTime, m_stop);
            break;
        case Act::Waiting:
            HandleWaitingReply(ParseCallCenterReply(text, 3), ++m_pollTime, m_stop,
                               [](const QString &) {});
            break;
        }
        Settle();
    }

    static void TimeOut(const QString &key)
    {
        {
            const QMutexLocker lock(&g_userTable.Lock());
            CRequestSocket *user = g_userTable.Find(key);
            ASSERT_NE(user, nullptr);
            const auto limitMs = static_cast<quint32>(user->m_refreshSecs) * 7 * 1000;
            user->m_lastSeen = GetTickCount32() - limitMs - 1;
        }
        SweepTimedOutUsers();
    }

    void LogOff(const QString &key)
    {
        QTreeWidget *list = m_view->List();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            QTreeWidgetItem *item = list->topLevelItem(row);
            item->setSelected(item->text(CUsersView::AddressColumn) == key);
        }
        m_view->OnEnableTimer();
        AnswerBoxes({IDYES});
        m_view->LogoffButton()->click();
    }

    // Every user listed stays selected, as the dialog opens.
    void ManualPush(const QString &address)
    {
        QStringList listed;
        OnNextDialog([&listed, &address](CDialog &dialog) {
            auto &push = dynamic_cast<CURLDlg &>(dialog);
            const QTreeWidget *list = push.UsersList();
            for (int row = 0; row < list->topLevelItemCount(); ++row)
                listed.append(list->topLevelItem(row)->text(0) + u'\t'
                              + list->topLevelItem(row)->text(1));
            push.Control<QLineEdit>(IDC_REMOTE_TEXT)->setText(address);
            push.OnOK();
            return push.Result();
        });
        EXPECT_EQ(CURLDlg(m_frame.get()).DoModal(), IDOK);
        // Each row names its user and, in "Info", the user's address.
        EXPECT_EQ(listed, TreeEntries());
    }

    QStringList UsersWindowRows() const
    {
        QStringList rows;
        const QTreeWidget *list = m_view->List();
        for (int row = 0; row < list->topLevelItemCount(); ++row) {
            const QTreeWidgetItem *item = list->topLevelItem(row);
            rows.append(item->text(CUsersView::UserColumn) + u'\t'
                        + item->text(CUsersView::AddressColumn) + u'\t'
                        + item->text(CUsersView::StatusColumn));
        }
        return rows;
    }

    // The tree's users as "name<TAB>address".
    QStringList TreeEntries() const
    {
        QStringList entries;
        for (const std::unique_ptr<CUserInfo> &user : Tree()->Users())
            entries.append(user->m_name + u'\t' + user->m_address);
        return entries;
    }

    int m_port = 0;
    CUsersView *m_view = nullptr;
    quint32 m_pollTime = 1000;
    std::atomic_bool m_stop = false;
    CPushRecorder m_pushes {QString::fromLatin1(kDeck)};
    CActivityLink *m_activity = nullptr;
};

TEST_P(Namesakes, EachUserKeepsItsOwnRowStatusAndPushes)
{
    for (const Step &step : GetParam().steps) {
        Run(step);
        if (HasFatalFailure())
            return;
    }
    const QStringList &rows = GetParam().rows;
    EXPECT_EQ(UsersWindowRows(), rows);
    QStringList entries;
    QStringList names;
    for (const QString &row : rows) {
        entries.append(row.section(u'\t', 0, 1));
        names.append(row.section(u'\t', 0, 0));
    }
    EXPECT_EQ(TreeEntries(), entries);
    EXPECT_EQ(ChildTexts(Tree()->UsersItem()), names);
    EXPECT_EQ(m_pushes.m_users, GetParam().pushedTo);
}

INSTANTIATE_TEST_SUITE_P(Cases, Namesakes, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &param) {
                             return std::string(param.param.title);
                         });

} // namespace
