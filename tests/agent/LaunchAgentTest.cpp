// The launch agent over loopback: what it accepts, what it refuses, and that one silent
// launcher holds it for ten seconds at most.
#include "AgentAddress.h"
#include "CLaunchAgent.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(AgentAddress, OnlyHttpAddressesOfAHostWithPlainPathsAreAccepted)
{
    const struct
    {
        QByteArray text;
        bool accepted;
    } cases[] = {
        {"http://192.168.1.20", true},
        {"http://presenter.example.org:8080/talks/intro.htm?part=2&x=%20", true},
        {"http://host-1/", true},
        {"https://192.168.1.20", false},
        {"javascript:alert(1)", false},
        {"http://x;rm -rf ~", false},
        {"http://x/$(reboot)", false},
        {"http://x/a b", false},
        {"http://x/\"quoted\"", false},
        {"http://x/%zz", false},
        {"http://256.1.1.1", false},
        {"http://1.2.3", false},
        {"http://-host", false},
        {"http://", false},
        {"http://host:0", false},
        {"http://host:65536", false},
        {"http://host:80x", false},
        {"http://host\n", false},
        {"file:///etc/passwd", false},
        {"", false},
    };
    for (const auto &item : cases)
        EXPECT_EQ(IsLaunchAddress(item.text), item.accepted) << item.text.constData();
}

class LaunchAgent : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString program = m_dir.filePath(u"record-open"_s);
        ASSERT_TRUE(WriteFileBytes(program, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$0.log\"\n"));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_agent = std::make_unique<CLaunchAgent>(
            program, [this](const QString &line) { m_refusals.append(line); });
        ASSERT_TRUE(m_agent->Listen(QHostAddress::LocalHost, 0));
    }

    QByteArray Opened() const { return ReadFileBytes(m_dir.filePath(u"record-open.log"_s)); }

    // Connects, sends the bytes and, when asked, closes.
    std::unique_ptr<QTcpSocket> Send(const QByteArray &bytes, bool close = true)
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, m_agent->Port());
        EXPECT_TRUE(WaitFor([&] { return socket->state() == QAbstractSocket::ConnectedState; }));
        socket->write(bytes);
        if (close)
            socket->disconnectFromHost();
        return socket;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CLaunchAgent> m_agent;
    QStringList m_refusals;
};

TEST_F(LaunchAgent, RefusesWhatIsNoAddressOrTooLongAndOpensNothing)
{
    const QByteArray refused[]
        = {"javascript:alert(1)", "http://x;rm -rf ~", "http://host/" + QByteArray(3 * 1024, 'a')};
    for (const QByteArray &text : refused) {
        const qsizetype before = m_refusals.size();
        const auto socket = Send(text);
        ASSERT_TRUE(WaitFor([&] { return m_refusals.size() > before; }))
            << text.left(40).constData();
        EXPECT_TRUE(m_refusals.last().startsWith(u"refused: "_s))
            << m_refusals.last().toStdString();
    }
    EXPECT_TRUE(m_refusals.last().contains(u"longer than 2048 bytes"_s))
        << m_refusals.last().toStdString();
    // An accepted address after them shows that the open program works and nothing else ran.
    const auto socket = Send("http://127.0.0.1");
    ASSERT_TRUE(WaitFor([&] { return !Opened().isEmpty(); }));
    EXPECT_EQ(Opened(), "http://127.0.0.1\n");
}

TEST_F(LaunchAgent, ASilentLauncherIsCutAfterTenSecondsAndTheNextOneIsServed)
{
    QElapsedTimer clock;
    clock.start();
    const auto silent = Send({}, false);
    const auto next = Send("http://10.0.0.7");
    ASSERT_TRUE(WaitFor([&] { return !Opened().isEmpty(); }, 20000));
    EXPECT_GE(clock.elapsed(), CLaunchAgent::kReadTimeoutMs - 500);
    EXPECT_EQ(m_refusals, QStringList {u"refused: no complete address within 10 seconds"_s});
    EXPECT_EQ(Opened(), "http://10.0.0.7\n");
    EXPECT_TRUE(WaitFor([&] { return silent->state() == QAbstractSocket::UnconnectedState; }));
}

} // namespace
