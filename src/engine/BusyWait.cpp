#include "BusyWait.h"

#include "platform/Platform.h"

#include <limits>

void BusyWait::milliseconds(LONGLONG n)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG ticksPerMs = os.queryPerformanceFrequency() / 1000;
    if (ticksPerMs <= 0)
        return;
    const LONGLONG now = os.queryPerformanceCounter() / ticksPerMs;
    // A wait longer than the counter can count lasts as long as the counter can count.
    constexpr LONGLONG kLast = std::numeric_limits<LONGLONG>::max();
    const LONGLONG deadline = n > kLast - now ? kLast : now + n;
    if (deadline <= 0)
        return;
    while (os.queryPerformanceCounter() / ticksPerMs < deadline) {
    }
}
