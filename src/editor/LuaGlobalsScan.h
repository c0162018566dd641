#pragma once

#include <QList>
#include <QString>

struct lua_State;

// The global variables a compiled Lua 5.1 chunk reads and assigns, with their lines, read from
// the chunk's bytecode (lua_dump): the compiler has already told globals from locals and
// upvalues, in every nested function, so no guess about scopes is needed.
class LuaGlobalsScan
{
public:
    struct Access
    {
        QString name;
        int line = 0;
        bool assigned = false; // an assignment, else a read

        friend bool operator==(const Access&, const Access&) = default;
    };

    // The accesses of the function on top of the stack (left there), in the order of the
    // code, nested functions after their parent's code; empty when the dump cannot be read.
    static QList<Access> scan(lua_State* state);
};
