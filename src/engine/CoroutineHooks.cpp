#include "CoroutineHooks.h"

#include <lua.hpp>

namespace {

const CoroutineHooks::Hook& hookOf(lua_State* L)
{
    return *static_cast<const CoroutineHooks::Hook*>(lua_touserdata(L, lua_upvalueindex(2)));
}

// Calls the library's function (upvalue 1) with the arguments, leaving its results.
void callLibrary(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
}

int createCoroutine(lua_State* L)
{
    callLibrary(L);
    if (lua_State* thread = lua_tothread(L, 1))
        CoroutineHooks::set(thread, hookOf(L));
    return lua_gettop(L);
}

int wrapCoroutine(lua_State* L)
{
    callLibrary(L);
    // The function that resumes the coroutine holds it as its upvalue.
    if (lua_iscfunction(L, 1) && lua_getupvalue(L, 1, 1)) {
        if (lua_State* thread = lua_tothread(L, -1))
            CoroutineHooks::set(thread, hookOf(L));
        lua_pop(L, 1);
    }
    return lua_gettop(L);
}

void replace(lua_State* L, const char* name, lua_CFunction replacement, const CoroutineHooks::Hook& hook)
{
    lua_getglobal(L, "coroutine");
    lua_getfield(L, -1, name);
    lua_pushlightuserdata(L, const_cast<CoroutineHooks::Hook*>(&hook));
    lua_pushcclosure(L, replacement, 2);
    lua_setfield(L, -2, name);
    lua_pop(L, 1);
}

} // namespace

void CoroutineHooks::install(lua_State* state, const Hook& hook)
{
    replace(state, "create", &createCoroutine, hook);
    replace(state, "wrap", &wrapCoroutine, hook);
}

void CoroutineHooks::set(lua_State* thread, const Hook& hook)
{
    lua_sethook(thread, hook.function, LUA_MASKCOUNT, hook.instructions);
}
