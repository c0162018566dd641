#pragma once

#include "platform/WinApi.h"

class RunawayStop;

// Waits that end precisely on the performance counter without costing a processor core: the
// thread sleeps on the platform's timer until shortly before the deadline (by a margin
// measured from how late those sleeps wake on this thread) and reads the counter for the rest.
// A wait therefore ends neither late by the timer's latency nor before its deadline.

class DeadlineWait
{
public:
    // The waits of the scripts' Sleep and eep, at millisecond resolution: the start is
    // truncated to whole milliseconds and the wait ends at the first reading at or past
    // start + n, so a wait of n lasts between n - 1 and n milliseconds and never less.
    // With a run to watch, wakes to look at the stop combination when a look is due, and
    // returns false as soon as the run is stopped (true when the wait is over).
    static bool milliseconds(LONGLONG n, RunawayStop* stop = nullptr);
    // Waits until the counter reads at least end; with a run to watch, as above.
    static bool until(LONGLONG end, RunawayStop* stop = nullptr);
};
