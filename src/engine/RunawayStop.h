#pragma once

#include "platform/WinApi.h"

#include <QLoggingCategory>

struct lua_State;
struct lua_Debug;

// The journal's category for scenarios the user stopped.
Q_DECLARE_LOGGING_CATEGORY(lcRunaway)

// A way out of a script that does not return. Scripts run on the GUI thread, so one whose
// OnEvent loops for good would freeze the whole program. While script code runs (the chunk
// or OnEvent, each a run with its own RunawayStop), the stop combination (StopCombination)
// is looked at every few milliseconds of running time: from a Lua count hook, which the
// RunawayTicker arms every few milliseconds (coroutines, which it cannot reach, keep one that
// fires every so many instructions), and from the scripts' waits. Held for half a second, it
// stops the script with a Lua error; from then on the run raises that error again at every
// instruction and every wait, so a script that catches it (pcall) is stopped all the same.
class RunawayStop
{
public:
    // The text of the error that stops the script.
    static constexpr const char* kMessage = "Сценарий остановлен пользователем";
    // How many Lua instructions a coroutine runs between two calls of its hook.
    static constexpr int kCoroutineHookInstructions = 10'000;
    // How often the combination is looked at, at the most, and how long it must be held.
    static constexpr LONGLONG kCheckIntervalMs = 4;
    static constexpr LONGLONG kHoldMs = 500;

    // Prepares a scenario's state: the coroutines the script creates get the hook.
    static void prepareState(lua_State* state);
    static void (*hookFunction())(lua_State*, lua_Debug*) { return &hook; }

    // A run of script code on the state begins; it ends when this is destroyed.
    explicit RunawayStop(lua_State* state);
    ~RunawayStop();
    RunawayStop(const RunawayStop&) = delete;
    RunawayStop& operator=(const RunawayStop&) = delete;

    // The run going on now, or nullptr.
    static RunawayStop* current();

    // Looks at the combination when a look is due: true once it has been held long enough,
    // and from then on.
    bool check();
    // The counter reading at which the next look is due.
    LONGLONG nextCheck() const { return m_nextCheck; }
    bool stopped() const { return m_stopped; }

private:
    static void hook(lua_State* state, lua_Debug* where);

    lua_State* m_state;
    RunawayStop* m_outer;
    LONGLONG m_checkInterval;
    LONGLONG m_holdTicks;
    LONGLONG m_nextCheck;
    LONGLONG m_heldSince = -1; // the reading at which the combination was first seen held
    bool m_stopped = false;
};
