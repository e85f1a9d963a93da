// Hostile and careless peers against the real server in its own process: whatever they do, a
// probe request is answered within a second, and once they are gone the server holds no more
// descriptors and little more memory than before.
#include "CHostProcess.h"
#include "DescriptorLimit.h"
#include "Peers.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kHeadTimeoutMs = 2000;
constexpr QByteArrayView kSmallRequest = "GET /small.htm HTTP/1.0\r\n\r\n";
constexpr QByteArrayView kBigRequest = "GET /big.bin HTTP/1.0\r\n\r\n";
constexpr QByteArrayView kOk = "HTTP/1.0 200 OK\r\n";
constexpr QByteArrayView kRefused = "HTTP/1.0 503 Service Unavailable\r\n";
constexpr QByteArrayView kSmallBody = "<p>probe</p>";

void Sleep(int milliseconds)
{
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}

// Polls the condition every 50 ms; false when it still does not hold after the time.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

std::vector<int> OpenPeers(quint16 port, int count, int receiveBuffer = 0)
{
    std::vector<int> peers;
    for (int i = 0; i < count; ++i) {
        const int peer = OpenPeer(port, receiveBuffer);
        if (peer >= 0)
            peers.push_back(peer);
    }
    return peers;
}

class RobustnessTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RaiseDescriptorLimit(); }

    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        ASSERT_TRUE(WriteFileBytes(m_root.filePath(u"small.htm"_s), kSmallBody.toByteArray()));
        ASSERT_TRUE(WriteFileBytes(m_root.filePath(u"big.bin"_s), QByteArray(16 << 20, 'b')));
    }

    void StartHost(const QStringList &arguments, int descriptorLimit = 0)
    {
        ASSERT_TRUE(m_host.Start(m_root.path(),
                                 QStringList {u"--head-timeout"_s, QString::number(kHeadTimeoutMs)}
                                     + arguments,
                                 descriptorLimit));
    }

    // One request for the small page, timed from connect to close.
    QByteArray Fetch()
    {
        const int peer = OpenPeer(m_host.Port());
        if (peer < 0 || !SendBytes(peer, kSmallRequest))
            return {};
        return ReadToClose(peer, 5000);
    }

    // A fetch that must be answered in full within a second; the worst time is kept.
    void Probe()
    {
        QElapsedTimer clock;
        clock.start();
        const QByteArray response = Fetch();
        const qint64 elapsed = clock.elapsed();
        m_worstProbeMs = std::max(m_worstProbeMs, elapsed);
        EXPECT_TRUE(response.startsWith(kOk) && response.endsWith(kSmallBody))
            << response.left(300).toStdString();
        EXPECT_LT(elapsed, 1000);
    }

    // The console's own commands must not wait behind the connections either.
    void ProbeCommand()
    {
        QElapsedTimer clock;
        clock.start();
        EXPECT_GE(m_host.OpenConnections(), 0);
        m_worstCommandMs = std::max(m_worstCommandMs, clock.elapsed());
        EXPECT_LT(clock.elapsed(), 1000);
    }

    QTemporaryDir m_root;
    CHostProcess m_host;
    qint64 m_worstProbeMs = 0;
    qint64 m_worstCommandMs = 0;
};

