#include "OnEventCall.h"

#include "LuaTraceback.h"

#include <lua.hpp>

namespace {

struct Arguments
{
    const char* event;
    std::optional<int> button;
};

int callProtected(lua_State* L)
{
    const auto* arguments = static_cast<const Arguments*>(lua_touserdata(L, 1));
    lua_settop(L, 0);
    const int handler = LuaTraceback::pushHandler(L);
    lua_getglobal(L, "OnEvent");
    lua_pushstring(L, arguments->event);
    if (arguments->button)
        lua_pushinteger(L, *arguments->button);
    else
        lua_pushnil(L);
    if (lua_pcall(L, 2, 0, handler) != 0)
        lua_error(L); // the error, as it came, to the caller
    return 0;
}

} // namespace

int OnEventCall::call(lua_State* state, const char* event, std::optional<int> button)
{
    Arguments arguments{event, button};
    return lua_cpcall(state, &callProtected, &arguments);
}
