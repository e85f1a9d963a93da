#pragma once

#include <memory>

class CNamedEvent;

// The three events the session shares with the call-center threads, found by name as the
// session document made them (made here with the same settings when no session did):
// "prg_end" asks the poll thread to end (automatic reset); "end_thr" says it has ended
// (automatic reset); "end_cmdthr" is reset while a command's request runs and set when it
// has finished (manual reset, initially signalled).
std::shared_ptr<CNamedEvent> ProgramEndEvent();
std::shared_ptr<CNamedEvent> EndThreadEvent();
std::shared_ptr<CNamedEvent> EndCmdThreadEvent();
