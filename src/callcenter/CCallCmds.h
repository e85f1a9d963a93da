#pragma once

#include "CSvrOptions.h"
#include "CWorkerThreads.h"

#include <QString>

// One command to the call-center server: a single GET on a short worker thread of its own,
// whose reply is read to the end and not interpreted. Each issue makes its own object with its
// own copy of the session's settings.
class CCallCmds
{
public:
    enum Command { StatusOn, StatusOff, CommandX, CommandR };

    // The name a session without an operator name announces.
    static const QString kDefaultOperatorName;

    explicit CCallCmds(const CSvrOptions &options);

    // Sets the command text; the client key is used only by the X command.
    void Build(Command command, const QString &clientKey = {});

    // Builds the command and sends it on a new worker thread. "end_cmdthr" is reset before the
    // thread starts, so that a caller waiting on it cannot see an earlier command's end, and set
    // once the request has finished, whatever became of it.
    static CWorkerThreads::StopFlag Issue(const CSvrOptions &options, Command command,
                                          const QString &clientKey = {});

    CSvrOptions m_options;
    QString m_operatorName;
    QString m_command;
};
