#pragma once

#include <optional>

struct lua_State;

// Calls the script's OnEvent(event, arg) in a protected call, with the traceback handler
// noting the stack of an error. The lookup of OnEvent is inside the call too: it runs the
// script's own metamethods of the globals table, which may raise errors as well.
class OnEventCall
{
public:
    // The Lua status; on failure the error value, as it came, is on top of the stack.
    static int call(lua_State* state, const char* event, std::optional<int> button);
};
