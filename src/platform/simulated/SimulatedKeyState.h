#pragma once

#include "../WinApi.h"

#include <array>

namespace platform {

// The key, button and lock states of the simulated desktop, changed as Windows changes
// them: a press of a key that was up flips its toggle, and a generic modifier (VK_SHIFT,
// ...) is down while its left or its right key is. Not locked: the desktop calls it with
// its lock held.
class SimulatedKeyState
{
public:
    // A press or release of a key or mouse button (0 and keys above 0xFF change nothing).
    void changeKey(int virtualKey, bool down);
    // The key a KEYEVENTF_* record presses or releases, by virtual key or scan code; a typed
    // character (KEYEVENTF_UNICODE) changes no key.
    void applyKeyboardRecord(const KEYBDINPUT& keyboard);
    // Sets the toggle state of a key directly.
    void setKeyToggled(int virtualKey, bool toggled);

    // GetAsyncKeyState: the high bit while down.
    SHORT getAsyncKeyState(int virtualKey) const;
    // GetKeyState: the high bit while down, the low bit while toggled.
    SHORT getKeyState(int virtualKey) const;

private:
    struct KeyState
    {
        bool down = false;
        bool toggled = false;
    };

    std::array<KeyState, 256> m_keys{};
};

} // namespace platform
