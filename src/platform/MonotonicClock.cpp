#include "MonotonicClock.h"

#include <chrono>

#ifdef _WIN32
#include <thread>
#else
#include <sys/prctl.h>

#include <cerrno>
#include <ctime>
#endif

namespace platform::MonotonicClock {

// std::chrono::steady_clock is CLOCK_MONOTONIC on Linux: the clock clock_nanosleep waits on.
LONGLONG now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void sleepUntil(LONGLONG nanoseconds)
{
#ifdef _WIN32
    std::this_thread::sleep_until(
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(nanoseconds)));
#else
    if (nanoseconds <= 0)
        return;
    timespec wake{};
    wake.tv_sec = static_cast<std::time_t>(nanoseconds / kTicksPerSecond);
    wake.tv_nsec = static_cast<long>(nanoseconds % kTicksPerSecond);
    // The kernel may let a sleep run on by the thread's timer slack (50 µs by default) to
    // wake several threads at once; this sleep asks for 1 µs, and gives the thread's own
    // slack back afterwards.
    const int slack = prctl(PR_GET_TIMERSLACK, 0, 0, 0, 0);
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    // A signal handled meanwhile interrupts the sleep; the absolute time makes resuming exact.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) == EINTR) {
    }
    if (slack > 0)
        prctl(PR_SET_TIMERSLACK, static_cast<unsigned long>(slack), 0, 0, 0);
#endif
}

} // namespace platform::MonotonicClock
