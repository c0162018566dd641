#pragma once

#include "../WinApi.h"

#include <optional>
#include <utility>
#include <vector>

namespace platform {

// The hotkeys registered on the simulated desktop. A combination already registered, or
// marked as held by another program, is refused with ERROR_HOTKEY_ALREADY_REGISTERED as
// Windows refuses it; MOD_NOREPEAT does not make another combination. Not locked: the
// desktop calls it with its lock held.
class SimulatedHotKeys
{
public:
    struct HotKey
    {
        HWND window;
        int id;
        UINT modifiers;
        UINT virtualKey;
    };

    // The highest hotkey id Windows accepts from an application (ids start at 0).
    static constexpr int kMaxHotKeyId = 0xBFFF;

    // RegisterHotKey and UnregisterHotKey: ERROR_SUCCESS, else the reason of the failure.
    DWORD registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey);
    DWORD unregisterHotKey(HWND window, int id);

    // The WM_HOTKEY message of the hotkey registered for a combination, its point and time
    // left for the caller; none when no hotkey is registered for it.
    std::optional<MSG> messageOfPress(UINT modifiers, UINT virtualKey) const;
    // In registration order.
    const std::vector<HotKey>& registered() const { return m_hotKeys; }
    void setHeldElsewhere(UINT modifiers, UINT virtualKey, bool held);
    // Makes every registration fail with this error; ERROR_SUCCESS ends that.
    void setRegisterError(DWORD error) { m_registerError = error; }

private:
    std::vector<HotKey> m_hotKeys;
    std::vector<std::pair<UINT, UINT>> m_heldElsewhere;
    DWORD m_registerError = ERROR_SUCCESS;
};

} // namespace platform
