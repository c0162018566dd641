#pragma once

#include "platform/simulated/SimulatedPlatform.h"

// The simulated desktop with a clock that runs away: every read of the performance counter
// moves it on twice as far as the read before, so any wait, however long, ends after a few
// dozen reads instead of hanging the fuzzer. One tick is one millisecond.
class FuzzPlatform : public platform::SimulatedPlatform
{
public:
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;

    // Back to the state of a new desktop, for the next input: the clock at zero, every key
    // and button up and unlocked, the cursor at the origin, no records kept.
    void startAfresh();

private:
    LONGLONG m_now = 0;
    LONGLONG m_step = 1;
};
