#pragma once

#include "CSvrOptions.h"
#include "CWorkerThreads.h"

#include <memory>

class CNamedEvent;

// The link to a central call-center server for one running call-center session: announces the
// operator at start, polls the server once a second on a thread of its own for the clients it
// assigns to this console and the clients waiting, mirrors both lists into the user table and
// the navigation tree, and signs off at stop. It takes the server, path, operator name,
// refresh, delay and flags from the session's settings.
class CCallCenter
{
public:
    // How long the status commands may take before the link gives up on them.
    static constexpr int kStatusTimeoutMs = 5000;
    // The pause between the end of one poll cycle and the next.
    static constexpr int kPollPauseMs = 1000;

    explicit CCallCenter(const CSvrOptions &options);
    // Stops a link that still polls.
    ~CCallCenter();
    CCallCenter(const CCallCenter &) = delete;
    CCallCenter &operator=(const CCallCenter &) = delete;

    // Turns the operator's status on and, once the server has answered or failed within
    // kStatusTimeoutMs, sends the R request and starts polling. False when the status command
    // was still running then: it is told to stop and nothing polls.
    bool Start();
    // Turns the status off, ends polling (waiting at most kStatusTimeoutMs for both) and
    // empties the waiting table. Does nothing when the link does not poll.
    void Stop();
    bool IsPolling() const { return m_pollStop != nullptr; }

private:
    CSvrOptions m_options;
    // Held for the link's life, so that its threads and its waits meet on the same events.
    std::shared_ptr<CNamedEvent> m_programEnd;
    std::shared_ptr<CNamedEvent> m_endThread;
    std::shared_ptr<CNamedEvent> m_endCmdThread;
    CWorkerThreads::StopFlag m_pollStop;
};
