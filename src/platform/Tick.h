#pragma once

#include <QtGlobal>

#include <functional>

// The 32-bit millisecond tick: a monotonic clock truncated to 32 bits, so differences taken as
// unsigned 32-bit values wrap as the time-out rules expect.
quint32 GetTickCount32();

// Tests replace the clock; an empty function restores the real one.
void SetTickSource(std::function<quint32()> source);
