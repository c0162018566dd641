#pragma once

#include "../WinApi.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// The low-level hooks of one kind (mouse or keyboard) installed on the simulated desktop, the
// newest first as Windows calls them. Not locked: the desktop calls it with its lock held,
// except for anyInstalled(), which an input event asks first on any thread.
class SimulatedMouseHook
{
public:
    // Handles count up from handleBase + 1: the kinds of hook give out different handles.
    explicit SimulatedMouseHook(std::uintptr_t handleBase = 0) : m_lastHandle(handleBase) {}

    bool anyInstalled() const { return m_anyInstalled.load(std::memory_order_acquire); }

    // Installs a hook in front of the others; returns its handle.
    HHOOK install(HOOKPROC procedure);
    // Removes a hook; false when no hook has the handle.
    bool remove(HHOOK hook);
    // The hook called first, nullptr when none is installed.
    HOOKPROC newest() const { return m_hooks.empty() ? nullptr : m_hooks.front().procedure; }
    // The hook called after the one with the handle, nullptr when there is none.
    HOOKPROC following(HHOOK hook) const;
    std::size_t count() const { return m_hooks.size(); }

private:
    struct Hook
    {
        HHOOK handle;
        HOOKPROC procedure;
    };

    std::vector<Hook>::const_iterator find(HHOOK hook) const;

    std::vector<Hook> m_hooks;
    std::atomic<bool> m_anyInstalled{false};
    std::uintptr_t m_lastHandle;
};

} // namespace platform
