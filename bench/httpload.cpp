// A load client for one-request-per-connection servers: keeps a fixed number of connections
// busy, each sending one GET and reading the answer until the server closes. It never needs a
// Content-Length, so servers that end the body by closing are measured like those that send
// one.
//
//   httpload PORT PATH CONCURRENCY SECONDS
//
// Prints one line: "requests N failed N bytes N seconds S rps R mbps M" (mbps: MB/s of
// response bytes, 1 MB = 10^6 bytes).

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using CClock = std::chrono::steady_clock;

struct CSlot
{
    int m_fd = -1;
    size_t m_sent = 0;
    size_t m_received = 0;
    char m_head[16] = {};
};

class CLoad
{
public:
    CLoad(int port, const std::string &path, int concurrency)
        : m_slots(static_cast<size_t>(concurrency))
        , m_buffer(256 * 1024)
    {
        m_address.sin_family = AF_INET;
        m_address.sin_port = htons(static_cast<uint16_t>(port));
        m_address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        m_epoll = epoll_create1(0);
    }

    ~CLoad()
    {
        for (CSlot &slot : m_slots)
            if (slot.m_fd >= 0)
                close(slot.m_fd);
        close(m_epoll);
    }

    // Runs until the time is up; requests still open then are not counted.
    double Run(double seconds)
    {
        const auto start = CClock::now();
        const auto end = start + std::chrono::duration<double>(seconds);
        for (size_t i = 0; i < m_slots.size(); ++i)
            Open(i);
        std::vector<epoll_event> events(m_slots.size());
        while (CClock::now() < end) {
            const int count
                = epoll_wait(m_epoll, events.data(), static_cast<int>(events.size()), 50);
            for (int i = 0; i < count; ++i)
                Step(events[static_cast<size_t>(i)].data.u64,
                     events[static_cast<size_t>(i)].events);
        }
        return std::chrono::duration<double>(CClock::now() - start).count();
    }

    long long m_requests = 0;
    long long m_failed = 0;
    long long m_bytes = 0;

private:
    void Open(size_t index)
    {
        CSlot &slot = m_slots[index];
        slot = CSlot {};
        slot.m_fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (slot.m_fd < 0) {
            std::perror("socket");
            std::exit(1);
        }
        const int one = 1;
        setsockopt(slot.m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (connect(slot.m_fd, reinterpret_cast<const sockaddr *>(&m_address), sizeof m_address) < 0
            && errno != EINPROGRESS) {
            Fail(index);
            return;
        }
        epoll_event event {};
        event.events = EPOLLOUT | EPOLLIN | EPOLLRDHUP;
        event.data.u64 = index;
        epoll_ctl(m_epoll, EPOLL_CTL_ADD, slot.m_fd, &event);
    }

    void Step(size_t index, uint32_t events)
    {
        CSlot &slot = m_slots[index];
        if (slot.m_sent < m_request.size() && (events & (EPOLLOUT | EPOLLERR))) {
            const ssize_t sent = send(slot.m_fd, m_request.data() + slot.m_sent,
                                      m_request.size() - slot.m_sent, MSG_NOSIGNAL);
            if (sent < 0) {
                if (errno != EAGAIN)
                    Fail(index);
                return;
            }
            slot.m_sent += static_cast<size_t>(sent);
            if (slot.m_sent == m_request.size()) {
                epoll_event event {};
                event.events = EPOLLIN | EPOLLRDHUP;
                event.data.u64 = index;
                epoll_ctl(m_epoll, EPOLL_CTL_MOD, slot.m_fd, &event);
            }
            return;
        }
        if (!(events & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)))
            return;
        for (;;) {
            const ssize_t got = recv(slot.m_fd, m_buffer.data(), m_buffer.size(), 0);
            if (got > 0) {
                if (slot.m_received < sizeof slot.m_head - 1) {
                    const size_t take = std::min(static_cast<size_t>(got),
                                                 sizeof slot.m_head - 1 - slot.m_received);
                    std::memcpy(slot.m_head + slot.m_received, m_buffer.data(), take);
                }
                slot.m_received += static_cast<size_t>(got);
                continue;
            }
            if (got < 0 && errno == EAGAIN)
                return;
            if (got == 0 && std::strncmp(slot.m_head + 8, " 200", 4) == 0) {
                ++m_requests;
                m_bytes += static_cast<long long>(slot.m_received);
                Close(index);
                Open(index);
            } else {
                Fail(index);
            }
            return;
        }
    }

    void Close(size_t index)
    {
        close(m_slots[index].m_fd);
        m_slots[index].m_fd = -1;
    }

    void Fail(size_t index)
    {
        ++m_failed;
        Close(index);
        // A server that refuses everything must not turn this into a busy loop.
        if (m_failed % 1000 == 0)
            usleep(1000);
        Open(index);
    }

    std::vector<CSlot> m_slots;
    std::vector<char> m_buffer;
    std::string m_request;
    sockaddr_in m_address {};
    int m_epoll = -1;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: httpload PORT PATH CONCURRENCY SECONDS\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int concurrency = std::atoi(argv[3]);
    const double seconds = std::atof(argv[4]);
    if (port <= 0 || port > 65535 || concurrency <= 0 || concurrency > 1000 || seconds <= 0) {
        std::fprintf(stderr, "httpload: bad arguments\n");
        return 2;
    }
    CLoad load(port, argv[2], concurrency);
    const double elapsed = load.Run(seconds);
    std::printf("requests %lld failed %lld bytes %lld seconds %.3f rps %.1f mbps %.1f\n",
                load.m_requests, load.m_failed, load.m_bytes, elapsed,
                static_cast<double>(load.m_requests) / elapsed,
                static_cast<double>(load.m_bytes) / elapsed / 1e6);
    return load.m_requests > 0 ? 0 : 1;
}
