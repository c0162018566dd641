#include "DeadlineWait.h"

#include "OvershootMargin.h"
#include "RunawayStop.h"
#include "platform/Platform.h"

#include <limits>

bool DeadlineWait::milliseconds(LONGLONG n, RunawayStop* stop)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG frequency = os.queryPerformanceFrequency();
    const LONGLONG ticksPerMs = frequency / 1000;
    if (ticksPerMs <= 0)
        return true;
    const LONGLONG now = os.queryPerformanceCounter() / ticksPerMs;
    // A wait longer than the counter can count lasts as long as the counter can count.
    constexpr LONGLONG kLast = std::numeric_limits<LONGLONG>::max();
    const LONGLONG deadline = n > kLast - now ? kLast : now + n;
    if (deadline <= 0)
        return true;
    // The first reading that ends the wait: reading / ticksPerMs >= deadline.
    return until(deadline > kLast / ticksPerMs ? kLast : deadline * ticksPerMs, stop);
}

bool DeadlineWait::until(LONGLONG end, RunawayStop* stop)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG frequency = os.queryPerformanceFrequency();
    // Each thread learns how late its own sleeps wake.
    thread_local OvershootMargin margin;
    for (;;) {
        const LONGLONG reading = os.queryPerformanceCounter();
        if (reading >= end)
            return true;
        if (stop && stop->check())
            return false;
        LONGLONG wake = end - margin.ticks(frequency);
        if (stop && stop->nextCheck() < wake)
            wake = stop->nextCheck();
        if (reading < wake) {
            os.sleepUntil(wake);
            margin.record(os.queryPerformanceCounter() - wake, frequency);
        }
    }
}
