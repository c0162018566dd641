#include "LuaMemoryBound.h"

#include <cstdlib>

void* LuaMemoryBound::allocate(void* bound, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* self = static_cast<LuaMemoryBound*>(bound);
    if (newSize == 0) {
        std::free(block);
        self->m_used -= oldSize;
        return nullptr;
    }
    // Lua counts on a block that shrinks never failing, so only growth is weighed.
    if (newSize > oldSize &&
        (self->m_used > self->m_limit || newSize - oldSize > self->m_limit - self->m_used)) {
        self->m_reached = true;
        return nullptr;
    }
    void* moved = std::realloc(block, newSize);
    if (moved)
        self->m_used = self->m_used - oldSize + newSize;
    return moved;
}

void LuaMemoryBound::reset()
{
    m_used = 0;
    m_reached = false;
}
