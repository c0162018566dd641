#include "RunawayStop.h"

#include "CoroutineHooks.h"
#include "RunawayTicker.h"
#include "StopCombination.h"
#include "platform/Platform.h"

#include <lua.hpp>

Q_LOGGING_CATEGORY(lcRunaway, "clavitor.runaway")

namespace {

// The run going on now; runs happen on the GUI thread only.
RunawayStop* currentRun = nullptr;

const CoroutineHooks::Hook kCoroutineHook{RunawayStop::hookFunction(),
                                          RunawayStop::kCoroutineHookInstructions};

} // namespace

void RunawayStop::prepareState(lua_State* state)
{
    CoroutineHooks::install(state, kCoroutineHook);
}

RunawayStop::RunawayStop(lua_State* state) : m_state(state), m_outer(currentRun)
{
    platform::Platform& os = platform::Platform::current();
    const LONGLONG ticksPerMs = os.queryPerformanceFrequency() / 1000;
    m_checkInterval = ticksPerMs * kCheckIntervalMs;
    m_holdTicks = ticksPerMs * kHoldMs;
    // A call that returns within the interval never looks at the keys.
    m_nextCheck = os.queryPerformanceCounter() + m_checkInterval;
    currentRun = this;
    RunawayTicker::instance().begin(state);
}

RunawayStop::~RunawayStop()
{
    RunawayTicker::instance().end();
    currentRun = m_outer;
}

RunawayStop* RunawayStop::current()
{
    return currentRun;
}

bool RunawayStop::check()
{
    if (m_stopped)
        return true;
    const LONGLONG now = platform::Platform::current().queryPerformanceCounter();
    if (now < m_nextCheck)
        return false;
    m_nextCheck = now + m_checkInterval;
    if (!StopCombination::isHeld()) {
        m_heldSince = -1;
        return false;
    }
    if (m_heldSince < 0)
        m_heldSince = now;
    m_stopped = now - m_heldSince >= m_holdTicks;
    return m_stopped;
}

void RunawayStop::hook(lua_State* state, lua_Debug* /*where*/)
{
    // No C++ object with a destructor may live in this frame: lua_error leaves it by longjmp.
    RunawayStop* run = currentRun;
    if (run && run->check()) {
        // From now on the error is raised again at the very next instruction, so it is
        // raised outside whatever pcall caught it, up to the run's own protected call.
        RunawayTicker::instance().arm(state);
        luaL_where(state, 0); // the line of the script that was running
        lua_pushstring(state, kMessage);
        lua_concat(state, 2);
        lua_error(state);
    }
    if (run && state == run->m_state)
        RunawayTicker::instance().disarm(state); // until the next tick
    else if (lua_gethookcount(state) != kCoroutineHookInstructions)
        CoroutineHooks::set(state, kCoroutineHook); // a coroutine stopped once runs on normally
}
