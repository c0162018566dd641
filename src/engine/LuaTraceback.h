#pragma once

#include <QString>
#include <QStringList>

struct lua_State;

// The call stack at an error the script did not catch, for the journal: a message handler for
// lua_pcall that notes where each active function stood and lets the error value through
// unchanged, so that the error's own text stays what the user has always been shown.
class LuaTraceback
{
public:
    // Functions listed at most; deeper stacks (a runaway recursion) end with "…".
    static constexpr int kMaxLevels = 20;

    // Keeps the handler in the state's registry. Call inside a protected call: it allocates.
    static void prepareState(lua_State* state);
    // Pushes the handler (no allocation) and returns its stack index, for lua_pcall.
    static int pushHandler(lua_State* state);
    // The stack the handler noted at the last error, one line per function ("file:12: in
    // function 'OnEvent'"), names of the files decoded as LuaChunk::errorText does; empty
    // when none was noted. Forgets it.
    static QString take(lua_State* state, const QStringList& files);
};
