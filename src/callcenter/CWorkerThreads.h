#pragma once

#include <atomic>
#include <functional>
#include <memory>

// The call-center link's worker threads: the poll thread and one short thread per command.
// Nothing kills a thread, as that could leave the user-table lock held: a worker that misses
// its time is told to stop, its request aborts at the next check, and it ends by itself. Every
// worker is joined before the program ends (StopAll).
class CWorkerThreads
{
public:
    using StopFlag = std::shared_ptr<std::atomic_bool>;
    using Work = std::function<void(const std::atomic_bool &stop)>;

    // Runs the work on a new thread; setting the returned flag tells the work to stop.
    static StopFlag Start(Work work);
    // Tells every worker to stop and waits until all have ended.
    static void StopAll();
    // Workers that have not ended yet.
    static int Running();
};
