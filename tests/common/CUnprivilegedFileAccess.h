#pragma once

#include <sys/fsuid.h>
#include <sys/types.h>

// While it lives, this thread's file permission checks are made for the user "nobody", so that
// tests running as root meet denied access as everyone else does. For other users it changes
// nothing, since they meet it anyway.
class CUnprivilegedFileAccess
{
public:
    CUnprivilegedFileAccess()
        : m_previous(setfsuid(NobodyId))
    { }
    ~CUnprivilegedFileAccess() { setfsuid(m_previous); }

    CUnprivilegedFileAccess(const CUnprivilegedFileAccess &) = delete;
    CUnprivilegedFileAccess &operator=(const CUnprivilegedFileAccess &) = delete;

private:
    static constexpr uid_t NobodyId = 65534;
    uid_t m_previous;
};
