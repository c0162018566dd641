#include "LuaTraceback.h"

#include "LuaChunk.h"

#include <lua.hpp>

namespace {

// Registry keys: the addresses of these are unique to this file.
const char kHandlerKey = 0;
const char kTracebackKey = 0;

void describe(luaL_Buffer& text, lua_State* L, lua_Debug& frame)
{
    lua_pushfstring(L, "%s:", frame.short_src);
    luaL_addvalue(&text);
    if (frame.currentline > 0) {
        lua_pushfstring(L, "%d:", frame.currentline);
        luaL_addvalue(&text);
    }
    if (*frame.namewhat != '\0')
        lua_pushfstring(L, " in function '%s'", frame.name);
    else if (*frame.what == 'm')
        lua_pushliteral(L, " in main chunk");
    else if (*frame.what == 't')
        lua_pushliteral(L, " ?");
    else
        lua_pushfstring(L, " in function <%s:%d>", frame.short_src, frame.linedefined);
    luaL_addvalue(&text);
}

int noteTraceback(lua_State* L)
{
    lua_settop(L, 1); // the error value, returned as it came
    luaL_Buffer text;
    luaL_buffinit(L, &text);
    lua_Debug frame;
    int listed = 0;
    for (int level = 1; lua_getstack(L, level, &frame); ++level) {
        lua_getinfo(L, "Snl", &frame);
        // The program's own functions that called into the script are no part of it.
        if (*frame.what == 'C' && *frame.namewhat == '\0')
            continue;
        if (listed > 0)
            luaL_addchar(&text, '\n');
        if (++listed > LuaTraceback::kMaxLevels) {
            luaL_addstring(&text, "\xe2\x80\xa6"); // …
            break;
        }
        describe(text, L, frame);
    }
    luaL_pushresult(&text);
    lua_pushlightuserdata(L, const_cast<char*>(&kTracebackKey));
    lua_insert(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return 1;
}

} // namespace

void LuaTraceback::prepareState(lua_State* state)
{
    lua_pushlightuserdata(state, const_cast<char*>(&kHandlerKey));
    lua_pushcfunction(state, &noteTraceback);
    lua_rawset(state, LUA_REGISTRYINDEX);
}

int LuaTraceback::pushHandler(lua_State* state)
{
    lua_pushlightuserdata(state, const_cast<char*>(&kHandlerKey));
    lua_rawget(state, LUA_REGISTRYINDEX);
    return lua_gettop(state);
}

QString LuaTraceback::take(lua_State* state, const QStringList& files)
{
    lua_pushlightuserdata(state, const_cast<char*>(&kTracebackKey));
    lua_rawget(state, LUA_REGISTRYINDEX);
    const QString text = lua_isstring(state, -1) ? LuaChunk::errorText(state, -1, files) : QString();
    lua_pop(state, 1);
    lua_pushlightuserdata(state, const_cast<char*>(&kTracebackKey));
    lua_pushnil(state);
    lua_rawset(state, LUA_REGISTRYINDEX);
    return text;
}
