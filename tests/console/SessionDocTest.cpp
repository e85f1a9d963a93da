// The session document: start, stop and restart with their log lines, the Session Properties
// rules, closing with users attached, and the session file.
#include "CArchive.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CListenSocket.h"
#include "CSessionClientPage.h"
#include "CSessionFile.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CUserTable.h"
#include "ConsoleFixture.h"
#include "LocalHost.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// While it lives, this thread lacks the right to listen on low ports, as an ordinary account
// does; for such an account it changes nothing.
class CNoLowPortRight
{
public:
    CNoLowPortRight()
    {
        syscall(SYS_capget, &m_header, m_saved);
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~(1u << CAP_NET_BIND_SERVICE);
        syscall(SYS_capset, &m_header, lowered);
    }
    ~CNoLowPortRight() { syscall(SYS_capset, &m_header, m_saved); }

    CNoLowPortRight(const CNoLowPortRight &) = delete;
    CNoLowPortRight &operator=(const CNoLowPortRight &) = delete;

private:
    __user_cap_header_struct m_header {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2] {};
};

const QString kRestartQuestion
    = u"You must restart the server for these changes to take effect.  Restart Now?"_s;
const QString kUsersQuestion = u"There are attached clients, shutdown anyway?"_s;
const QString kRunningSession = u"A Vantro session is currently running.  Please\n \t\t\t        "
                                "       close it before opening a new session."_s;
// "Session started Monday, December 07, 2026 09:39:25" and its stop twin.
const QRegularExpression kLogLine(
    u"^Session (started|stopped) (Monday|Tuesday|Wednesday|Thursday|Friday|Saturday|Sunday), "
    "[A-Z][a-z]+ \\d\\d, \\d{4} \\d\\d:\\d\\d:\\d\\d$"_s);

QStringList LogLines(const QByteArray &bytes)
{
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    QStringList lines = QString::fromLatin1(bytes).split(u"\r\n"_s);
    lines.removeLast();
    return lines;
}

QByteArray StoredOptions(CSvrOptions options)
{
    CArchive archive;
    options.Serialize(archive);
    return archive.Bytes();
}

class SessionDoc : public ConsoleFixture
{
protected:
    // Session Properties with the edit, then OK.
    void EditProperties(CDozoZedDoc &document, SheetEdit edit)
    {
        OnNextSheet(std::move(edit));
        document.OnProperties();
    }
    static void SetPort(CSessionSheet &sheet, int port)
    {
        sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
    }
};

TEST_F(SessionDoc, NewSessionListensTitledWithTheAddressAndLogsItsStart)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(g_pSessionDoc, document);
    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), document->m_options.m_port);
    EXPECT_EQ(document->GetTitle(), u" (http://127.0.0.1:%1)"_s.arg(document->m_options.m_port));
    EXPECT_EQ(document->GetPathName(), Path(u"Untitled Session.vnt"_s));
    const QStringList lines = LogLines(LogBytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("Session started "_L1)) << lines[0].toStdString();
    EXPECT_TRUE(kLogLine.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_TRUE(m_boxes.isEmpty());
}

TEST_F(SessionDoc, CancelledSheetCreatesNoSession)
{
    OnNextDialog([](CDialog &) { return static_cast<int>(IDCANCEL); });
    EXPECT_EQ(m_sessionTemplate->OpenDocumentFile({}), nullptr);
    EXPECT_EQ(g_pSessionDoc, nullptr);
    EXPECT_TRUE(m_sessionTemplate->GetDocuments().isEmpty());
    EXPECT_TRUE(LogBytes().isEmpty());
}

TEST_F(SessionDoc, PortInUseShowsItsTextAndLeavesTheDocumentOpenWithoutSocket)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, 0));
    const int busy = holder.serverPort();
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);

    AnswerBoxes({IDYES});
    EditProperties(*document, [busy](CSessionSheet &sheet) { SetPort(sheet, busy); });

    ASSERT_EQ(m_boxes.size(), 2);
    EXPECT_EQ(m_boxes[0].text, kRestartQuestion);
    EXPECT_EQ(m_boxes[1].text,
              u"Port %1 is already in use!\n\nMake sure there is no other applications or "
              "instances of Vantro running that are already bound to that port."_s.arg(busy));
    EXPECT_EQ(m_boxes[1].style, unsigned(MB_ICONSTOP));
    EXPECT_EQ(g_pSessionDoc, document);
    EXPECT_EQ(document->m_pListenSocket, nullptr);
    EXPECT_EQ(document->m_options.m_port, busy);
    EXPECT_EQ(m_sessionTemplate->GetDocuments(), QList<CDocument *> {document});
}

