#include "SimulatedMouseHook.h"

#include <algorithm>
#include <iterator>

namespace platform {

HHOOK SimulatedMouseHook::install(HOOKPROC procedure)
{
    const auto handle = reinterpret_cast<HHOOK>(++m_lastHandle);
    m_hooks.insert(m_hooks.begin(), {handle, procedure});
    m_anyInstalled.store(true, std::memory_order_release);
    return handle;
}

bool SimulatedMouseHook::remove(HHOOK hook)
{
    const auto found = find(hook);
    if (found == m_hooks.end())
        return false;
    m_hooks.erase(found);
    m_anyInstalled.store(!m_hooks.empty(), std::memory_order_release);
    return true;
}

HOOKPROC SimulatedMouseHook::following(HHOOK hook) const
{
    const auto found = find(hook);
    return found != m_hooks.end() && std::next(found) != m_hooks.end() ? std::next(found)->procedure
                                                                       : nullptr;
}

std::vector<SimulatedMouseHook::Hook>::const_iterator SimulatedMouseHook::find(HHOOK hook) const
{
    return std::find_if(m_hooks.begin(), m_hooks.end(),
                        [hook](const Hook& installed) { return installed.handle == hook; });
}

} // namespace platform
