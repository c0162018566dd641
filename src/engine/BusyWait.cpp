#include "BusyWait.h"

#include "platform/Platform.h"

void BusyWait::milliseconds(LONGLONG n)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG ticksPerMs = os.queryPerformanceFrequency() / 1000;
    if (ticksPerMs <= 0)
        return;
    const LONGLONG deadline = os.queryPerformanceCounter() / ticksPerMs + n;
    if (deadline <= 0)
        return;
    while (os.queryPerformanceCounter() / ticksPerMs < deadline) {
    }
}
