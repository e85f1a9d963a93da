#pragma once

#include <QString>

#include <functional>

// This machine's first IPv4 address, as the windows show it in their captions.
struct LocalHostLookup
{
    bool m_ok = false;
    QString m_address; // dotted, "%d.%d.%d.%d"
    int m_error = 0; // the lookup's error code when it failed
};

LocalHostLookup LookUpLocalHost();
// Tests replace the lookup; an empty function restores the real one.
void SetLocalHostLookup(std::function<LocalHostLookup()> lookup);

// " (http://a.b.c.d)" for the session title and window captions; on failure the operator is
// warned "WARNING: Your network connection is not active! (%d)" and the text is empty.
QString AddressTitleOrWarn();
