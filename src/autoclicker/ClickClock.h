#pragma once

#include <QtGlobal>

// The time the click engine keeps: a monotonic clock, a plain sleep and a precise wait for a
// moment on that clock. The engine schedules its ticks and waits its holds with it; tests put
// a clock of their own in its place.
class ClickClock
{
public:
    virtual ~ClickClock() = default;

    // Nanoseconds on a monotonic clock.
    virtual qint64 nowNs() = 0;
    // Sleeps about this long, for waits that need no precision.
    virtual void sleepUs(qint64 microseconds) = 0;
    // Sleeps until nowNs() reads at least ns (at once when it does already), never less and
    // a little longer when the system wakes the thread late.
    virtual void sleepUntil(qint64 ns) = 0;
    // Returns once nowNs() reads at least ns (at once when it does already), late by no more
    // than the system's finest timer wakes (tens of microseconds), and without spinning a
    // processor core for the whole wait.
    virtual void waitUntil(qint64 ns) = 0;

    // The clock of the running system: the platform's performance counter and its waits.
    static ClickClock& system();
};
