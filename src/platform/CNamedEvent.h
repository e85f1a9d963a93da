#pragma once

#include <QString>

#include <condition_variable>
#include <memory>
#include <mutex>

// An event threads wait on: signalled or not, reset by each released wait (automatic) or only
// by Reset (manual). Events are shared by name within the process, as the worker threads find
// them by name.
class CNamedEvent
{
public:
    CNamedEvent(bool manualReset, bool initiallySignalled);

    // The process's event of that name, made with these settings when it does not exist yet.
    static std::shared_ptr<CNamedEvent> Create(const QString &name, bool manualReset,
                                               bool initiallySignalled);

    void Set();
    void Reset();
    // True when the event was signalled within the time-out, in milliseconds.
    bool Wait(int timeoutMs);

private:
    // Standard primitives, so that thread checkers see the waits.
    std::mutex m_mutex;
    std::condition_variable m_condition;
    bool m_manualReset;
    bool m_signalled;
};