TEST_F(RobustnessTest, AnswersProbesThroughHostilePeersAndFreesEverythingAfterwards)
{
    StartHost({});
    Probe();
    // The first large file makes the server look up its content type, once for the process.
    const int warmUp = OpenPeer(m_host.Port());
    ASSERT_TRUE(SendBytes(warmUp, "HEAD /big.bin HTTP/1.0\r\n\r\n"));
    ASSERT_TRUE(ReadToClose(warmUp, 5000).startsWith(kOk));
    const int descriptorsBefore = m_host.DescriptorCount();
    const long residentBefore = m_host.ResidentKb();

    // Requests trickling in a byte at a time, split at every place, line ends included.
    std::vector<int> slow = OpenPeers(m_host.Port(), 20);
    for (const char byte : kSmallRequest) {
        for (const int peer : slow)
            ASSERT_TRUE(SendBytes(peer, QByteArrayView(&byte, 1)));
        Sleep(10);
    }
    Probe();
    for (const int peer : slow) {
        const QByteArray response = ReadToClose(peer, 5000);
        EXPECT_TRUE(response.startsWith(kOk) && response.endsWith(kSmallBody))
            << response.left(300).toStdString();
    }

    // A slowloris keeps its heads growing past the head time-out: they are dropped unanswered.
    std::vector<int> loris = OpenPeers(m_host.Port(), 50);
    for (const int peer : loris)
        ASSERT_TRUE(SendBytes(peer, "GET /small.htm HTTP/1.0\r\nX-Wait: "));
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kHeadTimeoutMs * 3 / 2) {
        for (const int peer : loris)
            SendBytes(peer, "w", 100);
        Probe();
        Sleep(200);
    }
    for (const int peer : loris) {
        bool closed = false;
        EXPECT_EQ(ReadToClose(peer, kHeadTimeoutMs, &closed), QByteArray());
        EXPECT_TRUE(closed);
    }

    // A thousand idle connections are held, and the server and console stay responsive.
    std::vector<int> idle = OpenPeers(m_host.Port(), 1000);
    ASSERT_EQ(idle.size(), 1000u);
    EXPECT_TRUE(WaitUntil([this] { return m_host.OpenConnections() >= 1000; }, 1500));
    const int descriptorsHeld = m_host.DescriptorCount();
    Probe();
    ProbeCommand();
    for (const int peer : idle)
        ClosePeer(peer);

    // Bursts of 200 connections, each answered in full.
    for (int burst = 0; burst < 3; ++burst) {
        std::vector<int> peers = OpenPeers(m_host.Port(), 200);
        for (const int peer : peers)
            ASSERT_TRUE(SendBytes(peer, kSmallRequest));
        Probe();
        int answered = 0;
        for (const int peer : peers)
            answered += ReadToClose(peer, 5000).endsWith(kSmallBody);
        EXPECT_EQ(answered, 200);
    }

    // Peers that reset their connections in the middle of a large file.
    for (const int peer : OpenPeers(m_host.Port(), 30)) {
        ASSERT_TRUE(SendBytes(peer, kBigRequest));
        QByteArray received;
        WaitUntil([&] { return (received += ReadAvailable(peer, 1 << 20)).size() >= 65536; }, 2000);
        EXPECT_GE(received.size(), 65536);
        ResetPeer(peer);
    }
    Probe();

    // Readers that stop reading: the server must not wait for them.
    std::vector<int> stalled = OpenPeers(m_host.Port(), 20, 4096);
    for (const int peer : stalled)
        ASSERT_TRUE(SendBytes(peer, kBigRequest));
    for (int i = 0; i < 5; ++i) {
        Probe();
        Sleep(200);
    }
    ProbeCommand();
    for (const int peer : stalled)
        ResetPeer(peer);

    EXPECT_TRUE(WaitUntil([this] { return m_host.OpenConnections() == 0; }, 5000));
    const int descriptorsAfter = m_host.DescriptorCount();
    const long residentAfter = m_host.ResidentKb();
    std::printf("probe worst latency %lld ms, command worst latency %lld ms\n"
                "descriptors before %d, with 1000 idle peers %d, after %d\n"
                "VmRSS before %ld kB, after %ld kB\n",
                static_cast<long long>(m_worstProbeMs), static_cast<long long>(m_worstCommandMs),
                descriptorsBefore, descriptorsHeld, descriptorsAfter, residentBefore,
                residentAfter);
    EXPECT_GE(descriptorsHeld, descriptorsBefore + 1000);
    EXPECT_EQ(descriptorsAfter, descriptorsBefore);
#ifndef __SANITIZE_ADDRESS__
    // The allocator keeps some freed memory for later; a leak of every connection would not fit.
    // AddressSanitizer holds back freed memory on purpose, so it is not measured there.
    EXPECT_LT(residentAfter, residentBefore + 16 * 1024);
#endif
}

TEST_F(RobustnessTest, RefusesConnectionsPastTheCapWithoutHurtingThoseServed)
{
    StartHost({u"--max-connections"_s, u"40"_s});
    std::vector<int> held = OpenPeers(m_host.Port(), 40);
    ASSERT_TRUE(SendBytes(held.front(), "GET /small.htm HTTP/1.0\r\n"));
    ASSERT_TRUE(WaitUntil([this] { return m_host.OpenConnections() == 40; }, 1500));

    // A peer that sends its request after the refusal closed may see the reset before the 503.
    int answered503 = 0;
    for (int i = 0; i < 10; ++i) {
        const QByteArray refused = Fetch();
        EXPECT_TRUE(refused.isEmpty() || refused.startsWith(kRefused)) << refused.toStdString();
        answered503 += refused.startsWith(kRefused);
    }
    EXPECT_GT(answered503, 0);
    EXPECT_EQ(m_host.OpenConnections(), 40);

    // The connection that was held all along is still served.
    ASSERT_TRUE(SendBytes(held.front(), "\r\n"));
    const QByteArray response = ReadToClose(held.front(), 5000);
    EXPECT_TRUE(response.startsWith(kOk) && response.endsWith(kSmallBody))
        << response.left(300).toStdString();
    for (size_t i = 1; i < held.size(); ++i)
        ClosePeer(held[i]);
    ASSERT_TRUE(WaitUntil([this] { return m_host.OpenConnections() == 0; }, 2000));
    Probe();
}

TEST_F(RobustnessTest, AcceptsAgainOnceDescriptorsRunOutAndFree)
{
    // A cap above what the descriptors hold: accepting fails for want of descriptors.
    StartHost({u"--max-connections"_s, u"1000"_s}, 128);
    std::vector<int> idle = OpenPeers(m_host.Port(), 200);
    Sleep(300);
    for (const int peer : idle)
        ClosePeer(peer);
    Sleep(kHeadTimeoutMs / 4);
    bool served = false;
    WaitUntil([&] { return served = Fetch().startsWith(kOk); }, 3000);
    EXPECT_TRUE(served);
}

} // namespace
