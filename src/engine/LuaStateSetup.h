#pragma once

#include <QString>

class LuaMemoryBound;
struct lua_State;

// Makes a scenario state: bounded by the memory bound, with the standard libraries (made safe
// unless the profile is trusted), the API, the runaway stop and the traceback handler.
class LuaStateSetup
{
public:
    // Throws std::runtime_error when the state cannot be made. profileFolder is where require
    // finds the modules of the safe library.
    static lua_State* open(LuaMemoryBound& memory, const QString& profileFolder, bool safe);
};
