#pragma once

#include <QByteArray>
#include <QString>

struct lua_State;

// The safe library of a scenario's Lua state: what reaches files, programs, native code or the
// engine's own hooks is taken away, so a script from a stranger cannot harm the machine.
//
// Kept: the base library without dofile and loadfile, with collectgarbage limited to "count"
// and "collect", and with load and loadstring refusing precompiled chunks (Lua 5.1 runs them
// unchecked: a crafted one breaks the virtual machine); string without dump; table; math;
// coroutine; os.clock, os.time, os.date and os.difftime; require, which loads only Lua files
// of the profile's folder. Everything else of the library is replaced by a stub that raises an
// error naming it: a function stub when it is called, a table stub (io, debug) when anything
// is read from it or written to it.
class LuaSandbox
{
public:
    // Applies the safe library to a state that has the whole standard library open. Run it in
    // a protected call (it may run out of memory) and before the program's API is registered.
    // profileFolder is where require finds modules; empty, it finds none.
    static void apply(lua_State* state, const QString& profileFolder);
    // Where require finds modules from now on (the profile was renamed).
    static void setProfileFolder(lua_State* state, const QString& profileFolder);

    // The error text of a call of what was taken away, named as the script wrote it.
    static QByteArray refusal(const QByteArray& name);
    // The error text of a precompiled chunk.
    static QByteArray binaryChunkRefusal();
};
