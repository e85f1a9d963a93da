#include "CWorkerThreads.h"

#include <list>
#include <mutex>
#include <thread>

namespace {

struct Worker
{
    std::thread thread;
    CWorkerThreads::StopFlag stop;
    std::shared_ptr<std::atomic_bool> done;
};

std::mutex g_lock;
std::list<Worker> g_workers;

// A program that ends without stopping the link still joins its workers: a thread left
// joinable at exit would end the program abnormally.
struct JoinAtExit
{
    ~JoinAtExit() { CWorkerThreads::StopAll(); }
} g_joinAtExit;

// Joins the workers that have ended; with g_lock held.
void ReapEnded()
{
    for (auto worker = g_workers.begin(); worker != g_workers.end();) {
        if (!*worker->done) {
            ++worker;
            continue;
        }
        worker->thread.join();
        worker = g_workers.erase(worker);
    }
}

} // namespace

CWorkerThreads::StopFlag CWorkerThreads::Start(Work work)
{
    auto stop = std::make_shared<std::atomic_bool>(false);
    auto done = std::make_shared<std::atomic_bool>(false);
    const std::lock_guard lock(g_lock);
    ReapEnded();
    std::thread thread([work = std::move(work), stop, done] {
        work(*stop);
        *done = true;
    });
    g_workers.push_back({std::move(thread), stop, done});
    return stop;
}

void CWorkerThreads::StopAll()
{
    // A worker may start others while it ends (a poll starting a command), so the list is taken
    // and joined without the lock until it stays empty.
    for (;;) {
        std::list<Worker> workers;
        {
            const std::lock_guard lock(g_lock);
            workers.swap(g_workers);
        }
        if (workers.empty())
            return;
        for (Worker &worker : workers)
            *worker.stop = true;
        for (Worker &worker : workers)
            worker.thread.join();
    }
}

int CWorkerThreads::Running()
{
    const std::lock_guard lock(g_lock);
    int running = 0;
    for (const Worker &worker : g_workers)
        running += *worker.done ? 0 : 1;
    return running;
}
