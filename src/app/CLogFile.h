#pragma once

#include <QString>

// The session's activity log: a plain-text file named by the session's log-file setting, opened
// and closed for every write so that others may read or delete it at any time. Nothing is
// logged without a session, and a file that cannot be written is skipped silently.
class CLogFile
{
public:
    virtual ~CLogFile() = default;

    // Appends the text; every "\n" becomes CR LF on disk, as in a text-mode file.
    virtual void Write(const QString &text);
    // Empties the file when it exists; a missing file stays missing.
    virtual void Clear();

private:
    static QString Path();
};
