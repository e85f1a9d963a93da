// Measures how long the GUI thread of a serving process goes without running its timers while
// several clients download one large file at once. The server runs in this process on the
// thread that runs a 1 ms timer; every gap between two ticks beyond the 1 ms is a stall that a
// window on the same thread would show as a frozen frame.
//
//   vantro-stallprobe [--clients N] [--size-mb N] [--timeout SECS]
//
// Prints two lines, "idle ..." for a second without clients (the machine's own timer noise)
// and "load ..." for the downloads; exits 1 when a download fails.

#include "CListenSocket.h"
#include "CSvrOptions.h"
#include "HeapTuning.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sched.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// One entry per tick: how late it came, and how much processor time this thread used since the
// tick before. A late tick with little processor time means the thread was waiting for a core
// that other processes had; one with as much processor time as lateness was our own work.
class CGapLog
{
public:
    void Add(qint64 lateUs, qint64 cpuUs)
    {
        m_late.push_back(std::max<qint64>(0, lateUs));
        m_cpu.push_back(cpuUs);
    }
    void Clear()
    {
        m_late.clear();
        m_cpu.clear();
    }

    // "ticks N stall_worst_ms W stall_p99_ms P worst_cpu_ms C busy_worst_ms B": the worst and
    // 99th-percentile lateness, the processor time within the worst gap, and the most processor
    // time between two ticks anywhere.
    QString Summary() const
    {
        if (m_late.empty())
            return u"ticks 0"_s;
        const auto worst = std::max_element(m_late.begin(), m_late.end()) - m_late.begin();
        std::vector<qint64> sorted = m_late;
        std::sort(sorted.begin(), sorted.end());
        const auto p99 = static_cast<size_t>(0.99 * static_cast<double>(sorted.size() - 1) + 0.5);
        return u"ticks %1 stall_worst_ms %2 stall_p99_ms %3 worst_cpu_ms %4 busy_worst_ms %5"_s
            .arg(m_late.size())
            .arg(Milliseconds(sorted.back()), 0, 'f', 3)
            .arg(Milliseconds(sorted[p99]), 0, 'f', 3)
            .arg(Milliseconds(m_cpu[static_cast<size_t>(worst)]), 0, 'f', 3)
            .arg(Milliseconds(*std::max_element(m_cpu.begin(), m_cpu.end())), 0, 'f', 3);
    }

private:
    static double Milliseconds(qint64 us) { return static_cast<double>(us) / 1000.0; }

    std::vector<qint64> m_late;
    std::vector<qint64> m_cpu;
};

class CStallProbe : public QObject
{
public:
    CStallProbe(int clients, qint64 fileBytes, int timeoutSecs)
        : m_listener(m_options)
        , m_clients(clients)
        , m_fileBytes(fileBytes)
        , m_timeoutSecs(timeoutSecs)
    { }

    bool Start()
    {
        if (!m_root.isValid() || !WriteFile(m_root.filePath(u"big.bin"_s)))
            return Fail(u"cannot create the file to serve"_s);
        m_options.m_rootFolder = m_root.path();
        if (m_listener.Start(0) != CListenSocket::Listening)
            return Fail(u"cannot listen"_s);

        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        connect(&m_ticker, &QTimer::timeout, this, &CStallProbe::OnTick);
        m_clock.start();
        Restart();
        m_ticker.start();
        // A quiet second first: the gaps the machine shows without any load.
        QTimer::singleShot(1000, this, &CStallProbe::StartClients);
        QTimer::singleShot((m_timeoutSecs + 1) * 1000, this, [this] {
            Fail(u"timed out after %1 s"_s.arg(m_timeoutSecs));
            QCoreApplication::exit(1);
        });
        return true;
    }

private:
    bool WriteFile(const QString &path) const
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        QByteArray block(1 << 20, '\0');
        for (qsizetype i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>('a' + i % 26);
        for (qint64 left = m_fileBytes; left > 0; left -= block.size()) {
            const qint64 size = std::min<qint64>(left, block.size());
            if (file.write(block.constData(), size) != size)
                return false;
        }
        return true;
    }

    static qint64 ThreadCpuNs()
    {
        timespec now {};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<qint64>(now.tv_sec) * 1000000000 + now.tv_nsec;
    }

    void Restart()
    {
        m_stalls.Clear();
        m_lastTickNs = m_clock.nsecsElapsed();
        m_lastCpuNs = ThreadCpuNs();
    }

