#include "CCallCmds.h"

#include "CNamedEvent.h"
#include "CallCenterEvents.h"
#include "CallCenterRequest.h"

using namespace Qt::StringLiterals;

const QString CCallCmds::kDefaultOperatorName = u"Tobrin Vale"_s;

namespace {

// Only the exact text "FALSE" is false.
QLatin1StringView Flag(const QString &value)
{
    return value == "FALSE"_L1 ? "0"_L1 : "1"_L1;
}

} // namespace

CCallCmds::CCallCmds(const CSvrOptions &options)
    : m_options(options)
    , m_operatorName(options.m_operatorName.isEmpty() ? kDefaultOperatorName
                                                      : options.m_operatorName)
{ }

void CCallCmds::Build(Command command, const QString &clientKey)
{
    const QString status = u' ' + m_operatorName + u' ' + QString::number(m_options.m_refreshSecs)
        + u' ' + QString::number(m_options.m_downloadDelaySecs) + u' '
        + Flag(m_options.m_playEveryFrame) + u' ' + Flag(m_options.m_autoPlay);
    switch (command) {
    case StatusOn:
        m_command = "?ws=1&S=1 I"_L1 + status;
        break;
    case StatusOff:
        m_command = "?ws=1&S=0 I"_L1 + status;
        break;
    case CommandX:
        m_command = "?ws=1&X=1 C "_L1 + clientKey + u' ' + m_operatorName;
        break;
    case CommandR:
        m_command = u"?ws=1&R=1"_s;
        break;
    }
}

CWorkerThreads::StopFlag CCallCmds::Issue(const CSvrOptions &options, Command command,
                                          const QString &clientKey)
{
    auto commandObject = std::make_shared<CCallCmds>(options);
    commandObject->Build(command, clientKey);
    std::shared_ptr<CNamedEvent> ended = EndCmdThreadEvent();
    ended->Reset();
    return CWorkerThreads::Start([commandObject, ended](const std::atomic_bool &stop) {
        ended->Reset();
        RequestCallCenter(commandObject->m_options.m_callCenterServer,
                          commandObject->m_options.m_callCenterPath, commandObject->m_command,
                          stop);
        ended->Set();
    });
}
