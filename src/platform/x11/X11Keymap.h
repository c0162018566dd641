#pragma once

#include "../WinApi.h"

#include <X11/XKBlib.h>

#include <vector>

namespace platform {

// A copy of the server's keyboard map (XKB): which keysyms each key carries in each group
// and level. Read with load(), again whenever the server's map has changed.
class X11Keymap
{
public:
    X11Keymap() = default;
    X11Keymap(const X11Keymap&) = delete;
    X11Keymap& operator=(const X11Keymap&) = delete;
    ~X11Keymap();

    // Reads the map; false when the server does not give it (the old copy is kept).
    bool load(Display* display);

    // The number of groups (layouts such as us and ru), at least 1.
    int groupCount() const;
    // The key of a keysym: the lowest keycode with it on the first level of the first group,
    // else the lowest with it anywhere; 0 when no key has it.
    KeyCode keycodeOf(KeySym keysym) const;
    // The key that types a character in a keyboard state (modifiers and group, as in the
    // state of a key event); 0 when none does.
    KeyCode keyTyping(char16_t character, unsigned int state) const;
    // VkKeyScanEx in a group: the virtual key of the physical key that types the character
    // (low byte) and the shift state it needs (high byte: 1 Shift, 6 AltGr), or -1.
    SHORT scanCharacter(char16_t character, int group) const;
    // Keycodes without any keysym, the highest first: free to carry a character for a moment.
    std::vector<KeyCode> spareKeycodes() const;

private:
    XkbDescPtr m_map = nullptr;
};

} // namespace platform
