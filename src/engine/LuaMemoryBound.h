#pragma once

#include <cstddef>

// The allocator of a scenario's Lua state: it counts the state's bytes and refuses to grow past
// a limit, so that a script that keeps allocating gets Lua's "not enough memory" instead of
// the machine's memory. A refusal is remembered until reset(): a script that catches the error
// and goes on is known to have reached the bound all the same.
class LuaMemoryBound
{
public:
    static constexpr std::size_t kMiB = std::size_t{1} << 20;

    explicit LuaMemoryBound(std::size_t limit) : m_limit(limit) {}

    // The lua_Alloc function; its user data is the bound.
    static void* allocate(void* bound, void* block, std::size_t oldSize, std::size_t newSize);

    // A new limit; allocations made already stay, even beyond it.
    void setLimit(std::size_t limit) { m_limit = limit; }
    std::size_t limit() const { return m_limit; }
    std::size_t used() const { return m_used; }
    // An allocation was refused since the last reset.
    bool reached() const { return m_reached; }
    // For a new state: nothing used, nothing refused.
    void reset();

private:
    std::size_t m_limit;
    std::size_t m_used = 0;
    bool m_reached = false;
};
