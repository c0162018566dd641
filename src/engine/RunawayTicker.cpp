#include "RunawayTicker.h"

#include "RunawayStop.h"

#include <lua.hpp>

#include <chrono>

RunawayTicker& RunawayTicker::instance()
{
    static RunawayTicker ticker;
    return ticker;
}

RunawayTicker::RunawayTicker() : m_thread([this] { tick(); }) {}

RunawayTicker::~RunawayTicker()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RunawayTicker::begin(lua_State* state)
{
    bool wake = false;
    {
        std::lock_guard lock(m_mutex);
        m_runs.push_back(state);
        ++m_begun;
        wake = m_asleep;
    }
    if (wake)
        m_wake.notify_one();
}

void RunawayTicker::end()
{
    std::lock_guard lock(m_mutex);
    lua_sethook(m_runs.back(), nullptr, 0, 0);
    m_runs.pop_back();
}

void RunawayTicker::arm(lua_State* state)
{
    std::lock_guard lock(m_mutex);
    lua_sethook(state, RunawayStop::hookFunction(), LUA_MASKCOUNT, 1);
}

void RunawayTicker::disarm(lua_State* state)
{
    std::lock_guard lock(m_mutex);
    lua_sethook(state, nullptr, 0, 0);
}

void RunawayTicker::tick()
{
    std::unique_lock lock(m_mutex);
    unsigned long long begunBefore = m_begun;
    int quietTicks = 0;
    while (!m_quit) {
        // Scripts run in bursts (one short run per mouse event): the clock keeps ticking for
        // a while after the last run, so that a burst does not wake it run by run.
        if (quietTicks >= kQuietTicksBeforeSleep) {
            m_asleep = true;
            m_wake.wait(lock, [this] { return m_quit || !m_runs.empty(); });
            m_asleep = false;
            quietTicks = 0;
        }
        if (m_wake.wait_for(lock, std::chrono::milliseconds(kTickMs), [this] { return m_quit; }))
            break;
        if (!m_runs.empty())
            lua_sethook(m_runs.back(), RunawayStop::hookFunction(), LUA_MASKCOUNT, 1);
        quietTicks = m_runs.empty() && m_begun == begunBefore ? quietTicks + 1 : 0;
        begunBefore = m_begun;
    }
}
