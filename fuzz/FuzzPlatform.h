#pragma once

#include "platform/simulated/SimulatedPlatform.h"

#include <chrono>
#include <optional>

// The simulated desktop with a clock that runs away: every read of the performance counter
// moves it on twice as far as the read before (up to decades), and sleeping on it returns at
// once, so that waits end after a few dozen reads instead of hanging the fuzzer, and a wait
// for ever ends when the script is stopped. One tick is one millisecond.
class FuzzPlatform : public platform::SimulatedPlatform
{
public:
    LONGLONG queryPerformanceCounter() override;
    LONGLONG queryPerformanceFrequency() override;
    void sleepUntil(LONGLONG counter) override;
    SHORT getAsyncKeyState(int virtualKey) override;

    // Back to the state of a new desktop, for the next input: the clock at zero, every key
    // and button up and unlocked, the cursor at the origin, no records kept, nobody holding
    // Alt+X.
    void startAfresh();
    // The user holds Alt+X (the stop combination of runaway scripts), and nothing else, once
    // this much real time has passed: scripts that run longer are stopped as the user would
    // stop them.
    void holdAltXAfter(std::chrono::milliseconds delay);

private:
    LONGLONG m_now = 0;
    LONGLONG m_step = 1;
    std::optional<std::chrono::steady_clock::time_point> m_altXFrom;
};
