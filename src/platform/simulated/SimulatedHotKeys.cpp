#include "SimulatedHotKeys.h"

#include <algorithm>

namespace platform {

namespace {

// Whether a hotkey is registered for a combination; MOD_NOREPEAT does not make another one.
bool isCombination(const SimulatedHotKeys::HotKey& hotKey, UINT modifiers, UINT virtualKey)
{
    return (hotKey.modifiers & ~MOD_NOREPEAT) == (modifiers & ~MOD_NOREPEAT) &&
           hotKey.virtualKey == virtualKey;
}

} // namespace

DWORD SimulatedHotKeys::registerHotKey(HWND window, int id, UINT modifiers, UINT virtualKey)
{
    if (m_registerError != ERROR_SUCCESS)
        return m_registerError;
    // Windows documents 0x0000..0xBFFF as the ids of applications; the simulated desktop
    // refuses others, so that a program straying outside is caught here.
    if (id < 0 || id > kMaxHotKeyId)
        return ERROR_INVALID_PARAMETER;
    const std::pair key{modifiers & ~MOD_NOREPEAT, virtualKey};
    const bool taken =
        std::find(m_heldElsewhere.begin(), m_heldElsewhere.end(), key) != m_heldElsewhere.end() ||
        std::any_of(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
            return (hotKey.window == window && hotKey.id == id) ||
                   isCombination(hotKey, modifiers, virtualKey);
        });
    if (taken)
        return ERROR_HOTKEY_ALREADY_REGISTERED;
    m_hotKeys.push_back({window, id, modifiers, virtualKey});
    return ERROR_SUCCESS;
}

DWORD SimulatedHotKeys::unregisterHotKey(HWND window, int id)
{
    const auto found = std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
        return hotKey.window == window && hotKey.id == id;
    });
    if (found == m_hotKeys.end())
        return ERROR_HOTKEY_NOT_REGISTERED;
    m_hotKeys.erase(found);
    return ERROR_SUCCESS;
}

std::optional<MSG> SimulatedHotKeys::messageOfPress(UINT modifiers, UINT virtualKey) const
{
    const auto found = std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
        return isCombination(hotKey, modifiers, virtualKey);
    });
    if (found == m_hotKeys.end())
        return std::nullopt;
    MSG message{};
    message.hwnd = found->window;
    message.message = WM_HOTKEY;
    message.wParam = static_cast<WPARAM>(found->id);
    message.lParam = static_cast<LPARAM>((virtualKey << 16) | (modifiers & ~MOD_NOREPEAT & 0xFFFF));
    return message;
}

void SimulatedHotKeys::setHeldElsewhere(UINT modifiers, UINT virtualKey, bool held)
{
    const std::pair key{modifiers & ~MOD_NOREPEAT, virtualKey};
    std::erase(m_heldElsewhere, key);
    if (held)
        m_heldElsewhere.push_back(key);
}

} // namespace platform
