#pragma once

#include "WinApi.h"

namespace platform {

// The performance counter of the backends that stand in for Windows: the system's monotonic
// clock in nanoseconds, and a sleep until a reading of it.
namespace MonotonicClock {

constexpr LONGLONG kTicksPerSecond = 1'000'000'000;

LONGLONG now();
// Blocks the calling thread until the clock reads at least nanoseconds (Linux:
// clock_nanosleep on an absolute time, so time spent before the call is not slept twice).
void sleepUntil(LONGLONG nanoseconds);

} // namespace MonotonicClock

} // namespace platform
