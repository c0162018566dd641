#pragma once

#include "PreviewResult.h"
#include "platform/simulated/VirtualClockPlatform.h"

#include <QByteArray>

#include <chrono>

struct lua_State;
struct lua_Debug;

// The bounds of a preview run, and the stop when one is passed: every call of an API global
// is counted (aliases too), the virtual clock is looked at after each call, and a Lua count
// hook on the state and on every coroutine it makes watches the real time, so that a script
// looping without any call (`while true do end`) is stopped as well. A stop raises a Lua
// error; from then on the error is raised again at every instruction and every call, so a
// script that catches it (pcall) is stopped all the same. One run at a time (GUI thread).
class PreviewBounds
{
public:
    static constexpr qint64 kVirtualLimitUs = 60'000'000;
    static constexpr qint64 kCallLimit = 1'000'000;
    // Real time without any API call, and real time of the whole run.
    static constexpr std::chrono::milliseconds kSpinLimit{1500};
    static constexpr std::chrono::milliseconds kRealTimeLimit{2000};
    // Lua instructions between two looks at the real time.
    static constexpr int kHookInstructions = 1000;

    // Watches the run on the clock from now on.
    explicit PreviewBounds(const platform::VirtualClockPlatform& clock);
    ~PreviewBounds();
    PreviewBounds(const PreviewBounds&) = delete;
    PreviewBounds& operator=(const PreviewBounds&) = delete;

    // Wraps the API globals in counting closures and hooks the state and the coroutines it
    // will make. Call in a protected call (it allocates), after the API is registered.
    static int watchState(lua_State* state);

    // Finished while no bound was passed, else the bound.
    PreviewResult::End stop() const { return m_stop; }
    qint64 calls() const { return m_calls; }

    // The count hook of the state and its coroutines.
    static void hook(lua_State* state, lua_Debug* where);

private:
    static int countedCall(lua_State* state);
    // Raises the stop's error (the stop must have been decided).
    static int raise(lua_State* state);
    void decide(PreviewResult::End stop);

    const platform::VirtualClockPlatform& m_clock;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastCall;
    qint64 m_calls = 0;
    PreviewResult::End m_stop = PreviewResult::End::Finished;
    QByteArray m_stopText;
    PreviewBounds* m_outer;
};