    void OnTick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        const qint64 cpu = ThreadCpuNs();
        m_stalls.Add((now - m_lastTickNs) / 1000 - 1000, (cpu - m_lastCpuNs) / 1000);
        m_lastTickNs = now;
        m_lastCpuNs = cpu;
    }

    QString Summary(const QString &phase) { return phase + u' ' + m_stalls.Summary(); }

    void StartClients()
    {
        Print(Summary(u"idle"_s));
        const QString url = u"http://127.0.0.1:%1/big.bin"_s.arg(m_listener.serverPort());
        m_loadClock.start();
        for (int i = 0; i < m_clients; ++i) {
            auto *client = new QProcess(this);
            client->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            // Under chrt the clients would inherit the probe's real-time priority; they run as
            // ordinary processes so that only the serving thread is favoured.
            client->setChildProcessModifier([] {
                const sched_param normal {};
                sched_setscheduler(0, SCHED_OTHER, &normal);
            });
            connect(client, &QProcess::finished, this,
                    [this, client](int code, QProcess::ExitStatus status) {
                        OnClientFinished(client, code, status);
                    });
            client->start(u"curl"_s,
                          {u"-sS"_s, u"-o"_s, u"/dev/null"_s, u"--max-time"_s,
                           QString::number(m_timeoutSecs), u"-w"_s, u"%{size_download}\\n"_s, url});
        }
        // Process start-up ran on this thread too; the downloads alone are measured.
        Restart();
        if (m_clients == 0)
            Finish();
    }

    void OnClientFinished(QProcess *client, int code, QProcess::ExitStatus status)
    {
        const qint64 size = client->readAllStandardOutput().trimmed().toLongLong();
        if (status != QProcess::NormalExit || code != 0 || size != m_fileBytes) {
            std::fprintf(stderr, "client failed: exit %d, %lld of %lld bytes\n", code,
                         static_cast<long long>(size), static_cast<long long>(m_fileBytes));
            ++m_failed;
        }
        m_bytes += size;
        if (++m_finished == m_clients)
            Finish();
    }

    void Finish()
    {
        const double seconds = static_cast<double>(m_loadClock.nsecsElapsed()) / 1e9;
        Print(Summary(u"load"_s)
              + u" clients %1 failed %2 seconds %3 mbps %4"_s.arg(m_clients)
                    .arg(m_failed)
                    .arg(seconds, 0, 'f', 3)
                    .arg(static_cast<double>(m_bytes) / seconds / 1e6, 0, 'f', 1));
        QCoreApplication::exit(m_failed == 0 ? 0 : 1);
    }

    static void Print(const QString &line) { std::printf("%s\n", qUtf8Printable(line)); }

    static bool Fail(const QString &text)
    {
        std::fprintf(stderr, "stallprobe: %s\n", qUtf8Printable(text));
        return false;
    }

    CSvrOptions m_options;
    CListenSocket m_listener;
    QTemporaryDir m_root;
    QTimer m_ticker;
    QElapsedTimer m_clock;
    QElapsedTimer m_loadClock;
    qint64 m_lastTickNs = 0;
    qint64 m_lastCpuNs = 0;
    // Wall-clock time between ticks beyond the 1 ms interval.
    CGapLog m_stalls;
    int m_clients;
    qint64 m_fileBytes;
    int m_timeoutSecs;
    int m_finished = 0;
    int m_failed = 0;
    qint64 m_bytes = 0;
};

} // namespace

int main(int argc, char **argv)
{
    // As the console does.
    KeepFreedHeap();
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Serves one large file to several curl clients and reports GUI-thread stalls."_s);
    parser.addHelpOption();
    parser.addOptions({
        {u"clients"_s, u"Concurrent downloads (default 10)."_s, u"n"_s, u"10"_s},
        {u"size-mb"_s, u"File size in MiB (default 100)."_s, u"n"_s, u"100"_s},
        {u"timeout"_s, u"Give up after this many seconds (default 60)."_s, u"secs"_s, u"60"_s},
    });
    parser.process(app);
    const int clients = parser.value(u"clients"_s).toInt();
    const int sizeMb = parser.value(u"size-mb"_s).toInt();
    const int timeoutSecs = parser.value(u"timeout"_s).toInt();
    if (clients < 0 || clients > 100 || sizeMb < 1 || sizeMb > 4096 || timeoutSecs < 1) {
        std::fprintf(stderr, "stallprobe: bad arguments\n");
        return 2;
    }
    CStallProbe probe(clients, static_cast<qint64>(sizeMb) << 20, timeoutSecs);
    if (!probe.Start())
        return 1;
    return QCoreApplication::exec();
}