TEST_F(SessionDoc, ALowPortWithoutTheRightSaysSoAndWhereToChooseAnother)
{
    const QByteArray firstOpen = ReadFileBytes(u"/proc/sys/net/ipv4/ip_unprivileged_port_start"_s);
    if (firstOpen.trimmed() == "0")
        GTEST_SKIP() << "every port is open to every account on this machine";
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    AnswerBoxes({IDYES});
    {
        const CNoLowPortRight ordinaryAccount;
        EditProperties(*document, [](CSessionSheet &sheet) { SetPort(sheet, 80); });
    }
    ASSERT_EQ(m_boxes.size(), 2);
    EXPECT_EQ(m_boxes[1].text,
              u"Can't listen on port 80: permission denied.\n\nPorts below 1024 need a privilege "
              "this account does not have. Choose a port above 1023 in Session Properties > "
              "Server > Settings..."_s);
    EXPECT_EQ(m_boxes[1].style, unsigned(MB_ICONSTOP));
    EXPECT_FALSE(document->IsRunning());
}

TEST_F(SessionDoc, NewSessionOnABusyPortStaysOpenButStopped)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, 0));
    const int busy = holder.serverPort();
    CDozoZedDoc *document = NewSession([busy](CSessionSheet &sheet) { SetPort(sheet, busy); });
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_TRUE(m_boxes[0].text.startsWith(u"Port %1 is already in use!"_s.arg(busy)));
    EXPECT_EQ(g_pSessionDoc, document);
    EXPECT_FALSE(document->IsRunning());
    EXPECT_EQ(document->m_options.m_port, busy);

    holder.close();
    EXPECT_TRUE(document->OnCmdMsg(ID_RESTART_SERVER));
    EXPECT_TRUE(document->IsRunning());
}

TEST_F(SessionDoc, SessionFileOnABusyPortOpensStoppedAndModified)
{
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::AnyIPv4, 0));
    CSessionFile file;
    file.m_options.m_port = holder.serverPort();
    file.m_options.m_rootFolder = m_dir.path();
    ASSERT_EQ(file.SaveSessionFile(Path(u"busy.vnt"_s)), QString());

    auto *document = static_cast<CDozoZedDoc *>(m_manager->OpenDocumentFile(Path(u"busy.vnt"_s)));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(m_boxes.size(), 1);
    EXPECT_FALSE(document->IsRunning());
    EXPECT_TRUE(document->IsModified());
    EXPECT_EQ(document->GetPathName(), Path(u"busy.vnt"_s));
}

TEST_F(SessionDoc, PortBeyondSixteenBitsCannotListenInsteadOfAnotherPort)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    document->m_options.m_port = 65536 + 80;
    EXPECT_FALSE(document->StartServer());
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_TRUE(m_boxes[0].text.startsWith(u"Can't listen on port 65616!"_s));
    EXPECT_FALSE(document->IsRunning());
}

TEST_F(SessionDoc, ChangingOnlyRefreshDelayOrLogFileAsksNothingAndKeepsServing)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    const QByteArray logBefore = LogBytes();
    const int port = document->m_options.m_port;
    // The new session's sheet already changed the port and the log-file flag.
    document->SetModifiedFlag(false);

    EditProperties(*document, [this](CSessionSheet &sheet) {
        SetControlText(*sheet.m_pClientPage, IDC_REFRESH, u"7"_s);
        SetControlText(*sheet.m_pClientPage, IDC_DOWNLOAD_DELAY, u"3"_s);
        SetControlText(*sheet.m_pServerPage, IDC_LOG_FILE, u"other.log"_s);
    });

    EXPECT_TRUE(m_boxes.isEmpty());
    EXPECT_EQ(document->m_options.m_refreshSecs, 7);
    EXPECT_EQ(document->m_options.m_downloadDelaySecs, 3);
    EXPECT_EQ(document->m_options.m_logFileName, u"other.log"_s);
    EXPECT_TRUE(document->IsModified());
    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), port);
    EXPECT_EQ(LogBytes(), logBefore);
    EXPECT_FALSE(QFile::exists(Path(u"other.log"_s)));
}

