#pragma once

#include <QtGlobal>

// The time the click engine keeps: a monotonic clock and the two ways in which the engine
// lets time pass, sleeping and yielding. The engine measures its ticks and waits its holds
// with it; tests put a clock of their own in its place.
class ClickClock
{
public:
    virtual ~ClickClock() = default;

    // Nanoseconds on a monotonic clock.
    virtual qint64 nowNs() = 0;
    virtual void sleepUs(qint64 microseconds) = 0;
    virtual void yield() = 0;

    // Waits w microseconds, at microsecond precision: sleeps all but the last 1.5 ms of a
    // wait above 2 ms, then spins, yielding the thread until the last half millisecond.
    void waitPrecisely(qint64 microseconds);

    // The clock of the running system.
    static ClickClock& system();
};
