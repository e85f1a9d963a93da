#pragma once

#include <QString>

struct stat;

// The session's activity log and the operator's session and script files may sit in the root
// folder, but they hold user addresses and everything pushed: peers are told they are not there.
// The file at the path, already opened, has the status given; the log is named as the session
// names it. The log is refused wherever it is written, and so is a file in the root folder named
// like it, which an earlier session may have left there.
bool IsPrivateFile(const QString &path, const struct stat &status, const QString &logFileName,
                   const QString &root);

// The log has just been written or cleared, so it may be a new file: its identity is looked up
// again when next needed. Any thread.
void ForgetLogIdentity();
