#pragma once

#include "platform/WinApi.h"

class RunawayStop;

// The waits of the scripts' Sleep and eep, at millisecond resolution on the performance
// counter: the start is truncated to whole milliseconds and the wait ends at the first
// reading at or past start + n, so a wait of n lasts between n - 1 and n milliseconds and
// never less. The thread sleeps on the platform's timer until shortly before the deadline
// (by a margin measured from how late those sleeps wake) and reads the counter for the rest,
// so a wait neither ends late by the timer's latency nor costs a processor core.

class DeadlineWait
{
public:
    // Waits; with a run to watch, wakes to look at the stop combination when a look is due,
    // and returns false as soon as the run is stopped (true when the wait is over).
    static bool milliseconds(LONGLONG n, RunawayStop* stop = nullptr);
};
