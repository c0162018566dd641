#include "PreviewBounds.h"

#include "engine/CoroutineHooks.h"
#include "engine/LuaApi.h"

#include <lua.hpp>

namespace {

// The run being watched; runs happen on one thread, one at a time.
PreviewBounds* watched = nullptr;

const CoroutineHooks::Hook kHook{&PreviewBounds::hook, PreviewBounds::kHookInstructions};

} // namespace

PreviewBounds::PreviewBounds(const platform::VirtualClockPlatform& clock)
    : m_clock(clock), m_started(std::chrono::steady_clock::now()),
      m_lastCall(m_started), m_outer(watched)
{
    watched = this;
}

PreviewBounds::~PreviewBounds()
{
    watched = m_outer;
}

int PreviewBounds::watchState(lua_State* L)
{
    lua_settop(L, 0); // the protected call's argument
    for (const LuaApi::Function& function : LuaApi::functions()) {
        const QByteArray name = function.name.toLatin1();
        lua_getglobal(L, name.constData());
        lua_pushcclosure(L, &countedCall, 1);
        lua_setglobal(L, name.constData());
    }
    CoroutineHooks::install(L, kHook);
    CoroutineHooks::set(L, kHook);
    return 0;
}

void PreviewBounds::decide(PreviewResult::End stop)
{
    if (m_stop != PreviewResult::End::Finished)
        return;
    m_stop = stop;
    // The error names no bound: the result does, in the user's language.
    m_stopText = QByteArrayLiteral("preview stopped");
}

int PreviewBounds::raise(lua_State* L)
{
    // From now on every instruction raises the error again.
    lua_sethook(L, &hook, LUA_MASKCOUNT, 1);
    luaL_where(L, 1);
    lua_pushstring(L, watched->m_stopText.constData());
    lua_concat(L, 2);
    return lua_error(L);
}

int PreviewBounds::countedCall(lua_State* L)
{
    // No C++ object with a destructor may live in this frame: lua_error leaves it by longjmp.
    PreviewBounds* run = watched;
    if (!run)
        return luaL_error(L, "no preview run");
    if (run->m_stop == PreviewResult::End::Finished && ++run->m_calls > kCallLimit)
        run->decide(PreviewResult::End::Calls);
    if (run->m_stop != PreviewResult::End::Finished)
        return raise(L);
    run->m_lastCall = std::chrono::steady_clock::now();
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (run->m_clock.now() > kVirtualLimitUs) {
        run->decide(PreviewResult::End::VirtualTime);
        return raise(L);
    }
    return lua_gettop(L);
}

void PreviewBounds::hook(lua_State* L, lua_Debug* /*where*/)
{
    PreviewBounds* run = watched;
    if (!run)
        return;
    if (run->m_stop == PreviewResult::End::Finished) {
        const auto now = std::chrono::steady_clock::now();
        if (now - run->m_lastCall > kSpinLimit)
            run->decide(PreviewResult::End::Spinning);
        else if (now - run->m_started > kRealTimeLimit)
            run->decide(PreviewResult::End::RealTime);
    }
    if (run->m_stop != PreviewResult::End::Finished)
        raise(L);
}