TEST_F(SessionDoc, ProfileSettingsAreKeptInTheProfileAndLeaveTheSessionFileAlone)
{
    struct Flag
    {
        int checkBox;
        QString key;
        qint32 CSvrOptions::*field;
    };
    const Flag flags[] = {
        {IDC_INSTANT_DELIVERY, u"Settings/InstantDelivery"_s, &CSvrOptions::m_instantDelivery},
        {IDC_BRING_LATE_JOINERS, u"Settings/BringLateJoiners"_s, &CSvrOptions::m_bringLateJoiners},
    };
    for (const Flag &flag : flags) {
        CDozoZedDoc *document = NewSession();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->m_options.*flag.field, 1)
            << "on by default: " << flag.key.toStdString();
        document->SetModifiedFlag(false);
        EditProperties(*document, [&flag](CSessionSheet &sheet) {
            sheet.m_pClientPage->Control<QAbstractButton>(flag.checkBox)->setChecked(false);
        });
        EXPECT_TRUE(m_boxes.isEmpty());
        EXPECT_EQ(document->m_options.*flag.field, 0);
        EXPECT_FALSE(document->IsModified()) << "the session file does not hold it";
        EXPECT_FALSE(QSettings().value(flag.key).toBool());
        EXPECT_EQ(CDozoZedDoc().m_options.*flag.field, 0) << "the next session takes it";
        QSettings().remove(flag.key);
        document->OnCloseDocument();
        Settle();
    }
}

TEST_F(SessionDoc, ChangingThePortAsksAndNoKeepsEveryOldValue)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    const QByteArray before = StoredOptions(document->m_options);
    const int port = document->m_options.m_port;
    const int newPort = FreePort();
    document->SetModifiedFlag(false);

    AnswerBoxes({IDNO});
    EditProperties(*document, [this, newPort](CSessionSheet &sheet) {
        SetPort(sheet, newPort);
        SetControlText(*sheet.m_pClientPage, IDC_REFRESH, u"8"_s);
        sheet.m_pServerPage->m_operatorName = u"Eve"_s;
    });

    ASSERT_EQ(BoxTexts(), QStringList {kRestartQuestion});
    EXPECT_EQ(m_boxes[0].style, unsigned(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(StoredOptions(document->m_options), before);
    EXPECT_FALSE(document->IsModified());
    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), port);
}

TEST_F(SessionDoc, EveryListeningSettingAsks)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    const std::function<void(CSessionSheet &)> edits[] = {
        [](CSessionSheet &sheet) { sheet.m_pServerPage->m_rootFolder += u"/x"_s; },
        [](CSessionSheet &sheet) { sheet.m_pServerPage->m_callCenterServer = u"h"_s; },
        [](CSessionSheet &sheet) { sheet.m_pServerPage->m_callCenterPath = u"p"_s; },
        [](CSessionSheet &sheet) { sheet.m_pServerPage->m_port += 1; },
    };
    for (const auto &edit : edits) {
        m_boxes.clear();
        AnswerBoxes({IDNO});
        EditProperties(*document, edit);
        EXPECT_EQ(BoxTexts(), QStringList {kRestartQuestion});
    }
}

TEST_F(SessionDoc, RestartLogBeginsWithTheNewStartLineThenTheOldStopLine)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    const int newPort = FreePort();
    AnswerBoxes({IDYES});
    EditProperties(*document, [newPort](CSessionSheet &sheet) { SetPort(sheet, newPort); });

    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), newPort);
    EXPECT_TRUE(document->IsModified());
    const QStringList lines = LogLines(LogBytes());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("Session started "_L1));
    EXPECT_TRUE(lines[1].startsWith("Session stopped "_L1));
    EXPECT_TRUE(kLogLine.match(lines[1]).hasMatch()) << lines[1].toStdString();
}

