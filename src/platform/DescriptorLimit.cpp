#include "DescriptorLimit.h"

#include <limits>

#include <sys/resource.h>

long RaiseDescriptorLimit()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    return DescriptorLimit();
}

long DescriptorLimit()
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > std::numeric_limits<long>::max())
        return std::numeric_limits<long>::max();
    return static_cast<long>(limit.rlim_cur);
}
