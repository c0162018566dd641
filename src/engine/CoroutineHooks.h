#pragma once

struct lua_State;
struct lua_Debug;

// Gives every coroutine a state makes (coroutine.create, coroutine.wrap) a Lua count hook:
// a hook set on the state does not reach its coroutines, and code that watches a script
// (the runaway stop, the preview's bounds) must see the loops inside them too.
class CoroutineHooks
{
public:
    struct Hook
    {
        void (*function)(lua_State*, lua_Debug*);
        int instructions; // between two calls
    };

    // Replaces the coroutine library's create and wrap in the state; hook must outlive it.
    static void install(lua_State* state, const Hook& hook);
    static void set(lua_State* thread, const Hook& hook);
};