TEST_F(SessionDoc, RestartCommandStartsAgainOnTheSamePort)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    document->StopServer();
    EXPECT_FALSE(document->IsRunning());
    EXPECT_TRUE(document->OnCmdMsg(ID_RESTART_SERVER));
    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), document->m_options.m_port);
    const QStringList lines = LogLines(LogBytes());
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("Session started "_L1));
}

TEST_F(SessionDoc, ClosingWithUsersAttachedAsksOnceAndCancelKeepsServing)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(Logon(document->m_options.m_port, u"127.0.0.2"_s));
    ASSERT_TRUE(Logon(document->m_options.m_port, u"127.0.0.3"_s));
    m_boxes.clear();

    AnswerBoxes({IDCANCEL});
    document->OnCloseDocument();
    ASSERT_EQ(BoxTexts(), QStringList {kUsersQuestion});
    EXPECT_EQ(m_boxes[0].style, unsigned(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_EQ(g_pSessionDoc, document);
    EXPECT_TRUE(document->IsRunning());

    AnswerBoxes({IDOK});
    document->OnCloseDocument();
    EXPECT_EQ(m_boxes.size(), 2);
    EXPECT_EQ(g_pSessionDoc, nullptr);
    {
        const QMutexLocker lock(&g_userTable.Lock());
        EXPECT_EQ(g_userTable.Size(), 0);
    }
    const QStringList lines = LogLines(LogBytes());
    EXPECT_TRUE(lines.last().startsWith("Session stopped "_L1));
}

TEST_F(SessionDoc, ClosingAfterTheExitConfirmationAsksNothing)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(Logon(document->m_options.m_port, u"127.0.0.2"_s));
    m_boxes.clear();
    g_bExitConfirmed = true;
    document->OnCloseDocument();
    EXPECT_TRUE(m_boxes.isEmpty());
    EXPECT_EQ(g_pSessionDoc, nullptr);
}

TEST_F(SessionDoc, ClosingWithoutUsersAsksNothing)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    document->OnCloseDocument();
    EXPECT_TRUE(m_boxes.isEmpty());
    EXPECT_EQ(g_pSessionDoc, nullptr);
    Settle();
    EXPECT_TRUE(m_sessionTemplate->GetDocuments().isEmpty());
}

TEST_F(SessionDoc, SecondSessionIsRefusedWithTheRunningSessionText)
{
    ASSERT_NE(NewSession(), nullptr);
    EXPECT_EQ(m_sessionTemplate->OpenDocumentFile({}), nullptr);
    EXPECT_EQ(m_sessionTemplate->OpenDocumentFile(Path(u"other.vnt"_s)), nullptr);
    EXPECT_EQ(BoxTexts(), (QStringList {kRunningSession, kRunningSession}));
    EXPECT_EQ(m_sessionTemplate->GetDocuments().size(), 1);
}

TEST_F(SessionDoc, SavedSessionOpensWithEverySetting)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    CSvrOptions &options = document->m_options;
    options.m_callCenterOption = 3;
    options.m_callCenterPath = u"cgi/x.cgi"_s;
    options.m_callCenterServer = u"192.0.2.99"_s;
    options.m_operatorName = u"Zo\u00eb"_s;
    options.m_playEveryFrame = u"TRUE"_s;
    options.m_autoPlay = u"TRUE"_s;
    options.m_logFileName = u"session.log"_s;
    options.m_logEnabled = 1;
    options.m_downloadDelaySecs = 9;
    options.m_refreshSecs = 2;
    options.m_busyPage = u"\\b.htm"_s;
    options.m_logoffPage = u"\\o.htm"_s;
    options.m_logonPage = u"\\i.htm"_s;
    options.m_welcomePage = u"\\w.htm"_s;
    options.m_backgroundImage = u"back.gif"_s;
    g_favorites = {std::make_shared<CFavorite>(u"Home"_s, u"http://example.org/"_s)};
    g_addressHistory = {u"example.org"_s};
    document->m_scriptPaths = {u"/scripts/a.vns"_s};
    const QByteArray saved = StoredOptions(options);
    ASSERT_TRUE(document->DoSave(Path(u"full.vnt"_s)));
    document->OnCloseDocument();
    Settle();
    g_favorites.clear();
    g_addressHistory.clear();

    auto *reopened
        = static_cast<CDozoZedDoc *>(m_sessionTemplate->OpenDocumentFile(Path(u"full.vnt"_s)));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(StoredOptions(reopened->m_options), saved);
    ASSERT_EQ(g_favorites.size(), 1);
    EXPECT_EQ(g_favorites[0]->m_address, u"http://example.org/"_s);
    EXPECT_EQ(g_addressHistory, QStringList {u"example.org"_s});
    EXPECT_EQ(reopened->m_scriptPaths, QStringList {u"/scripts/a.vns"_s});
    EXPECT_EQ(reopened->GetPathName(), Path(u"full.vnt"_s));
    EXPECT_FALSE(reopened->IsModified());
    EXPECT_TRUE(reopened->IsRunning());
    g_favorites.clear();
    g_addressHistory.clear();
}

