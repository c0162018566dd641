#pragma once

#include <QString>

struct lua_State;

// Loading script files into a Lua state.
class LuaChunk
{
public:
    // Loads the file at path as a chunk on top of the stack, as the standard loader does
    // (chunk name "@" + path, a first line starting with '#' skipped) but reading the file
    // through Qt, so every path the user can pick is reachable whatever the system's 8-bit
    // code page. Returns the Lua status; on failure the error value is on the stack.
    // Error texts are read back as UTF-8, or in the code page when they are not UTF-8.
    static int loadFile(lua_State* state, const QString& path);

    // The text of the value at index: strings and numbers as they are, any other value
    // described by its type, so an error never has an empty text.
    static QString errorText(lua_State* state, int index);
};
