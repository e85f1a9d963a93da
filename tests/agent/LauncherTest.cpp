// The client launcher: its list rules, and launches over loopback, to listeners that record
// the order of contact and to the real launch agent program.
#include "CClientTestDlg.h"
#include "CDozoZedDoc.h"
#include "ConsoleFixture.h"
#include "LocalHost.h"
#include "ResourceIds.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class Launcher : public ConsoleFixture
{
protected:
    void SetUp() override
    {
        ConsoleFixture::SetUp();
        // Opened as the main frame opens it; the test then works its controls.
        OnNextDialog([](CDialog &) { return static_cast<int>(IDCANCEL); });
        m_dialog.DoModal();
    }
    void Add(const QString &client)
    {
        m_dialog.Control<QLineEdit>(IDC_CLIENT_NAME)->setText(client);
        m_dialog.OnAddClient();
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (int row = 0; row < m_dialog.List()->topLevelItemCount(); ++row)
            rows.append(m_dialog.List()->topLevelItem(row)->text(0));
        return rows;
    }
    void SelectAll()
    {
        for (int row = 0; row < m_dialog.List()->topLevelItemCount(); ++row)
            m_dialog.List()->topLevelItem(row)->setSelected(true);
    }
    void SetPort(const QString &text)
    {
        m_dialog.Control<QLineEdit>(IDC_CLIENT_PORT)->setText(text);
    }

    CClientTestDlg m_dialog;
};

TEST_F(Launcher, AddingFollowsThePrefixRuleAndRemovingTakesTheSelectedRows)
{
    EXPECT_EQ(m_dialog.Control<QLineEdit>(IDC_CLIENT_PORT)->text(), u"1500"_s);
    auto *add = m_dialog.Control<QAbstractButton>(IDC_ADD_CLIENT);
    EXPECT_FALSE(add->isEnabled());
    Add(u"10.0.0.15"_s);
    EXPECT_TRUE(add->isEnabled());
    Add(u"10.0.0.1"_s);
    EXPECT_EQ(BoxTexts(), QStringList {u"Client already exists"_s});
    Add(u"10.0.0.16"_s);
    Add(u"PC-Ann"_s);
    Add(u"pc-a"_s);
    EXPECT_EQ(Rows(), (QStringList {u"PC-Ann"_s, u"10.0.0.16"_s, u"10.0.0.15"_s}));
    EXPECT_EQ(BoxTexts().size(), 2);

    m_dialog.OnEnableTimer();
    EXPECT_FALSE(m_dialog.Control<QAbstractButton>(IDC_LAUNCH_CLIENTS)->isEnabled());
    m_dialog.List()->topLevelItem(0)->setSelected(true);
    m_dialog.List()->topLevelItem(2)->setSelected(true);
    m_dialog.OnEnableTimer();
    EXPECT_TRUE(m_dialog.Control<QAbstractButton>(IDC_REMOVE_CLIENTS)->isEnabled());
    m_dialog.OnRemoveClients();
    EXPECT_EQ(Rows(), QStringList {u"10.0.0.16"_s});
    EXPECT_FALSE(m_dialog.Control<QAbstractButton>(IDC_LAUNCH_CLIENTS)->isEnabled());
}

TEST_F(Launcher, SelectedMachinesAreContactedBottomRowFirstWithExactlyTheAddress)
{
    // Two "machines" on one port, told apart by their loopback addresses.
    QTcpServer second;
    ASSERT_TRUE(second.listen(QHostAddress(u"127.0.0.3"_s), 0));
    QTcpServer first;
    ASSERT_TRUE(first.listen(QHostAddress(u"127.0.0.2"_s), second.serverPort()));
    QStringList contacted;
    QList<QByteArray> received;
    for (QTcpServer *machine : {&first, &second}) {
        QObject::connect(machine, &QTcpServer::newConnection, machine, [&, machine] {
            QTcpSocket *socket = machine->nextPendingConnection();
            contacted.append(machine->serverAddress().toString());
            received.append(QByteArray());
            const qsizetype index = received.size() - 1;
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [&, socket, index] { received[index] += socket->readAll(); });
        });
    }
    Add(u"127.0.0.2"_s);
    Add(u"127.0.0.3"_s);
    SelectAll();
    SetPort(QString::number(second.serverPort()) + u" (agents)"_s);
    m_dialog.OnLaunchClients();
    EXPECT_TRUE(WaitFor([&] { return received.size() == 2 && received.last().size() >= 16; }));
    EXPECT_EQ(contacted, (QStringList {u"127.0.0.2"_s, u"127.0.0.3"_s}));
    EXPECT_EQ(received, (QList<QByteArray> {"http://127.0.0.1", "http://127.0.0.1"}));
    EXPECT_EQ(BoxTexts(), QStringList());
    EXPECT_EQ(m_dialog.StatusLine()->text(), QString());
}

TEST_F(Launcher, TheRealAgentOpensTheConsoleAddressAndBadPortsOrNoNetworkSaySo)
{
    const QString program = Path(u"record-open"_s);
    ASSERT_TRUE(WriteFileBytes(
        program, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.log\"\n"));
    // The log appears whole, by a rename, so that it is never read half written.
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const int port = FreePort();
    QProcess agent;
    agent.start(QString::fromUtf8(VANTRO_AGENT),
                {u"--port"_s, QString::number(port), u"--open-with"_s, program});
    ASSERT_TRUE(agent.waitForStarted());
    ASSERT_TRUE(WaitFor([&] { return agent.readAllStandardOutput().contains("listening"); }));

    // The address users join the session at, port and all.
    const CDozoZedDoc *session = NewSession();
    ASSERT_NE(session, nullptr);
    Add(u"127.0.0.1"_s);
    SelectAll();
    SetPort(QString::number(port));
    m_dialog.OnLaunchClients();
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(program + u".log"_s); }));
    EXPECT_EQ(ReadFileBytes(program + u".log"_s),
              u"http://127.0.0.1:%1"_s.arg(session->m_options.m_port).toLatin1());
    EXPECT_EQ(BoxTexts(), QStringList());

    SetPort(u"abc"_s);
    m_dialog.OnLaunchClients();
    EXPECT_EQ(BoxTexts(), QStringList {u"Could not launch client 127.0.0.1 (-2)"_s});

    SetLocalHostLookup([] { return LocalHostLookup {false, {}, 2}; });
    m_dialog.OnLaunchClients();
    ASSERT_EQ(m_boxes.size(), 2);
    EXPECT_EQ(m_boxes.last().text, u"WARNING: Your network connection is not active! (2)"_s);
    EXPECT_EQ(m_boxes.last().style, static_cast<unsigned>(MB_ICONEXCLAMATION));
    agent.kill();
    agent.waitForFinished();
    EXPECT_EQ(agent.readAllStandardError(), QByteArray());
}

} // namespace
