#include "Tick.h"

#include <QElapsedTimer>

namespace {

std::function<quint32()> &TickSource()
{
    static std::function<quint32()> source;
    return source;
}

quint32 MonotonicTick()
{
    static const QElapsedTimer started = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    // Start somewhere other than zero, like a machine that has been up a while.
    return static_cast<quint32>(started.elapsed() + 1000);
}

} // namespace

quint32 GetTickCount32()
{
    const auto &source = TickSource();
    return source ? source() : MonotonicTick();
}

void SetTickSource(std::function<quint32()> source)
{
    TickSource() = std::move(source);
}
