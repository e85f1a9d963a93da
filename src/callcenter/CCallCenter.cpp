#include "CCallCenter.h"

#include "CCallCmds.h"
#include "CNamedEvent.h"
#include "CallCenterEvents.h"
#include "CallCenterMirror.h"
#include "CallCenterReply.h"
#include "CallCenterRequest.h"
#include "Tick.h"

#include <QDeadlineTimer>

using namespace Qt::StringLiterals;

namespace {

constexpr int kAssignedFields = 8;
constexpr int kWaitingFields = 3;

// The poll thread. It reads only its own copy of the settings and the events it shares, so it
// may outlive the link that started it.
void Poll(const CSvrOptions &options, CNamedEvent &programEnd, CNamedEvent &ended,
          const std::atomic_bool &stop)
{
    const QString &server = options.m_callCenterServer;
    const QString &path = options.m_callCenterPath;
    const QString assignedQuery = "?ws=1&A=1 "_L1 + CCallCmds(options).m_operatorName + " 30"_L1;
    const auto claim = [&options](const QString &key) {
        CCallCmds::Issue(options, CCallCmds::CommandX, key);
    };
    while (!stop) {
        quint32 pollTime = GetTickCount32();
        if (const std::optional<QByteArray> reply
            = RequestCallCenter(server, path, assignedQuery, stop)) {
            HandleAssignedReply(ParseCallCenterReply(*reply, kAssignedFields), pollTime, stop);
        }
        pollTime = GetTickCount32();
        if (const std::optional<QByteArray> reply
            = RequestCallCenter(server, path, u"?ws=1&C=1"_s, stop)) {
            HandleWaitingReply(ParseCallCenterReply(*reply, kWaitingFields), pollTime, stop, claim);
        }
        if (stop || programEnd.Wait(CCallCenter::kPollPauseMs))
            break;
    }
    ended.Set();
}

} // namespace

CCallCenter::CCallCenter(const CSvrOptions &options)
    : m_options(options)
    , m_programEnd(ProgramEndEvent())
    , m_endThread(EndThreadEvent())
    , m_endCmdThread(EndCmdThreadEvent())
{
    SetCallCenterRecordOptions(options);
}

CCallCenter::~CCallCenter()
{
    Stop();
}

bool CCallCenter::Start()
{
    if (IsPolling())
        return true;
    // Left over from a poll thread that ended late: it must not cut this session's stop short.
    m_programEnd->Reset();
    m_endThread->Reset();
    const CWorkerThreads::StopFlag announce = CCallCmds::Issue(m_options, CCallCmds::StatusOn);
    if (!m_endCmdThread->Wait(kStatusTimeoutMs)) {
        *announce = true;
        ReleaseWaitingRecords();
        return false;
    }
    CCallCmds::Issue(m_options, CCallCmds::CommandR);
    m_pollStop = CWorkerThreads::Start([options = m_options, programEnd = m_programEnd,
                                        ended = m_endThread](const std::atomic_bool &stop) {
        Poll(options, *programEnd, *ended, stop);
    });
    return true;
}

void CCallCenter::Stop()
{
    if (!IsPolling())
        return;
    const CWorkerThreads::StopFlag signOff = CCallCmds::Issue(m_options, CCallCmds::StatusOff);
    m_programEnd->Set();
    const QDeadlineTimer deadline(kStatusTimeoutMs);
    const bool pollEnded = m_endThread->Wait(static_cast<int>(deadline.remainingTime()));
    const bool signedOff = m_endCmdThread->Wait(static_cast<int>(deadline.remainingTime()));
    if (!pollEnded || !signedOff)
        *signOff = true;
    // From here on a poll still under way changes no table.
    *std::exchange(m_pollStop, nullptr) = true;
    ReleaseWaitingRecords();
}
