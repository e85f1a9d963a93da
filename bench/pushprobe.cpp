// Times a push to users whose control-page polls are held: several raw loopback users, each
// from its own address (127.0.0.2, 127.0.0.3, ...), log on to a running test host, then poll
// their control pages until the poll is held. The probe writes `push-all` to the host's command
// pipe and records, for every user, how long after the command the held poll's answer began to
// arrive. Repeated for several rounds.
//
//   pushprobe PORT COMMAND_PIPE [USERS] [ROUNDS]
//
// Prints one line: "users N rounds R answered A missed M p50_ms P worst_ms W" (missed: held
// polls not answered within a second of the push).

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
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

constexpr int kAnswerTimeoutMs = 1000;
// A poll not answered within this long is taken to be held.
constexpr int kHeldAfterMs = 300;

double MsSince(CClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(CClock::now() - start).count();
}

std::string UserAddress(int index)
{
    return "127.0.0." + std::to_string(2 + index);
}

// A connection from the user's own address to the server, the request already sent.
int SendRequest(const std::string &from, int port, const std::string &path)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in local {};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    sockaddr_in server {};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<uint16_t>(port));
    server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const std::string request = "GET " + path + " HTTP/1.0\r\nUser-Agent: pushprobe\r\n\r\n";
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0
        || connect(fd, reinterpret_cast<const sockaddr *>(&server), sizeof server) != 0
        || send(fd, request.data(), request.size(), MSG_NOSIGNAL)
            != static_cast<ssize_t>(request.size())) {
        std::perror("pushprobe: request");
        std::exit(1);
    }
    return fd;
}

// Waits up to the time for the first bytes of an answer; true when some arrived.
bool AnswerStarts(int fd, int timeoutMs)
{
    pollfd entry {fd, POLLIN, 0};
    return poll(&entry, 1, timeoutMs) > 0;
}

void ReadToClose(int fd)
{
    char buffer[4096];
    while (AnswerStarts(fd, kAnswerTimeoutMs) && recv(fd, buffer, sizeof buffer, 0) > 0) { }
    close(fd);
}

// Polls the user's control page until a poll is held; returns the held connection.
int HoldPoll(int index, int port)
{
    const std::string from = UserAddress(index);
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int fd = SendRequest(from, port, "/VS" + from + ".htm");
        if (!AnswerStarts(fd, kHeldAfterMs))
            return fd;
        ReadToClose(fd);
    }
    std::fprintf(stderr, "pushprobe: the poll of %s is never held\n", from.c_str());
    std::exit(1);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: pushprobe PORT COMMAND_PIPE [USERS] [ROUNDS]\n");
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const int users = argc > 3 ? std::atoi(argv[3]) : 10;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
    if (port <= 0 || port > 65535 || users <= 0 || users > 250 || rounds <= 0) {
        std::fprintf(stderr, "pushprobe: bad arguments\n");
        return 2;
    }
    const int commands = open(argv[2], O_WRONLY | O_CLOEXEC);
    if (commands < 0) {
        std::perror("pushprobe: command pipe");
        return 1;
    }
    for (int i = 0; i < users; ++i)
        ReadToClose(SendRequest(UserAddress(i), port, "/?sex=Mr&alias=probe&Continue=1"));

    std::vector<double> delays;
    int missed = 0;
    for (int round = 0; round < rounds; ++round) {
        std::vector<int> held;
        for (int i = 0; i < users; ++i)
            held.push_back(HoldPoll(i, port));
        const std::string command = "push-all pushed" + std::to_string(round) + ".htm\n";
        const auto pushed = CClock::now();
        if (write(commands, command.data(), command.size())
            != static_cast<ssize_t>(command.size())) {
            std::perror("pushprobe: push");
            return 1;
        }
        // Every answer's first byte is timed as it comes, whichever user it is for.
        std::vector<pollfd> waiting;
        for (int fd : held)
            waiting.push_back({fd, POLLIN, 0});
        size_t answered = 0;
        while (answered < waiting.size() && MsSince(pushed) < kAnswerTimeoutMs) {
            if (poll(waiting.data(), waiting.size(), 10) <= 0)
                continue;
            const double delay = MsSince(pushed);
            for (pollfd &entry : waiting) {
                if (entry.fd >= 0 && entry.revents) {
                    delays.push_back(delay);
                    entry.fd = -entry.fd - 1; // poll skips negative descriptors
                    ++answered;
                }
            }
        }
        missed += static_cast<int>(waiting.size() - answered);
        for (int fd : held)
            ReadToClose(fd);
    }
    close(commands);
    std::sort(delays.begin(), delays.end());
    const double p50 = delays.empty() ? 0 : delays[delays.size() / 2];
    const double worst = delays.empty() ? 0 : delays.back();
    std::printf("users %d rounds %d answered %zu missed %d p50_ms %.2f worst_ms %.2f\n", users,
                rounds, delays.size(), missed, p50, worst);
    return missed == 0 ? 0 : 1;
}
