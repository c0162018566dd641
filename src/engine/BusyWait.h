#pragma once

#include "platform/WinApi.h"

// Waits by spinning on the performance counter, at millisecond resolution: the start is
// truncated to whole milliseconds, so a wait of n lasts between n - 1 and n milliseconds.
// The thread neither sleeps nor yields; nothing else runs on it meanwhile.
class BusyWait
{
public:
    static void milliseconds(LONGLONG n);
};
