#include "CallCenterEvents.h"

#include "CNamedEvent.h"

using namespace Qt::StringLiterals;

std::shared_ptr<CNamedEvent> ProgramEndEvent()
{
    return CNamedEvent::Create(u"prg_end"_s, false, false);
}

std::shared_ptr<CNamedEvent> EndThreadEvent()
{
    return CNamedEvent::Create(u"end_thr"_s, false, false);
}

std::shared_ptr<CNamedEvent> EndCmdThreadEvent()
{
    return CNamedEvent::Create(u"end_cmdthr"_s, true, true);
}
