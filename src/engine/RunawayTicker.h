#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

struct lua_State;

// The clock of the stop check. A count hook left on costs every Lua instruction a
// decrement and a test (a tenth of the time of the tightest loops), so a scenario's state
// runs without one; while script code runs, this thread arms the state's hook every few
// milliseconds to fire at the next instruction, on the GUI thread, where it looks at the
// stop combination and disarms itself. Lua allows setting a hook asynchronously (it sets the
// hook before the mask that enables it); arming and disarming take one lock, and a state is
// armed only while its run goes on, so never after it is closed.
class RunawayTicker
{
public:
    static constexpr int kTickMs = 5;
    // Ticks without any run after which the clock sleeps until the next run (a second).
    static constexpr int kQuietTicksBeforeSleep = 200;

    static RunawayTicker& instance();
    ~RunawayTicker();

    // A run of script code on a state begins (runs may nest) or the innermost one ends,
    // which disarms its state. GUI thread.
    void begin(lua_State* state);
    void end();
    // Arms (RunawayStop's hook, at the next instruction) or disarms a state now. GUI thread.
    void arm(lua_State* state);
    void disarm(lua_State* state);

private:
    RunawayTicker();
    void tick();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<lua_State*> m_runs; // the states of the runs going on, innermost last
    unsigned long long m_begun = 0; // runs begun so far
    bool m_asleep = false;
    bool m_quit = false;
    std::thread m_thread;
};
