#pragma once

struct lua_State;

// The global functions offered to scenario scripts: mouse, keyboard, timing and state
// queries on the program's input routine, the running time, the date and the script's own
// log lines (category "clavitor.script"), and the device functions of the gaming-mouse
// scripting interface that do nothing here. No function raises a Lua error, but for the
// waits, which end a script the user stops (RunawayStop), and GetDate, which raises the
// errors of os.date.
class LuaApi
{
public:
    // Registers every function, with its aliases, as a global of the state.
    static void registerAll(lua_State* state);
};