TEST_F(SessionDoc, SessionFileOfTheServerCoreOpensAndServes)
{
    CSessionFile file;
    file.m_options.m_port = FreePort();
    file.m_options.m_rootFolder = m_dir.path();
    file.m_options.m_refreshSecs = 3;
    file.m_options.m_welcomePage = u"\\hello.htm"_s;
    ASSERT_EQ(file.SaveSessionFile(Path(u"core.vnt"_s)), QString());

    auto *document = static_cast<CDozoZedDoc *>(m_manager->OpenDocumentFile(Path(u"core.vnt"_s)));
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(StoredOptions(document->m_options), StoredOptions(file.m_options));
    ASSERT_TRUE(document->IsRunning());
    EXPECT_EQ(document->m_pListenSocket->serverPort(), file.m_options.m_port);
    EXPECT_TRUE(m_boxes.isEmpty());
}

TEST_F(SessionDoc, DamagedSessionFileIsRefusedWithTheFrameworkText)
{
    ASSERT_TRUE(WriteFileBytes(Path(u"bad.vnt"_s),
                               QByteArray("\x05"
                                          "abc",
                                          4)));
    EXPECT_EQ(m_manager->OpenDocumentFile(Path(u"bad.vnt"_s)), nullptr);
    EXPECT_EQ(BoxTexts(), QStringList {u"Unexpected file format."_s});
    EXPECT_EQ(g_pSessionDoc, nullptr);
    EXPECT_TRUE(LogBytes().isEmpty());
}

TEST_F(SessionDoc, SaveItemsCarryTheSessionTexts)
{
    CDozoZedDoc *document = NewSession();
    ASSERT_NE(document, nullptr);
    document->SetModifiedFlag(false);
    CCmdUI save(ID_FILE_SAVE);
    RouteUpdate({document}, save);
    EXPECT_EQ(save.m_enabled, false);
    EXPECT_EQ(save.m_text, u"&Save Session Settings"_s);
    document->SetModifiedFlag();
    RouteUpdate({document}, save);
    EXPECT_EQ(save.m_enabled, true);
    CCmdUI saveAs(ID_FILE_SAVE_AS);
    RouteUpdate({document}, saveAs);
    EXPECT_EQ(saveAs.m_text, u"Save Session Settings &As..."_s);
}

TEST_F(SessionDoc, WithoutAnAddressOthersReachTheTitleWarnsOnceAndNamesLoopback)
{
    SetLocalHostLookup([] { return LocalHostLookup {false, u"127.0.0.1"_s, 2}; });
    CDozoZedDoc document;
    document.SetTitle(u"anything"_s);
    document.SetTitle(u"again"_s);
    EXPECT_EQ(document.GetTitle(), u" (http://127.0.0.1)"_s);
    EXPECT_TRUE(m_boxes.isEmpty()) << "the warning waits until the step has finished";
    Settle();
    EXPECT_EQ(BoxTexts(), QStringList {u"WARNING: Your network connection is not active! (2)"_s});
    EXPECT_EQ(m_boxes[0].style, unsigned(MB_ICONEXCLAMATION));
}

} // namespace
